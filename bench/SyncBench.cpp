// CalDAV sync against the plain requests it stands for, on a Radicale started on loopback: 100 new
// memos sent up against the same 100 PUTs made directly with QNetworkAccessManager, and a sync with
// nothing to do against one raw sync-collection REPORT.
#include "CalDavServer.h"
#include "CalDavSync.h"
#include "JournalMapping.h"
#include "RatioReporter.h"

#include <DbiMemo.h>
#include <MemoRules.h>
#include <MemoStore.h>
#include <MemoSync.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTemporaryDir>
#include <QUuid>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

CalDavServer* g_server = nullptr;

QUrl Collection()
{
    QUrl url = g_server->url();
    url.setPath(QStringLiteral("/tester/") + QUuid::createUuid().toString(QUuid::WithoutBraces) + u'/');
    return url;
}

int Send(QNetworkAccessManager& network, const QByteArray& verb, const QUrl& url, const QByteArray& body,
         const QList<QPair<QByteArray, QByteArray>>& headers)
{
    QNetworkRequest request(url);
    request.setRawHeader("Authorization", "Basic " + QByteArray("tester:secret").toBase64());
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);
    std::unique_ptr<QNetworkReply> reply(network.sendCustomRequest(request, verb, body));
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    reply->readAll();
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

QUrl MakeCollection(QNetworkAccessManager& network)
{
    const QUrl url = Collection();
    Send(network, "MKCALENDAR", url,
         "<?xml version=\"1.0\"?><C:mkcalendar xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\">"
         "<D:set><D:prop><C:supported-calendar-component-set><C:comp name=\"VJOURNAL\"/>"
         "</C:supported-calendar-component-set></D:prop></D:set></C:mkcalendar>",
         {{"Content-Type", "application/xml"}});
    return url;
}

MemoRecord Memo(int i)
{
    return NewMemoRecord(305371800 + i, u"全部", 0, QStringLiteral("备忘 %1").arg(i).toStdU16String(),
                         std::u16string(200, u'文'));
}

void Sync_Upload100(benchmark::State& state)
{
    QNetworkAccessManager network;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        MemoStore_Open("bench", dir.path().toUtf8().constData());
        for (int i = 0; i < 100; ++i) {
            const MemoRecord memo = Memo(i);
            DBI_MemRecycleWriteRecord(&memo);
        }
        MemoStore_SyncSetState(MakeCollection(network).toString().toUtf8().constData(), "");
        state.ResumeTiming();
        const SyncReport report =
            RunSync({g_server->url(), QStringLiteral("tester"), QStringLiteral("secret")});
        if (!report.ok || report.uploaded != 100)
            state.SkipWithError(report.error.toUtf8().constData());
        state.PauseTiming();
        MemoStore_Close();
        state.ResumeTiming();
    }
}

void Raw_Put100(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        QNetworkAccessManager maker;
        const QUrl collection = MakeCollection(maker);
        std::vector<QByteArray> bodies;
        for (int i = 0; i < 100; ++i)
            bodies.push_back(QByteArray::fromStdString(MemoToICalendar(Memo(i), std::to_string(i), 0)));
        state.ResumeTiming();
        QNetworkAccessManager network; // one client per sync, as the sync has
        for (int i = 0; i < 100; ++i)
            Send(network, "PUT", collection.resolved(QUrl(QString::number(i) + QStringLiteral(".ics"))),
                 bodies[i], {{"Content-Type", "text/calendar"}, {"If-None-Match", "*"}});
    }
}

QTemporaryDir* g_idleStore = nullptr;

// One raw sync-collection REPORT from the idle store's token, with a client of its own.
void RawReport()
{
    char collection[1024];
    char token[1024];
    MemoStore_SyncGetState(collection, sizeof collection, token, sizeof token);
    const QByteArray body = "<?xml version=\"1.0\"?><D:sync-collection xmlns:D=\"DAV:\"><D:sync-token>" +
                            QByteArray(token) +
                            "</D:sync-token><D:sync-level>1</D:sync-level><D:prop><D:getetag/></D:prop>"
                            "</D:sync-collection>";
    QNetworkAccessManager network; // one client per sync, as the sync has
    Send(network, "REPORT", QUrl(QString::fromUtf8(collection)), body,
         {{"Content-Type", "application/xml"}, {"Depth", "0"}});
}

void IdleSync(benchmark::State& state)
{
    const SyncReport report = RunSync({g_server->url(), QStringLiteral("tester"), QStringLiteral("secret")});
    if (!report.ok || report.requests != 1)
        state.SkipWithError("the idle sync sent more than one request");
}

// The two alternate, each timing only its own, so that both meet the server in the same state.
void Sync_NothingChanged(benchmark::State& state)
{
    MemoStore_Open("bench", g_idleStore->path().toUtf8().constData());
    for (auto _ : state) {
        state.PauseTiming();
        RawReport();
        state.ResumeTiming();
        IdleSync(state);
    }
    MemoStore_Close();
}

void Raw_Report(benchmark::State& state)
{
    MemoStore_Open("bench", g_idleStore->path().toUtf8().constData());
    for (auto _ : state) {
        state.PauseTiming();
        IdleSync(state);
        state.ResumeTiming();
        RawReport();
    }
    MemoStore_Close();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    CalDavServer server(QStringLiteral("radicale"));
    if (!server.start()) {
        std::fprintf(stderr, "Radicale (/usr/bin/radicale) could not be started\n");
        return 1;
    }
    g_server = &server;
    QTemporaryDir idle;
    g_idleStore = &idle;
    MemoStore_Open("bench", idle.path().toUtf8().constData());
    for (int i = 0; i < 100; ++i) {
        const MemoRecord memo = Memo(i);
        DBI_MemRecycleWriteRecord(&memo);
    }
    RunSync({server.url(), QStringLiteral("tester"), QStringLiteral("secret")});
    MemoStore_Close();

    RegisterRepeated("Sync_Upload100", Sync_Upload100, 3, 3);
    RegisterRepeated("Raw_Put100", Raw_Put100, 3, 3);
    RegisterRepeated("Sync_NothingChanged", Sync_NothingChanged, 50, 3);
    RegisterRepeated("Raw_Report", Raw_Report, 50, 3);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const bool met = reporter.PrintRatios(
        {{"100 new memos sent up vs 100 PUTs", "Sync_Upload100", "Raw_Put100", 1.3},
         {"a sync with nothing to do vs one REPORT", "Sync_NothingChanged", "Raw_Report", 1.2}},
        "CalDAV sync against the plain requests, Radicale on loopback");
    return met ? 0 : 1;
}
