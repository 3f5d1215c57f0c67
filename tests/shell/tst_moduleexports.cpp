// The module file exports the three entry points with C linkage and nothing else of its own.
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

class TestModuleExports : public QObject
{
    Q_OBJECT
  private Q_SLOTS:
    void onlyTheEntryPointsAreExported()
    {
        const QString nm = QStandardPaths::findExecutable(u"nm"_s);
        if (nm.isEmpty())
            QSKIP("nm (binutils) is not installed");
        QProcess process;
        process.start(nm, {u"-D"_s, u"--defined-only"_s, QString::fromUtf8(MEMO_MODULE_FILE)});
        QVERIFY(process.waitForFinished());
        QCOMPARE(process.exitCode(), 0);

        QSet<QString> exported;
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        static const QRegularExpression line(u"^[0-9a-fA-F]*\\s+(\\S)\\s+(\\S+)$"_s);
        for (const QString& text : out.split(u'\n', Qt::SkipEmptyParts)) {
            const QRegularExpressionMatch m = line.match(text.trimmed());
            QVERIFY2(m.hasMatch(), qPrintable(text));
            // The linker's own markers of the data segment's end are in every shared library.
            static const QSet<QString> linkerMarkers{u"_edata"_s, u"_end"_s, u"__bss_start"_s};
            if (!linkerMarkers.contains(m.captured(2)))
                exported.insert(m.captured(2));
            if (m.captured(2) == u"RegisterComID"_s || m.captured(2) == u"NtfCallBack"_s ||
                m.captured(2) == u"CmdCallBack"_s)
                QCOMPARE(m.captured(1), u"T"_s);
        }
        const QSet<QString> expected{u"RegisterComID"_s, u"NtfCallBack"_s, u"CmdCallBack"_s};
        QCOMPARE(exported, expected);
    }
};

QTEST_GUILESS_MAIN(TestModuleExports)
#include "tst_moduleexports.moc"
