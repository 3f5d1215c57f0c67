#pragma once

// The trash of deleted memos, for the host. DBI_MemDeleteRecord moves a memo here, with the moment of
// its deletion; the twelve record operations never see it. A deleted memo is kept until it is
// restored, the trash is emptied, or the store is opened more than 30 days after the deletion.

#include "MemoRecord.h"
#include "StoreExport.h"

#include <cstdint>

// Results of MemoStore_TrashRestore.
enum : int {
    MEMO_TRASH_RESTORED = 1,
    MEMO_TRASH_FAILED = 0,      // no store open, or the file could not be written
    MEMO_TRASH_STORE_FULL = -1, // the store holds MAX_MEMO_COUNT memos already
    MEMO_TRASH_KEY_IN_USE = -2, // a stored memo has that key
    MEMO_TRASH_NOT_FOUND = -3,  // no deleted memo has that key
};

extern "C" {
// Number of deleted memos in the open store (0 without one).
MEMOSTORE_API std::int32_t MemoStore_TrashCount(void);
// Fills record with the deleted memo at order (1-based, the latest deletion first), its key in the
// key field, and deletedAt (may be null) with the moment of deletion in seconds since the epoch.
// 1 when filled; otherwise 0 and nothing is touched.
MEMOSTORE_API std::int32_t MemoStore_TrashRead(std::int32_t order, MemoRecord* record,
                                               std::int64_t* deletedAt);
// Puts the deleted memo back under its old key, so it takes its old place in the order, byte for
// byte as it was deleted, except that a memo whose category was deleted or renamed meanwhile comes
// back under "其它". A MEMO_TRASH_* result; when refused MemoStore_LastError says why.
MEMOSTORE_API int MemoStore_TrashRestore(std::int32_t key);
// Drops every deleted memo for good; the number dropped, or -1 on failure (MemoStore_LastError).
MEMOSTORE_API std::int32_t MemoStore_TrashEmpty(void);
}
