#include "FailingWrites.h"
#include "GroupNameTable.h"
#include "StoreTestUtil.h"

#include <MemoGroups.h>
#include <MemoTrash.h>

#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

std::vector<MemoRecord> AllMemos()
{
    std::vector<MemoRecord> memos;
    const std::int32_t count = DBI_MemGetValidRecordCount();
    for (std::int32_t order = 1; order <= count; ++order) {
        MemoRecord memo{};
        if (DBI_MemReadRecordByOrder(order, &memo) != 1)
            return {};
        memos.push_back(memo);
    }
    return memos;
}

std::vector<MemoGroupRecord> AllGroups()
{
    std::vector<MemoGroupRecord> groups;
    const std::int32_t count = DBI_MemGroupGetValidRecordCount();
    for (std::int32_t order = 1; order <= count; ++order) {
        MemoGroupRecord group{};
        if (DBI_MemGroupReadRecordByOrder(order, &group) != 1)
            return {};
        groups.push_back(group);
    }
    return groups;
}

template <class Record> QByteArray Bytes(const std::vector<Record>& records)
{
    return QByteArray(reinterpret_cast<const char*>(records.data()),
                      static_cast<qsizetype>(records.size() * sizeof(Record)));
}

QStringList GroupsOf(const std::vector<MemoRecord>& memos)
{
    QStringList names;
    for (const MemoRecord& memo : memos)
        names << Q(MemoGroupName(memo));
    return names;
}

QStringList Titles(const std::vector<MemoRecord>& memos)
{
    QStringList titles;
    for (const MemoRecord& memo : memos)
        titles << Q(MemoTitle(memo));
    return titles;
}

QStringList Names(const std::vector<MemoGroupRecord>& groups)
{
    QStringList names;
    for (const MemoGroupRecord& group : groups)
        names << Q(GroupName(group));
    return names;
}

std::int32_t AddMemo(const QString& title, const QString& group = QStringLiteral("全部"),
                     std::int32_t groupId = 0)
{
    MemoRecord memo = TestMemo(title, QStringLiteral("body of ") + title, group);
    memo.groupId = groupId;
    return DBI_MemRecycleWriteRecord(&memo);
}

std::int32_t AddGroup(std::int32_t id, const QString& name)
{
    const MemoGroupRecord group = NewGroupRecord(id, U(name));
    return DBI_MemGroupRecycleWriteRecord(&group);
}

// The category 旧名 (its key is returned) with the memos a and c, and the category 别的 with b.
std::int32_t AddFiledMemos()
{
    const std::int32_t key = AddGroup(5000, u"旧名"_s);
    AddGroup(6000, u"别的"_s);
    AddMemo(u"a"_s, u"旧名"_s, 5000);
    AddMemo(u"b"_s, u"别的"_s, 6000);
    AddMemo(u"c"_s, u"旧名"_s, 5000);
    return key;
}

// The memos the category editor writes when 旧名 is renamed to 新名, or deleted.
std::vector<MemoRecord> ChangedMemos(bool rename)
{
    GroupNameTable table;
    for (const MemoGroupRecord& group : AllGroups())
        table.Add(group);
    std::vector<MemoRecord> changed;
    for (MemoRecord memo : AllMemos()) {
        if (rename ? RenameMemoGroup(memo, u"旧名", u"新名") : MoveMemoOfDeletedGroup(memo, table, u"旧名"))
            changed.push_back(memo);
    }
    return changed;
}

int ChangeCategory(bool rename, std::int32_t key, const std::vector<MemoRecord>& memos)
{
    const MemoGroupRecord renamed = NewGroupRecord(5000, u"新名");
    const auto count = static_cast<std::int32_t>(memos.size());
    return rename ? MemoStore_GroupRename(key, &renamed, memos.data(), count)
                  : MemoStore_GroupDelete(key, memos.data(), count);
}

} // namespace

class TestDbiMemo : public QObject
{
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> m_temp;

    bool Reopen() { return MemoStore_Open("tester", m_temp->path().toUtf8().constData()) == 1; }

