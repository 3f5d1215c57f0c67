// Opens a store whose file is made of the fuzzed bytes (a store of an older format is upgraded on the
// way). When the store takes the file, every record is read, each kind of write is tried, and the
// trash is read, restored from and emptied. Whatever the file holds, nothing may crash, hang or leak,
// and a refused file must say why.
#include "FuzzFolder.h"

#include <DbiMemo.h>
#include <MemoStore.h>
#include <MemoTrash.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The store file of the user "fuzz": "memo-" + hex of the name + ".db".
const std::string& StorePath()
{
    static const std::string path = FuzzFolder() + "/memo-66757a7a.db";
    return path;
}

bool WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool written = size == 0 || ::write(fd, data, size) == static_cast<ssize_t>(size);
    ::close(fd);
    return written;
}

void ReadAndWrite()
{
    // Counts come from the file; never trust them with more than the tables' limits allow.
    const std::int32_t memos = DBI_MemGetValidRecordCount();
    MemoRecord memo{};
    for (std::int32_t order = 1; order <= memos && order <= 1000; ++order)
        DBI_MemReadRecordByOrder(order, &memo);
    if (memos > 0 && DBI_MemReadRecordByOrder(1, &memo) == 1) {
        DBI_MemReadRecord(memo.key, &memo);
        DBI_MemModifyRecord(memo.key, &memo);
    }
    const std::int32_t key = DBI_MemRecycleWriteRecord(&memo);
    if (key > 0)
        DBI_MemDeleteRecord(key);

    const std::int32_t groups = DBI_MemGroupGetValidRecordCount();
    _DBI_MEMO_Group_ST group{};
    for (std::int32_t order = 1; order <= groups && order <= 1000; ++order)
        DBI_MemGroupReadRecordByOrder(order, &group);
    if (groups > 0 && DBI_MemGroupReadRecordByOrder(1, &group) == 1)
        DBI_MemGroupModifyRecord(group.key, &group);
    const std::int32_t groupKey = DBI_MemGroupRecycleWriteRecord(&group);
    if (groupKey > 0)
        DBI_MemGroupDeleteRecord(groupKey);
    DBI_MemGroupPack();
}

void UseTrash()
{
    const std::int32_t deleted = MemoStore_TrashCount();
    MemoRecord memo{};
    std::int64_t deletedAt = 0;
    for (std::int32_t order = 1; order <= deleted && order <= 1000; ++order)
        MemoStore_TrashRead(order, &memo, &deletedAt);
    if (deleted > 0 && MemoStore_TrashRead(1, &memo, &deletedAt) == 1)
        MemoStore_TrashRestore(memo.key);
    MemoStore_TrashRestore(0);
    MemoStore_TrashEmpty();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& path = StorePath();
    if (!WriteFile(path, data, size))
        std::abort();
    if (MemoStore_Open("fuzz", FuzzFolder().c_str())) {
        ReadAndWrite();
        UseTrash();
        MemoStore_Close();
    } else if (MemoStore_LastError()[0] == '\0') {
        std::abort(); // refused without a reason
    }
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        ::unlink((path + suffix).c_str());
    return 0;
}
