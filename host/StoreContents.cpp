#include "StoreContents.h"

#include <DbiMemo.h>
#include <MemoTrash.h>

StoreContents ReadStoreContents()
{
    StoreContents contents;
    const std::int32_t memos = DBI_MemGetValidRecordCount();
    for (std::int32_t order = 1; order <= memos; ++order) {
        MemoRecord memo{};
        if (DBI_MemReadRecordByOrder(order, &memo) == 1)
            contents.memos.push_back(memo);
    }
    const std::int32_t groups = DBI_MemGroupGetValidRecordCount();
    for (std::int32_t order = 1; order <= groups; ++order) {
        MemoGroupRecord group{};
        if (DBI_MemGroupReadRecordByOrder(order, &group) == 1)
            contents.groups.push_back(group);
    }
    return contents;
}

std::vector<DeletedMemo> ReadTrash()
{
    std::vector<DeletedMemo> trash;
    const std::int32_t count = MemoStore_TrashCount();
    for (std::int32_t order = 1; order <= count; ++order) {
        DeletedMemo entry{};
        std::int64_t deletedAt = 0;
        if (MemoStore_TrashRead(order, &entry.memo, &deletedAt) == 1) {
            entry.deletedAt = deletedAt;
            trash.push_back(entry);
        }
    }
    return trash;
}
