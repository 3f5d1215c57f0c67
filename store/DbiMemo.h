#pragma once

// The twelve record operations the memo module calls. Records are copied byte for byte; a record's
// key is assigned by the store on its first write and never given to another record. Orders run from
// 1 to the count in ascending key order, so a modification keeps a record's order and a new record
// lands last. Every write is one durable transaction. With no open store, a null buffer, an order out
// of range or an unknown key nothing changes, reads leave the buffer untouched, and the result is 0.

#include "MemoGroupRecord.h"
#include "MemoRecord.h"
#include "StoreExport.h"

#include <cstdint>

extern "C" {
// Number of stored memos.
MEMOSTORE_API std::int32_t DBI_MemGetValidRecordCount(void);
// Fill record with the memo at order (1-based) or with the given key; 1 when filled.
MEMOSTORE_API std::int32_t DBI_MemReadRecordByOrder(std::int32_t order, MemoRecord* record);
MEMOSTORE_API std::int32_t DBI_MemReadRecord(std::int32_t key, MemoRecord* record);
// Store a new memo; returns its key (0 when nothing was stored).
MEMOSTORE_API std::int32_t DBI_MemRecycleWriteRecord(const MemoRecord* record);
// Replace the memo with the given key; 1 when it was replaced.
MEMOSTORE_API std::int32_t DBI_MemModifyRecord(std::int32_t key, const MemoRecord* record);
// Moves the memo into the trash (see MemoTrash.h), where none of these operations sees it; 1 when done.
MEMOSTORE_API std::int32_t DBI_MemDeleteRecord(std::int32_t key);

MEMOSTORE_API std::int32_t DBI_MemGroupGetValidRecordCount(void);
MEMOSTORE_API std::int32_t DBI_MemGroupReadRecordByOrder(std::int32_t order, _DBI_MEMO_Group_ST* record);
// Store a new category; returns its key (0 when nothing was stored).
MEMOSTORE_API std::int32_t DBI_MemGroupRecycleWriteRecord(const _DBI_MEMO_Group_ST* record);
MEMOSTORE_API std::int32_t DBI_MemGroupModifyRecord(std::int32_t key, const _DBI_MEMO_Group_ST* record);
MEMOSTORE_API std::int32_t DBI_MemGroupDeleteRecord(std::int32_t key);
// Compact the category table after deletions; 1 on success.
MEMOSTORE_API std::int32_t DBI_MemGroupPack(void);
}
