// The trash (unseen by the record operations, restored byte for byte, purged after 30 days), the
// upgrade of a store of an earlier format, the batch add, backup copies, the memo panel's draft and
// memo states.
#include "StoreTestUtil.h"

#include <MemoBackups.h>
#include <MemoBatch.h>
#include <MemoDraft.h>
#include <MemoGroups.h>
#include <MemoTrash.h>

#include <QDateTime>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <cstring>
#include <ctime>
#include <future>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The stored memos in their order, a record each; a read that fails shows as a zeroed record.
QByteArrayList Memos()
{
    QByteArrayList memos;
    for (std::int32_t order = 1; order <= DBI_MemGetValidRecordCount(); ++order) {
        MemoRecord memo{};
        DBI_MemReadRecordByOrder(order, &memo);
        memos << QByteArray(reinterpret_cast<const char*>(&memo), sizeof memo);
    }
    return memos;
}

std::vector<std::int32_t> AddMemos(int count)
{
    std::vector<std::int32_t> keys;
    for (int i = 0; i < count; ++i) {
        MemoRecord memo = TestMemo(u"m%1"_s.arg(i), u"body %1"_s.arg(i), u"工作"_s);
        memo.reserved1 = 0x01020304 + i; // carried words must come back as they were
        memo.flags = RECORD_CHANGED | 0x5;
        keys.push_back(DBI_MemRecycleWriteRecord(&memo));
    }
    return keys;
}

QStringList Backups()
{
    const QString list = QString::fromUtf8(MemoStore_Backups());
    return list.isEmpty() ? QStringList() : list.split(u'\n');
}

const qint64 kMonday = QDateTime(QDate(2024, 5, 6), QTime(18, 30, 5)).toSecsSinceEpoch();

} // namespace

class TestTrash : public QObject
{
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> m_temp;

    bool Open() { return MemoStore_Open("alice", m_temp->path().toUtf8().constData()) == 1; }
    QString Path() const { return StoreFileOf(m_temp->path(), u"alice"_s); }

  private Q_SLOTS:
    void init()
    {
        m_temp = std::make_unique<QTemporaryDir>();
        QVERIFY2(Open(), MemoStore_LastError());
    }

    void cleanup()
    {
        MemoStore_Close();
        m_temp.reset();
    }

    void deletedMemosComeBackByteForByteInTheirPlace()
    {
        const MemoGroupRecord work = NewGroupRecord(305371800, u"工作");
        QVERIFY(DBI_MemGroupRecycleWriteRecord(&work) > 0);
        const std::vector<std::int32_t> keys = AddMemos(5);
        const QByteArrayList before = Memos();
        const std::time_t start = std::time(nullptr);
        QCOMPARE(DBI_MemDeleteRecord(keys[1]), 1);
        QCOMPARE(DBI_MemDeleteRecord(keys[3]), 1);

        QCOMPARE(Memos(), (QByteArrayList{before[0], before[2], before[4]}));
        MemoRecord memo{};
        QVERIFY(DBI_MemReadRecord(keys[1], &memo) != 1 && DBI_MemModifyRecord(keys[1], &memo) != 1 &&
                DBI_MemDeleteRecord(keys[1]) != 1);
        std::int64_t when = 0;
        QCOMPARE(MemoStore_TrashRead(1, &memo, &when), 1);
        QCOMPARE(memo.key, keys[3]); // same second: the later key is the later deletion
        QVERIFY(when >= start && when <= std::time(nullptr));

        QCOMPARE(MemoStore_TrashRestore(keys[3]), int(MEMO_TRASH_RESTORED));
        QCOMPARE(MemoStore_TrashRestore(keys[1]), int(MEMO_TRASH_RESTORED));
        QCOMPARE(Memos(), before);
        QCOMPARE(MemoStore_TrashCount(), 0);
        QVERIFY(AddMemos(1).front() > keys.back()); // keys stay unique
    }

