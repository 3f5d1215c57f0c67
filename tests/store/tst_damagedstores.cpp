// Opening a user's store when what lies at its path is damaged, foreign, not a file at all, or not
// this user's to write. Each open runs in a helper process with a time limit, so a hang fails the test
// instead of stopping it: the store is refused with a reason and the folder is left exactly as it
// was, or it opens healthy with every memo.
#include "StoreTestUtil.h"

#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

using namespace Qt::StringLiterals;

namespace {

constexpr int kMemos = 60;

// Every entry of a folder as one line: name, type, mode, owner, size, link target or content hash.
// Nothing is opened but regular files.
QStringList FolderState(const QString& dir)
{
    QStringList state;
    for (const auto& entry : std::filesystem::directory_iterator(dir.toStdString())) {
        struct stat info
        {
        };
        const std::string path = entry.path().string();
        if (::lstat(path.c_str(), &info) != 0)
            return {u"unreadable"_s};
        QString line = QString::fromStdString(entry.path().filename().string()) +
                       u" %1 %2 %3"_s.arg(info.st_mode, 0, 8).arg(info.st_uid).arg(info.st_size);
        if (S_ISLNK(info.st_mode))
            line += u" -> "_s + QString::fromStdString(std::filesystem::read_symlink(path).string());
        else if (S_ISREG(info.st_mode))
            line +=
                u' ' + QString::fromLatin1(QCryptographicHash::hash(FileBytes(QString::fromStdString(path)),
                                                                    QCryptographicHash::Sha256)
                                               .toHex());
        state << line;
    }
    state.sort();
    return state;
}

struct Probe
{
    bool finished = false;
    int exitCode = -1;
    QString output;
};

// Opens the store of `user` in `dir` in a helper process, as another user when `asUser` is given.
Probe RunProbe(const QString& dir, const QString& user, const QStringList& asUser)
{
    QStringList command = asUser;
    command << QStringLiteral(MEMOSTORE_WRITER) << dir << user << u"x"_s << u"0"_s << u"probe"_s;
    QProcess process;
    process.start(command.takeFirst(), command);
    Probe probe;
    probe.finished = process.waitForFinished(30000);
    if (!probe.finished) {
        process.kill();
        process.waitForFinished();
    }
    probe.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    probe.output = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    return probe;
}

} // namespace

class TestDamagedStores : public QObject
{
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> m_temp;
    QString m_dir;

    // A store of kMemos memos spanning many pages, closed so that everything is in the main file.
    bool MakeStore(const QString& user)
    {
        if (!MemoStore_Open(user.toUtf8().constData(), m_dir.toUtf8().constData()))
            return false;
        for (int i = 0; i < kMemos; ++i) {
            const MemoRecord memo = TestMemo(u"memo %1"_s.arg(i), QString(400, u'x'));
            DBI_MemRecycleWriteRecord(&memo);
        }
        MemoStore_Close();
        return true;
    }

