#include "MemoBackups.h"

#include "Connection.h"
#include "StoreBackup.h"
#include "StoreFiles.h"
#include "StoreSchema.h"
#include "StoreState.h"

#include <sqlite3.h>

extern "C" {

int MemoStore_BackUp(std::int64_t now, int onceADay)
{
    return WithOpenStore(static_cast<int>(MEMO_BACKUP_FAILED), [&](StoreState& s) {
        return WriteBackup(s.session->Handle(), s.session->Path(), now, onceADay != 0, ThreadLastError());
    });
}

const char* MemoStore_Backups(void)
{
    StoreState& store = TheStore();
    std::lock_guard lock(store.mutex);
    store.backupList.clear();
    if (store.session) {
        for (const std::string& path : BackupsOf(store.session->Path()))
            store.backupList += (store.backupList.empty() ? "" : "\n") + path;
    }
    return store.backupList.c_str();
}

int MemoStore_BackupMemoCount(const char* path)
{
    std::string error;
    if (!path || !CheckBackupFile(path, error))
        return -1;
    Connection copy;
    if (!copy.Open(ImmutableUri(path), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, error))
        return -1;
    const std::optional<std::int64_t> count = copy.QueryInt("SELECT count(*) FROM memo", error);
    return count ? int(*count) : -1;
}

int MemoStore_RestoreBackup(const char* path, std::int64_t now)
{
    return WithOpenStore(0, [&](StoreState& s) {
        if (!path || path[0] == '\0') {
            ThreadLastError() = "No backup was named, so nothing was restored.";
            return 0;
        }
        const std::string storePath = s.session->Path();
        if (!CheckBackupFile(path, ThreadLastError()))
            return 0;
        const std::optional<FileSnapshot> backup = Snapshot(path);
        const std::optional<FileSnapshot> store = Snapshot(storePath);
        if (backup && store && backup->device == store->device && backup->inode == store->inode) {
            ThreadLastError() =
                std::string("The file ") + path + " is the memo store itself, not a backup of it.";
            return 0;
        }
        std::string reason;
        if (WriteBackup(s.session->Handle(), storePath, now, false, reason, path) != MEMO_BACKUP_WRITTEN) {
            ThreadLastError() =
                "Nothing was restored, because the store as it is could not be backed up first. " + reason;
            return 0;
        }
        // The draft is what is being typed now, not part of what the copy brings back: it is kept.
        MemoRecord draft{};
        const bool hadDraft = s.session->ReadDraft(&draft);
        s.session.reset();
        ++s.generation;
        std::string copyError;
        const bool copied = CopyBackupInto(path, storePath, copyError);
        std::string openError;
        if (CheckStoreFile(storePath, openError))
            s.session = StoreSession::Open(storePath, openError);
        if (!s.session) {
            s.currentPath.clear();
            ThreadLastError() = (copied ? std::string() : copyError + " ") + openError;
            return 0;
        }
        PassOnReplacement(s);
        PruneBackups(storePath); // the copy restored from was spared until now
        if (!copied) {
            ThreadLastError() = copyError + " The store was left as it was.";
            return 0;
        }
        std::string ignored; // the memo panel writes its draft again with the next keystroke
        if (hadDraft)
            s.session->WriteDraft(draft, ignored);
        else
            s.session->ClearDraft(ignored);
        TellOfChange(s);
        return 1;
    });
}

} // extern "C"
