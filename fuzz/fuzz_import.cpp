// The JSON import's check and plan on any bytes, against a store that already holds a category and
// two memos. A file is either refused with a reason or planned; what a plan adds must keep the
// record rules, and the store it would make must export to a file that imports again, whole, and
// adds nothing the second time.
#include <GroupRules.h>
#include <MemoExport.h>
#include <MemoImport.h>
#include <MemoRules.h>
#include <TextView.h>

#include <QSet>
#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

bool WholeText(std::u16string_view text)
{
    return FromTextView(text).isValidUtf16();
}

const StoreContents& Stored()
{
    static const StoreContents stored = [] {
        StoreContents contents;
        contents.groups = {NewGroupRecord(305371800, u"工作"), NewGroupRecord(7, u"其它")};
        contents.memos = {NewMemoRecord(305371800, u"工作", 305371800, u"周会", u"周一九点"),
                          NewMemoRecord(305371801, u"全部", 0, u"title", u"body")};
        return contents;
    }();
    return stored;
}

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckPlan(const ImportPlan& plan, const StoreContents& before)
{
    QSet<std::int32_t> ids;
    for (const MemoGroupRecord& group : before.groups)
        ids.insert(group.id);
    for (const MemoGroupRecord& group : plan.groups) {
        Require(!GroupName(group).empty() && !IsReservedOnceTrimmed(GroupName(group)));
        Require(WholeText(GroupName(group)) && group.key == 0 && group.flags == 0);
        // 0 and 其它's id stand for no category and for 其它, never for a category of its own.
        Require(group.id != 0 && group.id != OTHER_GROUP_ID && !ids.contains(group.id));
        ids.insert(group.id);
    }
    for (const MemoRecord& memo : plan.memos) {
        const std::u16string_view category = MemoGroupName(memo);
        Require(IsPseudoGroupName(category) || !IsReservedOnceTrimmed(category));
        Require(WholeText(MemoTitle(memo)) && WholeText(MemoContent(memo)) && WholeText(category));
        // The title rule may leave a title empty (a body that starts with 20 blanks), never both.
        Require(!(MemoTitle(memo).empty() && MemoContent(memo).empty()) && memo.key == 0);
        Require(memo.groupId == 0 || memo.groupId == OTHER_GROUP_ID || ids.contains(memo.groupId) ||
                category == GROUP_OTHER);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray json = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    const std::optional<ImportPlan> plan = PlanImport(json, Stored(), error);
    Require(plan.has_value() == error.isEmpty());
    if (!plan)
        return 0;
    CheckPlan(*plan, Stored());

    StoreContents after = Stored();
    after.memos.insert(after.memos.end(), plan->memos.begin(), plan->memos.end());
    after.groups.insert(after.groups.end(), plan->groups.begin(), plan->groups.end());
    const QByteArray exported = MemosToJson(after);
    const std::optional<ImportPlan> whole = PlanImport(exported, StoreContents{}, error);
    Require(whole && whole->memos.size() == after.memos.size() &&
            whole->groups.size() == ExportedGroups(after).size());
    const std::optional<ImportPlan> again = PlanImport(exported, after, error);
    Require(again && again->memos.empty() && again->groups.empty());
    return 0;
}
