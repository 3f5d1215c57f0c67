#include "MemoBatch.h"
#include "MemoTrash.h"

#include "StoreState.h"

#include <sqlite3.h>

extern "C" {

std::int32_t MemoStore_TrashCount(void)
{
    return WithOpenStore(0, [](StoreState& s) { return s.session->TrashCount(); });
}

std::int32_t MemoStore_TrashRead(std::int32_t order, MemoRecord* record, std::int64_t* deletedAt)
{
    if (!record)
        return 0;
    return WithOpenStore(0, [&](StoreState& s) {
        MemoRecord read{};
        std::int64_t when = 0;
        if (!s.session->ReadTrash(order, &read, &when))
            return 0;
        *record = read;
        if (deletedAt)
            *deletedAt = when;
        return 1;
    });
}

int MemoStore_TrashRestore(std::int32_t key)
{
    return WithOpenStore(static_cast<int>(MEMO_TRASH_FAILED), [&](StoreState& s) {
        const int result = s.session->RestoreMemo(key, ThreadLastError());
        if (result == MEMO_TRASH_RESTORED)
            TellOfChange(s);
        return result;
    });
}

std::int32_t MemoStore_TrashEmpty(void)
{
    return WithOpenStore(-1, [](StoreState& s) { return s.session->EmptyTrash(ThreadLastError()); });
}

int MemoStore_AddRecords(const MemoRecord* memos, std::int32_t memoCount, const _DBI_MEMO_Group_ST* groups,
                         std::int32_t groupCount)
{
    return WithOpenStore(static_cast<int>(MEMO_BATCH_FAILED), [&](StoreState& s) {
        const int result = s.session->AddRecords(memos, memoCount, groups, groupCount, ThreadLastError());
        if (result == MEMO_BATCH_ADDED)
            TellOfChange(s);
        return result;
    });
}

} // extern "C"