    // Runs the probe as a user who may read but not write the store file: as "nobody" where the
    // test runs as root (for root, file modes stop no write), else as ourselves with mode 0444.
    bool ReadOnlyForProbe(const QString& path, QStringList& asUser)
    {
        if (::geteuid() != 0)
            return QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        const passwd* nobody = ::getpwnam("nobody");
        const QString setpriv = QStandardPaths::findExecutable(u"setpriv"_s);
        if (!nobody || setpriv.isEmpty())
            return false;
        // The folder is theirs, so only the file's own mode keeps them from writing.
        if (::chmod(QFile::encodeName(m_temp->path()).constData(), 0755) != 0 ||
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
        QVERIFY(m_temp->isValid());
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
        QTest::newRow("truncated to its header") << u"cut-header"_s << u"damaged"_s;
        QTest::newRow("zeroed page") << u"zero-page"_s << u"damaged"_s;
        QTest::newRow("zeroed first page") << u"zero-first"_s << u"not an SQLite database"_s;
        QTest::newRow("garbage header") << u"garbage-header"_s << u"not an SQLite database"_s;
        QTest::newRow("garbage") << u"garbage"_s << u"not an SQLite database"_s;
        QTest::newRow("empty") << u"empty"_s << u"is empty"_s;
        QTest::newRow("folder") << u"folder"_s << u"is a folder"_s;
        QTest::newRow("named pipe") << u"fifo"_s << u"named pipe"_s;
        QTest::newRow("dangling link") << u"dangling"_s << u"symbolic link to nothing"_s;
        QTest::newRow("other program") << u"foreign"_s << u"another program"_s;
        QTest::newRow("newer format") << u"newer"_s << u"newer version"_s;
        QTest::newRow("former format, upgraded") << u"former"_s << QString();
        QTest::newRow("missing tables") << u"no-tables"_s << u"lacks the tables"_s;
        QTest::newRow("read-only for this user") << u"read-only"_s << u"may not be written"_s;
        QTest::newRow("garbage -wal") << u"garbage-wal"_s << QString();
        QTest::newRow("link to a store") << u"link"_s << QString();
    }

    void refusedWithAReasonOrOpenedHealthy()
    {
        QFETCH(QString, damage);
        QFETCH(QString, reason);
        const QString user = u"grace"_s;
        const QString path = StoreFileOf(m_dir, user);
        const QByteArray nativePath = QFile::encodeName(path);
        const auto write = [](const QString& file, const QByteArray& bytes) {
            QFile out(file);
            return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(bytes) == bytes.size();
        };
        QByteArray garbage(8192, '\0');
        for (int i = 0; i < garbage.size(); ++i)
            garbage[i] = static_cast<char>(i * 131 % 251);

        QStringList asUser;
        QString healthyFile = path; // where the records of a store that opens live
        if (damage.startsWith(u"cut") || damage.startsWith(u"zero") || damage == u"garbage-header") {
            QVERIFY(MakeStore(user));
            QByteArray bytes = FileBytes(path);
            QVERIFY(bytes.size() >= 16 * 4096);
            if (damage == u"cut-odd")
                bytes.truncate(bytes.size() / 2 + 100);
            else if (damage == u"cut-page")
                bytes.truncate(bytes.size() / 2 / 4096 * 4096);
            else if (damage == u"cut-header")
                bytes.truncate(100);
            else if (damage == u"zero-page")
                bytes.replace(5 * 4096, 4096, QByteArray(4096, '\0'));
            else if (damage == u"zero-first")
                bytes.replace(0, 4096, QByteArray(4096, '\0'));
            else
                bytes.replace(0, 100, garbage.left(100));
            QVERIFY(write(path, bytes));
        } else if (damage == u"garbage") {
            QVERIFY(write(path, garbage));
        } else if (damage == u"empty") {
            QVERIFY(write(path, {}));
        } else if (damage == u"folder") {
            QVERIFY(QDir().mkdir(path));
        } else if (damage == u"fifo") {
            QCOMPARE(::mkfifo(nativePath.constData(), 0600), 0);
        } else if (damage == u"dangling") {
            QCOMPARE(::symlink("memo-gone.db", nativePath.constData()), 0);
        } else if (damage == u"foreign" || damage == u"newer" || damage == u"no-tables") {
            RawDb raw(path);
            QVERIFY(raw.Exec("PRAGMA journal_mode = WAL"));
            QVERIFY(raw.Exec("CREATE TABLE notes (id INTEGER PRIMARY KEY, text TEXT)"));
            if (damage != u"foreign") {
                QVERIFY(raw.Exec("PRAGMA application_id = 1515013453"));
                QVERIFY(raw.Exec(damage == u"newer" ? "PRAGMA user_version = 7" : "PRAGMA user_version = 1"));
            }
        } else if (damage == u"read-only") {
            QVERIFY(MakeStore(user));
            if (!ReadOnlyForProbe(path, asUser))
                QSKIP("running as root without setpriv or a user \"nobody\" to open the store as");
        } else if (damage == u"former") {
            // A store as the version before the trash wrote it.
            QVERIFY(MakeStore(user));
            RawDb raw(path);
            QVERIFY(
                raw.Exec("DROP TABLE memo_trash; PRAGMA user_version = 1; PRAGMA journal_mode = DELETE;"));
        } else if (damage == u"garbage-wal") {
            QVERIFY(MakeStore(user));
            QVERIFY(write(path + u"-wal"_s, garbage));
        } else if (damage == u"link") {
            QVERIFY(MakeStore(user));
            healthyFile = m_dir + u"/elsewhere.db"_s;
            QVERIFY(QFile::rename(path, healthyFile));
            QCOMPARE(::symlink("elsewhere.db", nativePath.constData()), 0);
        }
        const QStringList before = FolderState(m_dir);

        const Probe probe = RunProbe(m_dir, user, asUser);
        QVERIFY2(probe.finished, "opening the store did not finish");
        QVERIFY2(probe.exitCode == 0, qPrintable(probe.output));
        if (reason.isEmpty()) {
            QCOMPARE(probe.output.trimmed(), u"opened: %1"_s.arg(kMemos));
            RawDb raw(healthyFile);
            QCOMPARE(raw.Text("PRAGMA integrity_check"), u"ok"_s);
            QCOMPARE(raw.Text("SELECT count(*) FROM memo"), QString::number(kMemos));
            QCOMPARE(raw.Text("PRAGMA user_version"), u"2"_s);
        } else {
            QVERIFY2(probe.output.startsWith(u"refused: "_s) && probe.output.contains(reason) &&
                         probe.output.contains(path),
                     qPrintable(probe.output));
            QCOMPARE(FolderState(m_dir), before);
        }
    }
};

QTEST_GUILESS_MAIN(TestDamagedStores)
#include "tst_damagedstores.moc"
