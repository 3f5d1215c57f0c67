#pragma once

// Adding many records at once, for the host's import: one transaction, all or nothing.

#include "MemoGroupRecord.h"
#include "MemoRecord.h"
#include "StoreExport.h"

#include <cstdint>

// Results of MemoStore_AddRecords.
enum : int {
    MEMO_BATCH_ADDED = 1,
    MEMO_BATCH_FAILED = 0,       // no store open, bad arguments, or the file could not be written
    MEMO_BATCH_MEMOS_FULL = -1,  // the memos would pass MAX_MEMO_COUNT
    MEMO_BATCH_GROUPS_FULL = -2, // the categories (not counting 全部 and 其它) would pass MAX_GROUP_COUNT
};

extern "C" {
// Stores the categories, then the memos, each as its recycle write would (new keys, in the order
// given, after every stored record), in one transaction. The limits are checked inside it against
// what the file holds then. A MEMO_BATCH_* result; when refused MemoStore_LastError says why.
MEMOSTORE_API int MemoStore_AddRecords(const MemoRecord* memos, std::int32_t memoCount,
                                       const _DBI_MEMO_Group_ST* groups, std::int32_t groupCount);
}