  private Q_SLOTS:
    void init()
    {
        m_temp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_temp->isValid());
        QVERIFY2(Reopen(), MemoStore_LastError());
    }

    void cleanup()
    {
        MemoStore_Close();
        QCOMPARE(MemoStore_IsOpen(), 0);
        m_temp.reset();
    }

    void enumerationFollowsInsertsModificationsAndDeletions()
    {
        QCOMPARE(DBI_MemGetValidRecordCount(), 0);
        std::vector<std::int32_t> keys;
        for (int i = 0; i < 5; ++i)
            keys.push_back(AddMemo(QStringLiteral("m%1").arg(i)));
        std::vector<MemoRecord> memos = AllMemos();
        QCOMPARE(Titles(memos), (QStringList{u"m0"_s, u"m1"_s, u"m2"_s, u"m3"_s, u"m4"_s}));
        for (std::size_t i = 0; i < keys.size(); ++i)
            QCOMPARE(memos[i].key, keys[i]); // the key a recycle write returns is the key read back

        MemoRecord changed = memos[2];
        SetMemoTitle(changed, u"m2 changed");
        QCOMPARE(DBI_MemModifyRecord(keys[2], &changed), 1);
        QCOMPARE(DBI_MemDeleteRecord(keys[1]), 1);
        const std::int32_t fresh = AddMemo(QStringLiteral("m5"));
        QCOMPARE(DBI_MemGetValidRecordCount(), 5);
        memos = AllMemos();
        QCOMPARE(Titles(memos), (QStringList{u"m0"_s, u"m2 changed"_s, u"m3"_s, u"m4"_s, u"m5"_s}));
        QCOMPARE(memos.back().key, fresh);

        MemoRecord byKey{};
        QCOMPARE(DBI_MemReadRecord(keys[3], &byKey), 1);
        QCOMPARE(Q(MemoTitle(byKey)), QStringLiteral("m3"));
        QCOMPARE(byKey.key, keys[3]);
    }

    void recordsAreCarriedByteForByte()
    {
        MemoRecord memo = TestMemo(QStringLiteral("exact"), QStringLiteral("text"));
        memo.reserved1 = -123456;
        memo.reserved2 = 0x7F00FF00;
        memo.flags = 0x4000000Bu;
        memo.content[300] = u'z'; // behind the terminator: no meaning, but carried all the same
        memo.key = 999;           // the store names the record, not the caller
        const std::int32_t key = DBI_MemRecycleWriteRecord(&memo);
        QVERIFY(key > 0 && key != 999);

        MemoRecord read{};
        QCOMPARE(DBI_MemReadRecordByOrder(1, &read), 1);
        QCOMPARE(read.key, key);
        memo.key = key;
        QCOMPARE(std::memcmp(&read, &memo, sizeof memo), 0);

        MemoGroupRecord group = NewGroupRecord(305371800, u"分组");
        group.flags = 0x00000100u;
        group.name[14] = u'q';
        const std::int32_t groupKey = DBI_MemGroupRecycleWriteRecord(&group);
        QVERIFY(groupKey > 0);
        MemoGroupRecord readGroup{};
        QCOMPARE(DBI_MemGroupReadRecordByOrder(1, &readGroup), 1);
        group.key = groupKey;
        QCOMPARE(std::memcmp(&readGroup, &group, sizeof group), 0);
    }

    void renamingInsideAnEnumerationKeepsOrders()
    {
        for (int i = 0; i < 12; ++i)
            AddMemo(QStringLiteral("r%1").arg(i),
                    i % 3 == 0 ? QStringLiteral("其它") : QStringLiteral("旧名"));
        const std::vector<MemoRecord> before = AllMemos();

        // The category editor's loop: read memo n, modify it under its key, go on with n + 1.
        const std::int32_t count = DBI_MemGetValidRecordCount();
        int renamed = 0;
        for (std::int32_t order = 1; order <= count; ++order) {
            MemoRecord memo{};
            QCOMPARE(DBI_MemReadRecordByOrder(order, &memo), 1);
            if (RenameMemoGroup(memo, u"旧名", u"新名字")) {
                QCOMPARE(DBI_MemModifyRecord(memo.key, &memo), 1);
                ++renamed;
            }
        }
        QCOMPARE(renamed, 8);

        const std::vector<MemoRecord> after = AllMemos();
        QCOMPARE(after.size(), before.size());
        for (std::size_t i = 0; i < after.size(); ++i) {
            QCOMPARE(after[i].key, before[i].key);
            QCOMPARE(Q(MemoTitle(after[i])), Q(MemoTitle(before[i])));
            QCOMPARE(Q(MemoGroupName(after[i])),
                     i % 3 == 0 ? QStringLiteral("其它") : QStringLiteral("新名字"));
            QCOMPARE(after[i].flags, i % 3 == 0 ? 0u : RECORD_CHANGED);
        }
    }

    void deletingACategoryMovesItsMemosAndPacks()
    {
        // Two categories of the same second share an id; the later one owns it in the id table.
        const std::int32_t earlier = AddGroup(5000, QStringLiteral("早"));
        const std::int32_t later = AddGroup(5000, QStringLiteral("晚"));
        AddGroup(6000, QStringLiteral("别的"));
        AddMemo(QStringLiteral("a"), QStringLiteral("早"), 5000);
        AddMemo(QStringLiteral("b"), QStringLiteral("别的"), 6000);
        AddMemo(QStringLiteral("c"), QStringLiteral("晚"), 5000);

        const auto deleteGroup = [](std::int32_t key, std::u16string_view name) {
            GroupNameTable table;
            for (const MemoGroupRecord& group : AllGroups())
                table.Add(group);
            const std::int32_t count = DBI_MemGetValidRecordCount();
            for (std::int32_t order = 1; order <= count; ++order) {
                MemoRecord memo{};
                DBI_MemReadRecordByOrder(order, &memo);
                if (MoveMemoOfDeletedGroup(memo, table, name))
                    DBI_MemModifyRecord(memo.key, &memo);
            }
            DBI_MemGroupDeleteRecord(key);
            DBI_MemGroupPack();
        };

        deleteGroup(earlier, u"早");
        QCOMPARE(Names(AllGroups()), (QStringList{u"晚"_s, u"别的"_s}));
        QCOMPARE(Q(MemoGroupName(AllMemos()[0])), QStringLiteral("早")); // nothing moved

        deleteGroup(later, u"晚");
        const std::vector<MemoGroupRecord> groups = AllGroups();
        QCOMPARE(Names(groups), QStringList{u"别的"_s});
        const std::vector<MemoRecord> memos = AllMemos();
        QCOMPARE(Q(MemoGroupName(memos[0])), QStringLiteral("其它"));
        QCOMPARE(Q(MemoGroupName(memos[1])), QStringLiteral("别的"));
        QCOMPARE(Q(MemoGroupName(memos[2])), QStringLiteral("其它"));
        QCOMPARE(memos[0].groupId, 5000);
    }

    void packKeepsOrdersAndReturnsFreedPages()
    {
        std::vector<std::int32_t> keys;
        for (int i = 1; i <= 5; ++i)
            keys.push_back(AddGroup(i, QStringLiteral("g%1").arg(i)));
        for (int i = 0; i < 80; ++i)
            AddMemo(QStringLiteral("bulk"));
        const std::int32_t memoCount = DBI_MemGetValidRecordCount();
        for (const MemoRecord& memo : AllMemos())
            DBI_MemDeleteRecord(memo.key);
        QCOMPARE(DBI_MemGroupDeleteRecord(keys[1]), 1);
        QCOMPARE(DBI_MemGroupDeleteRecord(keys[3]), 1);

        RawDb raw(QString::fromUtf8(MemoStore_CurrentPath()));
        QVERIFY(raw.Text("PRAGMA freelist_count").toInt() > 0);
        QCOMPARE(DBI_MemGroupPack(), 1);
        QCOMPARE(raw.Text("PRAGMA freelist_count"), QStringLiteral("0"));

        const std::vector<MemoGroupRecord> groups = AllGroups();
        QCOMPARE(Names(groups), (QStringList{u"g1"_s, u"g3"_s, u"g5"_s}));
        QCOMPARE(groups[1].key, keys[2]);
        const std::int32_t added = AddGroup(9, QStringLiteral("g9"));
        QVERIFY(added > keys.back());
        QCOMPARE(Names(AllGroups()).last(), QStringLiteral("g9"));
        QCOMPARE(memoCount, 80);
        QCOMPARE(DBI_MemGetValidRecordCount(), 0);
    }

    void keysAreNeverReused()
    {
        const std::int32_t a = AddMemo(QStringLiteral("a"));
        const std::int32_t b = AddMemo(QStringLiteral("b"));
        QCOMPARE(DBI_MemDeleteRecord(b), 1);
        QCOMPARE(DBI_MemDeleteRecord(a), 1);
        const std::int32_t c = AddMemo(QStringLiteral("c"));
        QVERIFY(c > b);

        // A stale key names nothing: it neither reads, nor modifies, nor deletes the new memo.
        MemoRecord memo = TestMemo(QStringLiteral("stale"));
        QCOMPARE(DBI_MemModifyRecord(b, &memo), 0);
        QCOMPARE(DBI_MemDeleteRecord(a), 0);
        QCOMPARE(Titles(AllMemos()), QStringList{u"c"_s});

        const std::int32_t g = AddGroup(1, QStringLiteral("g"));
        QCOMPARE(DBI_MemGroupDeleteRecord(g), 1);
        QVERIFY(AddGroup(2, QStringLiteral("h")) > g);
    }

    void unknownKeysOrdersAndNullBuffersChangeNothing()
    {
        const std::int32_t key = AddMemo(QStringLiteral("only"));
        const std::int32_t groupKey = AddGroup(7, QStringLiteral("only"));
        MemoRecord memo{};
        std::memset(&memo, 0xAB, sizeof memo);
        const MemoRecord pattern = memo;
        for (const std::int32_t order : {0, -1, 2, INT32_MIN, INT32_MAX})
            QCOMPARE(DBI_MemReadRecordByOrder(order, &memo), 0);
        for (const std::int32_t unknown : {0, -1, key + 1, INT32_MAX})
            QCOMPARE(DBI_MemReadRecord(unknown, &memo), 0);
        QCOMPARE(std::memcmp(&memo, &pattern, sizeof memo), 0);

        MemoGroupRecord group{};
        std::memset(&group, 0xCD, sizeof group);
        const MemoGroupRecord groupPattern = group;
        QCOMPARE(DBI_MemGroupReadRecordByOrder(2, &group), 0);
        QCOMPARE(DBI_MemGroupReadRecordByOrder(0, &group), 0);
        QCOMPARE(std::memcmp(&group, &groupPattern, sizeof group), 0);

        const MemoRecord replacement = TestMemo(QStringLiteral("replacement"));
        QVERIFY(Refused(DBI_MemModifyRecord(key + 1, &replacement)));
        QVERIFY(Refused(DBI_MemModifyRecord(key, nullptr)));
        QVERIFY(Refused(DBI_MemDeleteRecord(key + 1)));
        QVERIFY(Refused(DBI_MemGroupModifyRecord(groupKey + 1, &group)));
        QVERIFY(Refused(DBI_MemGroupModifyRecord(groupKey, nullptr)));
        QVERIFY(Refused(DBI_MemGroupDeleteRecord(groupKey + 1)));
        QVERIFY(Refused(DBI_MemRecycleWriteRecord(nullptr)));
        QVERIFY(Refused(DBI_MemGroupRecycleWriteRecord(nullptr)));
        QCOMPARE(DBI_MemReadRecordByOrder(1, nullptr), 0);
        QCOMPARE(DBI_MemReadRecord(key, nullptr), 0);
        QCOMPARE(DBI_MemGroupReadRecordByOrder(1, nullptr), 0);

        QCOMPARE(Titles(AllMemos()), QStringList{u"only"_s});
        QCOMPARE(Names(AllGroups()), QStringList{u"only"_s});
    }

    // The reason of a failed write belongs to the thread that made it: another thread's calls (the
    // host's sync runs beside its window) neither clear nor replace it.
    void eachThreadKeepsTheReasonOfItsOwnFailure()
    {
        const std::int32_t key = AddMemo(QStringLiteral("only"));
        QVERIFY(Refused(DBI_MemDeleteRecord(key + 1)));
        const std::string mine = MemoStore_LastError();
        QVERIFY(!mine.empty());
        std::string theirs = "unset";
        std::thread other([&] {
            QCOMPARE(DBI_MemGetValidRecordCount(), 1);
            theirs = MemoStore_LastError();
        });
        other.join();
        QCOMPARE(theirs, std::string());
        QCOMPARE(std::string(MemoStore_LastError()), mine);
    }

    void changesByAnotherConnectionAreSeen()
    {
        AddMemo(QStringLiteral("ours"));
        QCOMPARE(DBI_MemGetValidRecordCount(), 1);

        RawDb other(QString::fromUtf8(MemoStore_CurrentPath()));
        QVERIFY(other.Exec("PRAGMA busy_timeout = 5000"));
        QVERIFY(other.InsertMemo(TestMemo(QStringLiteral("theirs"))));
        const auto theirKey = static_cast<std::int32_t>(other.LastKey());
        // A read that does not continue an enumeration looks at the file again.
        MemoRecord second{};
        QCOMPARE(DBI_MemReadRecordByOrder(2, &second), 1);
        QCOMPARE(second.key, theirKey);
        QCOMPARE(DBI_MemGetValidRecordCount(), 2);
        QCOMPARE(Titles(AllMemos()), (QStringList{u"ours"_s, u"theirs"_s}));

        QVERIFY(other.Exec("DELETE FROM memo WHERE key = (SELECT min(key) FROM memo)"));
        MemoRecord memo{};
        QCOMPARE(DBI_MemReadRecord(theirKey, &memo), 1);
        QCOMPARE(DBI_MemGetValidRecordCount(), 1);

        // Our write after their change: the mirror is not patched on a stale base.
        const std::int32_t next = AddMemo(QStringLiteral("after"));
        QVERIFY(next > theirKey);
        QCOMPARE(Titles(AllMemos()), (QStringList{u"theirs"_s, u"after"_s}));
        QCOMPARE(other.Text("PRAGMA journal_mode"), QStringLiteral("wal"));
    }

    void aWriteThatNeverGetsItsTurnFailsAndStoresNothing()
    {
        AddMemo(u"before"_s);
        QCOMPARE(Titles(AllMemos()), QStringList{u"before"_s});
        RawDb other(QString::fromUtf8(MemoStore_CurrentPath()));
        // Between calls the store holds no read transaction, so a full checkpoint beside it is not
        // kept waiting (its first column says whether it was).
        QCOMPARE(other.Text("PRAGMA wal_checkpoint(TRUNCATE)"), u"0"_s);

        QVERIFY(other.Exec("BEGIN IMMEDIATE"));
        QCOMPARE(AddMemo(u"blocked"_s), 0); // gives up after its wait
        QVERIFY2(QString::fromUtf8(MemoStore_LastError()).contains(u"locked"_s), MemoStore_LastError());
        QVERIFY(other.Exec("ROLLBACK"));
        QVERIFY(AddMemo(u"after"_s) > 0);
        QCOMPARE(Titles(AllMemos()), (QStringList{u"before"_s, u"after"_s}));
    }

    void aCategoryChangeIsAllOrNothing_data()
    {
        QTest::addColumn<bool>("rename");
        QTest::addColumn<QString>("failure");
        for (const bool rename : {true, false}) {
            for (const QString& failure : {u"unknown memo"_s, u"unknown category"_s, u"refused write"_s})
                QTest::addRow("%s, %s", rename ? "rename" : "delete", qPrintable(failure))
                    << rename << failure;
        }
    }

    void aCategoryChangeIsAllOrNothing()
    {
        QFETCH(bool, rename);
        QFETCH(QString, failure);
        const std::int32_t groupKey = AddFiledMemos();
        const std::vector<MemoRecord> memos = AllMemos();
        const std::vector<MemoGroupRecord> groups = AllGroups();
        std::vector<MemoRecord> changed = ChangedMemos(rename);
        if (failure == u"unknown memo")
            changed.back().key = 99;     // the memo before it is written by then
        if (failure == u"refused write") // the category is written after the memos
            QVERIFY(FailWrites("memo_group", {"UPDATE", "DELETE"}));
        QVERIFY(Refused(ChangeCategory(rename, failure == u"unknown category" ? 99 : groupKey, changed)));
        QVERIFY(Reopen()); // what the file holds
        QCOMPARE(Bytes(AllMemos()), Bytes(memos));
        QCOMPARE(Bytes(AllGroups()), Bytes(groups));
    }

    void renamingACategoryRewritesItsMemosInOneGo()
    {
        const std::int32_t groupKey = AddFiledMemos();
        QCOMPARE(ChangeCategory(true, groupKey, ChangedMemos(true)), 1);
        for (int pass = 0; pass < 2; ++pass) { // as read back at once, then from the file
            QCOMPARE(Names(AllGroups()), (QStringList{u"新名"_s, u"别的"_s}));
            QCOMPARE(AllGroups()[0].key, groupKey);
            QCOMPARE(Titles(AllMemos()), (QStringList{u"a"_s, u"b"_s, u"c"_s}));
            QCOMPARE(GroupsOf(AllMemos()), (QStringList{u"新名"_s, u"别的"_s, u"新名"_s}));
            QVERIFY(Reopen());
        }
    }

    void deletingACategoryMovesItsMemosAndPacksInOneGo()
    {
        for (int i = 0; i < 30; ++i)
            AddMemo(u"bulk"_s);
        for (const MemoRecord& memo : AllMemos())
            DBI_MemDeleteRecord(memo.key);
        MemoStore_TrashEmpty(); // pages for the pack to hand back
        const std::int32_t groupKey = AddFiledMemos();
        RawDb raw(QString::fromUtf8(MemoStore_CurrentPath()));
        QVERIFY(raw.Text("PRAGMA freelist_count").toInt() > 0);
        QCOMPARE(ChangeCategory(false, groupKey, ChangedMemos(false)), 1);
        QCOMPARE(raw.Text("PRAGMA freelist_count"), u"0"_s);
        QCOMPARE(Names(AllGroups()), QStringList{u"别的"_s});
        QCOMPARE(GroupsOf(AllMemos()), (QStringList{u"其它"_s, u"别的"_s, u"其它"_s}));
    }
};

QTEST_APPLESS_MAIN(TestDbiMemo)
#include "tst_dbimemo.moc"
