#include "GroupNameTable.h"
#include "GroupRules.h"
#include "MemoRules.h"
#include "TestText.h"
#include "TitleRule.h"

#include <QTest>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

const std::u16string_view kHint = u"请输入标题";

QString Title(std::u16string_view title, std::u16string_view content)
{
    const std::optional<std::u16string> stored = TitleToStore(title, content, kHint);
    return stored ? Q(*stored) : QStringLiteral("<nothing>");
}

MemoGroupRecord Group(std::int32_t id, std::u16string_view name)
{
    return NewGroupRecord(id, name);
}

MemoRecord Memo(std::int32_t groupId, std::u16string_view groupName)
{
    return NewMemoRecord(100, groupName, groupId, u"t", u"c");
}

} // namespace

class TestRecordRules : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void titleRule()
    {
        QCOMPARE(Title(u"own title ", u"body"), QStringLiteral("own title ")); // a given title is kept
        QCOMPARE(Title(u"", u""), QStringLiteral("<nothing>"));
        QCOMPARE(Title(kHint, u""), QStringLiteral("<nothing>"));
        QCOMPARE(Title(u"", u" \t\r\n\u3000"), QStringLiteral("<nothing>"));
        QCOMPARE(Title(kHint, u"short body"), QStringLiteral("short body"));
        QCOMPARE(Title(u"", u"  leading kept, trailing lost  \n"), QStringLiteral("  leading kept, trai"));
        QCOMPARE(Title(u"", u"  spaced  \t "), QStringLiteral("  spaced"));
    }

    void titleRuleCutsTheBodyAtTwentyCharacters()
    {
        QCOMPARE(Title(u"", u"abcdefghijklmnopqrstuvwxyz0123"), QStringLiteral("abcdefghijklmnopqrst"));
        // The cut ends on a blank: trailing white space goes again after the cut.
        QCOMPARE(Title(u"", u"abcdefghijklmnopq   rstuvwxyz"), QStringLiteral("abcdefghijklmnopq"));
        // Trailing white space goes before the cut too, so it never counts towards the twenty.
        QCOMPARE(Title(u"", u"abcdefghijklmnopqrst    "), QStringLiteral("abcdefghijklmnopqrst"));
        // The twentieth unit opens a surrogate pair: the title keeps nineteen units.
        QCOMPARE(Title(u"", std::u16string(19, u'x') + u"\U0001F600tail"), QString(19, u'x'));
    }

    void effectiveGroupAndFiltering()
    {
        const MemoRecord other = Memo(OTHER_GROUP_ID, u"工作");
        QCOMPARE(Q(EffectiveGroupName(other)), QStringLiteral("其它"));
        QVERIFY(IsListedUnder(other, u"其它"));
        QVERIFY(IsListedUnder(other, u"全部"));
        QVERIFY(!IsListedUnder(other, u"工作"));

        const MemoRecord uncategorised = Memo(305371800, u"全部");
        QVERIFY(IsListedUnder(uncategorised, u"全部"));
        QVERIFY(!IsListedUnder(uncategorised, u"其它"));

        const MemoRecord work = Memo(305371800, u"工作");
        QCOMPARE(Q(EffectiveGroupName(work)), QStringLiteral("工作"));
        QVERIFY(IsListedUnder(work, u"工作"));
        QVERIFY(!IsListedUnder(work, u"工作 "));

        // A name that ends in half a surrogate pair is listed under the name as shown, without it.
        const MemoRecord cut = Memo(305371800, u"旅行\xD83D");
        QVERIFY(IsListedUnder(cut, u"旅行"));
        QVERIFY(!IsListedUnder(cut, u"旅行\xD83D"));
    }

    void listMemos_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("search"); // null: no search
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<bool>("searched");
        QTest::addColumn<bool>("refused");
        QTest::newRow("all") << u"全部"_s << QString() << QList<int>{1, 2, 3, 4} << false << false;
        QTest::newRow("category") << u"工作"_s << QString() << QList<int>{2} << false << false;
        QTest::newRow("other by id") << u"其它"_s << QString() << QList<int>{3} << false << false;
        QTest::newRow("name cut in a pair") << u"旅行"_s << QString() << QList<int>{4} << false << false;
        QTest::newRow("title or body, case-sensitive")
            << u"全部"_s << u"ab"_s << QList<int>{1, 2} << true << false;
        QTest::newRow("search within the category") << u"工作"_s << u"ab"_s << QList<int>{2} << true << false;
        QTest::newRow("no match: the whole category")
            << u"其它"_s << u"ab"_s << QList<int>{3} << false << false;
        QTest::newRow("empty search refused")
            << u"全部"_s << u""_s << QList<int>{1, 2, 3, 4} << false << true;
        QTest::newRow("half a pair is never matched")
            << u"全部"_s << u"\xD83D"_s << QList<int>{1, 2, 3, 4} << false << false;
    }
    void listMemos()
    {
        QFETCH(QString, filter);
        QFETCH(QString, search);
        QFETCH(QList<int>, keys);
        const auto memo = [](std::int32_t key, std::u16string_view title, std::u16string_view body,
                             std::u16string_view group, std::int32_t groupId) {
            MemoRecord record = NewMemoRecord(100, group, groupId, title, body);
            record.key = key;
            return record;
        };
        const std::vector<MemoRecord> stored{
            memo(1, u"abc", u"一", u"全部", 0), memo(2, u"二", u"zab", u"工作", 100),
            memo(3, u"AB", u"AB", u"工作", OTHER_GROUP_ID), memo(4, u"x\xD83D", u"c", u"旅行\xD83D", 101)};
        const std::u16string searchText = search.toStdU16String();
        const MemoListing listing =
            ListMemos(stored, filter.toStdU16String(),
                      search.isNull() ? std::nullopt : std::optional<std::u16string_view>(searchText));
        QList<int> listed;
        for (const MemoRecord* m : listing.memos)
            listed << m->key;
        QCOMPARE(listed, keys);
        QTEST(listing.searched, "searched");
        QTEST(listing.searchRefused, "refused");
    }

    void newMemo()
    {
        QVERIFY(!MemoTableFull(99));
        QVERIFY(MemoTableFull(100));
        QVERIFY(MemoTableFull(101));

        const MemoRecord memo =
            NewMemoRecord(305371800, u"一二三四五六七八九十十一", 305371800, u"标题", u"正文");
        QCOMPARE(memo.stamp, 305371800);
        QCOMPARE(memo.reserved1, 0);
        QCOMPARE(memo.flags, 0u);
        QCOMPARE(memo.reserved2, 0);
        QCOMPARE(memo.groupId, 305371800);
        QCOMPARE(memo.key, 0);
        QCOMPARE(Q(MemoGroupName(memo)), QStringLiteral("一二三四五六七八九十"));
        QCOMPARE(Q(MemoTitle(memo)), QStringLiteral("标题"));
        QCOMPARE(Q(MemoContent(memo)), QStringLiteral("正文"));
        QCOMPARE(NewMemoRecord(1, u"", OTHER_GROUP_ID, u"t", u"c").groupId, OTHER_GROUP_ID);
    }

    void savedMemoKeepsWhatTheModuleDoesNotOwn()
    {
        MemoRecord memo = NewMemoRecord(5, u"旧", 42, u"old title", u"a much longer old body");
        memo.reserved1 = 7;
        memo.reserved2 = -9;
        memo.flags = 0x00000005u;
        memo.key = 13;

        ApplySavedMemo(memo, 305371800, u"新", u"new", u"short");
        QCOMPARE(memo.stamp, 305371800);
        QCOMPARE(memo.flags, 0x80000005u);
        QCOMPARE(memo.reserved1, 7);
        QCOMPARE(memo.reserved2, -9);
        QCOMPARE(memo.groupId, 42);
        QCOMPARE(memo.key, 13);
        QCOMPARE(Q(MemoGroupName(memo)), QStringLiteral("新"));
        QCOMPARE(Q(MemoTitle(memo)), QStringLiteral("new"));
        QCOMPARE(Q(MemoContent(memo)), QStringLiteral("short"));

        ApplySavedMemo(memo, 305371801, u"新", u"new", u"short");
        QCOMPARE(memo.flags, 0x80000005u); // set again, not toggled
    }

    void reservedNames()
    {
        for (const std::u16string_view name : {u"全部", u"其它", u"所有", u"编辑分类"})
            QVERIFY(IsReservedGroupName(name));
        QVERIFY(IsPseudoGroupName(u"全部") && IsPseudoGroupName(u"其它"));
        QVERIFY(!IsPseudoGroupName(u"所有"));
        for (const std::u16string_view name : {u" 全部", u"其他", u"全部 ", u""})
            QVERIFY(!IsReservedGroupName(name));
        for (const std::u16string_view name : {u"全部 ", u" 其它", u"\t所有\u3000", u"编辑分类\n"})
            QVERIFY(IsReservedOnceTrimmed(name));
        for (const std::u16string_view name : {u"全 部", u"所有的", u" ", u""})
            QVERIFY(!IsReservedOnceTrimmed(name));
    }

    void newCategoryAndItsLimit()
    {
        const MemoGroupRecord group = NewGroupRecord(305371800, u"abcdefghijklmnopqrst");
        QCOMPARE(group.key, 0);
        QCOMPARE(group.flags, 0u);
        QCOMPARE(group.id, 305371800);
        QCOMPARE(Q(GroupName(group)), QStringLiteral("abcdefghij"));

        std::vector<MemoGroupRecord> stored;
        for (int i = 0; i < 9; ++i)
            stored.push_back(Group(i + 2, std::u16string(1, static_cast<char16_t>(u'a' + i))));
        stored.push_back(Group(50, u"全部"));
        stored.push_back(Group(51, u"其它"));
        QVERIFY(!GroupTableFull(stored)); // nine real categories, two pseudo ones
        stored.push_back(Group(60, u"j"));
        QVERIFY(GroupTableFull(stored));
        stored.erase(stored.begin() + 9, stored.begin() + 11);
        QVERIFY(GroupTableFull(stored)); // ten real ones without pseudo records
        stored.pop_back();
        QVERIFY(!GroupTableFull(stored));
    }

    void categoryNameChange()
    {
        MemoGroupRecord group = Group(305371800, u"旧名");
        group.flags = 0x3u;
        RenameGroupRecord(group, u"0123456789ABCDE");
        QCOMPARE(Q(GroupName(group)), QStringLiteral("0123456789"));
        QCOMPARE(group.name[10], u'\0');
        QCOMPARE(group.flags, 0x80000003u);
        QCOMPARE(group.id, 305371800);

        MemoRecord exact = Memo(99, u"旧名");
        MemoRecord longer = Memo(99, u"旧名字");
        MemoRecord other = Memo(OTHER_GROUP_ID, u"旧名"); // matched by name alone
        QVERIFY(RenameMemoGroup(exact, u"旧名", u"0123456789ABCDE"));
        QVERIFY(!RenameMemoGroup(longer, u"旧名", u"新"));
        QVERIFY(RenameMemoGroup(other, u"旧名", u"新"));
        QCOMPARE(Q(MemoGroupName(exact)), QStringLiteral("0123456789"));
        QCOMPARE(exact.groupName[10], u'\0');
        QCOMPARE(exact.flags, RECORD_CHANGED);
        QCOMPARE(exact.stamp, 100);
        QCOMPARE(exact.groupId, 99);
        QCOMPARE(Q(MemoGroupName(longer)), QStringLiteral("旧名字"));
        QCOMPARE(longer.flags, 0u);
        QCOMPARE(Q(MemoGroupName(other)), QStringLiteral("新"));
    }

    void deletedCategoryWithSharedId()
    {
        // Two categories created within the same second share their id; the later one wins the table.
        GroupNameTable table;
        table.Add(Group(100, u"甲"));
        table.Add(Group(100, u"乙"));
        table.Add(Group(200, u"丙"));
        QCOMPARE(Q(*table.Find(100)), QStringLiteral("乙"));
        QVERIFY(!table.Find(300));

        const auto moves = [&table](MemoRecord memo, std::u16string_view deleted, bool expected) {
            memo.flags = 0x5u;
            const MemoRecord before = memo;
            const bool moved = MoveMemoOfDeletedGroup(memo, table, deleted);
            QCOMPARE(moved, expected);
            QCOMPARE(Q(MemoGroupName(memo)), moved ? QStringLiteral("其它") : Q(MemoGroupName(before)));
            QCOMPARE(memo.groupId, before.groupId);
            QCOMPARE(memo.flags, before.flags);
            QCOMPARE(memo.stamp, before.stamp);
        };
        // Deleting the later category moves every memo of the shared id, whatever its groupName.
        moves(Memo(100, u"甲"), u"乙", true);
        moves(Memo(100, u"乙"), u"乙", true);
        moves(Memo(200, u"丙"), u"乙", false);
        // Deleting the earlier one moves none.
        moves(Memo(100, u"甲"), u"甲", false);
        // Memos are found through their id only; an id no category has never matches.
        moves(Memo(300, u"丙"), u"丙", false);
        moves(Memo(200, u"其它"), u"丙", true);

        GroupNameTable empty;
        MemoRecord memo = Memo(0, u"");
        QVERIFY(!MoveMemoOfDeletedGroup(memo, empty, u""));
    }

    void restoredMemoOfAGoneCategory_data()
    {
        QTest::addColumn<int>("groupId");
        QTest::addColumn<QString>("groupName");
        QTest::addColumn<QString>("restoredUnder");
        QTest::newRow("category still stored") << 200 << u"工作"_s << u"工作"_s;
        QTest::newRow("category gone") << 200 << u"生活"_s << u"其它"_s;
        QTest::newRow("gone, the id of a stored one") << 100 << u"旧名"_s << u"其它"_s;
        QTest::newRow("no category") << 300 << u"全部"_s << u"全部"_s;
        QTest::newRow("empty name") << 300 << QString() << QString();
        QTest::newRow("其它 by id") << OTHER_GROUP_ID << u"生活"_s << u"生活"_s;
        QTest::newRow("其它 by name") << 300 << u"其它"_s << u"其它"_s;
    }

    void restoredMemoOfAGoneCategory()
    {
        QFETCH(int, groupId);
        QFETCH(QString, groupName);
        QFETCH(QString, restoredUnder);
        const std::vector<MemoGroupRecord> stored{Group(100, u"新名"), Group(200, u"工作")};
        MemoRecord memo = Memo(groupId, U(groupName));
        memo.flags = 0x5u;
        const MemoRecord before = memo;
        QCOMPARE(RefileRestoredMemo(memo, stored), restoredUnder != groupName);
        QCOMPARE(Q(MemoGroupName(memo)), restoredUnder);
        QCOMPARE(memo.groupId, before.groupId);
        QCOMPARE(memo.flags, before.flags);
        QCOMPARE(memo.stamp, before.stamp);
    }
};

QTEST_APPLESS_MAIN(TestRecordRules)
#include "tst_recordrules.moc"
