// A writer killed with SIGKILL at random moments, again and again on one store: afterwards the store
// opens, passes SQLite's integrity check, and holds every insert, modification and deletion whose
// call had returned before the kill.
#include "StoreTestUtil.h"

#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Stored
{
    QString title;
    QString body;
    bool operator==(const Stored&) const = default;
};

QMap<std::int32_t, Stored> StoredMemos()
{
    QMap<std::int32_t, Stored> memos;
    const std::int32_t count = DBI_MemGetValidRecordCount();
    for (std::int32_t order = 1; order <= count; ++order) {
        MemoRecord memo{};
        if (DBI_MemReadRecordByOrder(order, &memo) == 1)
            memos.insert(memo.key, {Q(MemoTitle(memo)), Q(MemoContent(memo))});
    }
    return memos;
}

} // namespace

class TestDurability : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void cleanup() { MemoStore_Close(); }

    void everyReturnedWriteSurvivesAKill()
    {
        QTemporaryDir temp;
        QVERIFY(temp.isValid());
        const quint32 start = QRandomGenerator::global()->generate();
        qInfo("random start value %u (to repeat a run)", start);
        QRandomGenerator random(start);
        QMap<std::int32_t, Stored> expected; // what the returned calls of all runs left
        int returned = 0;

        for (int run = 0; run < 20; ++run) {
            const QString tag = u"r%1"_s.arg(run);
            QProcess writer;
            writer.start(QStringLiteral(MEMOSTORE_WRITER),
                         {temp.path(), u"victim"_s, tag, u"1000000"_s, u"journal"_s});
            QVERIFY(writer.waitForStarted());
            // Reads its output meanwhile, so it never waits on a full pipe.
            const bool ended = writer.waitForFinished(static_cast<int>(random.bounded(20, 500)));
            QVERIFY2(!ended, writer.readAllStandardError().constData());
            writer.kill();
            QVERIFY(writer.waitForFinished());

            std::int32_t lastKey = 0; // its last insert; an operation on it may have been under way
            const QList<QByteArray> lines = writer.readAllStandardOutput().split('\n');
            for (qsizetype i = 0; i + 1 < lines.size(); ++i) { // the text after the last newline is cut
                const QList<QByteArray> parts = lines[i].split(' ');
                const auto key = static_cast<std::int32_t>(parts.value(1).toInt());
                ++returned;
                if (parts[0] == "I") {
                    expected.insert(key, {QString::fromLatin1(parts.value(2)), u"written"_s});
                    lastKey = key;
                } else if (parts[0] == "M") {
                    expected[key].body = u"modified"_s;
                } else {
                    expected.remove(key);
                }
            }

            QVERIFY2(MemoStore_Open("victim", temp.path().toUtf8().constData()), MemoStore_LastError());
            const QMap<std::int32_t, Stored> stored = StoredMemos();
            int underWay = 0;
            for (auto it = stored.begin(); it != stored.end(); ++it) {
                // An insert under way when it was killed may have been committed; so may a
                // modification of the memo it had just inserted.
                if (!expected.contains(it.key()) && it.value().title.startsWith(tag + u'-') && !underWay++)
                    expected.insert(it.key(), it.value());
                else if (it.key() == lastKey && it.value().body == u"modified"_s)
                    expected[lastKey].body = it.value().body;
            }
            if (lastKey && !stored.contains(lastKey)) // its deletion may have been under way too
                expected.remove(lastKey);
            QCOMPARE(stored, expected);
            const QString path = QString::fromUtf8(MemoStore_CurrentPath());
            MemoStore_Close();
            RawDb raw(path);
            QCOMPARE(raw.Text("PRAGMA integrity_check"), u"ok"_s);
        }
        QVERIFY(returned > 0);
    }
};

QTEST_GUILESS_MAIN(TestDurability)
#include "tst_durability.moc"
