#pragma once

// Host-side control of the record store: which user's store the record operations work on.
// All functions are meant for the host's GUI thread; they are serialised internally all the same.
// The host's other functions of the store: MemoTrash.h (deleted memos), MemoBackups.h (backup
// copies), MemoBatch.h (adding an import in one transaction), MemoDraft.h (the memo panel's unsaved
// edit, memo states and the hook run before a store closes) and MemoGroups.h (category changes with
// their memos in one transaction).

#include "StoreExport.h"

extern "C" {
// Opens (creating if absent) the store of userName (UTF-8) inside dataDir (UTF-8; null or empty = the
// platform's application data folder, $XDG_DATA_HOME/zorva-memo or ~/.local/share/zorva-memo). Closes
// any store that was open. Returns 1 on success, 0 on failure (then MemoStore_LastError says why, in
// one sentence a user can read). Refused, and left exactly as they are with nothing added beside
// them: a user name that is not valid UTF-8, a path that is not a regular file (or a link to one), a
// file this user may not write, and a file that is not a healthy memo store. Folders and files made
// here are private to their owner (0700 and 0600, whatever the umask).
MEMOSTORE_API int MemoStore_Open(const char* userName, const char* dataDir);
// 1 when something lies where userName's store would be (MemoStore_Open then opens it rather than
// creating an empty one), 0 otherwise; nothing is created.
MEMOSTORE_API int MemoStore_Exists(const char* userName, const char* dataDir);
MEMOSTORE_API void MemoStore_Close(void);
MEMOSTORE_API int MemoStore_IsOpen(void);
MEMOSTORE_API const char* MemoStore_LastError(void);   // the calling thread's; valid until its next call
MEMOSTORE_API const char* MemoStore_CurrentPath(void); // database file of the open store, "" when none

// Called with context, once per opened store, by the first write that finds another file (or none)
// at the store's path: the file was renamed or copied over while it was open. That write and every
// later one fail until the store is opened again (MemoStore_Open, which runs the checks of a fresh
// start). The hook runs inside the failing call, under the library's lock: it may only take note and
// act later. One hook at a time; null removes it.
MEMOSTORE_API void MemoStore_SetReplacedHook(void (*hook)(void* context), void* context);

// Called with context after each record operation (DBI_Mem*), category change (MemoGroups.h),
// restore from the trash or from a backup, or batch add that changed the open store, inside the call and
// under the library's lock, like the replaced hook: the host learns that the memos changed, to send them to
// the server soon. One hook at a time.
MEMOSTORE_API void MemoStore_SetChangeHook(void (*hook)(void* context), void* context);
}
