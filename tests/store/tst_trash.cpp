// The trash of deleted memos: what the twelve record operations see of it (nothing), restoring a
// memo byte for byte under its key, the limits, emptying, the purge at opening, the batch import,
// and the upgrade of a store written in the format before the trash.
#include "StoreTestUtil.h"

#include <MemoBatch.h>
#include <MemoTrash.h>

#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <ctime>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

QByteArray AllMemoBytes()
{
    QByteArray bytes;
    const std::int32_t count = DBI_MemGetValidRecordCount();
    for (std::int32_t order = 1; order <= count; ++order) {
        MemoRecord memo{};
        if (DBI_MemReadRecordByOrder(order, &memo) != 1)
            return {};
        bytes.append(reinterpret_cast<const char*>(&memo), sizeof memo);
    }
    return bytes;
}

std::vector<std::int32_t> AddMemos(int count, const QString& prefix = u"m"_s)
{
    std::vector<std::int32_t> keys;
    for (int i = 0; i < count; ++i) {
        MemoRecord memo = TestMemo(prefix + QString::number(i), u"body %1"_s.arg(i), u"工作"_s);
        memo.reserved1 = 0x11111111 * (i + 1); // carried words must come back as they were
        memo.flags = RECORD_CHANGED | 0x5;
        keys.push_back(DBI_MemRecycleWriteRecord(&memo));
    }
    return keys;
}

// Everything the twelve operations can tell about one memo key.
bool VisibleToRecordOperations(std::int32_t key)
{
    MemoRecord memo{};
    const std::int32_t count = DBI_MemGetValidRecordCount();
    for (std::int32_t order = 1; order <= count; ++order)
        if (DBI_MemReadRecordByOrder(order, &memo) == 1 && memo.key == key)
            return true;
    return DBI_MemReadRecord(key, &memo) == 1 || DBI_MemModifyRecord(key, &memo) == 1 ||
           DBI_MemDeleteRecord(key) == 1;
}

// The format-1 schema exactly as earlier versions wrote it.
constexpr const char* kFormat1 = R"sql(
PRAGMA auto_vacuum = INCREMENTAL;
CREATE TABLE memo (
    key INTEGER PRIMARY KEY AUTOINCREMENT CHECK (key BETWEEN 1 AND 2147483647),
    record BLOB NOT NULL CHECK (typeof(record) = 'blob' AND length(record) = 1092));
CREATE TABLE memo_group (
    key INTEGER PRIMARY KEY AUTOINCREMENT CHECK (key BETWEEN 1 AND 2147483647),
    record BLOB NOT NULL CHECK (typeof(record) = 'blob' AND length(record) = 44));
PRAGMA application_id = 1515013453;
PRAGMA user_version = 1;
PRAGMA journal_mode = WAL;
)sql";

} // namespace

class TestTrash : public QObject
{
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> m_temp;

    bool Open(const char* user = "tester")
    {
        return MemoStore_Open(user, m_temp->path().toUtf8().constData()) == 1;
    }
    QString Path(const QString& user = u"tester"_s) const { return StoreFileOf(m_temp->path(), user); }

  private Q_SLOTS:
    void init()
    {
        m_temp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_temp->isValid());
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
        QVERIFY(deleted.key == keys[1] || deleted.key == keys[3]);
        QVERIFY(when >= start && when <= end);
        QCOMPARE(MemoStore_TrashRead(3, &deleted, &when), 0);

