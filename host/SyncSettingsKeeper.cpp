#include "SyncSettingsKeeper.h"

#include "HostPrompts.h"
#include "SyncController.h"
#include "SyncSecrets.h"
#include "UserStore.h"

#include <QSettings>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

// Settings keys for a host user; the name is written in hex, since it may hold any character.
QString SyncKey(const QString& user, const char* name)
{
    return u"sync/%1/%2"_s.arg(QString::fromLatin1(user.toUtf8().toHex()), QString::fromLatin1(name));
}

QString KeyringAccount(const QString& user, const SyncSettings& settings)
{
    return u"%1 %2 %3"_s.arg(user, settings.user, settings.server.toString());
}

} // namespace

SyncSettingsKeeper::SyncSettingsKeeper(QWidget* owner, HostPrompts& prompts, const UserStore& store,
                                       SyncController& sync, std::function<void(const QString&)> showStatus)
    : m_owner(owner), m_prompts(prompts), m_store(store), m_sync(sync), m_showStatus(std::move(showStatus))
{
}

void SyncSettingsKeeper::load()
{
    const QString user = m_store.userName();
    const QSettings stored;
    SyncSettings settings{QUrl(stored.value(SyncKey(user, "server")).toString()),
                          stored.value(SyncKey(user, "user")).toString(), QString()};
    if (settings.server.isEmpty()) {
        m_sync.useSettings({});
        return;
    }
    const QString account = KeyringAccount(user, settings);
    if (m_passwords.contains(account)) {
        settings.password = m_passwords.value(account);
        m_sync.useSettings(settings);
        return;
    }
    ReadSyncPassword(
        account, m_owner,
        [this, user, account, settings](bool found, const QString& password, const QString& error) mutable {
            if (m_store.userName() != user)
                return; // another user's store is open by now
            settings.password = password;
            if (!found) {
                settings.password = m_prompts.secret(
                    u"同步密码"_s,
                    u"钥匙环中没有这个密码（%1）。\n请输入 %2 在 %3 的密码（只在本次运行中记住）："_s.arg(
                        error, settings.user, settings.server.toString()));
                if (settings.password.isEmpty()) {
                    m_sync.useSettings({});
                    m_showStatus(u"同步未启动：没有密码"_s);
                    return;
                }
                m_passwords.insert(account, settings.password);
            }
            m_sync.useSettings(settings);
        });
}

void SyncSettingsKeeper::edit()
{
    const QString user = m_store.userName();
    if (user.isEmpty())
        return;
    SyncSettings settings = m_sync.settings();
    if (settings.server.isEmpty()) {
        const QSettings stored;
        settings.server = QUrl(stored.value(SyncKey(user, "server")).toString());
        settings.user = stored.value(SyncKey(user, "user")).toString();
    }
    if (!m_prompts.syncSettings(settings))
        return;
    QSettings stored;
    stored.setValue(SyncKey(user, "server"), settings.server.toString());
    stored.setValue(SyncKey(user, "user"), settings.user);
    if (settings.server.isEmpty()) {
        m_sync.useSettings({});
        return;
    }
    const QString account = KeyringAccount(user, settings);
    m_passwords.insert(account, settings.password);
    WriteSyncPassword(account, settings.password, m_owner, [this](bool written, const QString& error) {
        if (!written)
            m_prompts.notice(u"同步设置"_s, u"密码没能存入钥匙环（%1），只在本次运行中记住。"_s.arg(error));
    });
    m_sync.useSettings(settings);
}
