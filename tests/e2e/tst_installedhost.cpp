// The host as installed: `cmake --install` of this build into a temporary prefix gives a tree that
// runs on its own, the module found where the host was installed and every library of ours loaded
// from inside that tree, none from the build tree.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestInstalledHost : public QObject
{
    Q_OBJECT
  private:
    QTemporaryDir m_dir;
    QString m_prefix;

  private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_prefix = QFileInfo(m_dir.filePath(u"prefix"_s)).absoluteFilePath();
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(QString::fromUtf8(CMAKE_COMMAND),
                      {u"--install"_s, QString::fromUtf8(MEMO_BUILD_DIR), u"--prefix"_s, m_prefix});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAll().constData());
    }

    void theInstalledHostRunsOnItsOwnTree()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env.insert(u"XDG_CONFIG_HOME"_s, m_dir.filePath(u"config"_s));
        env.remove(u"LD_LIBRARY_PATH"_s);
        // The dynamic loader names every object it starts: "calling init: <path>".
        env.insert(u"LD_DEBUG"_s, u"libs"_s);
        const QString png = m_dir.filePath(u"installed.png"_s);
        QProcess host;
        host.setProcessEnvironment(env);
        // No --module: the installed host must find the module by itself.
        host.start(
            QDir(m_prefix).filePath(QString::fromUtf8(MEMO_INSTALL_BINDIR) + u"/memohost"_s),
            {u"--user"_s, u"alice"_s, u"--data-dir"_s, m_dir.filePath(u"stores"_s), u"--screenshot"_s, png});
        QVERIFY(host.waitForFinished(120000));
        const QString err = QString::fromLocal8Bit(host.readAllStandardError());
        QVERIFY2(host.exitStatus() == QProcess::NormalExit && host.exitCode() == 0,
                 qPrintable(err.right(4000)));
        QVERIFY(!QImage(png).isNull());

        QMap<QString, QString> loaded; // file name -> where it was loaded from
        static const QString marker = u"calling init: "_s;
        for (const QString& line : err.split(u'\n')) {
            const qsizetype at = line.indexOf(marker);
            if (at < 0)
                continue;
            const QFileInfo file(line.mid(at + marker.size()).trimmed());
            loaded.insert(file.fileName(), file.canonicalFilePath());
        }
        const QString tree = QFileInfo(m_prefix).canonicalFilePath() + u'/';
        for (const QString& library : {u"libmemo.so"_s, u"libmemostore.so"_s, u"libzorvaframework.so"_s,
                                       u"libzorvakit.so"_s, u"libhostadapter.so"_s}) {
            QVERIFY2(loaded.contains(library), qPrintable(library));
            QVERIFY2(loaded.value(library).startsWith(tree), qPrintable(loaded.value(library)));
        }
    }
};

QTEST_GUILESS_MAIN(TestInstalledHost)
#include "tst_installedhost.moc"
