#include "MemoImport.h"

#include "ImportEntry.h"
#include "MemoExport.h"
#include "MemoTimeText.h"

#include <GroupRules.h>
#include <MemoRules.h>
#include <TextView.h>
#include <TitleRule.h>

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

struct MemoKey
{
    MemoTime stamp;
    QString title, body, category;
    bool operator==(const MemoKey&) const = default;
};

size_t qHash(const MemoKey& key, size_t start = 0)
{
    return qHashMulti(start, key.stamp, key.title, key.body, key.category);
}

MemoKey KeyOf(const MemoRecord& memo)
{
    return {memo.stamp, FromTextView(MemoTitle(memo)), FromTextView(MemoContent(memo)),
            FromTextView(MemoGroupName(memo))};
}

QString Quoted(const QString& text)
{
    return u"“%1”"_s.arg(text);
}

// A category name the file may carry: what the category editor would accept.
QString GroupNameFault(const QString& name)
{
    if (name.isEmpty())
        return u"名称为空"_s;
    if (IsReservedGroupName(TextView(name)))
        return u"%1是保留的名称，不能用作分类名"_s.arg(Quoted(name));
    if (IsReservedOnceTrimmed(TextView(name)))
        return u"%1去掉首尾的空白后是保留的名称，不能用作分类名"_s.arg(Quoted(name));
    return {};
}

// The category a memo is filed under: none (全部), 其它, or a name a category could have.
QString MemoGroupFault(const QString& category)
{
    if (category.isEmpty() || IsPseudoGroupName(TextView(category)) ||
        !IsReservedOnceTrimmed(TextView(category)))
        return {};
    return u"分类%1是保留的名称，备忘录不能归入其中"_s.arg(Quoted(category));
}

// 0 (no category) and 其它's id: ids no category has of its own.
bool IsReservedGroupId(std::int32_t id)
{
    return id == 0 || id == OTHER_GROUP_ID;
}

// What a memo's categoryId may be: 0 (no category), OTHER_GROUP_ID, or the id of a category in the
// file. A memo moved to 其它 when its category was deleted keeps that category's id, which no
// export lists any more; for 其它 any id means the same.
bool KnownGroupId(std::int32_t id, const QString& category, const QSet<std::int32_t>& idsInFile)
{
    return IsReservedGroupId(id) || idsInFile.contains(id) || category == FromTextView(GROUP_OTHER);
}

std::optional<MemoRecord> ReadMemo(ImportEntry& entry, const QSet<std::int32_t>& idsInFile)
{
    const QString title = entry.text(u"title"_s, qsizetype(MAX_TITLE_LEN), false);
    const QString body = entry.text(u"body"_s, qsizetype(MAX_CONTENT_LEN), false);
    const QString category = entry.text(u"category"_s, qsizetype(MAX_GROUP_NAME_LEN), false);
    const std::int32_t categoryId = entry.number(u"categoryId"_s, false).value_or(0);
    const std::optional<std::int32_t> stamp = entry.number(u"stamp"_s, false);
    const QString time = entry.text(u"time"_s, 64, false);
    if (entry.ok())
        entry.fail(MemoGroupFault(category));
    if (entry.ok() && !KnownGroupId(categoryId, category, idsInFile))
        entry.fail(u"categoryId %1 不是文件中任何分类的 id"_s.arg(categoryId));
    if (!entry.ok())
        return std::nullopt;
    // "stamp" is exact; "time" is there for people, and for files written by hand.
    std::optional<MemoTime> fromTime;
    if (entry.has(u"time"_s) && !(fromTime = MemoTimeFromIso(time))) {
        entry.fail(u"时间“%1”不是 YYYY-MM-DDThh:mm:ss 形式"_s.arg(time));
        return std::nullopt;
    }
    if (!stamp && !fromTime) {
        entry.fail(u"没有时间（stamp 或 time）"_s);
        return std::nullopt;
    }
    if (stamp && fromTime && *stamp != *fromTime) {
        entry.fail(u"stamp 与 time 不是同一时刻"_s);
        return std::nullopt;
    }
    const std::optional<std::u16string> stored = TitleToStore(TextView(title), TextView(body), u"");
    if (!stored) {
        entry.fail(u"既没有标题也没有正文"_s);
        return std::nullopt;
    }
    // A memo without a category is filed under 全部, as the panel files it.
    const QString group = category.isEmpty() ? FromTextView(GROUP_ALL) : category;
    return NewMemoRecord(stamp ? *stamp : *fromTime, TextView(group), categoryId, *stored, TextView(body));
}

// An id for a category of the file whose own id a stored category has: the next second after it
// that no category, stored or in the file, has.
std::int32_t FreeGroupId(std::int32_t id, const QSet<std::int32_t>& taken)
{
    auto candidate = std::uint32_t(id); // wraps past the last second, as MemoTime arithmetic does
    while (taken.contains(std::int32_t(candidate)))
        ++candidate;
    return std::int32_t(candidate);
}

