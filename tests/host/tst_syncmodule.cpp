// The sync library is loaded only when it is needed: not for a user without sync settings, at once
// for one with them, and from then on it follows every user switch. A sync library that cannot be
// loaded is said in the status bar, and in a message when the person asked for sync; nothing else
// changes. This test does not link the sync library: what is mapped is what the host loaded.
#include <HostPrompts.h>
#include <HostSync.h>
#include <HostWindow.h>
#include <SyncModule.h>

#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

bool Mapped(const char* library)
{
    QFile maps(u"/proc/self/maps"_s);
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(library);
}

} // namespace

class TestSyncModule : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void init() { QSettings().clear(); }

    void theLibraryIsLoadedForTheFirstUserWithSettings()
    {
        QTemporaryDir dir;
        HostWindow host(dir.path());
        QStringList errors;
        host.prompts().error = [&errors](const QString&, const QString& text) { errors << text; };
        host.prompts().notice = [](const QString&, const QString&) {}; // the keyring may be missing here
        host.prompts().secret = [](const QString&, const QString&) { return u"secret"_s; };
        auto* status = host.findChild<QLabel*>(u"syncStatus"_s);
        QVERIFY(status);

        QVERIFY(host.openUser(u"alice"_s));
        QVERIFY(!host.sync());
        for (const char* library : {"libmemohostsync", "libical", "libQt6Network", "qt6keychain"})
            QVERIFY2(!Mapped(library), library);

        // Nothing listens on the discard port: the run fails at once and says so.
        QSettings().setValue(SyncSettingsKey(u"bob"_s, "server"), u"http://127.0.0.1:9/dav/"_s);
        QSettings().setValue(SyncSettingsKey(u"bob"_s, "user"), u"bob"_s);
        QVERIFY(host.switchUser(u"bob"_s));
        QVERIFY(host.sync());
        QVERIFY(Mapped("libmemohostsync"));
        QTRY_VERIFY_WITH_TIMEOUT(status->text().startsWith(u"同步失败"_s), 10000);

        // Loaded, it turns sync off for a user without settings.
        QVERIFY(host.switchUser(u"alice"_s));
        QVERIFY(status->text().isEmpty());
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
    }

    void aMissingLibraryIsSaidNotFatal()
    {
        QWidget owner;
        HostPrompts prompts(&owner);
        QStringList errors;
        prompts.error = [&errors](const QString&, const QString& text) { errors << text; };
        QString status;
        QString details;
        HostSync::Hooks hooks;
        hooks.owner = &owner;
        hooks.prompts = &prompts;
        hooks.userName = [] { return u"bob"_s; };
        hooks.storeChanged = [] {};
        hooks.showStatus = [&status](const QString& text) { status = text; };
        hooks.showDetails = [&details](const QString& text) { details = text; };
        SyncModule sync(std::move(hooks), u"/nonexistent/libmemohostsync.so"_s);

        sync.userOpened(); // no settings: nothing is tried
        QVERIFY(status.isEmpty());

        QSettings().setValue(SyncSettingsKey(u"bob"_s, "server"), u"http://127.0.0.1:9/dav/"_s);
        sync.userOpened(); // at start-up: the status bar says it, no message box
        QCOMPARE(status, u"同步不可用"_s);
        QVERIFY(details.contains(u"nonexistent"_s));
        QVERIFY(errors.isEmpty());

        sync.syncNow(); // asked for: a message
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.first().contains(u"同步功能没能加载"_s));
        sync.stop();
        QVERIFY(!sync.controller());
    }
};

QTEST_MAIN(TestSyncModule)
#include "tst_syncmodule.moc"
