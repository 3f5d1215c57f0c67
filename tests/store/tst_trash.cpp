// What the store keeps of deleted memos and of itself: the trash (invisible to the twelve record
// operations, restored byte for byte under the old key, refused at 100 memos, purged after 30 days),
// the upgrade of a store of the format before the trash, the batch add, and backup copies.
#include "StoreTestUtil.h"

#include <MemoBackups.h>
#include <MemoBatch.h>
#include <MemoTrash.h>

#include <QDateTime>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <cstring>
#include <ctime>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

QByteArray AllMemoBytes()
{
    QByteArray bytes;
    MemoRecord memo{};
    for (std::int32_t order = 1; order <= DBI_MemGetValidRecordCount(); ++order)
        if (DBI_MemReadRecordByOrder(order, &memo) == 1)
            bytes.append(reinterpret_cast<const char*>(&memo), sizeof memo);
    return bytes;
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

// Whether any of the twelve operations can tell that a memo of this key exists.
bool VisibleToRecordOperations(std::int32_t key)
{
    MemoRecord memo{};
    for (std::int32_t order = 1; order <= DBI_MemGetValidRecordCount(); ++order)
        if (DBI_MemReadRecordByOrder(order, &memo) == 1 && memo.key == key)
            return true;
    return DBI_MemReadRecord(key, &memo) == 1 || DBI_MemModifyRecord(key, &memo) == 1 ||
           DBI_MemDeleteRecord(key) == 1;
}

QStringList Backups()
{
    const QString list = QString::fromUtf8(MemoStore_Backups());
    return list.isEmpty() ? QStringList() : list.split(u'\n');
}

QString Query(const QString& path, const char* sql)
{
    return RawDb(u"file:"_s + path + u"?immutable=1"_s).Text(sql);
}

mode_t ModeOf(const QString& path)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 01000;
}

const qint64 kMonday = QDateTime(QDate(2024, 5, 6), QTime(18, 30, 5)).toSecsSinceEpoch();

} // namespace

class TestTrash : public QObject
{
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> m_temp;

    bool Open(const char* user = "alice")
    {
        return MemoStore_Open(user, m_temp->path().toUtf8().constData()) == 1;
    }
    QString Path(const QString& user = u"alice"_s) const { return StoreFileOf(m_temp->path(), user); }

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
        const std::vector<std::int32_t> keys = AddMemos(5);
        const QByteArray before = AllMemoBytes();
        const std::time_t start = std::time(nullptr);
        QCOMPARE(DBI_MemDeleteRecord(keys[1]), 1);
        QCOMPARE(DBI_MemDeleteRecord(keys[3]), 1);
        const std::time_t end = std::time(nullptr);

        QCOMPARE(DBI_MemGetValidRecordCount(), 3);
        QVERIFY(!VisibleToRecordOperations(keys[1]));
        QVERIFY(!VisibleToRecordOperations(keys[3]));
        QCOMPARE(MemoStore_TrashCount(), 2);
        MemoRecord deleted{};
        std::int64_t when = 0;
        QCOMPARE(MemoStore_TrashRead(1, &deleted, &when), 1);
        QCOMPARE(deleted.key, keys[3]); // same second: the later key is the later deletion
        QVERIFY(when >= start && when <= end);

