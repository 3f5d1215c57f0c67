#pragma once

// The draft of the open store: what the person typed into the memo panel's detail pane and has not
// saved yet. The panel writes it as the person types, so that edits survive a change of user, the
// host closing, a crash or kill -9; it brings it back into the pane when that user's panel shows
// again. One draft per store. The twelve record operations never see it.
//
// A draft is carried in a MemoRecord: key = the key of the memo it edits (0 for a memo not created
// yet), title, content and groupName = the pane's texts; the other fields are kept as given.

#include "MemoRecord.h"
#include "StoreExport.h"

#include <cstdint>

// Results of MemoStore_DraftWrite and MemoStore_DraftClear.
enum : int {
    MEMO_DRAFT_DONE = 1,
    MEMO_DRAFT_FAILED = 0, // no store open, a null record, or the file could not be written
    MEMO_DRAFT_BUSY = -1,  // another writer holds the store: nothing was waited for, try again later
};

extern "C" {
// Replaces the draft, in one transaction. Never waits for another writer's lock, so that typing is
// never held up: MEMO_DRAFT_BUSY at once instead. On MEMO_DRAFT_FAILED MemoStore_LastError says why.
MEMOSTORE_API int MemoStore_DraftWrite(const MemoRecord* draft);
// Fills draft with the stored draft: 1 when there is one; 0 when none (or no store, or it could not
// be read), and the buffer is untouched.
MEMOSTORE_API int MemoStore_DraftRead(MemoRecord* draft);
// Removes the draft; MEMO_DRAFT_DONE also when there was none. Never waits, like MemoStore_DraftWrite.
MEMOSTORE_API int MemoStore_DraftClear(void);

// Called with context whenever an open store is about to be closed (MemoStore_Close, or
// MemoStore_Open replacing it), while it is still open, so that its user's draft can be written to
// it last. One hook at a time; null removes it. Not called when no store is open. The hook may call
// the library; a MemoStore_Close it calls does nothing more, a MemoStore_Open it calls is refused.
MEMOSTORE_API void MemoStore_SetCloseHook(void (*hook)(void* context), void* context);

// Whether the memo with this key is stored: 1 stored, 0 not (no such key, or deleted), -1 not known
// (no store open, or it could not be read: MemoStore_LastError says why).
MEMOSTORE_API int MemoStore_MemoState(std::int32_t key);
}