// The file's top level: an export of the one version this program writes, with its two lists.
QString RootFault(const QJsonDocument& document)
{
    const QJsonObject root = document.object();
    if (!document.isObject() || root.value(u"format"_s).toString() != QString::fromLatin1(kExportFormat))
        return u"文件不是备忘录的导出文件。"_s;
    const QJsonValue version = root.value(u"version"_s);
    if (const std::optional<std::int32_t> number = JsonInt32(version); number && *number > kExportVersion)
        return u"文件的格式版本比本程序能读的（%1）更新。"_s.arg(kExportVersion);
    if (JsonInt32(version) != kExportVersion) {
        const QByteArray given = QJsonDocument(QJsonArray{version}).toJson(QJsonDocument::Compact);
        const QString shown =
            version.isUndefined() ? u"缺失"_s : QString::fromUtf8(given.mid(1, given.size() - 2)).left(40);
        return u"文件的格式版本（%1）不是本程序能读的版本 %2。"_s.arg(shown, QString::number(kExportVersion));
    }
    if (!root.value(u"memos"_s).isArray())
        return u"文件中的“memos”缺失或不是数组。"_s;
    // A file written by hand may leave the categories out; anything else in their place is a fault.
    if (root.contains(u"categories"_s) && !root.value(u"categories"_s).isArray())
        return u"文件中的“categories”不是数组。"_s;
    return {};
}

} // namespace

std::optional<QByteArray> ReadImportFile(const QString& path, QString& error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        error = u"文件%1不存在。"_s.arg(Quoted(path));
        return std::nullopt;
    }
    // A pipe or a device would be read for ever, or block the host.
    if (!info.isFile()) {
        error = u"%1不是普通文件。"_s.arg(Quoted(path));
        return std::nullopt;
    }
    if (info.size() > kMaxImportBytes) {
        error =
            u"文件太大（%1 字节）；备忘录导出文件不会超过 %2 字节。"_s.arg(info.size()).arg(kMaxImportBytes);
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = u"无法读取文件%1：%2"_s.arg(Quoted(path), file.errorString());
        return std::nullopt;
    }
    // The file may have grown since it was looked at.
    QByteArray bytes = file.read(kMaxImportBytes + 1);
    if (bytes.size() > kMaxImportBytes) {
        error = u"文件太大；备忘录导出文件不会超过 %1 字节。"_s.arg(kMaxImportBytes);
        return std::nullopt;
    }
    return bytes;
}

