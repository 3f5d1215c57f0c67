// Each host user's sync settings: what the person sets is kept for that user (server and account in
// the settings file, the password for the session), comes back when that user's store opens again,
// and reaches no other user; cancelling changes nothing, and no server turns sync off.
#include <HostPrompts.h>
#include <SyncController.h>
#include <SyncDialog.h>
#include <SyncSettingsKeeper.h>
#include <UserStore.h>

#include <MemoStore.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace Qt::StringLiterals;

class TestSyncSettings : public QObject
{
    Q_OBJECT

    // No server listens on the discard port: a run started on these settings fails at once.
    const QUrl kServer{u"http://127.0.0.1:9/dav/"_s};

  private Q_SLOTS:
    void init()
    {
        QSettings().clear();
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<UserStore>(m_dir->path());
        m_sync = std::make_unique<SyncController>([] {});
        m_owner = std::make_unique<QWidget>();
        m_prompts = std::make_unique<HostPrompts>(m_owner.get());
        m_prompts->notice = [](const QString&, const QString&) {}; // the keyring may be missing here
        m_keeper = std::make_unique<SyncSettingsKeeper>(
            m_owner.get(), *m_prompts, [this] { return m_store->userName(); }, *m_sync,
            [this](const QString& text) { m_status = text; });
        QString error;
        QVERIFY2(m_store->open(u"alice"_s, error), qPrintable(error));
    }
    void cleanup()
    {
        m_owner.reset(); // with the keyring's answers still on their way
        m_keeper.reset();
        m_sync.reset();
        m_store.reset();
        m_dir.reset();
    }

    // A reason of several lines from 测试连接 gets the room it needs: the dialog grows, and the
    // fields above it keep their height.
    void aLongTestResultGrowsTheDialog()
    {
        // A server that answers a TLS handshake with plain text: the reason says what TLS needs.
        QTcpServer plain;
        QVERIFY(plain.listen(QHostAddress::LocalHost));
        connect(&plain, &QTcpServer::newConnection, &plain, [&plain] {
            while (QTcpSocket* socket = plain.nextPendingConnection())
                socket->write("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n");
        });
        SyncDialog dialog(
            {QUrl(u"https://127.0.0.1:%1/dav/"_s.arg(plain.serverPort())), u"alice"_s, u"pw"_s});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* server = dialog.findChild<QLineEdit*>(u"syncServer"_s);
        const int fieldHeight = server->height();
        dialog.findChild<QPushButton*>(u"syncTest"_s)->click();
        QVERIFY2(dialog.testResult().startsWith(u"连接失败"_s), qPrintable(dialog.testResult()));
        auto* result = dialog.findChild<QLabel*>(u"syncTestResult"_s);
        QTRY_VERIFY(result->height() >= result->heightForWidth(result->width()));
        QCOMPARE(server->height(), fieldHeight);
    }

    void settingsAreTheUsersOwn()
    {
        m_prompts->syncSettings = [this](SyncSettings& settings) {
            settings = {kServer, u"tester"_s, u"secret"_s};
            return true;
        };
        m_keeper->edit();
        QCOMPARE(m_sync->settings().server, kServer);
        QCOMPARE(QSettings().allKeys().filter(u"sync/"_s).size(), 2); // server and account; no password

        // Opened again: the same settings, with the password typed in this session.
        m_sync->useSettings({});
        m_keeper->load();
        QCOMPARE(m_sync->settings().server, kServer);
        QCOMPARE(m_sync->settings().user, u"tester"_s);
        QCOMPARE(m_sync->settings().password, u"secret"_s);

        m_sync->stop(); // as switching users does, before the store changes
        QString error;
        QVERIFY(m_store->open(u"bob"_s, error));
        m_keeper->load();
        QVERIFY(!m_sync->enabled());
        QVERIFY(m_status.isEmpty());
    }

    void cancellingOrNoServerTurnsNothingOn()
    {
        m_prompts->syncSettings = [this](SyncSettings& settings) {
            settings = {kServer, u"tester"_s, u"secret"_s};
            return false;
        };
        m_keeper->edit();
        QVERIFY(!m_sync->enabled());
        QVERIFY(QSettings().allKeys().isEmpty());

        m_prompts->syncSettings = [](SyncSettings& settings) {
            settings = {};
            return true;
        };
        m_keeper->edit();
        QVERIFY(!m_sync->enabled());
        m_keeper->load();
        QVERIFY(!m_sync->enabled());
    }

  private:
    std::unique_ptr<QWidget> m_owner;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<UserStore> m_store;
    std::unique_ptr<SyncController> m_sync;
    std::unique_ptr<HostPrompts> m_prompts;
    std::unique_ptr<SyncSettingsKeeper> m_keeper;
    QString m_status;
};

QTEST_MAIN(TestSyncSettings)
#include "tst_syncsettings.moc"
