#pragma once

// What CalDAV sync keeps in the open store, for the sync library: a link per synced memo (its note's
// UID, href and ETag on the server, and the record as last synced) and the collection and sync token
// the links belong to. Every call is one transaction; a memo change and the link that describes it
// are written together, so a sync interrupted anywhere leaves the store consistent.

#include "MemoGroupRecord.h"
#include "MemoRecord.h"
#include "StoreExport.h"

#include <cstdint>

// Sizes of the text fields of a link, with their terminating NUL.
enum : int { MEMO_SYNC_UID_SIZE = 128, MEMO_SYNC_HREF_SIZE = 512, MEMO_SYNC_ETAG_SIZE = 192 };

struct MemoSyncLink
{
    std::int32_t key;       // the memo's key (its memo may have been deleted here since)
    std::int32_t hasSynced; // synced holds the record as last synced
    char uid[MEMO_SYNC_UID_SIZE];
    char href[MEMO_SYNC_HREF_SIZE];
    char etag[MEMO_SYNC_ETAG_SIZE]; // "" while an upload is not confirmed
    MemoRecord synced;
};

// Results of the calls below.
enum : int {
    MEMO_SYNC_DONE = 1,
    MEMO_SYNC_FAILED = 0,      // no store open, bad arguments, or the file could not be written
    MEMO_SYNC_MEMOS_FULL = 2,  // the store holds MAX_MEMO_COUNT memos already
    MEMO_SYNC_GROUPS_FULL = 3, // the store holds MAX_GROUP_COUNT categories already
    MEMO_SYNC_NOT_FOUND = 4,   // no memo has the key
};

extern "C" {
// Binds the calling thread's later calls below to the store open now: once that store is closed,
// replaced by another user's or restored from a backup, they fail instead of writing into the store
// that took its place. 1, or 0 when no store is open.
MEMOSTORE_API int MemoStore_SyncBegin(void);
// Ends that binding of the calling thread.
MEMOSTORE_API void MemoStore_SyncEnd(void);
// Copies up to capacity links, by key, into out; returns how many there are (call again with more room
// when that is more than capacity), or -1 when they could not be read.
MEMOSTORE_API std::int32_t MemoStore_SyncLinks(MemoSyncLink* out, std::int32_t capacity);
// Writes the links of memos links[i].key, replacing the ones they had, in one transaction.
MEMOSTORE_API int MemoStore_SyncWriteLinks(const MemoSyncLink* links, std::int32_t count);
MEMOSTORE_API int MemoStore_SyncRemoveLink(std::int32_t key);
// Brings a note from the server into the store: key 0 adds record as a new memo, otherwise memo key
// is replaced by it. newGroup, when not null, is a category added first (its name is record's). The
// link is written for the memo, with link->key set to its key, and synced = the stored record; with
// no link (key 0 only), the memo is added without one, as a memo made here would be.
MEMOSTORE_API int MemoStore_SyncBringIn(std::int32_t key, const MemoRecord* record,
                                        const _DBI_MEMO_Group_ST* newGroup, MemoSyncLink* link);
// The note was deleted on the server: the memo moves to the trash and loses its link.
MEMOSTORE_API int MemoStore_SyncTrashMemo(std::int32_t key);
// The collection the links belong to and the last sync token; "" for both before the first sync.
MEMOSTORE_API int MemoStore_SyncGetState(char* collection, std::int32_t collectionSize, char* token,
                                         std::int32_t tokenSize);
// Stores them; a collection other than the stored one drops every link first (its memos are then
// new to that collection).
MEMOSTORE_API int MemoStore_SyncSetState(const char* collection, const char* token);
}