        // Restored out of order, each returns between its neighbours, as it was.
        QCOMPARE(MemoStore_TrashRestore(keys[3]), int(MEMO_TRASH_RESTORED));
        QCOMPARE(MemoStore_TrashRestore(keys[1]), int(MEMO_TRASH_RESTORED));
        QCOMPARE(AllMemoBytes(), before);
        QCOMPARE(MemoStore_TrashCount(), 0);
        QVERIFY(AddMemos(1).front() > keys.back()); // keys stay unique
    }

    void restoreIsRefusedWithAReason_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("reason");
        QTest::newRow("store full") << u"full"_s << int(MEMO_TRASH_STORE_FULL) << u"100 memos"_s;
        QTest::newRow("key in use") << u"in use"_s << int(MEMO_TRASH_KEY_IN_USE) << u"stored already"_s;
        QTest::newRow("not in the trash")
            << u"unknown"_s << int(MEMO_TRASH_NOT_FOUND) << u"no deleted memo"_s;
    }

    void restoreIsRefusedWithAReason()
    {
        QFETCH(QString, setup);
        QFETCH(int, result);
        QFETCH(QString, reason);
        std::int32_t key = AddMemos(1).front();
        QCOMPARE(DBI_MemDeleteRecord(key), 1);
        if (setup == u"full")
            AddMemos(MAX_MEMO_COUNT);
        else if (setup == u"in use") // only a file changed by hand holds a key in both tables
            QVERIFY(RawDb(Path()).Exec("INSERT INTO memo (key, record) SELECT key, record FROM memo_trash"));
        else
            key += 1000;
        const QByteArray memos = AllMemoBytes();

        QCOMPARE(MemoStore_TrashRestore(key), result);
        QVERIFY2(QString::fromUtf8(MemoStore_LastError()).contains(reason), MemoStore_LastError());
        QCOMPARE(AllMemoBytes(), memos);
        QCOMPARE(MemoStore_TrashCount(), 1);
    }

    void memosDeletedOverThirtyDaysAgoGoWhenTheStoreOpens()
    {
        const std::vector<std::int32_t> keys = AddMemos(3);
        for (std::int32_t key : keys)
            QCOMPARE(DBI_MemDeleteRecord(key), 1);
        MemoStore_Close();
        const qint64 now = std::time(nullptr);
        const qint64 day = 24 * 3600;
        RawDb raw(Path());
        for (const auto& [key, age] : {std::pair{keys[0], 30 * day + 60}, std::pair{keys[1], 30 * day - 60}})
            QVERIFY(raw.Exec(u"UPDATE memo_trash SET deleted_at = %1 WHERE key = %2"_s.arg(now - age)
                                 .arg(key)
                                 .toUtf8()
                                 .constData()));
        QVERIFY(Open());
        QCOMPARE(MemoStore_TrashCount(), 2);
        QCOMPARE(MemoStore_TrashRestore(keys[0]), int(MEMO_TRASH_NOT_FOUND));
        QCOMPARE(MemoStore_TrashRestore(keys[1]), int(MEMO_TRASH_RESTORED));
    }

    void aStoreOfTheFormerFormatIsUpgradedInPlace()
    {
        AddMemos(4);
        QCOMPARE(DBI_MemDeleteRecord(4), 1);
        QCOMPARE(MemoStore_TrashEmpty(), 1); // as if deleted before there was a trash
        const QByteArray before = AllMemoBytes();
        MemoStore_Close();
        // Exactly the schema the former version wrote: without the trash, format 1.
        QVERIFY(RawDb(Path()).Exec("DROP TABLE memo_trash; PRAGMA user_version = 1;"));

        QVERIFY2(Open(), MemoStore_LastError());
        QCOMPARE(RawDb(Path()).Text("PRAGMA user_version"), u"2"_s);
        QCOMPARE(AllMemoBytes(), before);
        QCOMPARE(DBI_MemDeleteRecord(1), 1);
        QCOMPARE(MemoStore_TrashCount(), 1);
        QVERIFY(AddMemos(1).front() > 4); // key 4 is still never handed out again
    }

    void aBatchIsAddedWholeOrNotAtAll_data()
    {
        QTest::addColumn<int>("stored");         // memos in the store before
        QTest::addColumn<int>("memos");          // memos in the batch
        QTest::addColumn<QStringList>("groups"); // categories in the batch; one is stored
        QTest::addColumn<int>("result");
        const QStringList eight = {u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s, u"f"_s, u"g"_s, u"h"_s};
        QTest::newRow("fits") << 90 << 10 << (eight + QStringList{u"i"_s}) << int(MEMO_BATCH_ADDED);
        QTest::newRow("one memo too many") << 90 << 11 << QStringList() << int(MEMO_BATCH_MEMOS_FULL);
        QTest::newRow("one category too many")
            << 0 << 1 << (eight + QStringList{u"i"_s, u"j"_s}) << int(MEMO_BATCH_GROUPS_FULL);
        QTest::newRow("pseudo-categories not counted")
            << 0 << 1 << (eight + QStringList{u"i"_s, u"全部"_s, u"其它"_s}) << int(MEMO_BATCH_ADDED);
    }

    void aBatchIsAddedWholeOrNotAtAll()
    {
        QFETCH(int, stored);
        QFETCH(int, memos);
        QFETCH(QStringList, groups);
        QFETCH(int, result);
        AddMemos(stored);
        const MemoGroupRecord group = NewGroupRecord(1, u"x");
        QVERIFY(DBI_MemGroupRecycleWriteRecord(&group) > 0);
        std::vector<MemoRecord> newMemos(std::size_t(memos), TestMemo(u"new"_s));
        std::vector<MemoGroupRecord> newGroups;
        for (const QString& name : groups)
            newGroups.push_back(NewGroupRecord(2, U(name)));

        QCOMPARE(MemoStore_AddRecords(newMemos.data(), memos, newGroups.data(), std::int32_t(groups.size())),
                 result);
        const bool added = result == MEMO_BATCH_ADDED;
        QCOMPARE(DBI_MemGetValidRecordCount(), stored + (added ? memos : 0));
        QCOMPARE(DBI_MemGroupGetValidRecordCount(), 1 + (added ? int(groups.size()) : 0));
        QCOMPARE(std::strlen(MemoStore_LastError()) > 0, !added);
    }

    void aBackupIsAPrivateCompleteDatabase()
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
        QCOMPARE(Query(copy, "SELECT count(*) FROM memo"), u"2"_s);
        QCOMPARE(Query(copy, "SELECT count(*) FROM memo_trash"), u"1"_s);
        QCOMPARE(Query(copy, "PRAGMA integrity_check"), u"ok"_s);
        QCOMPARE(FileBytes(copy).at(18), char(1)); // not WAL: complete without a -wal beside it
    }

    void onlyHealthyCopiesAreRestored_data()
    {
        QTest::addColumn<QString>("copy");
        QTest::addColumn<QString>("reason"); // empty: restored
        QTest::newRow("missing") << u"missing"_s << u"could not be examined"_s;
        QTest::newRow("garbage") << u"garbage"_s << u"not an SQLite database"_s;
        QTest::newRow("truncated") << u"truncated"_s << u"damaged"_s;
        QTest::newRow("the store itself") << u"store"_s << u"the memo store itself"_s;
        QTest::newRow("former format, upgraded") << u"former"_s << QString();
    }

    void onlyHealthyCopiesAreRestored()
    {
        QFETCH(QString, copy);
        QFETCH(QString, reason);
        AddMemos(40);
        QCOMPARE(MemoStore_BackUp(kMonday, 1), int(MEMO_BACKUP_WRITTEN));
        QString path = m_temp->path() + u"/backups/memo-616c696365.20240101-000000.db"_s;
        QFile file(path);
        if (copy == u"garbage" || copy == u"truncated")
            QVERIFY(file.open(QIODevice::WriteOnly) &&
                    file.write(copy == u"garbage" ? QByteArray(8192, 'x')
                                                  : FileBytes(Backups()[0]).left(3 * 4096)));
        else if (copy == u"store")
            path = Path();
        else if (copy == u"former")
            QVERIFY(QFile::copy(Backups()[0], path) &&
                    RawDb(path).Exec("DROP TABLE memo_trash; PRAGMA user_version = 1;"));
        file.close();
        QCOMPARE(DBI_MemDeleteRecord(1), 1);
        const QStringList before = Backups();

        QCOMPARE(MemoStore_RestoreBackup(path.toUtf8().constData(), kMonday + 60), reason.isEmpty() ? 1 : 0);
        QVERIFY2(QString::fromUtf8(MemoStore_LastError()).contains(reason), MemoStore_LastError());
        QCOMPARE(MemoStore_IsOpen(), 1);
        QCOMPARE(DBI_MemGetValidRecordCount(), reason.isEmpty() ? 40 : 39);
        if (reason.isEmpty()) {
            // The store as it was is the newest copy; the restored one takes deletions again.
            QCOMPARE(Backups().size(), before.size() + 1);
            QCOMPARE(Query(Backups()[0], "SELECT count(*) FROM memo"), u"39"_s);
            QCOMPARE(DBI_MemDeleteRecord(2), 1);
            QCOMPARE(MemoStore_TrashCount(), 1);
        } else {
            QCOMPARE(Backups(), before);
        }
    }
};

QTEST_GUILESS_MAIN(TestTrash)
#include "tst_trash.moc"
