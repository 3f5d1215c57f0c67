// Two stores meeting through a real CalDAV server on loopback (Radicale and Xandikos): what is
// created, edited, filed and deleted on one side arrives on the other; both versions of a conflict
// survive on both sides; notes of other programs come in, or are left alone and named.
#include "CalDavServer.h"
#include "CalDavSync.h"
#include "TestText.h"

#include <DbiMemo.h>
#include <GroupRules.h>
#include <MemoRules.h>
#include <MemoStore.h>
#include <MemoSync.h>
#include <MemoTrash.h>

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

// Every memo of the open store as "title|body|category", sorted.
QStringList Memos()
{
    QStringList memos;
    for (std::int32_t order = 1; order <= DBI_MemGetValidRecordCount(); ++order) {
        MemoRecord memo{};
        DBI_MemReadRecordByOrder(order, &memo);
        memos << Q(MemoTitle(memo)) + u'|' + Q(MemoContent(memo)) + u'|' + Q(EffectiveGroupName(memo));
    }
    memos.sort();
    return memos;
}

std::int32_t Add(const QString& title, const QString& body, const QString& category = u"全部"_s)
{
    const MemoRecord memo =
        NewMemoRecord(305371800, category.toStdU16String(), 0, title.toStdU16String(), body.toStdU16String());
    return DBI_MemRecycleWriteRecord(&memo);
}

std::int32_t KeyOf(const QString& title)
{
    for (std::int32_t order = 1; order <= DBI_MemGetValidRecordCount(); ++order) {
        MemoRecord memo{};
        DBI_MemReadRecordByOrder(order, &memo);
        if (Q(MemoTitle(memo)) == title)
            return memo.key;
    }
    return 0;
}

void Edit(const QString& title, const QString& newTitle, const QString& body, const QString& category = {})
{
    MemoRecord memo{};
    QVERIFY(DBI_MemReadRecord(KeyOf(title), &memo) == 1);
    ApplySavedMemo(memo, 305371900, category.isEmpty() ? MemoGroupName(memo) : category.toStdU16String(),
                   newTitle.toStdU16String(), body.toStdU16String());
    QVERIFY(DBI_MemModifyRecord(memo.key, &memo) == 1);
}

// A PUT as another program makes it, straight to the server.
int Put(const QUrl& url, const QByteArray& ics)
{
    QNetworkAccessManager network;
    QNetworkRequest request(url);
    request.setRawHeader("Authorization", "Basic " + QByteArray("tester:secret").toBase64());
    request.setRawHeader("Content-Type", "text/calendar; charset=utf-8");
    std::unique_ptr<QNetworkReply> reply(network.put(request, ics));
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

} // namespace

class TestCalDavSync : public QObject
{
    Q_OBJECT
    std::unique_ptr<CalDavServer> m_server;
    // The data folders of the two machines, new for each test.
    std::unique_ptr<QTemporaryDir> m_a;
    std::unique_ptr<QTemporaryDir> m_b;

    void Open(const std::unique_ptr<QTemporaryDir>& dir)
    {
        QVERIFY2(MemoStore_Open("sync", dir->path().toUtf8().constData()), MemoStore_LastError());
    }

    SyncReport Sync(const std::unique_ptr<QTemporaryDir>& dir)
    {
        Open(dir);
        const SyncReport report = RunSync({m_server->url(), u"tester"_s, u"secret"_s});
        if (!report.ok)
            qWarning() << report.error;
        return report;
    }

    CalDavServer& Server(const QString& kind)
    {
        m_server = std::make_unique<CalDavServer>(kind);
        return *m_server;
    }

  private Q_SLOTS:
    void init()
    {
        m_a = std::make_unique<QTemporaryDir>();
        m_b = std::make_unique<QTemporaryDir>();
    }

    void cleanup()
    {
        MemoStore_Close();
        m_server.reset();
    }

    void twoStoresMeetThroughTheServer_data()
    {
        QTest::addColumn<QString>("server");
        QTest::newRow("radicale") << u"radicale"_s;
        QTest::newRow("xandikos") << u"xandikos"_s;
    }

