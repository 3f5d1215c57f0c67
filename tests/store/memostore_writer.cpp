// Works on a shared store as a second process would: writes, modifies, deletes and reads memos and
// categories, then prints "key title" for every memo it kept. Exit code 0 when every call did what it
// should.
#include "DbiMemo.h"
#include "GroupRules.h"
#include "MemoRules.h"
#include "MemoStore.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::u16string Wide(const std::string& text)
{
    return std::u16string(text.begin(), text.end()); // ASCII only
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: memostore_writer <dir> <user> <tag> <count>\n");
        return 64;
    }
    if (!MemoStore_Open(argv[2], argv[1])) {
        std::fprintf(stderr, "open: %s\n", MemoStore_LastError());
        return 1;
    }
    // Tell the test we are ready and wait for its go, so that both writers really run together.
    std::puts("ready");
    std::fflush(stdout);
    char go[8];
    if (!std::fgets(go, sizeof go, stdin))
        return 65;

    const std::string tag = argv[3];
    const int count = std::atoi(argv[4]);
    std::string kept;
    for (int i = 0; i < count; ++i) {
        const std::string title = tag + "-" + std::to_string(i);
        const MemoRecord memo = NewMemoRecord(i, u"全部", i, Wide(title), Wide(tag + " body"));
        const std::int32_t key = DBI_MemRecycleWriteRecord(&memo);
        if (key <= 0)
            return 2;
        if (i % 3 == 0) {
            MemoRecord read{};
            if (DBI_MemReadRecord(key, &read) != 1 || MemoTitle(read) != Wide(title))
                return 3;
            ApplySavedMemo(read, i, u"全部", Wide(title), Wide(tag + " edited"));
            if (DBI_MemModifyRecord(key, &read) != 1)
                return 4;
        }
        if (i % 5 == 4) {
            if (DBI_MemDeleteRecord(key) != 1)
                return 5;
        } else {
            kept += std::to_string(key) + " " + title + "\n";
        }
        if (i % 10 == 0) {
            const MemoGroupRecord group = NewGroupRecord(i, Wide(tag + std::to_string(i)));
            if (DBI_MemGroupRecycleWriteRecord(&group) <= 0)
                return 6;
        }
        // Enumerate as the panel does, while the other process writes.
        const std::int32_t stored = DBI_MemGetValidRecordCount();
        for (std::int32_t order = 1; order <= stored; ++order) {
            MemoRecord any{};
            if (DBI_MemReadRecordByOrder(order, &any) != 1 || any.key <= 0)
                return 7;
        }
    }
    MemoStore_Close();
    std::fputs(kept.c_str(), stdout);
    return 0;
}
