// Backups of a store: written at most once a day into a private folder beside the stores, seven
// kept per user, each a complete database of its own; restoring one after a copy of the store as it
// is, and refusing copies that are not healthy memo stores.
#include "StoreTestUtil.h"

#include <MemoBackups.h>
#include <MemoTrash.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kDay = 24 * 3600;
const qint64 kMonday = QDateTime(QDate(2024, 5, 6), QTime(18, 30, 5)).toSecsSinceEpoch();

QStringList Backups()
{
    const QString list = QString::fromUtf8(MemoStore_Backups());
    return list.isEmpty() ? QStringList() : list.split(u'\n');
}

mode_t ModeOf(const QString& path)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 01000;
}

void AddMemos(int count)
{
    for (int i = 0; i < count; ++i) {
        const MemoRecord memo = TestMemo(u"memo %1"_s.arg(i));
        DBI_MemRecycleWriteRecord(&memo);
    }
}

QString CountIn(const QString& path, const char* sql = "SELECT count(*) FROM memo")
{
    RawDb raw(u"file:"_s + path + u"?immutable=1"_s);
    return raw.Text(sql);
}

} // namespace

class TestBackups : public QObject
{
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> m_temp;
    QString m_dir;

    bool Open(const char* user) { return MemoStore_Open(user, m_dir.toUtf8().constData()) == 1; }

