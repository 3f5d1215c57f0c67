#include "DbiMemo.h"

#include "StoreState.h"

namespace {

// Runs op on the open store under the library's lock; without a store the result is 0.
template <class Op> std::int32_t WithStore(Op op)
{
    StoreState& store = TheStore();
    std::lock_guard lock(store.mutex);
    if (!store.session)
        return 0;
    return op(*store.session);
}

} // namespace

extern "C" {

std::int32_t DBI_MemGetValidRecordCount(void)
{
    return WithStore([](StoreSession& s) { return s.Count(s.Memos()); });
}

std::int32_t DBI_MemReadRecordByOrder(std::int32_t order, MemoRecord* record)
{
    if (!record)
        return 0;
    return WithStore([&](StoreSession& s) { return s.ReadByOrder(s.Memos(), order, record) ? 1 : 0; });
}

std::int32_t DBI_MemReadRecord(std::int32_t key, MemoRecord* record)
{
    if (!record)
        return 0;
    return WithStore([&](StoreSession& s) { return s.ReadByKey(s.Memos(), key, record) ? 1 : 0; });
}

std::int32_t DBI_MemRecycleWriteRecord(const MemoRecord* record)
{
    if (!record)
        return 0;
    return WithStore([&](StoreSession& s) { return s.Insert(s.Memos(), record); });
}

std::int32_t DBI_MemModifyRecord(std::int32_t key, const MemoRecord* record)
{
    if (!record)
        return 0;
    return WithStore([&](StoreSession& s) { return s.Modify(s.Memos(), key, record) ? 1 : 0; });
}

std::int32_t DBI_MemDeleteRecord(std::int32_t key)
{
    return WithStore([&](StoreSession& s) { return s.DeleteMemo(key) ? 1 : 0; });
}

std::int32_t DBI_MemGroupGetValidRecordCount(void)
{
    return WithStore([](StoreSession& s) { return s.Count(s.Groups()); });
}

std::int32_t DBI_MemGroupReadRecordByOrder(std::int32_t order, _DBI_MEMO_Group_ST* record)
{
    if (!record)
        return 0;
    return WithStore([&](StoreSession& s) { return s.ReadByOrder(s.Groups(), order, record) ? 1 : 0; });
}

std::int32_t DBI_MemGroupRecycleWriteRecord(const _DBI_MEMO_Group_ST* record)
{
    if (!record)
        return 0;
    return WithStore([&](StoreSession& s) { return s.Insert(s.Groups(), record); });
}

std::int32_t DBI_MemGroupModifyRecord(std::int32_t key, const _DBI_MEMO_Group_ST* record)
{
    if (!record)
        return 0;
    return WithStore([&](StoreSession& s) { return s.Modify(s.Groups(), key, record) ? 1 : 0; });
}

std::int32_t DBI_MemGroupDeleteRecord(std::int32_t key)
{
    return WithStore([&](StoreSession& s) { return s.Delete(s.Groups(), key) ? 1 : 0; });
}

std::int32_t DBI_MemGroupPack(void)
{
    return WithStore([](StoreSession& s) { return s.Pack() ? 1 : 0; });
}

} // extern "C"
