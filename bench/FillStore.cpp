// Fills a user's store with memos up to a count, for measuring the host on a realistic store and
// for pictures of it: three categories, and memos with Chinese titles and bodies of several
// lengths, filed in them in turn.
//   bench_fillstore USER DATA_DIR COUNT
#include <DbiMemo.h>
#include <GroupLookup.h>
#include <GroupRules.h>
#include <MemoRecord.h>
#include <MemoStore.h>
#include <MemoTime.h>
#include <RecordText.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Sample
{
    std::u16string_view title;
    std::u16string_view content;
    std::u16string_view group;
};

constexpr std::array<std::u16string_view, 3> kGroups{u"工作", u"生活", u"学习"};

constexpr std::array<Sample, 10> kSamples{{
    {u"周报", u"本周完成登录模块的重构，下周开始联调支付接口。周五前把测试报告发给产品组。", u"工作"},
    {u"买菜", u"西红柿、鸡蛋、青菜、豆腐，再买一袋大米。", u"生活"},
    {u"读书笔记", u"《园艺入门》：春季播种要注意土壤湿度，第三章讲扦插的部分值得再读一遍。", u"学习"},
    {u"会议纪要", u"1. 下季度预算按八折编制；2. 新人培训改到每周三下午；3. 服务器迁移推迟到月底。", u"工作"},
    {u"生日礼物", u"妈妈的生日在下个月十二号，考虑买一条围巾或者一台按摩仪。", u"生活"},
    {u"英语单词", u"abandon, ability, absorb, abstract, academic —— 每天二十个，周末复习。", u"学习"},
    {u"报销", u"出差的火车票和酒店发票已经贴好，周一交给财务。", u"工作"},
    {u"健身计划", u"周一三五跑步五公里，周二四力量训练，周末休息或者游泳。", u"生活"},
    {u"论文", u"第二章的实验数据还缺两组对照，导师要求月底前交初稿。", u"学习"},
    {u"快递", u"小区快递柜取件码 4821，今晚八点前取。", u"生活"},
}};

std::vector<MemoGroupRecord> StoredGroups()
{
    std::vector<MemoGroupRecord> groups(std::size_t(std::max(0, DBI_MemGroupGetValidRecordCount())));
    for (std::size_t i = 0; i < groups.size(); ++i)
        DBI_MemGroupReadRecordByOrder(std::int32_t(i + 1), &groups[i]);
    return groups;
}

void StoreMissingGroups(std::int32_t stamp)
{
    const std::vector<MemoGroupRecord> stored = StoredGroups();
    for (std::size_t i = 0; i < kGroups.size(); ++i) {
        if (GroupNameTaken(stored, kGroups[i]))
            continue;
        const MemoGroupRecord group = NewGroupRecord(stamp + std::int32_t(i), kGroups[i]);
        DBI_MemGroupRecycleWriteRecord(&group);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s USER DATA_DIR COUNT\n", argv[0]);
        return 2;
    }
    if (!MemoStore_Open(argv[1], argv[2])) {
        std::fprintf(stderr, "%s\n", MemoStore_LastError());
        return 1;
    }
    const MemoTime firstStamp = MakeMemoTime(2026, 11, 2, 9, 30, 0);
    StoreMissingGroups(firstStamp);
    const std::vector<MemoGroupRecord> groups = StoredGroups();
    const int wanted = std::atoi(argv[3]);
    for (int n = DBI_MemGetValidRecordCount(); n < wanted; n = DBI_MemGetValidRecordCount()) {
        const Sample& sample = kSamples[std::size_t(n) % kSamples.size()];
        std::u16string title(sample.title);
        if (n >= int(kSamples.size())) {
            title += u' ';
            title += char16_t(u'0' + (n / int(kSamples.size())) % 10);
        }
        MemoRecord memo{};
        memo.stamp = firstStamp + n * 97 * 60;
        SetFieldText(memo.title, title);
        SetFieldText(memo.content, sample.content);
        SetFieldText(memo.groupName, sample.group);
        memo.groupId = GroupIdForNewMemo(groups, sample.group);
        if (DBI_MemRecycleWriteRecord(&memo) == 0) {
            std::fprintf(stderr, "write failed after %d memos\n", n);
            return 1;
        }
    }
    std::printf("%d memos\n", DBI_MemGetValidRecordCount());
    MemoStore_Close();
    return 0;
}