std::optional<ImportPlan> PlanImport(const QByteArray& json, const StoreContents& current, QString& error)
{
    QJsonParseError parse{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &parse);
    if (parse.error != QJsonParseError::NoError) {
        error = u"文件不是完整有效的 JSON（第 %1 字节处：%2）。文件可能被截断或损坏。"_s.arg(parse.offset)
                    .arg(parse.errorString());
        return std::nullopt;
    }
    if (const QString fault = RootFault(document); !fault.isEmpty()) {
        error = fault;
        return std::nullopt;
    }
    const QJsonObject root = document.object();
    const QJsonArray memos = root.value(u"memos"_s).toArray();
    const QJsonArray groups = root.value(u"categories"_s).toArray();
    if (memos.size() > MAX_MEMO_COUNT || groups.size() > MAX_GROUP_COUNT) {
        error = u"文件中有 %1 条备忘录、%2 个分类；一个用户最多 %3 条备忘录、%4 个分类。"_s.arg(memos.size())
                    .arg(groups.size())
                    .arg(MAX_MEMO_COUNT)
                    .arg(MAX_GROUP_COUNT);
        return std::nullopt;
    }

    ImportPlan plan;
    // Categories: by name. One the store has already is skipped, and memos that point to it by the
    // file's id point to the stored one's id instead; so do memos of a name repeated in the file. A
    // new category whose id a stored one has gets another: deleting either would move the memos of
    // both.
    QHash<QString, std::int32_t> storedIds;
    QSet<std::int32_t> storedIdSet;
    qsizetype realGroups = 0;
    for (const MemoGroupRecord& group : current.groups) {
        storedIds.insert(FromTextView(GroupName(group)), group.id);
        storedIdSet.insert(group.id);
        realGroups += IsPseudoGroupName(GroupName(group)) ? 0 : 1;
    }
    QSet<std::int32_t> taken = storedIdSet + QSet<std::int32_t>{0, OTHER_GROUP_ID};
    for (const QJsonValue& group : groups)
        if (const std::optional<std::int32_t> id = JsonInt32(group.toObject().value(u"id"_s)))
            taken.insert(*id);
    QHash<std::int32_t, std::int32_t> idMap;
    QHash<QString, std::int32_t> idOfName; // the id each name's category ends up with
    QHash<std::int32_t, qsizetype> entryOfId;
    for (qsizetype i = 0; i < groups.size(); ++i) {
        ImportEntry entry(groups[i]);
        const QString name = entry.text(u"name"_s, qsizetype(MAX_GROUP_NAME_LEN), true);
        const std::optional<std::int32_t> id = entry.number(u"id"_s, true);
        if (entry.ok())
            entry.fail(GroupNameFault(name));
        // Deleting one of two categories of one id would take the memos of the other along.
        if (entry.ok() && entryOfId.contains(*id))
            entry.fail(u"id %1 与第 %2 个分类的 id 相同"_s.arg(*id).arg(entryOfId.value(*id)));
        if (!entry.ok()) {
            error = u"第 %1 个分类不合要求：%2。"_s.arg(i + 1).arg(entry.fault());
            return std::nullopt;
        }
        entryOfId.insert(*id, i + 1);
        if (idOfName.contains(name)) {
            plan.skipped << u"分类%1：文件中重复"_s.arg(Quoted(name));
        } else if (storedIds.contains(name)) {
            plan.skipped << u"分类%1：已有同名分类"_s.arg(Quoted(name));
            idOfName.insert(name, storedIds.value(name));
        } else {
            // 0 (no category) and 其它's id are no category's own: deleting a category of either
            // would move the memos without a category, or 其它's, along with its own.
            const bool ownId = !IsReservedGroupId(*id) && !storedIdSet.contains(*id);
            const std::int32_t newId = ownId ? *id : FreeGroupId(*id, taken);
            taken.insert(newId);
            plan.groups.push_back(NewGroupRecord(newId, TextView(name)));
            idOfName.insert(name, newId);
        }
        // Memos filed by such an id follow their category by its name (below), not by the id.
        if (idOfName.value(name) != *id && !IsReservedGroupId(*id))
            idMap.insert(*id, idOfName.value(name));
    }

    QSet<MemoKey> stored;
    for (const MemoRecord& memo : current.memos)
        stored.insert(KeyOf(memo));
    const QList<std::int32_t> fileIds = entryOfId.keys();
    const QSet<std::int32_t> idsInFile(fileIds.begin(), fileIds.end());
    QSet<MemoKey> inFile;
    for (qsizetype i = 0; i < memos.size(); ++i) {
        ImportEntry entry(memos[i]);
        std::optional<MemoRecord> memo = ReadMemo(entry, idsInFile);
        if (!memo) {
            error = u"第 %1 条备忘录不合要求：%2。"_s.arg(i + 1).arg(entry.fault());
            return std::nullopt;
        }
        memo->groupId = idMap.value(memo->groupId, memo->groupId);
        // A memo filed under a category by its name alone (a file written by hand) points to that
        // category, as a memo made in the panel does, so that deleting the category moves it; a
        // category neither the store nor the file has is made.
        const QString group = FromTextView(MemoGroupName(*memo));
        if (IsReservedGroupId(memo->groupId) && !IsPseudoGroupName(TextView(group))) {
            if (!idOfName.contains(group) && storedIds.contains(group)) {
                idOfName.insert(group, storedIds.value(group));
            } else if (!idOfName.contains(group)) {
                const std::int32_t newId = FreeGroupId(memo->stamp, taken);
                taken.insert(newId);
                plan.groups.push_back(NewGroupRecord(newId, TextView(group)));
                idOfName.insert(group, newId);
            }
            memo->groupId = idOfName.value(group);
        }
        const MemoKey key = KeyOf(*memo);
        const QString what = u"备忘录%1"_s.arg(Quoted(key.title));
        if (stored.contains(key))
            plan.skipped << what + u"：已有相同的备忘录"_s;
        else if (inFile.contains(key))
            plan.skipped << what + u"：文件中重复"_s;
        else
            plan.memos.push_back(*memo);
        inFile.insert(key);
    }

    const qsizetype memoTotal = qsizetype(current.memos.size() + plan.memos.size());
    if (memoTotal > MAX_MEMO_COUNT) {
        error = u"现有 %1 条备忘录，再导入 %2 条会超过上限 %3 条。"_s.arg(current.memos.size())
                    .arg(plan.memos.size())
                    .arg(MAX_MEMO_COUNT);
        return std::nullopt;
    }
    if (realGroups + qsizetype(plan.groups.size()) > MAX_GROUP_COUNT) {
        error = u"现有 %1 个分类，再导入 %2 个会超过上限 %3 个。"_s.arg(realGroups)
                    .arg(plan.groups.size())
                    .arg(MAX_GROUP_COUNT);
        return std::nullopt;
    }
    return plan;
}
