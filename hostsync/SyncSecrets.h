#pragma once
// The sync password of a host user, kept in the desktop's keyring through QtKeychain, never in a file
// or a log. Both calls answer through `done`, from the event loop; without a keyring they fail with
// the keyring's reason.
#include <QString>
#include <functional>

class QObject;

void ReadSyncPassword(const QString& account, QObject* context,
                      std::function<void(bool found, const QString& password, const QString& error)> done);
void WriteSyncPassword(const QString& account, const QString& password, QObject* context,
                       std::function<void(bool written, const QString& error)> done);
