#include "StoreTestUtil.h"

#include <MemoBackups.h>
#include <MemoDraft.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace {

// What the close hook saw and did: it writes a draft into the store being closed.
struct HookLog
{
    QStringList closing; // the open store's path at each call
    MemoRecord draft{};
    bool reenter = false; // close and open from inside the hook too
    int nestedOpen = -1;
};

void WriteDraftOnClose(void* context)
{
    auto* log = static_cast<HookLog*>(context);
    log->closing << QString::fromUtf8(MemoStore_CurrentPath());
    MemoStore_DraftWrite(&log->draft);
    if (log->reenter) {
        MemoStore_Close();
        log->nestedOpen = MemoStore_Open("other", nullptr);
    }
}

} // namespace

class TestStoreOpen : public QObject
{
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> m_temp;
    QString m_dir; // the data folder, one level below the temporary folder

    bool Open(const QString& user)
    {
        return MemoStore_Open(user.toUtf8().constData(), m_dir.toUtf8().constData()) == 1;
    }

  private Q_SLOTS:
    void init()
    {
        m_temp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_temp->isValid());
        m_dir = m_temp->filePath(QStringLiteral("data"));
    }

    void cleanup()
    {
        MemoStore_SetCloseHook(nullptr, nullptr);
        MemoStore_Close();
        QCOMPARE(MemoStore_IsOpen(), 0);
        m_temp.reset();
    }

    void opensOneFilePerUser()
    {
        QVERIFY2(Open(QStringLiteral("alice")), MemoStore_LastError());
        QCOMPARE(MemoStore_IsOpen(), 1);
        QCOMPARE(QString::fromUtf8(MemoStore_LastError()), QString());
        QCOMPARE(QString::fromUtf8(MemoStore_CurrentPath()), m_dir + QStringLiteral("/memo-616c696365.db"));
        QVERIFY(QFileInfo::exists(StoreFileOf(m_dir, QStringLiteral("alice"))));
        // The folder it made for the stores is private to their owner.
        const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                QFileDevice::WriteOther | QFileDevice::ExeOther;
        QCOMPARE(QFileInfo(m_dir).permissions() & others, QFileDevice::Permissions());

        QVERIFY(Open(QStringLiteral("Alice"))); // names are compared exactly, also on case-blind disks
        QCOMPARE(QString::fromUtf8(MemoStore_CurrentPath()), m_dir + QStringLiteral("/memo-416c696365.db"));

        MemoStore_Close();
        QCOMPARE(MemoStore_IsOpen(), 0);
        QCOMPARE(QString::fromUtf8(MemoStore_CurrentPath()), QString());
    }

    void defaultFolderIsTheApplicationDataFolder()
    {
        const QByteArray xdg = qgetenv("XDG_DATA_HOME");
        QVERIFY(!xdg.isEmpty()); // the test runner gives every test private folders
        QVERIFY(MemoStore_Open("bob", nullptr));
        QCOMPARE(QString::fromUtf8(MemoStore_CurrentPath()),
                 QString::fromUtf8(xdg) + QStringLiteral("/zorva-memo/memo-626f62.db"));
        QVERIFY(MemoStore_Open("bob", ""));
        QCOMPARE(QString::fromUtf8(MemoStore_CurrentPath()),
                 QString::fromUtf8(xdg) + QStringLiteral("/zorva-memo/memo-626f62.db"));

        // A relative XDG_DATA_HOME is not to be used; the home folder's default takes over.
        const QByteArray home = m_temp->filePath(QStringLiteral("home")).toUtf8();
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("XDG_DATA_HOME", "relative/path");
        qputenv("HOME", home);
        const bool opened = MemoStore_Open("bob", nullptr) == 1;
        const QString path = QString::fromUtf8(MemoStore_CurrentPath());
        qputenv("XDG_DATA_HOME", xdg);
        qputenv("HOME", oldHome);
        QVERIFY(opened);
        QCOMPARE(path, QString::fromUtf8(home) + QStringLiteral("/.local/share/zorva-memo/memo-626f62.db"));
    }

    void userNamesStayInsideTheDataFolder()
    {
        const QStringList users = {QStringLiteral("../../x"),
                                   QStringLiteral("/etc/passwd"),
                                   QStringLiteral(".."),
                                   QStringLiteral("a/b"),
                                   QStringLiteral("a\\b"),
                                   QString(),
                                   QStringLiteral("名字 with space\n"),
                                   QStringLiteral("x.db")};
        QSet<QString> paths;
        for (const QString& user : users) {
            QVERIFY2(Open(user), MemoStore_LastError());
            const QFileInfo file(QString::fromUtf8(MemoStore_CurrentPath()));
            QCOMPARE(file.canonicalPath(), QFileInfo(m_dir).canonicalFilePath());
            QVERIFY(file.isFile());
            paths.insert(file.fileName());
        }
        QCOMPARE(paths.size(), users.size()); // no two names share a file
        MemoStore_Close();
        // Nothing was created next to the data folder or above it.
        QCOMPARE(QDir(m_temp->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{QStringLiteral("data")});
        QCOMPARE(QDir(m_dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList());
    }

    void refusesNamesAndFoldersItCannotUse()
    {
        QVERIFY(!MemoStore_Open(nullptr, m_dir.toUtf8().constData()));
        QVERIFY(std::strlen(MemoStore_LastError()) > 0);

        QVERIFY(!Open(QString(101, u'a')));
        QVERIFY(QString::fromUtf8(MemoStore_LastError()).contains(QStringLiteral("too long")));
        QVERIFY(Open(QString(100, u'a')));

        QFile blocker(m_temp->filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QVERIFY(!MemoStore_Open("carol", blocker.fileName().toUtf8().constData()));
        QVERIFY(QString::fromUtf8(MemoStore_LastError()).contains(blocker.fileName()));
        QCOMPARE(MemoStore_IsOpen(), 0); // the store that was open is closed
    }

    void namesThatAreNotUtf8AreRefused_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("byte ff") << QByteArray("\xff");
        QTest::newRow("latin-1 text") << QByteArray("Jos\xe9");
        QTest::newRow("overlong slash") << QByteArray("\xc0\xaf");
        QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80");
        QTest::newRow("above U+10FFFF") << QByteArray("\xf4\x90\x80\x80");
        QTest::newRow("cut short") << QByteArray("\xe5\x90");
    }

    void namesThatAreNotUtf8AreRefused()
    {
        QFETCH(QByteArray, name);
        QVERIFY(!MemoStore_Open(name.constData(), m_dir.toUtf8().constData()));
        QVERIFY2(QString::fromUtf8(MemoStore_LastError()).contains(QStringLiteral("not valid UTF-8")),
                 MemoStore_LastError());
        QCOMPARE(QDir(m_dir).entryList(QDir::Files | QDir::Hidden), QStringList());
        // The replacement character itself is text, and a name like any other.
        QVERIFY(MemoStore_Open("\xef\xbf\xbd", m_dir.toUtf8().constData()));
    }

    void newFilesArePrivateWhateverTheUmask()
    {
        const mode_t old = ::umask(0);
        const QString dir = m_temp->filePath(QStringLiteral("given/more/data"));
        const bool opened = MemoStore_Open("ivy", dir.toUtf8().constData()) == 1;
        const int backedUp = MemoStore_BackUp(1, 0);
        ::umask(old);
        QVERIFY2(opened && backedUp == MEMO_BACKUP_WRITTEN, MemoStore_LastError());
        const MemoRecord memo = TestMemo(QStringLiteral("private"));
        QVERIFY(DBI_MemRecycleWriteRecord(&memo) > 0);
        for (const char* made : {"given", "given/more", "given/more/data", "given/more/data/backups"})
            QVERIFY2(ModeOf(m_temp->filePath(QString::fromLatin1(made))) == 0700u, made);
        const QString store = QString::fromUtf8(MemoStore_CurrentPath());
        for (const QString& file : {store, store + QStringLiteral("-wal"), store + QStringLiteral("-shm")})
            QCOMPARE(ModeOf(file), 0600u);
    }

    // Half-made files of a process killed while it wrote a store or a copy go at the next open, once
    // that process is gone; those of a process still running stay.
    void leftoversOfKilledWritersAreRemovedWhenTheirProcessIsGone()
    {
        QVERIFY(Open(QStringLiteral("ivy")));
        MemoStore_Close();
        const QString gone = QStringLiteral(".new-999999999");
        const QString running = QStringLiteral(".new-%1").arg(::getpid());
        const QString store = QStringLiteral("/.memo-697679.db");
        const QString copy = QStringLiteral("/backups/.memo-697679.20240506-183005.db");
        QVERIFY(QDir(m_dir).mkpath(QStringLiteral("backups")));
        const QStringList left = {store + gone, store + gone + QStringLiteral("-journal"), copy + gone,
                                  copy + gone + QStringLiteral("-journal")};
        const QStringList kept = {store + running, copy + running,
                                  QStringLiteral("/.memo-6f74686572.db") + gone};
        for (const QString& name : left + kept)
            QVERIFY(WriteFile(m_dir + name, "x"));
        QVERIFY(Open(QStringLiteral("ivy")));
        for (const QString& name : left)
            QVERIFY2(!QFile::exists(m_dir + name), qPrintable(name));
        for (const QString& name : kept)
            QVERIFY2(QFile::exists(m_dir + name), qPrintable(name));
    }

    void dataSurvivesClosingAndReopening()
    {
        QVERIFY(Open(QStringLiteral("dave")));
        MemoRecord memo = TestMemo(QStringLiteral("kept"), QStringLiteral("across sessions"));
        memo.reserved1 = 0x01020304;
        const std::int32_t key = DBI_MemRecycleWriteRecord(&memo);
        const MemoGroupRecord group = NewGroupRecord(305371800, u"工作");
        QVERIFY(DBI_MemGroupRecycleWriteRecord(&group) > 0);

        QVERIFY(Open(QStringLiteral("erin"))); // another user's store is another file
        QCOMPARE(DBI_MemGetValidRecordCount(), 0);
        QCOMPARE(DBI_MemGroupGetValidRecordCount(), 0);
        MemoStore_Close();

        QVERIFY(Open(QStringLiteral("dave")));
        QCOMPARE(DBI_MemGetValidRecordCount(), 1);
        MemoRecord read{};
        QCOMPARE(DBI_MemReadRecordByOrder(1, &read), 1);
        QCOMPARE(read.key, key);
        QCOMPARE(read.reserved1, 0x01020304);
        QCOMPARE(Q(MemoContent(read)), QStringLiteral("across sessions"));
        MemoGroupRecord readGroup{};
        QCOMPARE(DBI_MemGroupReadRecordByOrder(1, &readGroup), 1);
        QCOMPARE(Q(GroupName(readGroup)), QStringLiteral("工作"));
    }

    void theCloseHookWritesTheDraftOfTheStoreBeingClosed()
    {
        HookLog log;
        log.draft = TestMemo(QStringLiteral("unsaved"));
        MemoStore_SetCloseHook(&WriteDraftOnClose, &log);
        MemoStore_Close();
        QVERIFY(Open(QStringLiteral("alice")));
        const QString alice = QString::fromUtf8(MemoStore_CurrentPath());
        QVERIFY(Open(QStringLiteral("bob")));
        QCOMPARE(log.closing, QStringList{alice}); // not called while nothing was open

        log.reenter = true;
        MemoStore_Close();
        QCOMPARE(log.closing.size(), 2); // once, though the hook closed too
        QCOMPARE(log.nestedOpen, 0);
        QCOMPARE(MemoStore_IsOpen(), 0);

        MemoStore_SetCloseHook(nullptr, &log);
        QVERIFY(Open(QStringLiteral("alice")));
        MemoRecord read{};
        QVERIFY(MemoStore_DraftRead(&read) == 1 && std::memcmp(&read, &log.draft, sizeof read) == 0);
        MemoStore_Close();
        QCOMPARE(log.closing.size(), 2);
    }

    void keysAreNotReusedAcrossSessions()
    {
        QVERIFY(Open(QStringLiteral("frank")));
        const MemoRecord memo = TestMemo(QStringLiteral("m"));
        DBI_MemRecycleWriteRecord(&memo);
        const std::int32_t last = DBI_MemRecycleWriteRecord(&memo);
        QCOMPARE(DBI_MemDeleteRecord(last), 1);
        MemoStore_Close();
        QVERIFY(Open(QStringLiteral("frank")));
        QVERIFY(DBI_MemRecycleWriteRecord(&memo) > last);
    }

    void noOpenStoreMeansNoChangeAndNoCrash()
    {
        MemoStore_Close();
        MemoRecord memo{};
        std::memset(&memo, 0xAB, sizeof memo);
        const MemoRecord pattern = memo;
        MemoGroupRecord group{};
        QCOMPARE(DBI_MemGetValidRecordCount(), 0);
        QCOMPARE(DBI_MemReadRecordByOrder(1, &memo), 0);
        QCOMPARE(DBI_MemReadRecord(1, &memo), 0);
        QCOMPARE(std::memcmp(&memo, &pattern, sizeof memo), 0);
        QVERIFY(Refused(DBI_MemRecycleWriteRecord(&memo)));
        QVERIFY(Refused(DBI_MemModifyRecord(1, &memo)));
        QVERIFY(Refused(DBI_MemDeleteRecord(1)));
        QCOMPARE(DBI_MemGroupGetValidRecordCount(), 0);
        QCOMPARE(DBI_MemGroupReadRecordByOrder(1, &group), 0);
        QVERIFY(Refused(DBI_MemGroupRecycleWriteRecord(&group)));
        QVERIFY(Refused(DBI_MemGroupModifyRecord(1, &group)));
        QVERIFY(Refused(DBI_MemGroupDeleteRecord(1)));
        QVERIFY(Refused(DBI_MemGroupPack()));
        QCOMPARE(QString::fromUtf8(MemoStore_CurrentPath()), QString());
    }
};

QTEST_APPLESS_MAIN(TestStoreOpen)
#include "tst_storeopen.moc"