  private Q_SLOTS:
    void init()
    {
        m_temp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_temp->isValid());
        m_dir = m_temp->filePath(u"data"_s);
        QVERIFY2(Open("alice"), MemoStore_LastError());
    }

    void cleanup()
    {
        MemoStore_Close();
        m_temp.reset();
    }

    void copiesAreDailyPrivateAndTheNewestSevenAreKept()
    {
        AddMemos(2);
        QCOMPARE(MemoStore_BackUp(kMonday, 1), int(MEMO_BACKUP_WRITTEN));
        QCOMPARE(MemoStore_BackUp(kMonday + 3600, 1), int(MEMO_BACKUP_NOT_DUE));
        const QString folder = m_dir + u"/backups"_s;
        QCOMPARE(Backups(), QStringList{folder + u"/memo-616c696365.20240506-183005.db"_s});
        QCOMPARE(ModeOf(folder), 0700u);
        QCOMPARE(ModeOf(Backups().front()), 0600u);

        // Another user's copies are theirs alone.
        QVERIFY(Open("bob"));
        QCOMPARE(MemoStore_BackUp(kMonday, 1), int(MEMO_BACKUP_WRITTEN));
        QVERIFY(Open("alice"));

        QStringList expected;
        for (int day = 1; day <= 8; ++day) {
            QCOMPARE(MemoStore_BackUp(kMonday + day * kDay, 1), int(MEMO_BACKUP_WRITTEN));
            expected.prepend(
                folder +
                u"/memo-616c696365.%1.db"_s.arg(
                    QDateTime::fromSecsSinceEpoch(kMonday + day * kDay).toString(u"yyyyMMdd-HHmmss"_s)));
        }
        QCOMPARE(Backups(), expected.mid(0, 7));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 8); // alice's seven, bob's one

        // A second copy of the same second does not overwrite the first.
        QCOMPARE(MemoStore_BackUp(kMonday + 8 * kDay, 0), int(MEMO_BACKUP_WRITTEN));
        QCOMPARE(Backups().size(), 7);
        QVERIFY(Backups().front().endsWith(u"-2.db"_s));
    }

    void aCopyIsACompleteDatabaseOfItsOwn()
    {
        AddMemos(3);
        QCOMPARE(DBI_MemDeleteRecord(1), 1);
        QCOMPARE(MemoStore_BackUp(kMonday, 1), int(MEMO_BACKUP_WRITTEN));
        const QString copy = Backups().front();
        QCOMPARE(CountIn(copy), u"2"_s);
        QCOMPARE(CountIn(copy, "SELECT count(*) FROM memo_trash"), u"1"_s);
        QCOMPARE(CountIn(copy, "PRAGMA integrity_check"), u"ok"_s);
        QCOMPARE(FileBytes(copy).at(18), char(1)); // not WAL: needs no -wal beside it
        QCOMPARE(QDir(m_dir + u"/backups"_s).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QFileInfo(copy).fileName()});
    }

    void restoringPutsTheCopyBackAfterSavingTheStoreAsItIs()
    {
        AddMemos(3);
        QCOMPARE(MemoStore_BackUp(kMonday, 1), int(MEMO_BACKUP_WRITTEN));
        const QString chosen = Backups().front();
        AddMemos(2);
        QCOMPARE(DBI_MemDeleteRecord(1), 1);
        QCOMPARE(DBI_MemGetValidRecordCount(), 4);

        QVERIFY2(MemoStore_RestoreBackup(chosen.toUtf8().constData(), kMonday + kDay), MemoStore_LastError());
        QCOMPARE(MemoStore_IsOpen(), 1);
        QCOMPARE(DBI_MemGetValidRecordCount(), 3);
        QCOMPARE(MemoStore_TrashCount(), 0);
        MemoRecord first{};
        QCOMPARE(DBI_MemReadRecord(1, &first), 1);
        // What was there before the restore is the newest copy.
        const QStringList copies = Backups();
        QCOMPARE(copies.size(), 2);
        QCOMPARE(copies.back(), chosen);
        QCOMPARE(CountIn(copies.front()), u"4"_s);
        QCOMPARE(CountIn(copies.front(), "SELECT count(*) FROM memo_trash"), u"1"_s);
        // The store goes on working, and another process sees the restored contents.
        AddMemos(1);
        QCOMPARE(RawDb(StoreFileOf(m_dir, u"alice"_s)).Text("SELECT count(*) FROM memo"), u"4"_s);
    }

    void copiesThatAreNotHealthyStoresAreNotRestored_data()
    {
        QTest::addColumn<QString>("copy");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << u"missing"_s << u"could not be examined"_s;
        QTest::newRow("garbage") << u"garbage"_s << u"not an SQLite database"_s;
        QTest::newRow("truncated") << u"truncated"_s << u"damaged"_s;
        QTest::newRow("the store itself") << u"store"_s << u"the memo store itself"_s;
    }

    void copiesThatAreNotHealthyStoresAreNotRestored()
    {
        QFETCH(QString, copy);
        QFETCH(QString, reason);
        AddMemos(40);
        QCOMPARE(MemoStore_BackUp(kMonday, 1), int(MEMO_BACKUP_WRITTEN));
        QString path = m_dir + u"/backups/memo-616c696365.20240101-000000.db"_s;
        QFile file(path);
        if (copy == u"garbage") {
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(8192, 'x'));
        } else if (copy == u"truncated") {
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(FileBytes(Backups().front()).left(4096 * 3));
        } else if (copy == u"store") {
            path = StoreFileOf(m_dir, u"alice"_s);
        }
        file.close();
        const QStringList before = Backups();

        QCOMPARE(MemoStore_RestoreBackup(path.toUtf8().constData(), kMonday + kDay), 0);
        QVERIFY2(QString::fromUtf8(MemoStore_LastError()).contains(reason), MemoStore_LastError());
        QCOMPARE(MemoStore_IsOpen(), 1);
        QCOMPARE(DBI_MemGetValidRecordCount(), 40);
        QCOMPARE(Backups(), before);
    }

    void aCopyOfTheFormerFormatIsUpgradedWhenRestored()
    {
        AddMemos(2);
        QCOMPARE(MemoStore_BackUp(kMonday, 1), int(MEMO_BACKUP_WRITTEN));
        const QString copy = Backups().front();
        {
            RawDb raw(copy);
            QVERIFY(raw.Exec("DROP TABLE memo_trash; PRAGMA user_version = 1;"));
        }
        QVERIFY2(MemoStore_RestoreBackup(copy.toUtf8().constData(), kMonday + kDay), MemoStore_LastError());
        QCOMPARE(DBI_MemGetValidRecordCount(), 2);
        QCOMPARE(DBI_MemDeleteRecord(1), 1);
        QCOMPARE(MemoStore_TrashCount(), 1);
    }

    void nothingIsCopiedWithoutAnOpenStore()
    {
        MemoStore_Close();
        QCOMPARE(MemoStore_BackUp(kMonday, 1), int(MEMO_BACKUP_FAILED));
        QCOMPARE(QString::fromUtf8(MemoStore_Backups()), QString());
        QCOMPARE(MemoStore_RestoreBackup("x", kMonday), 0);
        QVERIFY(!QFileInfo::exists(m_dir + u"/backups"_s));
    }
};

QTEST_GUILESS_MAIN(TestBackups)
#include "tst_backups.moc"
