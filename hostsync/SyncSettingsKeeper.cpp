#include "SyncSettingsKeeper.h"

#include "HostPrompts.h"
#include "HostSync.h"
#include "SyncController.h"
#include "SyncDialog.h"
#include "SyncSecrets.h"

#include <QSettings>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

// The settings dialog over the window while it is on screen.
bool AskInDialog(QWidget* owner, SyncSettings& settings)
{
    SyncDialog dialog(settings, owner && owner->isVisible() ? owner : nullptr);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    settings = dialog.settings();
    return true;
}

QString KeyringAccount(const QString& user, const SyncSettings& settings)
{
    return u"%1 %2 %3"_s.arg(user, settings.user, settings.server.toString());
}

} // namespace

SyncSettingsKeeper::SyncSettingsKeeper(QWidget* owner, HostPrompts& prompts,
                                       std::function<QString()> userName, SyncController& sync,
                                       std::function<void(const QString&)> showStatus)
    : m_owner(owner), m_prompts(prompts), m_userName(std::move(userName)), m_sync(sync),
      m_showStatus(std::move(showStatus))
{
}

void SyncSettingsKeeper::load()
{
    const QString user = m_userName();
    const QSettings stored;
    SyncSettings settings{QUrl(stored.value(SyncSettingsKey(user, "server")).toString()),
                          stored.value(SyncSettingsKey(user, "user")).toString(), QString()};
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
            if (m_userName() != user)
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
    const QString user = m_userName();
    if (user.isEmpty())
        return;
    SyncSettings settings = m_sync.settings();
    if (settings.server.isEmpty()) {
        const QSettings stored;
        settings.server = QUrl(stored.value(SyncSettingsKey(user, "server")).toString());
        settings.user = stored.value(SyncSettingsKey(user, "user")).toString();
    }
    if (!(m_prompts.syncSettings ? m_prompts.syncSettings(settings) : AskInDialog(m_owner, settings)))
        return;
    QSettings stored;
    stored.setValue(SyncSettingsKey(user, "server"), settings.server.toString());
    stored.setValue(SyncSettingsKey(user, "user"), settings.user);
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
