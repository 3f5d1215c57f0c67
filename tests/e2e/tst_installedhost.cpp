// The host as installed: `cmake --install` of this build into a temporary prefix gives a tree that
// runs on its own, the module found where the host was installed and every library of ours loaded
// from inside that tree, none from the build tree.
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestInstalledHost : public QObject
{
    Q_OBJECT
  private Q_SLOTS:
    void theInstalledHostRunsOnItsOwnTree()
    {
        QTemporaryDir dir;
        const QString prefix = QFileInfo(dir.filePath(u"prefix"_s)).absoluteFilePath();
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(QString::fromUtf8(CMAKE_COMMAND),
                      {u"--install"_s, QString::fromUtf8(MEMO_BUILD_DIR), u"--prefix"_s, prefix});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAll().constData());

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env.insert(u"XDG_CONFIG_HOME"_s, dir.filePath(u"config"_s));
        env.remove(u"LD_LIBRARY_PATH"_s);
        env.insert(u"LD_DEBUG"_s, u"libs"_s); // the loader names each object: "calling init: <path>"
        QProcess host;
        host.setProcessEnvironment(env);
        // No --module: the installed host must find the module by itself.
        host.start(QDir(prefix).filePath(QString::fromUtf8(MEMO_INSTALL_BINDIR) + u"/memohost"_s),
                   {u"--user"_s, u"alice"_s, u"--data-dir"_s, dir.filePath(u"stores"_s), u"--screenshot"_s,
                    dir.filePath(u"installed.png"_s)});
        QVERIFY(host.waitForFinished(120000));
        const QString err = QString::fromLocal8Bit(host.readAllStandardError());
        QVERIFY2(host.exitStatus() == QProcess::NormalExit && host.exitCode() == 0,
                 qPrintable(err.right(4000)));

        QMap<QString, QString> loaded; // file name -> where it was loaded from
        const QString marker = u"calling init: "_s;
        for (const QString& line : err.split(u'\n'))
            if (const qsizetype at = line.indexOf(marker); at >= 0) {
                const QFileInfo file(line.mid(at + marker.size()).trimmed());
                loaded.insert(file.fileName(), file.canonicalFilePath());
            }
        const QString tree = QFileInfo(prefix).canonicalFilePath() + u'/';
        for (const QString& library : {u"libmemo.so"_s, u"libmemostore.so"_s, u"libzorvaframework.so"_s,
                                       u"libzorvakit.so"_s, u"libhostadapter.so"_s})
            QVERIFY2(loaded.value(library).startsWith(tree),
                     qPrintable(library + u": "_s + loaded.value(library)));
    }
};

QTEST_GUILESS_MAIN(TestInstalledHost)
#include "tst_installedhost.moc"