        // Restored out of order, each returns between its neighbours, as it was.
        QCOMPARE(MemoStore_TrashRestore(keys[3]), int(MEMO_TRASH_RESTORED));
        QCOMPARE(MemoStore_TrashRestore(keys[1]), int(MEMO_TRASH_RESTORED));
        QCOMPARE(AllMemoBytes(), before);
        QCOMPARE(MemoStore_TrashCount(), 0);
        // Keys stay unique: a new memo comes after all of them.
        QVERIFY(AddMemos(1).front() > keys.back());
    }

    void categoriesAreNotKeptInTheTrash()
    {
        const MemoGroupRecord group = NewGroupRecord(305371800, u"工作");
        QVERIFY(DBI_MemGroupRecycleWriteRecord(&group) > 0);
        MemoGroupRecord read{};
        QCOMPARE(DBI_MemGroupReadRecordByOrder(1, &read), 1);
        QCOMPARE(DBI_MemGroupDeleteRecord(read.key), 1);
        QCOMPARE(DBI_MemGroupGetValidRecordCount(), 0);
        QCOMPARE(MemoStore_TrashCount(), 0);
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
        std::int32_t key = AddMemos(1, u"deleted"_s).front();
        QCOMPARE(DBI_MemDeleteRecord(key), 1);
        if (setup == u"full") {
            AddMemos(MAX_MEMO_COUNT);
        } else if (setup == u"in use") {
            // Only a file changed by hand holds a key in both tables.
            RawDb raw(Path());
            QVERIFY(raw.Exec("INSERT INTO memo (key, record) SELECT key, record FROM memo_trash"));
        } else {
            key += 1000;
        }
        const QByteArray memos = AllMemoBytes();
        const std::int32_t inTrash = MemoStore_TrashCount();

        QCOMPARE(MemoStore_TrashRestore(key), result);
        QVERIFY2(QString::fromUtf8(MemoStore_LastError()).contains(reason), MemoStore_LastError());
        QCOMPARE(AllMemoBytes(), memos);
        QCOMPARE(MemoStore_TrashCount(), inTrash);
    }

    void emptyingDropsEveryDeletedMemo()
    {
        const std::vector<std::int32_t> keys = AddMemos(3);
        for (std::int32_t key : keys)
            QCOMPARE(DBI_MemDeleteRecord(key), 1);
        QCOMPARE(MemoStore_TrashEmpty(), 3);
        QCOMPARE(MemoStore_TrashCount(), 0);
        QCOMPARE(MemoStore_TrashRestore(keys[0]), int(MEMO_TRASH_NOT_FOUND));
        QCOMPARE(MemoStore_TrashEmpty(), 0);
    }

    void memosDeletedOverThirtyDaysAgoGoWhenTheStoreOpens()
    {
        const std::vector<std::int32_t> keys = AddMemos(3);
        for (std::int32_t key : keys)
            QCOMPARE(DBI_MemDeleteRecord(key), 1);
        MemoStore_Close();
        {
            RawDb raw(Path());
            const qint64 day = 24 * 3600;
            const qint64 now = std::time(nullptr);
            const auto age = [&](std::int32_t key, qint64 seconds) {
                return raw.Exec(
                    QByteArray("UPDATE memo_trash SET deleted_at = " + QByteArray::number(now - seconds) +
                               " WHERE key = " + QByteArray::number(key))
                        .constData());
            };
            QVERIFY(age(keys[0], 30 * day + 60));
            QVERIFY(age(keys[1], 30 * day - 60));
        }
        QVERIFY(Open());
        QCOMPARE(MemoStore_TrashCount(), 2);
        QCOMPARE(MemoStore_TrashRestore(keys[0]), int(MEMO_TRASH_NOT_FOUND));
        QCOMPARE(MemoStore_TrashRestore(keys[1]), int(MEMO_TRASH_RESTORED));
    }

    void aBatchIsAddedWholeOrNotAtAll_data()
    {
        QTest::addColumn<int>("stored");         // memos in the store before
        QTest::addColumn<int>("memos");          // memos in the batch
        QTest::addColumn<QStringList>("groups"); // categories in the batch (2 are stored)
        QTest::addColumn<int>("result");
        const QStringList eight = {u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s, u"f"_s, u"g"_s, u"h"_s};
        QTest::newRow("fits") << 90 << 10 << eight << int(MEMO_BATCH_ADDED);
        QTest::newRow("one memo too many") << 90 << 11 << QStringList() << int(MEMO_BATCH_MEMOS_FULL);
        QTest::newRow("one category too many")
            << 0 << 1 << (eight + QStringList{u"i"_s}) << int(MEMO_BATCH_GROUPS_FULL);
        QTest::newRow("pseudo-categories not counted")
            << 0 << 1 << (eight + QStringList{u"全部"_s, u"其它"_s}) << int(MEMO_BATCH_ADDED);
    }

    void aBatchIsAddedWholeOrNotAtAll()
    {
        QFETCH(int, stored);
        QFETCH(int, memos);
        QFETCH(QStringList, groups);
        QFETCH(int, result);
        AddMemos(stored);
        for (const QString& name : {u"x"_s, u"y"_s}) {
            const MemoGroupRecord group = NewGroupRecord(1, U(name));
            QVERIFY(DBI_MemGroupRecycleWriteRecord(&group) > 0);
        }
        std::vector<MemoRecord> newMemos;
        for (int i = 0; i < memos; ++i)
            newMemos.push_back(TestMemo(u"new %1"_s.arg(i)));
        std::vector<MemoGroupRecord> newGroups;
        for (const QString& name : groups)
            newGroups.push_back(NewGroupRecord(2, U(name)));
        const QByteArray before = AllMemoBytes();

        QCOMPARE(MemoStore_AddRecords(newMemos.data(), memos, newGroups.data(), std::int32_t(groups.size())),
                 result);
        if (result == MEMO_BATCH_ADDED) {
            QCOMPARE(DBI_MemGetValidRecordCount(), stored + memos);
            QCOMPARE(DBI_MemGroupGetValidRecordCount(), 2 + int(groups.size()));
            MemoRecord last{};
            QCOMPARE(DBI_MemReadRecordByOrder(stored + memos, &last), 1);
            QCOMPARE(Q(MemoTitle(last)), u"new %1"_s.arg(memos - 1));
        } else {
            QVERIFY(std::strlen(MemoStore_LastError()) > 0);
            QCOMPARE(AllMemoBytes(), before);
            QCOMPARE(DBI_MemGroupGetValidRecordCount(), 2);
        }
    }

    void aStoreOfTheFormerFormatIsUpgradedInPlace()
    {
        MemoStore_Close();
        const QString path = Path(u"old"_s);
        std::vector<MemoRecord> written;
        {
            RawDb raw(path);
            QVERIFY(raw.Exec(kFormat1));
            for (int i = 0; i < 4; ++i) {
                MemoRecord memo = TestMemo(u"old %1"_s.arg(i));
                memo.reserved2 = i;
                QVERIFY(raw.InsertMemo(memo));
                memo.key = std::int32_t(raw.LastKey());
                written.push_back(memo);
            }
            QVERIFY(raw.Exec("INSERT INTO memo_group (record) VALUES (zeroblob(44))"));
            QVERIFY(raw.Exec("DELETE FROM memo WHERE key = 4")); // deleted before there was a trash
        }
        QVERIFY2(Open("old"), MemoStore_LastError());
        {
            RawDb raw(path);
            QCOMPARE(raw.Text("PRAGMA user_version"), u"2"_s);
            QCOMPARE(raw.Text("PRAGMA integrity_check"), u"ok"_s);
        }
        QCOMPARE(DBI_MemGetValidRecordCount(), 3);
        QCOMPARE(DBI_MemGroupGetValidRecordCount(), 1);
        for (int i = 0; i < 3; ++i) {
            MemoRecord read{};
            QCOMPARE(DBI_MemReadRecordByOrder(i + 1, &read), 1);
            QCOMPARE(std::memcmp(&read, &written[i], sizeof read), 0);
        }
        // The trash works on the upgraded store, and key 4 is still never handed out again.
        QCOMPARE(DBI_MemDeleteRecord(written[0].key), 1);
        QCOMPARE(MemoStore_TrashCount(), 1);
        QVERIFY(AddMemos(1).front() > 4);

        // Opened again, it is of the current format and nothing is upgraded twice.
        QVERIFY(Open("old"));
        QCOMPARE(DBI_MemGetValidRecordCount(), 3);
        QCOMPARE(MemoStore_TrashCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestTrash)
#include "tst_trash.moc"
