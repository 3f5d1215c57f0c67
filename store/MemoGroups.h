#pragma once

// Changes of a category together with the memos filed under it, each in one transaction, for the
// category editor: a failure halfway leaves the category and its memos exactly as they were.

#include "MemoGroupRecord.h"
#include "MemoRecord.h"
#include "StoreExport.h"

#include <cstdint>

extern "C" {
// Replaces the category record with key groupKey by `group`, and each of the `memoCount` memos by
// the record given for it (by the key field of each record), all in one transaction. 1 when all of
// it was written; 0 when nothing was (no store open, a null record, an unknown key, or the file
// could not be written; MemoStore_LastError says why).
MEMOSTORE_API int MemoStore_GroupRename(std::int32_t groupKey, const _DBI_MEMO_Group_ST* group,
                                        const MemoRecord* memos, std::int32_t memoCount);
// Replaces each of the `memoCount` memos by the record given for it, deletes the category record
// with key groupKey and packs the category table, all in one transaction. 1 or 0 as above.
MEMOSTORE_API int MemoStore_GroupDelete(std::int32_t groupKey, const MemoRecord* memos,
                                        std::int32_t memoCount);
}
