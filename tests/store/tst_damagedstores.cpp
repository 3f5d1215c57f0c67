// Opening a store whose file is damaged, foreign, not a file at all, or not this user's to write, in a
// helper process with a time limit so that a hang fails instead of stopping the test: it is refused
// with a reason and the folder is left exactly as it was, or it opens healthy with every memo.
#include "StoreTestUtil.h"

#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <pwd.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kMemos = 60;

// Every entry of a folder: name, type and mode, owner, size, and a link's target or a file's hash.
// Only regular files are opened.
QStringList FolderState(const QString& dir)
{
    QStringList state;
    const auto filter = QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot;
    for (const QFileInfo& entry : QDir(dir).entryInfoList(filter, QDir::Name)) {
        struct stat info = {};
        ::lstat(QFile::encodeName(entry.filePath()).constData(), &info);
        state << u"%1 %2 %3 %4 %5 "_s.arg(entry.fileName())
                     .arg(info.st_mode, 0, 8)
                     .arg(info.st_uid)
                     .arg(info.st_size)
                     .arg(entry.symLinkTarget());
        if (S_ISREG(info.st_mode))
            state.last() += QString::fromLatin1(
                QCryptographicHash::hash(FileBytes(entry.filePath()), QCryptographicHash::Sha256).toHex());
    }
    return state;
}

// What the helper process says of opening the store of "grace" in dir, run through asUser if given.
QString Probe(const QString& dir, const QStringList& asUser, qint64 fileLimit)
{
    QStringList command = asUser;
    command << QStringLiteral(MEMOSTORE_WRITER) << dir << u"grace"_s << u"x"_s << u"0"_s << u"probe"_s;
    QProcess process; // killed when it goes out of scope
    if (fileLimit > 0) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"MEMO_WRITER_FILE_LIMIT"_s, QString::number(fileLimit));
        process.setProcessEnvironment(environment);
    }
    process.start(command.takeFirst(), command);
    if (!process.waitForFinished(30000))
        return u"did not finish"_s;
    const QString output =
        QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    const bool ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return ok ? output.trimmed() : u"failed: "_s + output;
}

} // namespace

class TestDamagedStores : public QObject
{
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> m_temp;
    QString m_dir;

    // A store of kMemos memos spanning many pages, closed so that everything is in the main file.
    bool MakeStore()
    {
        if (!MemoStore_Open("grace", m_dir.toUtf8().constData()))
            return false;
        for (int i = 0; i < kMemos; ++i) {
            const MemoRecord memo = TestMemo(u"memo %1"_s.arg(i), QString(400, u'x'));
            DBI_MemRecycleWriteRecord(&memo);
        }
        MemoStore_Close();
        return true;
    }

    // A user who may read the store file but not write it: "nobody" when the test runs as root (for
    // whom modes stop no write), else ourselves with the file made read-only.
    bool ReadOnlyForProbe(const QString& path, QStringList& asUser)
    {
        if (::geteuid() != 0)
            return ::chmod(QFile::encodeName(path).constData(), 0444) == 0;
        const passwd* nobody = ::getpwnam("nobody");
        const QString setpriv = QStandardPaths::findExecutable(u"setpriv"_s);
        // The folder is theirs, so only the file's own mode keeps them from writing.
        if (!nobody || setpriv.isEmpty() ||
            ::chmod(QFile::encodeName(m_temp->path()).constData(), 0755) != 0 ||
            ::chown(QFile::encodeName(m_dir).constData(), nobody->pw_uid, nobody->pw_gid) != 0 ||
            ::chmod(QFile::encodeName(path).constData(), 0644) != 0)
            return false;
        asUser = {setpriv, u"--reuid=%1"_s.arg(nobody->pw_uid), u"--regid=%1"_s.arg(nobody->pw_gid),
                  u"--clear-groups"_s, u"--"_s};
        return true;
    }

  private Q_SLOTS:
    void init()
    {
        m_temp = std::make_unique<QTemporaryDir>();
        m_dir = m_temp->filePath(u"data"_s);
        QVERIFY(QDir().mkpath(m_dir));
    }

    void cleanup()
    {
        MemoStore_Close();
        m_temp.reset();
    }

