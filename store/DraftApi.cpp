#include "MemoDraft.h"

#include "StoreState.h"

extern "C" {

int MemoStore_DraftWrite(const MemoRecord* draft)
{
    return WithOpenStore(static_cast<int>(MEMO_DRAFT_FAILED), [&](StoreState& s) {
        if (!draft) {
            ThreadLastError() = "No draft was given, so none was written.";
            return static_cast<int>(MEMO_DRAFT_FAILED);
        }
        return s.session->WriteDraft(*draft, ThreadLastError());
    });
}

int MemoStore_DraftRead(MemoRecord* draft)
{
    if (!draft)
        return 0;
    return WithOpenStore(0, [&](StoreState& s) { return s.session->ReadDraft(draft) ? 1 : 0; });
}

int MemoStore_DraftClear(void)
{
    return WithOpenStore(static_cast<int>(MEMO_DRAFT_FAILED),
                         [](StoreState& s) { return s.session->ClearDraft(ThreadLastError()); });
}

int MemoStore_MemoState(std::int32_t key)
{
    return WithOpenStore(-1, [&](StoreState& s) { return s.session->MemoState(key, ThreadLastError()); });
}

} // extern "C"
