#pragma once
// Each host user's CalDAV settings: the server and account name in the host's settings file, the
// password in the desktop's keyring (without a keyring, typed in once a session). Hands the settings
// of the user whose store is open to the sync, and lets the person change them.
#include <QHash>
#include <QString>
#include <QtGlobal>
#include <functional>

class QWidget;
class SyncController;
struct HostPrompts;

class Q_DECL_EXPORT SyncSettingsKeeper
{
  public:
    // `userName` names the user whose store is open; `showStatus` says why sync did not start (no
    // password). Without a prompt for the settings in `prompts`, the settings dialog asks.
    SyncSettingsKeeper(QWidget* owner, HostPrompts& prompts, std::function<QString()> userName,
                       SyncController& sync, std::function<void(const QString&)> showStatus);
    SyncSettingsKeeper(const SyncSettingsKeeper&) = delete;
    SyncSettingsKeeper& operator=(const SyncSettingsKeeper&) = delete;

    // The settings of the user whose store is open, with the password from the keyring (or asked for
    // once a session when there is none there), handed to the sync; none turn sync off.
    void load();
    // Asks for the open user's settings, keeps them and hands them to the sync.
    void edit();

  private:
    QWidget* m_owner;
    HostPrompts& m_prompts;
    std::function<QString()> m_userName;
    SyncController& m_sync;
    std::function<void(const QString&)> m_showStatus;
    QHash<QString, QString> m_passwords; // typed in or set this session, by keyring account
};
