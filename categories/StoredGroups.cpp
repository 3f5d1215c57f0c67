#include "StoredGroups.h"

#include <DbiMemo.h>

std::vector<MemoGroupRecord> ReadStoredGroups()
{
    std::vector<MemoGroupRecord> groups;
    const std::int32_t count = DBI_MemGroupGetValidRecordCount();
    for (std::int32_t order = 1; order <= count; ++order) {
        MemoGroupRecord group{};
        if (DBI_MemGroupReadRecordByOrder(order, &group))
            groups.push_back(group);
    }
    return groups;
}
