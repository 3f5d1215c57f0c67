// A writer killed with SIGKILL at random moments, twenty times on one store: afterwards the store
// passes SQLite's integrity check and holds every insert, modification and deletion whose call had
// returned before the kill.
#include "StoreTestUtil.h"

#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

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
};

QTEST_GUILESS_MAIN(TestDurability)
#include "tst_durability.moc"
