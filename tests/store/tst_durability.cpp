// A writer killed with SIGKILL at random moments, twenty times on one store: afterwards the store
// passes SQLite's integrity check and holds every insert, modification and deletion whose call had
// returned before the kill.
#include "StoreTestUtil.h"

#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

#include <csignal>
#include <utility>

using namespace Qt::StringLiterals;

class TestDurability : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void cleanup() { MemoStore_Close(); }

    void everyReturnedWriteSurvivesAKill()
    {
        QTemporaryDir temp;
        const quint32 start = QRandomGenerator::global()->generate();
        qInfo("random start value %u (to repeat a run)", start);
        QRandomGenerator random(start);
        QMap<std::int32_t, QString> expected; // "title body" of every memo the returned calls left

        for (int run = 0; run < 20; ++run) {
            const QString tag = u"r%1"_s.arg(run);
            QProcess writer;
            writer.start(QStringLiteral(MEMOSTORE_WRITER),
                         {temp.path(), u"victim"_s, tag, u"1000000"_s, u"journal"_s});
            // Reads its output meanwhile, so it never waits on a full pipe.
            QVERIFY2(!writer.waitForFinished(int(random.bounded(20, 500))),
                     writer.readAllStandardError().constData());
            writer.kill();
            QVERIFY(writer.waitForFinished());

            std::int32_t last = 0; // its last insert; an operation on it may have been under way
            QList<QByteArray> lines = writer.readAllStandardOutput().split('\n');
            lines.removeLast(); // what follows the last newline was cut short
            for (const QByteArray& line : lines) {
                const QList<QByteArray> parts = line.split(' ');
                const auto key = std::int32_t(parts.value(1).toInt());
                if (parts[0] == "I") {
                    expected.insert(key, QString::fromLatin1(parts.value(2)) + u" written"_s);
                    last = key;
                } else if (parts[0] == "M") {
                    expected[key].replace(u"written"_s, u"modified"_s);
                } else {
                    expected.remove(key);
                }
            }

            QVERIFY2(MemoStore_Open("victim", temp.path().toUtf8().constData()), MemoStore_LastError());
            QMap<std::int32_t, QString> stored;
            MemoRecord memo{};
            for (std::int32_t order = 1; DBI_MemReadRecordByOrder(order, &memo) == 1; ++order)
                stored.insert(memo.key, Q(MemoTitle(memo)) + u' ' + Q(MemoContent(memo)));
            bool inserted = false; // an insert under way may have been committed, at most one
            for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
                if (!expected.contains(it.key()) && it->startsWith(tag + u'-') &&
                    !std::exchange(inserted, true))
                    expected.insert(it.key(), it.value());
                else if (it.key() == last && it->endsWith(u" modified"_s)) // so may a modification
                    expected[last] = it.value();
            }
            if (last && !stored.contains(last)) // or a deletion of the last insert
                expected.remove(last);
            QCOMPARE(stored, expected);
            const QString path = QString::fromUtf8(MemoStore_CurrentPath());
            MemoStore_Close();
            QCOMPARE(RawDb(path).Text("PRAGMA integrity_check"), u"ok"_s);
        }
        QVERIFY(!expected.isEmpty());
    }

    // A write that fails for want of space empties the log, so that the next one fits again without
    // the store being opened anew. The log grows at its end; a file size limit stands for the disk.
    void aWriteAfterAFullDiskSucceedsOnceThereIsRoom()
    {
        QTemporaryDir temp;
        QVERIFY2(MemoStore_Open("full", temp.path().toUtf8().constData()), MemoStore_LastError());
        for (int i = 0; i < 30; ++i) {
            const MemoRecord memo = TestMemo(QStringLiteral("memo %1").arg(i), QString(400, u'x'));
            QVERIFY(DBI_MemRecycleWriteRecord(&memo) > 0);
        }
        const QString wal = QString::fromUtf8(MemoStore_CurrentPath()) + QStringLiteral("-wal");
        const qint64 logSize = QFileInfo(wal).size();
        QVERIFY(logSize > 30 * 4096);

        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit full = old;
        full.rlim_cur = static_cast<rlim_t>(logSize);
        ::setrlimit(RLIMIT_FSIZE, &full);
        const MemoRecord memo = TestMemo(QStringLiteral("after"), QString(400, u'y'));
        const std::int32_t refused = DBI_MemRecycleWriteRecord(&memo);
        const std::int32_t stored = DBI_MemRecycleWriteRecord(&memo);
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldSignal);

        QCOMPARE(refused, 0);
        QVERIFY2(stored > 0, MemoStore_LastError());
        QCOMPARE(DBI_MemGetValidRecordCount(), 31);
    }
};

QTEST_GUILESS_MAIN(TestDurability)
#include "tst_durability.moc"
