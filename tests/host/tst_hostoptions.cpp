// The host's command line: defaults from the environment, every option, and usage errors.
#include <HostOptions.h>

#include <QCoreApplication>
#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestHostOptions : public QObject
{
    Q_OBJECT
  private Q_SLOTS:
    void defaultsComeFromTheEnvironment()
    {
        qputenv("USER", "alice");
        HostOptions options;
        QString message;
        int exitCode = -1;
        QVERIFY(HostOptions::parse({u"memohost"_s}, options, message, exitCode));
        QCOMPARE(options.userName, u"alice"_s);
        QVERIFY(options.dataDir.isEmpty());
        QVERIFY(options.screenshotPath.isEmpty());
        QCOMPARE(options.modulePath, QDir(QCoreApplication::applicationDirPath()).filePath(u"libmemo.so"_s));
    }

    void withoutAUserInTheEnvironmentTheUserIsDefault()
    {
        const QByteArray user = qgetenv("USER");
        const QByteArray userName = qgetenv("USERNAME");
        qunsetenv("USER");
        qputenv("USERNAME", "  ");
        QCOMPARE(HostOptions::defaultUserName(), u"default"_s);
        qputenv("USERNAME", "bob");
        QCOMPARE(HostOptions::defaultUserName(), u"bob"_s);
        qputenv("USER", user);
        qputenv("USERNAME", userName);
    }

    void everyOptionIsTaken()
    {
        HostOptions options;
        QString message;
        int exitCode = -1;
        QVERIFY(HostOptions::parse({u"memohost"_s, u"--user"_s, u"张三"_s, u"--data-dir=/tmp/stores"_s,
                                    u"--module"_s, u"/opt/m/libother.so"_s, u"--screenshot"_s, u"shot.png"_s},
                                   options, message, exitCode));
        QCOMPARE(options.userName, u"张三"_s);
        QCOMPARE(options.dataDir, u"/tmp/stores"_s);
        QCOMPARE(options.modulePath, u"/opt/m/libother.so"_s);
        QCOMPARE(options.screenshotPath, u"shot.png"_s);
    }

    void usageErrorsAreRefusedWithExitCodeTwo_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("unknown option") << QStringList{u"memohost"_s, u"--colour"_s};
        QTest::newRow("missing value") << QStringList{u"memohost"_s, u"--user"_s};
        QTest::newRow("empty user") << QStringList{u"memohost"_s, u"--user="_s};
        QTest::newRow("blank user") << QStringList{u"memohost"_s, u"--user"_s, u"   "_s};
        QTest::newRow("empty screenshot") << QStringList{u"memohost"_s, u"--screenshot="_s};
        QTest::newRow("stray argument") << QStringList{u"memohost"_s, u"alice"_s};
        // Qt's parser offers it with addHelpOption() but answers it only by exiting on its own.
        QTest::newRow("help-all") << QStringList{u"memohost"_s, u"--help-all"_s};
    }

    void usageErrorsAreRefusedWithExitCodeTwo()
    {
        QFETCH(QStringList, arguments);
        HostOptions options;
        QString message;
        int exitCode = -1;
        QVERIFY(!HostOptions::parse(arguments, options, message, exitCode));
        QCOMPARE(exitCode, 2);
        QVERIFY(!message.isEmpty());
    }

    void helpIsNotAnError()
    {
        HostOptions options;
        QString message;
        int exitCode = -1;
        // Answered even after options that would otherwise start the host.
        QVERIFY(!HostOptions::parse({u"memohost"_s, u"--user"_s, u"a"_s, u"--help"_s}, options, message,
                                    exitCode));
        QCOMPARE(exitCode, 0);
        QVERIFY(message.contains(u"--screenshot"_s));
        QVERIFY(message.contains(u"--data-dir"_s));
    }
};

QTEST_GUILESS_MAIN(TestHostOptions)
#include "tst_hostoptions.moc"