    void aMemoWhoseCategoryWasDeletedComesBackUnderOther()
    {
        MemoGroupRecord home = NewGroupRecord(305371800, u"生活");
        home.key = DBI_MemGroupRecycleWriteRecord(&home);
        const std::int32_t key = AddMemos(1).front();
        MemoRecord memo{};
        QCOMPARE(DBI_MemReadRecord(key, &memo), 1);
        SetMemoGroupName(memo, u"生活");
        QCOMPARE(DBI_MemModifyRecord(key, &memo), 1);
        QCOMPARE(DBI_MemDeleteRecord(key), 1);
        QCOMPARE(MemoStore_GroupDelete(home.key, nullptr, 0), 1);

        QCOMPARE(MemoStore_TrashRestore(key), int(MEMO_TRASH_RESTORED));
        MemoRecord restored{};
        QCOMPARE(DBI_MemReadRecord(key, &restored), 1);
        QCOMPARE(Q(MemoGroupName(restored)), u"其它"_s);
        QCOMPARE(restored.groupId, memo.groupId);
    }

    // What makes the host send the memos to the server soon: every change of them, also those
    // that are no record operation.
    void restoresAndBatchesAreTold()
    {
        int told = 0;
        MemoStore_SetChangeHook([](void* count) { ++*static_cast<int*>(count); }, &told);
        const std::int32_t key = AddMemos(1).front();
        QCOMPARE(MemoStore_BackUp(kMonday, 0), int(MEMO_BACKUP_WRITTEN));
        QCOMPARE(DBI_MemDeleteRecord(key), 1);
        told = 0;
        QCOMPARE(MemoStore_TrashRestore(key), int(MEMO_TRASH_RESTORED));
        QCOMPARE(told, 1);
        const MemoRecord memo = TestMemo(u"批"_s);
        QCOMPARE(MemoStore_AddRecords(&memo, 1, nullptr, 0), int(MEMO_BATCH_ADDED));
        QCOMPARE(told, 2);
        QCOMPARE(MemoStore_RestoreBackup(Backups().first().toUtf8().constData(), kMonday + 60), 1);
        QCOMPARE(told, 3);
        QCOMPARE(MemoStore_TrashRestore(key), int(MEMO_TRASH_NOT_FOUND)); // a refusal is not a change
        QCOMPARE(told, 3);
        MemoStore_SetChangeHook(nullptr, nullptr);
    }

    void restoreIsRefusedWhileTheKeyIsInUseOrTheStoreFull()
    {
        const std::int32_t key = AddMemos(1).front();
        QCOMPARE(DBI_MemDeleteRecord(key), 1);
        // Only a file changed by hand holds a key in both tables.
        QVERIFY(RawDb(Path()).Exec("INSERT INTO memo (key, record) SELECT key, record FROM memo_trash"));
        QCOMPARE(MemoStore_TrashRestore(key), int(MEMO_TRASH_KEY_IN_USE));
        QVERIFY2(QString::fromUtf8(MemoStore_LastError()).contains(u"stored already"_s),
                 MemoStore_LastError());
        AddMemos(MAX_MEMO_COUNT - 1);
        const QByteArrayList memos = Memos();
        QCOMPARE(MemoStore_TrashRestore(key), int(MEMO_TRASH_STORE_FULL));
        QVERIFY2(QString::fromUtf8(MemoStore_LastError()).contains(u"100 memos"_s), MemoStore_LastError());
        QCOMPARE(Memos(), memos);
        QCOMPARE(MemoStore_TrashCount(), 1);
    }

    void memosDeletedOverThirtyDaysAgoGoWhenTheStoreOpens()
    {
        const std::vector<std::int32_t> keys = AddMemos(3);
        for (const std::int32_t key : keys)
            QCOMPARE(DBI_MemDeleteRecord(key), 1);
        MemoStore_Close();
        const qint64 thirtyDaysAgo = std::time(nullptr) - 30 * 24 * 3600;
        const QString age = u"UPDATE memo_trash SET deleted_at = %1 WHERE key = %2"_s;
        RawDb raw(Path());
        QVERIFY(raw.Exec(age.arg(thirtyDaysAgo - 60).arg(keys[0]).toUtf8().constData()));
        QVERIFY(raw.Exec(age.arg(thirtyDaysAgo + 60).arg(keys[1]).toUtf8().constData()));

        QVERIFY(Open());
        QCOMPARE(MemoStore_TrashCount(), 2);
        QCOMPARE(MemoStore_TrashRestore(keys[0]), int(MEMO_TRASH_NOT_FOUND));
    }

