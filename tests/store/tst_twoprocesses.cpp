#include "StoreTestUtil.h"

#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <ctime>

class TestTwoProcesses : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void cleanup() { MemoStore_Close(); }

    void twoWritersShareOneStore()
    {
        QTemporaryDir temp;
        QVERIFY(temp.isValid());
        constexpr int kCount = 150;
        const QString writer = QStringLiteral(MEMOSTORE_WRITER);

        QProcess first;
        QProcess second;
        first.start(writer,
                    {temp.path(), QStringLiteral("shared"), QStringLiteral("A"), QString::number(kCount)});
        second.start(writer,
                     {temp.path(), QStringLiteral("shared"), QStringLiteral("B"), QString::number(kCount)});
        for (QProcess* process : {&first, &second}) {
            QVERIFY(process->waitForStarted());
            while (!process->canReadLine())
                QVERIFY2(process->waitForReadyRead(60000), process->readAllStandardError().constData());
            QCOMPARE(process->readLine(), QByteArray("ready\n"));
        }
        first.write("go\n");
        second.write("go\n");
        QVERIFY(first.waitForFinished(120000));
        QVERIFY(second.waitForFinished(120000));
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QVERIFY2(first.exitCode() == 0, first.readAllStandardError().constData());
        QVERIFY2(second.exitCode() == 0, second.readAllStandardError().constData());

        // Every key a writer kept names its own memo; no key was given to both.
        QMap<std::int32_t, QString> kept;
        for (QProcess* process : {&first, &second}) {
            const QList<QByteArray> lines = process->readAllStandardOutput().split('\n');
            for (const QByteArray& line : lines) {
                if (line.isEmpty())
                    continue;
                const QList<QByteArray> parts = line.split(' ');
                QCOMPARE(parts.size(), 2);
                const auto key = static_cast<std::int32_t>(parts[0].toInt());
                QVERIFY2(!kept.contains(key), "a key was handed out twice");
                kept.insert(key, QString::fromLatin1(parts[1]));
            }
        }
        const int survivors = kCount - kCount / 5;
        QCOMPARE(kept.size(), 2 * survivors);

        QVERIFY2(MemoStore_Open("shared", temp.path().toUtf8().constData()), MemoStore_LastError());
        QCOMPARE(DBI_MemGetValidRecordCount(), 2 * survivors);
        QCOMPARE(DBI_MemGroupGetValidRecordCount(), 2 * (kCount / 10));
        std::int32_t previous = 0;
        for (std::int32_t order = 1; order <= DBI_MemGetValidRecordCount(); ++order) {
            MemoRecord memo{};
            QCOMPARE(DBI_MemReadRecordByOrder(order, &memo), 1);
            QVERIFY(memo.key > previous);
            previous = memo.key;
            QVERIFY(kept.contains(memo.key));
            const QString title = Q(MemoTitle(memo));
            QCOMPARE(title, kept.value(memo.key));
            const int index = title.section(u'-', 1).toInt();
            const QString expectedBody =
                title.left(1) + (index % 3 == 0 ? QStringLiteral(" edited") : QStringLiteral(" body"));
            QCOMPARE(Q(MemoContent(memo)), expectedBody);
        }

        RawDb raw(QString::fromUtf8(MemoStore_CurrentPath()));
        QCOMPARE(raw.Text("PRAGMA integrity_check"), QStringLiteral("ok"));
    }

    // Beside a process that writes without a pause, each of our writes still gets its turn.
    void aWriterGetsItsTurnBesideOneThatNeverPauses()
    {
        QTemporaryDir temp;
        QVERIFY2(MemoStore_Open("busy", temp.path().toUtf8().constData()), MemoStore_LastError());
        QProcess other;
        other.setStandardOutputFile(QProcess::nullDevice());
        other.start(QStringLiteral(MEMOSTORE_WRITER),
                    {temp.path(), QStringLiteral("busy"), QStringLiteral("H"), QStringLiteral("1000000"),
                     QStringLiteral("journal")});
        QTRY_VERIFY_WITH_TIMEOUT(DBI_MemGetValidRecordCount() > 0, 60000); // it is writing now
        for (int i = 0; i < 40; ++i) {
            const MemoRecord memo = TestMemo(QStringLiteral("ours %1").arg(i));
            QVERIFY2(DBI_MemRecycleWriteRecord(&memo) > 0, MemoStore_LastError());
        }
        QVERIFY2(!other.waitForFinished(100), "the other writer had a write refused"); // still writing
        other.kill();
        other.waitForFinished();
    }

    // A copy renamed over the store while another process keeps saving: every save that began after
    // the rename is in the file at the path afterwards, or was reported as failed.
    void savesAfterTheFileWasReplacedAreKeptOrRefused()
    {
        QTemporaryDir temp;
        QVERIFY(temp.isValid());
        const QByteArray dir = temp.path().toUtf8();
        QVERIFY2(MemoStore_Open("swapped", dir.constData()), MemoStore_LastError());
        MemoStore_Close();
        const QString path = StoreFileOf(temp.path(), QStringLiteral("swapped"));

        QProcess writer;
        writer.start(QStringLiteral(MEMOSTORE_WRITER),
                     {temp.path(), QStringLiteral("swapped"), QStringLiteral("W"), QStringLiteral("600"),
                      QStringLiteral("swap")});
        QVERIFY(writer.waitForStarted());
        QList<QByteArray> lines;
        while (lines.size() < 100) {
            while (!writer.canReadLine())
                QVERIFY2(writer.waitForReadyRead(60000), writer.readAllStandardError().constData());
            lines.append(writer.readLine().trimmed());
        }
        const QString copy = temp.path() + QStringLiteral("/copy.db");
        QVERIFY(RawDb(path).Exec(("VACUUM INTO '" + copy.toUtf8() + "'").constData()));
        QVERIFY(std::rename(QFile::encodeName(copy).constData(), QFile::encodeName(path).constData()) == 0);
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        const long long swappedAt = now.tv_sec * 1'000'000'000LL + now.tv_nsec;

        QVERIFY(writer.waitForFinished(120000));
        QVERIFY2(writer.exitStatus() == QProcess::NormalExit && writer.exitCode() == 0,
                 writer.readAllStandardError().constData());
        lines.append(writer.readAllStandardOutput().trimmed().split('\n'));

        QVERIFY2(MemoStore_Open("swapped", dir.constData()), MemoStore_LastError());
        QSet<QString> stored;
        const std::int32_t count = DBI_MemGetValidRecordCount();
        for (std::int32_t order = 1; order <= count; ++order) {
            MemoRecord memo{};
            QVERIFY(DBI_MemReadRecordByOrder(order, &memo) == 1);
            stored.insert(Q(MemoTitle(memo)));
        }
        int failed = 0;
        int keptAfterSwap = 0;
        for (const QByteArray& line : lines) {
            const QList<QByteArray> parts = line.split(' ');
            failed += parts[0] == "F" ? 1 : 0;
            if (parts[0] != "S" || parts[1].toLongLong() < swappedAt)
                continue;
            QVERIFY2(stored.contains(QString::fromLatin1(parts[2])), line.constData());
            ++keptAfterSwap;
        }
        QVERIFY(failed >= 1);       // the writer learnt of the swap and opened the new file
        QVERIFY(keptAfterSwap > 0); // and saved into it
    }
};

QTEST_GUILESS_MAIN(TestTwoProcesses)
#include "tst_twoprocesses.moc"
