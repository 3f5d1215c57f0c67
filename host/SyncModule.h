#pragma once
// Loads the sync library when it is first needed: when a user whose settings name a server opens
// their store, or when the person asks for sync. Until then sync costs nothing; once loaded it
// stays loaded and follows every user switch.
#include "HostSync.h"

#include <memory>

class SyncModule
{
  public:
    SyncModule(HostSync::Hooks hooks, QString libraryPath);
    SyncModule(const SyncModule&) = delete;
    SyncModule& operator=(const SyncModule&) = delete;
    ~SyncModule();

    // A user's store was opened: their settings go to the sync, loaded if they name a server.
    void userOpened();
    void edit();
    void syncNow();
    void stop();
    // Null until the library is loaded.
    SyncController* controller() const;

  private:
    // The sync, loaded now if need be; null, with the reason given, when the library cannot be.
    HostSync* sync(bool reportFailure);

    HostSync::Hooks m_hooks;
    QString m_libraryPath;
    std::unique_ptr<HostSync> m_sync;
};
