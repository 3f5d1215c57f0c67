// The host's sync against a real Radicale on loopback: settings entered through 数据 → 同步设置…, a
// memo sent up on demand, and brought into a second host's store on its start; a change of the memos
// is sent a few seconds later without being asked.
#include "../sync/CalDavServer.h"

#include <HostWindow.h>
#include <SyncController.h>

#include <DbiMemo.h>
#include <MemoRules.h>
#include <MemoStore.h>

#include <QAction>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList Titles()
{
    QStringList titles;
    for (std::int32_t order = 1; order <= DBI_MemGetValidRecordCount(); ++order) {
        MemoRecord memo{};
        DBI_MemReadRecordByOrder(order, &memo);
        titles << QString::fromStdU16String(std::u16string(MemoTitle(memo)));
    }
    titles.sort();
    return titles;
}

} // namespace

class TestHostSync : public QObject
{
    Q_OBJECT
    QStringList m_errors;

    std::unique_ptr<HostWindow> Host(const QTemporaryDir& dir, const QUrl& server)
    {
        auto host = std::make_unique<HostWindow>(dir.path());
        HostPrompts& prompts = host->prompts();
        prompts.error = [this](const QString&, const QString& text) { m_errors << text; };
        prompts.notice = [](const QString&, const QString&) {}; // the keyring may be missing here
        prompts.secret = [](const QString&, const QString&) { return u"secret"_s; };
        prompts.syncSettings = [server](SyncSettings& settings) {
            settings = {server, u"tester"_s, u"secret"_s};
            return true;
        };
        return host;
    }

  private Q_SLOTS:
    void init() { QSettings().clear(); }

    void aMemoWrittenOnOneHostReachesAnother()
    {
        CalDavServer server(u"radicale"_s);
        START_OR_SKIP(server);
        QTemporaryDir first;
        QTemporaryDir second;
        {
            const std::unique_ptr<HostWindow> host = Host(first, server.url());
            QVERIFY(host->openUser(u"alice"_s));
            const MemoRecord memo = NewMemoRecord(305371800, u"全部", 0, u"从这台来", u"正文");
            QVERIFY(DBI_MemRecycleWriteRecord(&memo) > 0);
            host->findChild<QAction*>(u"syncSettingsAction"_s)->trigger();
            QTRY_VERIFY_WITH_TIMEOUT(!host->sync()->running() && host->sync()->lastReport().uploaded == 1,
                                     20000);
            QVERIFY(host->sync()->statusText().startsWith(u"已同步"_s));
        }
        MemoStore_Close();
        const std::unique_ptr<HostWindow> host = Host(second, server.url());
        QVERIFY(host->openUser(u"alice"_s)); // the settings are this user's; the password is asked once
        QTRY_VERIFY_WITH_TIMEOUT(!host->sync()->running() && host->sync()->lastReport().ok, 20000);
        QCOMPARE(Titles(), QStringList{u"从这台来"_s});

        // A change is sent without being asked, a few seconds after it was made.
        const MemoRecord memo = NewMemoRecord(305371800, u"全部", 0, u"第二条", u"正文");
        QVERIFY(DBI_MemRecycleWriteRecord(&memo) > 0);
        QTRY_VERIFY_WITH_TIMEOUT(host->sync()->lastReport().uploaded == 1, 20000);
        QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
    }
};

QTEST_MAIN(TestHostSync)
#include "tst_hostsync.moc"