    void twoStoresMeetThroughTheServer()
    {
        QFETCH(QString, server);
        START_OR_SKIP(Server(server));
        Open(m_a);
        const MemoGroupRecord work = NewGroupRecord(42, u"工作");
        QVERIFY(DBI_MemGroupRecycleWriteRecord(&work) > 0);
        QVERIFY(Add(u"会议"_s, u"下午三点, 二楼;\n带上\\纸 😀"_s, u"工作"_s) > 0);
        QVERIFY(Add(u"买菜"_s, u"白菜"_s) > 0);
        SyncReport report = Sync(m_a);
        QVERIFY2(report.ok, qPrintable(report.error));
        QCOMPARE(report.uploaded, 2);
        const QStringList first = Memos();

        report = Sync(m_b);
        QVERIFY2(report.ok, qPrintable(report.error));
        QCOMPARE(report.broughtIn, 2);
        QCOMPARE(Memos(), first);
        QCOMPARE(DBI_MemGroupGetValidRecordCount(), 1);

        // Edited, filed under another category, deleted and created on B; all of it reaches A.
        const MemoGroupRecord home = NewGroupRecord(43, u"家里");
        QVERIFY(DBI_MemGroupRecycleWriteRecord(&home) > 0);
        Edit(u"会议"_s, u"会议改期"_s, u"明天"_s);
        Edit(u"买菜"_s, u"买菜"_s, u"白菜"_s, u"家里"_s);
        const QStringList filed = Memos();
        QVERIFY(filed.contains(u"买菜|白菜|家里"_s));
        QVERIFY(Sync(m_b).ok);
        QVERIFY(Sync(m_a).ok);
        QCOMPARE(Memos(), filed);
        QCOMPARE(DBI_MemGroupGetValidRecordCount(), 2);
        Open(m_b);
        Edit(u"会议改期"_s, u"会议改期"_s, u"明天"_s, u"全部"_s);
        QCOMPARE(DBI_MemDeleteRecord(KeyOf(u"买菜"_s)), 1);
        QVERIFY(Add(u"新的"_s, u"从 B 来"_s) > 0);
        const QStringList onB = Memos();
        report = Sync(m_b);
        QVERIFY2(report.ok && report.uploaded == 2 && report.deletedThere == 1, qPrintable(report.error));
        report = Sync(m_a);
        QVERIFY2(report.ok, qPrintable(report.error));
        QCOMPARE(Memos(), onB);
        QCOMPARE(report.trashedHere, 1);
        QCOMPARE(MemoStore_TrashCount(), 1); // the deleted memo can be restored on A

        // Nothing changed on either side: one request.
        report = Sync(m_a);
        QVERIFY2(report.ok, qPrintable(report.error));
        QCOMPARE(report.requests, 1);
    }

    void bothVersionsOfAConflictSurvive_data() { twoStoresMeetThroughTheServer_data(); }

    void bothVersionsOfAConflictSurvive()
    {
        QFETCH(QString, server);
        START_OR_SKIP(Server(server));
        Open(m_a);
        QVERIFY(Add(u"共同"_s, u"原文"_s) > 0);
        QVERIFY(Add(u"将删"_s, u"原文"_s) > 0);
        QVERIFY(Sync(m_a).ok);
        QVERIFY(Sync(m_b).ok);

        // Both edit the same memo; B also edits one that A deletes afterwards.
        Open(m_a);
        Edit(u"共同"_s, u"A 的"_s, u"A 改的"_s);
        QVERIFY(Sync(m_a).ok);
        Open(m_b);
        Edit(u"共同"_s, u"B 的"_s, u"B 改的"_s);
        Edit(u"将删"_s, u"B 留着"_s, u"B 改的"_s);
        SyncReport report = Sync(m_b);
        QVERIFY2(report.ok, qPrintable(report.error));
        QCOMPARE(report.conflicts.size(), 1);
        Open(m_a);
        QCOMPARE(DBI_MemDeleteRecord(KeyOf(u"将删"_s)), 1);
        QVERIFY(Sync(m_a).ok);
        QVERIFY(Sync(m_b).ok);
        QVERIFY(Sync(m_a).ok);

        QStringList expected = {u"A 的|A 改的|全部"_s, u"B 的|B 改的|全部"_s, u"B 留着|B 改的|全部"_s};
        expected.sort();
        QCOMPARE(Memos(), expected);
        Open(m_b);
        QCOMPARE(Memos(), expected);
    }

    void notesOfOtherProgramsComeInOrAreLeftAlone()
    {
        START_OR_SKIP(Server(u"radicale"_s));
        Open(m_a);
        QVERIFY(Sync(m_a).ok); // makes the collection
        QString error;
        const QUrl collection = FindCollection({m_server->url(), u"tester"_s, u"secret"_s}, error);
        QVERIFY2(collection.isValid(), qPrintable(error));
        const QByteArray head = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//other//EN\r\nBEGIN:VJOURNAL\r\n";
        const QByteArray tail = "END:VJOURNAL\r\nEND:VCALENDAR\r\n";
        QCOMPARE(Put(collection.resolved(QUrl(u"other.ics"_s)),
                     head +
                         "UID:other-1\r\nDTSTAMP:20240101T000000Z\r\nCATEGORIES:家里\r\n"
                         "DESCRIPTION:买菜\\, 做饭\\n再洗碗\r\n" +
                         tail),
                 201);
        QCOMPARE(Put(collection.resolved(QUrl(u"long.ics"_s)),
                     head + "UID:other-2\r\nDTSTAMP:20240101T000000Z\r\nSUMMARY:" + QByteArray(30, 'x') +
                         "\r\n" + tail),
                 201);
        const SyncReport report = Sync(m_a);
        QVERIFY2(report.ok, qPrintable(report.error));
        QCOMPARE(report.broughtIn, 1);
        QCOMPARE(report.notBroughtIn.size(), 1);
        QVERIFY(report.notBroughtIn[0].contains(u"title"_s));
        QCOMPARE(Memos(), QStringList{u"买菜, 做饭\n再洗碗|买菜, 做饭\n再洗碗|家里"_s});
        // The long note was not changed or deleted on the server: another sync still names it.
        QCOMPARE(Sync(m_a).notBroughtIn.size(), 0); // unchanged since: not fetched again
        QCOMPARE(report.uploaded, 0);
    }

