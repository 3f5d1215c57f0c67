#pragma once

// Backups of the open store, for the host. Copies are taken with SQLite's online backup API into the
// folder "backups" beside the store files (made 0700), one file per copy (0600), named after the
// store file and the local moment of the copy: "memo-<hex of the user name>.YYYYMMDD-hhmmss.db".
// The seven copies of each user made last are kept; which were made last is kept in a file beside them
// (".memo-<hex>.order"), so that copies named by a clock that was wrong are pruned in their turn.

#include "StoreExport.h"

#include <cstdint>

// Results of MemoStore_BackUp.
enum : int {
    MEMO_BACKUP_WRITTEN = 1,
    MEMO_BACKUP_FAILED = 0,  // MemoStore_LastError says why
    MEMO_BACKUP_NOT_DUE = 2, // there is a copy of the same day already
};

extern "C" {
// Copies the open store, as it is at `now` (seconds since the epoch). With onceADay set nothing is
// written when this user has a copy of the same local day. A store that fails SQLite's quick check
// is not copied. After a copy, the copies made first are removed so that seven remain, never the one
// just written. A MEMO_BACKUP_* result.
MEMOSTORE_API int MemoStore_BackUp(std::int64_t now, int onceADay);
// The open store's copies, the one made last first, as paths separated by '\n'; "" when there are none or no
// store is open. Valid until the next call.
MEMOSTORE_API const char* MemoStore_Backups(void);
// Replaces the open store's memos, categories and trash with those of the copy at path (the draft
// stays as it is): the copy must be a healthy memo store, and the store as it is now is copied first,
// as MemoStore_BackUp copies it (so that copy counts against the seven). The store is then opened again (a
// copy of an older format is upgraded). 1 on success; 0 when nothing was changed (MemoStore_LastError says
// why). Should the store not open again, MemoStore_IsOpen says so.
// How many memos the copy at path holds (its trash not counted); -1 when it is not a healthy memo
// store. The copy is only read.
MEMOSTORE_API int MemoStore_BackupMemoCount(const char* path);
MEMOSTORE_API int MemoStore_RestoreBackup(const char* path, std::int64_t now);
}