    void refusedWithAReasonOrOpenedHealthy_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("reason"); // empty: opens healthy with every memo
        QTest::newRow("truncated mid-page") << u"cut-odd"_s << u"damaged"_s;
        QTest::newRow("truncated at a page") << u"cut-page"_s << u"damaged"_s;
        QTest::newRow("zeroed page") << u"zeroed"_s << u"damaged"_s;
        QTest::newRow("garbage") << u"garbage"_s << u"not an SQLite database"_s;
        QTest::newRow("empty") << u"empty"_s << u"is empty"_s;
        QTest::newRow("folder") << u"folder"_s << u"is a folder"_s;
        QTest::newRow("named pipe") << u"fifo"_s << u"named pipe"_s;
        QTest::newRow("dangling link") << u"dangling"_s << u"symbolic link to nothing"_s;
        QTest::newRow("other program") << u"foreign"_s << u"another program"_s;
        QTest::newRow("newer format") << u"newer"_s << u"newer version"_s;
        QTest::newRow("missing tables") << u"no-tables"_s << u"lacks the tables"_s;
        QTest::newRow("no draft table") << u"no-draft"_s << u"lacks the tables"_s;
        QTest::newRow("draft table of another shape") << u"odd-draft"_s << u"lacks the tables"_s;
        QTest::newRow("read-only for this user") << u"read-only"_s << u"may not be written"_s;
        QTest::newRow("record that breaks a CHECK") << u"check"_s << u"CHECK constraint failed"_s;
        QTest::newRow("named pipe at -shm") << u"fifo-shm"_s << u"named pipe"_s;
        QTest::newRow("file of another user") << u"owner-file"_s << u"belongs to another user"_s;
        QTest::newRow("folder of another user") << u"owner-folder"_s << u"belongs to another user"_s;
        QTest::newRow("a few KB free") << u"full"_s << u"could not be opened for writing"_s;
        QTest::newRow("garbage -wal") << u"garbage-wal"_s << QString();
        QTest::newRow("link to a store") << u"link"_s << QString();
    }

    void refusedWithAReasonOrOpenedHealthy()
    {
        QFETCH(QString, damage);
        QFETCH(QString, reason);
        const QString path = StoreFileOf(m_dir, u"grace"_s);
        const QByteArray native = QFile::encodeName(path);
        const QByteArray garbage(8192, 'x');
        QStringList asUser;
        qint64 fileLimit = 0;
        if (damage.startsWith(u"cut") || damage == u"zeroed") {
            QVERIFY(MakeStore());
            QByteArray bytes = FileBytes(path);
            QVERIFY(bytes.size() >= 16 * 4096);
            if (damage == u"zeroed")
                bytes.replace(5 * 4096, 4096, QByteArray(4096, '\0'));
            else
                bytes.truncate(damage == u"cut-odd" ? bytes.size() / 2 + 100
                                                    : bytes.size() / 2 / 4096 * 4096);
            QVERIFY(WriteFile(path, bytes));
        } else if (damage == u"garbage" || damage == u"empty") {
            QVERIFY(WriteFile(path, damage == u"garbage" ? garbage : QByteArray()));
        } else if (damage == u"folder") {
            QVERIFY(QDir().mkdir(path));
        } else if (damage == u"fifo") {
            QCOMPARE(::mkfifo(native.constData(), 0600), 0);
        } else if (damage == u"dangling") {
            QCOMPARE(::symlink("memo-gone.db", native.constData()), 0);
        } else if (damage == u"foreign" || damage == u"newer" || damage == u"no-tables") {
            RawDb raw(path);
            QVERIFY(raw.Exec(
                "PRAGMA journal_mode = WAL; CREATE TABLE notes (id INTEGER PRIMARY KEY, text TEXT)"));
            if (damage != u"foreign")
                QVERIFY(raw.Exec("PRAGMA application_id = 1515013453"));
            QVERIFY(raw.Exec(damage == u"newer" ? "PRAGMA user_version = 7" : "PRAGMA user_version = 1"));
        } else {
            QVERIFY(MakeStore());
            if (damage == u"read-only" && !ReadOnlyForProbe(path, asUser))
                QSKIP("running as root without setpriv or a user \"nobody\" to open the store as");
            if (damage.endsWith(u"-draft"))
                QVERIFY(RawDb(path).Exec(damage == u"no-draft"
                                             ? "DROP TABLE memo_draft"
                                             : "DROP TABLE memo_draft; CREATE TABLE memo_draft (x)"));
            if (damage == u"check")
                QVERIFY(RawDb(path).Exec(
                    "PRAGMA ignore_check_constraints = 1; UPDATE memo SET record = x'00' WHERE key = 1"));
            if (damage == u"fifo-shm")
                QCOMPARE(::mkfifo(QFile::encodeName(path + u"-shm"_s).constData(), 0600), 0);
            if (damage.startsWith(u"owner")) {
                const passwd* nobody = ::getpwnam("nobody");
                if (::geteuid() != 0 || !nobody)
                    QSKIP("only root can give a file to another user (\"nobody\")");
                const QString owned = damage == u"owner-file" ? path : m_dir;
                QCOMPARE(::chown(QFile::encodeName(owned).constData(), nobody->pw_uid, nobody->pw_gid), 0);
            }
            if (damage == u"full")
                fileLimit = 8192;
            if (damage == u"garbage-wal")
                QVERIFY(WriteFile(path + u"-wal"_s, garbage));
            if (damage == u"link")
                QVERIFY(QFile::rename(path, m_dir + u"/elsewhere.db"_s) &&
                        QFile::link(u"elsewhere.db"_s, path));
        }
        const QStringList before = FolderState(m_dir);

        const QString said = Probe(m_dir, asUser, fileLimit);
        if (reason.isEmpty()) {
            QCOMPARE(said, u"opened: %1"_s.arg(kMemos));
            QCOMPARE(RawDb(path).Text("PRAGMA integrity_check"), u"ok"_s);
        } else {
            QVERIFY2(said.startsWith(u"refused: "_s) && said.contains(reason) && said.contains(path),
                     qPrintable(said));
            QCOMPARE(FolderState(m_dir), before);
        }
    }
};

QTEST_GUILESS_MAIN(TestDamagedStores)
#include "tst_damagedstores.moc"