    // Syncs killed at twenty random moments (ten sending, ten bringing in), then run through: every
    // memo is on both sides once, and both stores are healthy.
    void aSyncKilledAnywhereLosesAndDoublesNothing()
    {
        START_OR_SKIP(Server(u"radicale"_s));
        Open(m_a);
        // A third of them filed under a category by name only (groupId 0, as older stores and
        // imports have them), which a note brought back here files under the category's id.
        const MemoGroupRecord work = NewGroupRecord(305371800, u"工作");
        QVERIFY(DBI_MemGroupRecycleWriteRecord(&work) > 0);
        for (int i = 0; i < 30; ++i)
            QVERIFY(Add(u"备忘 %1"_s.arg(i), QString(200, QChar(u'文' + i)), i % 3 ? u"全部"_s : u"工作"_s) >
                    0);
        const QStringList memos = Memos();
        MemoStore_Close();
        const auto run = [this](const std::unique_ptr<QTemporaryDir>& dir, int killAfterMs) {
            QProcess runner;
            runner.start(QStringLiteral(MEMOSYNC_RUNNER),
                         {dir->path(), u"sync"_s, m_server->url().toString(), u"tester"_s, u"secret"_s});
            if (!runner.waitForStarted())
                return false;
            if (killAfterMs >= 0 && !runner.waitForFinished(killAfterMs))
                runner.kill();
            runner.waitForFinished(60000);
            return killAfterMs >= 0 ||
                   (runner.exitStatus() == QProcess::NormalExit && runner.exitCode() == 0);
        };
        for (const auto* dir : {&m_a, &m_b}) {
            for (int kill = 0; kill < 10; ++kill)
                QVERIFY(run(*dir, int(QRandomGenerator::global()->bounded(20, 600))));
            QVERIFY(run(*dir, -1));
        }
        for (const auto* dir : {&m_a, &m_b}) {
            Open(*dir);
            QCOMPARE(Memos(), memos);
            // 工作 made on the second machine has an id of its own, never the memos' 0.
            MemoGroupRecord group{};
            QCOMPARE(DBI_MemGroupReadRecordByOrder(1, &group), 1);
            QVERIFY(group.id != 0 && group.id != OTHER_GROUP_ID);
            QCOMPARE(Sync(*dir).requests, 1); // nothing left to do on either side
            MemoStore_Close();
        }
        // A third store sees every note once.
        QTemporaryDir third;
        QVERIFY(MemoStore_Open("sync", third.path().toUtf8().constData()));
        QVERIFY(RunSync({m_server->url(), u"tester"_s, u"secret"_s}).ok);
        QCOMPARE(Memos(), memos);
    }

    // The server goes away in the middle of a sync: the sync fails with the reason, and the next one,
    // with the server back, completes it without doubling anything.
    void aServerStoppedMidSyncIsCaughtUpWithLater()
    {
        START_OR_SKIP(Server(u"radicale"_s));
        Open(m_a);
        for (int i = 0; i < 40; ++i)
            QVERIFY(Add(u"备忘 %1"_s.arg(i), u"正文"_s) > 0);
        const QStringList memos = Memos();
        SyncReport report;
        std::unique_ptr<QThread> thread(QThread::create([&] {
            report = RunSync({m_server->url(), u"tester"_s, u"secret"_s});
        }));
        thread->start();
        QTRY_VERIFY(MemoStore_SyncLinks(nullptr, 0) > 5); // some notes are up
        m_server->stop();
        QVERIFY(thread->wait(60000));
        QVERIFY(!report.ok);
        QVERIFY(!report.error.isEmpty());
        QVERIFY(m_server->start());
        QVERIFY2(RunSync({m_server->url(), u"tester"_s, u"secret"_s}).ok, "the second sync failed");
        QCOMPARE(Memos(), memos);
        Open(m_b);
        QVERIFY(Sync(m_b).ok);
        QCOMPARE(Memos(), memos);
    }

    // A server whose certificate nobody vouches for is refused, with the reason, before anything of
    // the store is sent.
    void anUntrustedCertificateIsRefused()
    {
        START_OR_SKIP(Server(u"radicale-tls"_s));
        Open(m_a);
        QVERIFY(Add(u"私事"_s, u"不该出门"_s) > 0);
        const SyncReport report = RunSync({m_server->url(), u"tester"_s, u"secret"_s});
        QVERIFY(!report.ok);
        QVERIFY2(report.error.contains(u"TLS"_s) && report.error.contains(u"self-signed"_s),
                 qPrintable(report.error));
        QCOMPARE(report.uploaded, 0);
        QCOMPARE(MemoStore_SyncLinks(nullptr, 0), 0);
        QString error;
        QVERIFY(!FindCollection({m_server->url(), u"tester"_s, u"secret"_s}, error).isValid());
        QVERIFY2(error.contains(u"证书"_s), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestCalDavSync)
#include "tst_caldavsync.moc"
