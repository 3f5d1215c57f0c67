#pragma once
// CalDAV sync as the host window sees it. The sync and what it needs (Qt Network, libical, the
// keyring) live in a library of their own that the host loads only once a user has sync settings
// or asks for them (host/SyncModule.h): a user who never syncs does not pay for it at start-up.
#include <QString>
#include <functional>

class QWidget;
class SyncController;
struct HostPrompts;

class HostSync
{
  public:
    struct Hooks
    {
        QWidget* owner = nullptr; // what dialogs and keyring jobs belong to
        HostPrompts* prompts = nullptr;
        std::function<QString()> userName;                    // the user whose store is open
        std::function<void()> storeChanged;                   // a run changed the store
        std::function<void(const QString& text)> showStatus;  // the sync's line in the status bar
        std::function<void(const QString& text)> showDetails; // what pointing at that line names
    };

    HostSync() = default;
    HostSync(const HostSync&) = delete;
    HostSync& operator=(const HostSync&) = delete;
    virtual ~HostSync() = default;

    // The open user's settings handed to the sync; none turn it off.
    virtual void load() = 0;
    // 同步设置…: asks for the open user's settings and keeps them.
    virtual void edit() = 0;
    // 立即同步: a run now, or the settings first when there are none.
    virtual void syncNow() = 0;
    // Breaks off a run under way and waits for it; before the open store is closed or replaced.
    virtual void stop() = 0;
    // The sync itself, for tests that watch its runs.
    virtual SyncController* controller() = 0;
};

// The one function the sync library exports: a new HostSync the caller owns.
using MakeHostSyncFunction = HostSync* (*)(const HostSync::Hooks& hooks);
inline constexpr char kMakeHostSyncSymbol[] = "MemoHost_MakeSync";
inline constexpr char kHostSyncLibrary[] = "libmemohostsync.so";

// Settings-file keys of a host user's sync; the name is written in hex, since it may hold any
// character.
inline QString SyncSettingsKey(const QString& user, const char* name)
{
    return QStringLiteral("sync/%1/%2")
        .arg(QString::fromLatin1(user.toUtf8().toHex()), QString::fromLatin1(name));
}