    void aStoreOfAnEarlierFormatIsUpgradedInPlace_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("format 1") << 1;
        QTest::newRow("format 2") << 2;
        QTest::newRow("format 3") << 3;
    }

    void aStoreOfAnEarlierFormatIsUpgradedInPlace()
    {
        QFETCH(int, format);
        AddMemos(4);
        const MemoGroupRecord group = NewGroupRecord(1, u"组");
        QVERIFY(DBI_MemGroupRecycleWriteRecord(&group) > 0);
        QCOMPARE(DBI_MemDeleteRecord(4), 1);
        if (format < 2)
            QCOMPARE(MemoStore_TrashEmpty(), 1); // as if deleted before there was a trash
        const QByteArrayList before = Memos();
        MemoStore_Close();
        QVERIFY(MakeFormat(Path(), format));

        QVERIFY2(Open(), MemoStore_LastError());
        QCOMPARE(RawDb(Path()).Text("PRAGMA user_version"), u"4"_s);
        QCOMPARE(RawDb(Path()).Text("SELECT count(*) FROM sync_link"), u"0"_s);
        QCOMPARE(Memos(), before);
        QCOMPARE(DBI_MemGroupGetValidRecordCount(), 1);
        const int trashed = format >= 2 ? 1 : 0;
        QCOMPARE(MemoStore_TrashCount(), trashed);
        QCOMPARE(DBI_MemDeleteRecord(1), 1);
        QCOMPARE(MemoStore_TrashCount(), trashed + 1);
        QVERIFY(AddMemos(1).front() > 4); // key 4 is still never handed out again
    }

    void anUpgradeThatFailsHalfwayLeavesTheStoreAsItWas()
    {
        AddMemos(2);
        MemoStore_Close();
        RawDb raw(Path());
        QVERIFY(MakeFormat(Path(), 1) && raw.Exec("CREATE TABLE memo_draft (x)")); // the last step fails
        QVERIFY(!Open());
        QVERIFY2(QString::fromUtf8(MemoStore_LastError()).contains(u"memo_draft"_s), MemoStore_LastError());
        QCOMPARE(raw.Text("SELECT count(*) FROM sqlite_master WHERE name = 'memo_trash'"), u"0"_s);
        QCOMPARE(raw.Text("PRAGMA user_version"), u"1"_s);
    }

    void aBatchIsAddedWholeOrNotAtAll()
    {
        AddMemos(90);
        const MemoGroupRecord stored = NewGroupRecord(1, u"a");
        QVERIFY(DBI_MemGroupRecycleWriteRecord(&stored) > 0);
        const std::vector<MemoRecord> memos(11, TestMemo(u"new"_s));
        std::vector<MemoGroupRecord> groups; // ten real categories, then two that are not counted
        for (const char16_t* name :
             {u"b", u"c", u"d", u"e", u"f", u"g", u"h", u"i", u"j", u"k", u"全部", u"其它"})
            groups.push_back(NewGroupRecord(2, name));

        QCOMPARE(MemoStore_AddRecords(memos.data(), 11, groups.data() + 1, 11), int(MEMO_BATCH_MEMOS_FULL));
        QCOMPARE(MemoStore_AddRecords(memos.data(), 1, groups.data(), 10), int(MEMO_BATCH_GROUPS_FULL));
        QVERIFY(std::strlen(MemoStore_LastError()) > 0);
        QCOMPARE(DBI_MemGetValidRecordCount(), 90);
        QCOMPARE(DBI_MemGroupGetValidRecordCount(), 1);
        QCOMPARE(MemoStore_AddRecords(memos.data(), 10, groups.data() + 1, 11), int(MEMO_BATCH_ADDED));
        QCOMPARE(DBI_MemGetValidRecordCount(), 100);
        QCOMPARE(DBI_MemGroupGetValidRecordCount(), 12);
    }

    void backupsArePrivateCompleteDailyCopiesThatRestore()
    {
        AddMemos(3);
        QCOMPARE(DBI_MemDeleteRecord(1), 1);
        QCOMPARE(MemoStore_BackUp(kMonday, 1), int(MEMO_BACKUP_WRITTEN));
        QCOMPARE(MemoStore_BackUp(kMonday + 60, 1), int(MEMO_BACKUP_NOT_DUE));
        QCOMPARE(MemoStore_BackUp(kMonday, 0), int(MEMO_BACKUP_WRITTEN)); // same second: a name of its own
        const QString folder = m_temp->path() + u"/backups"_s;
        QCOMPARE(Backups(), (QStringList{folder + u"/memo-616c696365.20240506-183005-2.db"_s,
                                         folder + u"/memo-616c696365.20240506-183005.db"_s}));
        const QString copy = Backups().back();
        QCOMPARE(ModeOf(folder), 0700u);
        QCOMPARE(ModeOf(copy), 0600u);
        QCOMPARE(RawDb(copy).Text("SELECT (SELECT count(*) FROM memo) || (SELECT count(*) FROM memo_trash)"),
                 u"21"_s); // both memos and the deleted one
        QCOMPARE(RawDb(copy).Text("PRAGMA integrity_check"), u"ok"_s);
        QCOMPARE(FileBytes(copy).at(18), char(1)); // not WAL: complete without a -wal beside it

        // A copy of the former format is upgraded when restored; the store as it was is copied first.
        QVERIFY(MakeFormat(copy, 1));
        AddMemos(1);
        // What is being typed now is kept: the draft is not part of what a copy brings back.
        MemoRecord draft = TestMemo(u"typed"_s);
        QCOMPARE(MemoStore_DraftWrite(&draft), int(MEMO_DRAFT_DONE));
        QCOMPARE(MemoStore_RestoreBackup(copy.toUtf8().constData(), kMonday + 60), 1);
        QCOMPARE(DBI_MemGetValidRecordCount(), 2);
        MemoRecord read{};
        QVERIFY(MemoStore_DraftRead(&read) == 1 && std::memcmp(&read, &draft, sizeof draft) == 0);
        QCOMPARE(Backups().size(), 3);
        QCOMPARE(RawDb(Backups()[0]).Text("SELECT count(*) FROM memo"), u"3"_s);
        QCOMPARE(DBI_MemDeleteRecord(2), 1);
        QCOMPARE(MemoStore_TrashCount(), 1);
    }

    // Seven copies named by a clock that ran a year ahead, then copies and restores made with the
    // right time: each new copy is kept as the newest, the oldest go, never more than seven stay.
    void copiesArePrunedInTheOrderTheyWereMade()
    {
        AddMemos(1);
        const qint64 aYearAhead = kMonday + 365 * 24 * 3600;
        for (int day = 0; day < 7; ++day)
            QCOMPARE(MemoStore_BackUp(aYearAhead + day * 24 * 3600, 0), int(MEMO_BACKUP_WRITTEN));
        const QStringList ahead = Backups();
        for (int minute = 1; minute <= 3; ++minute) {
            QCOMPARE(MemoStore_BackUp(kMonday + minute * 60, 0), int(MEMO_BACKUP_WRITTEN));
            QVERIFY2(Backups().value(0).endsWith(u"-18"_s + QString::number(30 + minute) + u"05.db"_s),
                     qPrintable(Backups().join(u' ')));
        }
        QCOMPARE(Backups().size(), 7);
        QCOMPARE(Backups().mid(3), ahead.mid(0, 4));
        for (int restore = 0; restore < 10; ++restore)
            QCOMPARE(MemoStore_RestoreBackup(Backups().back().toUtf8().constData(), kMonday + 3600 + restore),
                     1);
        QCOMPARE(Backups().size(), 7);
    }

    void copiesThatAreNotHealthyBackupsAreNotRestored_data()
    {
        QTest::addColumn<QString>("copy");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << u"missing"_s << u"could not be examined"_s;
        QTest::newRow("damaged") << u"damaged"_s << u"damaged"_s;
        QTest::newRow("a record that breaks a CHECK") << u"malformed"_s << u"CHECK constraint failed"_s;
        QTest::newRow("the store itself") << u"store"_s << u"the memo store itself"_s;
    }

    void copiesThatAreNotHealthyBackupsAreNotRestored()
    {
        QFETCH(QString, copy);
        QFETCH(QString, reason);
        AddMemos(2);
        QString path = m_temp->path() + u"/copy.db"_s;
        if (copy == u"store")
            path = Path();
        else if (copy == u"damaged") // a page zeroed: only SQLite's own check finds it
            QVERIFY(MemoStore_BackUp(kMonday, 1) == MEMO_BACKUP_WRITTEN &&
                    WriteFile(path, FileBytes(Backups()[0]).replace(4096, 4096, QByteArray(4096, '\0'))));
        else if (copy == u"malformed")
            QVERIFY(
                MemoStore_BackUp(kMonday, 1) == MEMO_BACKUP_WRITTEN && QFile::copy(Backups()[0], path) &&
                RawDb(path).Exec("PRAGMA ignore_check_constraints = 1;"
                                 "UPDATE memo SET record = x'00' WHERE key = (SELECT min(key) FROM memo)"));
        const QByteArrayList memos = Memos();
        const QStringList before = Backups();

        QCOMPARE(MemoStore_RestoreBackup(path.toUtf8().constData(), kMonday + 60), 0);
        QVERIFY2(QString::fromUtf8(MemoStore_LastError()).contains(reason), MemoStore_LastError());
        QCOMPARE(MemoStore_IsOpen(), 1);
        QCOMPARE(Memos(), memos);
        QCOMPARE(Backups(), before); // not even the copy made before a restore
    }

    void draftWritesNeverWaitForAnotherWriter_data()
    {
        QTest::addColumn<bool>("clear");
        QTest::newRow("write") << false;
        QTest::newRow("clear") << true;
    }

    void draftWritesNeverWaitForAnotherWriter()
    {
        QFETCH(bool, clear);
        const MemoRecord before = TestMemo(u"before"_s);
        const MemoRecord draft = TestMemo(u"draft"_s);
        QCOMPARE(MemoStore_DraftWrite(&before), int(MEMO_DRAFT_DONE));
        RawDb other(Path());
        QVERIFY(other.Exec("BEGIN IMMEDIATE"));
        const auto write = [&] { return clear ? MemoStore_DraftClear() : MemoStore_DraftWrite(&draft); };
        auto attempt = std::async(std::launch::async, write);
        attempt.wait_for(std::chrono::seconds(3)); // one that waited for the lock would write once it is free
        // A record operation still waits for its turn, and gets it.
        auto memo = std::async(std::launch::async, [&] { return DBI_MemRecycleWriteRecord(&before); });
        memo.wait_for(std::chrono::milliseconds(300));
        QVERIFY(other.Exec("ROLLBACK"));
        QCOMPARE(attempt.get(), int(MEMO_DRAFT_BUSY));
        QVERIFY(memo.get() > 0);
        MemoRecord read{};
        QVERIFY(MemoStore_DraftRead(&read) == 1 && std::memcmp(&read, &before, sizeof read) == 0);
        QCOMPARE(write(), int(MEMO_DRAFT_DONE));
        QCOMPARE(MemoStore_DraftRead(&read), clear ? 0 : 1);
    }

    void memoStatesSayWhetherAMemoIsStored()
    {
        const std::int32_t key = AddMemos(2).front();
        QCOMPARE(DBI_MemDeleteRecord(key + 1), 1);
        QCOMPARE(MemoStore_MemoState(key), 1);
        QCOMPARE(MemoStore_MemoState(key + 1), 0); // deleted
        QCOMPARE(MemoStore_MemoState(key + 2), 0); // never stored
        QVERIFY(RawDb(Path()).Exec("ALTER TABLE memo RENAME TO gone"));
        QCOMPARE(MemoStore_MemoState(key), -1);
        QVERIFY2(QString::fromUtf8(MemoStore_LastError()).contains(u"no such table"_s),
                 MemoStore_LastError());
        MemoStore_Close();
        QCOMPARE(MemoStore_MemoState(key), -1);
    }
};

QTEST_GUILESS_MAIN(TestTrash)
#include "tst_trash.moc"
