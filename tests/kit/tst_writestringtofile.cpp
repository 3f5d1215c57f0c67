#include "WriteStringToFile.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TestWriteStringToFile : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void appendsAndNeverTruncates();
    void drivePathsStayInTheDataFolder();
    void reportsAFileThatCannotBeWritten();
};

void TestWriteStringToFile::appendsAndNeverTruncates()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"log/addr.txt"_s); // folder created on demand
    QVERIFY(WriteStringToFile(u"\r\nCreateCompatibleDC<CPropertyDlg::DrawMemDC()><8>\r\n"_s, path, 1));
    QVERIFY(WriteStringToFile(u"第二行"_s, path, 1));
    QVERIFY(WriteStringToFile(u"|no truncation"_s, path, 0));
    QCOMPARE(contents(path), QByteArray("\r\nCreateCompatibleDC<CPropertyDlg::DrawMemDC()><8>\r\n"
                                        "\xE7\xAC\xAC\xE4\xBA\x8C\xE8\xA1\x8C|no truncation"));
}

void TestWriteStringToFile::drivePathsStayInTheDataFolder()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QCOMPARE(LocalFilePath(u"d:\\addr.txt"_s), base + u"/drive-d/addr.txt"_s);
    QCOMPARE(LocalFilePath(u"D:/logs\\..\\..\\x.txt"_s), base + u"/drive-d/logs/x.txt"_s);
    QCOMPARE(LocalFilePath(u"/tmp/plain.txt"_s), u"/tmp/plain.txt"_s);

    const QString local = LocalFilePath(u"d:\\addr.txt"_s);
    QFile::remove(local);
    QVERIFY(WriteStringToFile(u"one"_s, u"d:\\addr.txt"_s, 1));
    QVERIFY(WriteStringToFile(u"two"_s, u"d:\\addr.txt"_s, 1));
    QCOMPARE(contents(local), QByteArray("onetwo"));
    QVERIFY(local.startsWith(QDir::homePath()) || local.startsWith(qEnvironmentVariable("XDG_DATA_HOME")));
}

void TestWriteStringToFile::reportsAFileThatCannotBeWritten()
{
    QTemporaryDir dir;
    QVERIFY(!WriteStringToFile(u"x"_s, dir.path(), 1)); // a folder, not a file
    QVERIFY(!WriteStringToFile(u"x"_s, u"d:\\"_s, 1));
}

QTEST_GUILESS_MAIN(TestWriteStringToFile)
#include "tst_writestringtofile.moc"
