#include "MemoGroups.h"

#include "StoreState.h"

extern "C" {

int MemoStore_GroupRename(std::int32_t groupKey, const _DBI_MEMO_Group_ST* group, const MemoRecord* memos,
                          std::int32_t memoCount)
{
    return WithOpenStore(0, [&](StoreState& s) {
        if (!group) {
            ThreadLastError() = "No category record was given, so nothing was changed.";
            return 0;
        }
        if (!s.session->ChangeGroup(groupKey, group, memos, memoCount, ThreadLastError()))
            return 0;
        TellOfChange(s);
        return 1;
    });
}

int MemoStore_GroupDelete(std::int32_t groupKey, const MemoRecord* memos, std::int32_t memoCount)
{
    return WithOpenStore(0, [&](StoreState& s) {
        if (!s.session->ChangeGroup(groupKey, nullptr, memos, memoCount, ThreadLastError()))
            return 0;
        TellOfChange(s);
        return 1;
    });
}

} // extern "C"
