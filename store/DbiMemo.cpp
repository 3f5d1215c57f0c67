#include "DbiMemo.h"

#include "StoreState.h"

namespace {

// Runs a read on the open store under the library's lock; without a store the result is 0. Reads
// leave MemoStore_LastError alone, so the reason of a failed write outlives the reads after it.
template <class Op> std::int32_t WithStore(Op op)
{
    StoreState& store = TheStore();
    std::lock_guard lock(store.mutex);
    if (!store.session)
        return 0;
    return op(*store.session);
}

// Runs a write like WithStore; when it fails, MemoStore_LastError says why (op gives the reason).
template <class Op> std::int32_t WithStoreWrite(Op op)
{
    return WithOpenStore(std::int32_t{0}, [&](StoreState& store) {
        const std::int32_t result = op(*store.session, ThreadLastError());
        if (result > 0)
            TellOfChange(store);
        return result;
    });
}

std::int32_t NoRecord(std::string& why)
{
    why = "No record was given, so nothing was written.";
    return 0;
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
    return WithStoreWrite([&](StoreSession& s, std::string& why) {
        return record ? s.Insert(s.Memos(), record, why) : NoRecord(why);
    });
}

std::int32_t DBI_MemModifyRecord(std::int32_t key, const MemoRecord* record)
{
    return WithStoreWrite([&](StoreSession& s, std::string& why) {
        return record ? (s.Modify(s.Memos(), key, record, why) ? 1 : 0) : NoRecord(why);
    });
}

std::int32_t DBI_MemDeleteRecord(std::int32_t key)
{
    return WithStoreWrite([&](StoreSession& s, std::string& why) { return s.DeleteMemo(key, why) ? 1 : 0; });
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
    return WithStoreWrite([&](StoreSession& s, std::string& why) {
        return record ? s.Insert(s.Groups(), record, why) : NoRecord(why);
    });
}

std::int32_t DBI_MemGroupModifyRecord(std::int32_t key, const _DBI_MEMO_Group_ST* record)
{
    return WithStoreWrite([&](StoreSession& s, std::string& why) {
        return record ? (s.Modify(s.Groups(), key, record, why) ? 1 : 0) : NoRecord(why);
    });
}

std::int32_t DBI_MemGroupDeleteRecord(std::int32_t key)
{
    return WithStoreWrite(
        [&](StoreSession& s, std::string& why) { return s.Delete(s.Groups(), key, why) ? 1 : 0; });
}

std::int32_t DBI_MemGroupPack(void)
{
    return WithStoreWrite([](StoreSession& s, std::string& why) { return s.Pack(why) ? 1 : 0; });
}

} // extern "C"
