// The host program as a person starts it: a picture with --screenshot, a clear line when there
// is no display, clear refusals of a broken store or a missing module, help, version and usage
// errors on any machine.
#include "E2eSupport.h"

#include <MemoStore.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace e2e;

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run runHost(const QStringList& arguments, const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(hostProgram(), arguments);
    Run run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        run.err = u"the host did not finish"_s;
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

} // namespace

class TestHostProgram : public QObject
{
    Q_OBJECT
  private:
    QTemporaryDir m_dir;
    QProcessEnvironment m_env = QProcessEnvironment::systemEnvironment();

    // No screen of any kind, and no platform chosen for the host.
    QProcessEnvironment withoutDisplay() const
    {
        QProcessEnvironment env = m_env;
        env.remove(u"QT_QPA_PLATFORM"_s);
        env.remove(u"DISPLAY"_s);
        env.remove(u"WAYLAND_DISPLAY"_s);
        return env;
    }

  private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        m_env.insert(u"XDG_CONFIG_HOME"_s, m_dir.filePath(u"config"_s));
        // A private runtime folder, as a login session gives one: Qt complains of a missing one.
        const QString runtime = m_dir.filePath(u"runtime"_s);
        QVERIFY(QDir().mkpath(runtime) &&
                QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        m_env.insert(u"XDG_RUNTIME_DIR"_s, runtime);
    }

    void aScreenshotShowsTheHostWithThePanel()
    {
        const QString png = m_dir.filePath(u"host.png"_s);
        const Run run = runHost(
            {u"--user"_s, u"alice"_s, u"--data-dir"_s, m_dir.filePath(u"stores"_s), u"--screenshot"_s, png},
            m_env);
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QImage image(png);
        QVERIFY(!image.isNull());
        QVERIFY(image.width() >= 640 && image.height() >= 400);
        // A real picture, not an empty window: the module bar, the panel's controls and texts.
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 3)
            for (int x = 0; x < image.width(); x += 3)
                colours.insert(image.pixel(x, y));
        QVERIFY2(colours.size() > 50, qPrintable(QString::number(colours.size())));
        // The module bar down the left edge is dark.
        QVERIFY(qGray(image.pixel(4, image.height() / 2)) < 100);
    }

    void withoutADisplayTheHostSaysHowToGetAPicture()
    {
        const Run run = runHost({u"--user"_s, u"alice"_s, u"--data-dir"_s, m_dir.filePath(u"stores"_s)},
                                withoutDisplay());
        QCOMPARE(run.exitCode, 1);
        const QStringList lines = run.err.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines[0].contains(u"--screenshot"_s));
        QVERIFY(!run.err.contains(u"plugin"_s));
    }

    void aBrokenStoreIsRefusedAndLeftAsItWas()
    {
        // Make bob's store, then spoil it.
        const QString stores = m_dir.filePath(u"stores"_s);
        const QString png = m_dir.filePath(u"bob.png"_s);
        Run run = runHost({u"--user"_s, u"bob"_s, u"--data-dir"_s, stores, u"--screenshot"_s, png}, m_env);
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY(MemoStore_Open("bob", QFile::encodeName(stores).constData()));
        const QString storeFile = QString::fromUtf8(MemoStore_CurrentPath());
        MemoStore_Close();
        QVERIFY(QFile::exists(storeFile));
        {
            QFile file(storeFile);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(QByteArray(4096, 'x'));
        }
        const QByteArray before = fileHash(storeFile);
        QFile::remove(png);
        run = runHost({u"--user"_s, u"bob"_s, u"--data-dir"_s, stores, u"--screenshot"_s, png}, m_env);
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(u"bob"_s));
        QVERIFY(!QFile::exists(png));
        QCOMPARE(fileHash(storeFile), before);
    }

    void aMissingModuleIsRefused()
    {
        const QString missing = m_dir.filePath(u"no-such-module.so"_s);
        const QString png = m_dir.filePath(u"none.png"_s);
        const Run run = runHost({u"--user"_s, u"alice"_s, u"--data-dir"_s, m_dir.filePath(u"stores"_s),
                                 u"--module"_s, missing, u"--screenshot"_s, png},
                                m_env);
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(missing));
        QVERIFY(!QFile::exists(png));
    }

    void helpAndVersionNeedNoDisplay_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("expected");
        QTest::newRow("help") << u"--help"_s << u"Usage: "_s;
        QTest::newRow("version") << u"--version"_s << u"memohost "_s;
    }

    void helpAndVersionNeedNoDisplay()
    {
        QFETCH(QString, option);
        QFETCH(QString, expected);
        const Run run = runHost({option}, withoutDisplay());
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.startsWith(expected), qPrintable(run.out + run.err));
    }

    void namesThatAreNotUtf8AreRefused_data()
    {
        // The shell passes raw bytes, which Qt would read as U+FFFD: $0 is the host, $1 its folder.
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("user") << u"exec \"$0\" --user \"$(printf '\\377')\" --data-dir \"$1\""_s << 2;
        QTest::newRow("folder") << u"exec \"$0\" --user a --data-dir \"$1$(printf '\\377')\""_s << 2;
        QTest::newRow("USER") << u"USER=\"$(printf 'jos\\351')\" exec \"$0\" --data-dir \"$1\""_s << 2;
        QTest::newRow("USER unused")
            << u"USER=\"$(printf '\\377')\" exec \"$0\" --user b --data-dir \"$1\" --screenshot \"$1.png\""_s
            << 0;
        QTest::newRow("U+FFFD is text")
            << u"exec \"$0\" --user \"$(printf '\\357\\277\\275')\" --data-dir \"$1\" --screenshot \"$1.png\""_s
            << 0;
    }

    void namesThatAreNotUtf8AreRefused()
    {
        QFETCH(QString, command);
        QFETCH(int, exitCode);
        const QString stores = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
        QProcess process;
        process.setProcessEnvironment(withoutDisplay()); // a host that starts wrongly exits at once
        process.start(u"/bin/sh"_s, {u"-c"_s, command, hostProgram(), stores});
        QVERIFY(process.waitForFinished(120000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QCOMPARE(process.exitCode(), exitCode);
        QCOMPARE(err.contains(u"not valid UTF-8"_s), exitCode == 2);
        QCOMPARE(QFile::exists(stores), exitCode == 0);
    }

    void usageErrorsExitWithTwo()
    {
        const Run run = runHost({u"--no-such-option"_s}, withoutDisplay());
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.contains(u"--user"_s));
    }
};

QTEST_GUILESS_MAIN(TestHostProgram)
#include "tst_hostprogram.moc"
