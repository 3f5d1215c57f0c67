// Works on a shared store as a second process would. Usage:
//   memostore_writer <dir> <user> <tag> <count>           mixed work beside another writer
//   memostore_writer <dir> <user> <tag> <count> hammer    writes without pause
//   memostore_writer <dir> <user> <tag> <count> journal   writes and logs each one that returned
//   memostore_writer <dir> <user> <tag> <count> probe     opens the store and says how that went
// The mixed mode waits for a line on stdin, then writes, modifies, deletes and reads memos and
// categories and prints "key title" for every memo it kept. The hammer mode waits for the same go,
// then writes and deletes memos until the file <dir>/stop exists, printing one line per thousand
// writes. The journal mode starts at once and prints "I key title", "M key" or "D key" as soon as an
// insert, modification or deletion has returned, for a test that kills it at a random moment.
// The probe mode prints "opened: <memo count>", or "refused: <reason>" after checking that a write
// then stores nothing. Exit code 0 when every call did what it should.
#include "DbiMemo.h"
#include "GroupRules.h"
#include "MemoRules.h"
#include "MemoStore.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::u16string Wide(const std::string& text)
{
    return std::u16string(text.begin(), text.end()); // ASCII only
}

bool WaitForGo()
{
    // Tell the test we are ready and wait for its go, so that writers really run together.
    std::puts("ready");
    std::fflush(stdout);
    char go[8];
    return std::fgets(go, sizeof go, stdin) != nullptr;
}

int Mixed(const std::string& tag, int count)
{
    if (!WaitForGo())
        return 65;
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
    std::fputs(kept.c_str(), stdout);
    return 0;
}

int Hammer(const std::string& dir, const std::string& tag)
{
    if (!WaitForGo())
        return 65;
    const std::string stop = dir + "/stop";
    const MemoRecord memo = NewMemoRecord(1, u"全部", 1, Wide(tag), Wide(tag + " body"));
    for (long writes = 1; ::access(stop.c_str(), F_OK) != 0; ++writes) {
        const std::int32_t key = DBI_MemRecycleWriteRecord(&memo);
        if (key <= 0 || DBI_MemDeleteRecord(key) != 1) {
            std::fprintf(stderr, "write %ld failed\n", writes);
            return 2;
        }
        if (writes % 1000 == 1) {
            std::printf("%ld\n", writes);
            std::fflush(stdout);
        }
    }
    return 0;
}

int Journal(const std::string& tag, int count)
{
    for (int i = 0; i < count; ++i) {
        const std::string title = tag + "-" + std::to_string(i);
        const MemoRecord memo = NewMemoRecord(i, u"全部", i, Wide(title), u"written");
        const std::int32_t key = DBI_MemRecycleWriteRecord(&memo);
        if (key <= 0)
            return 2;
        std::printf("I %d %s\n", key, title.c_str());
        std::fflush(stdout);
        if (i % 3 == 0) {
            MemoRecord read{};
            if (DBI_MemReadRecord(key, &read) != 1)
                return 3;
            ApplySavedMemo(read, i, u"全部", Wide(title), u"modified");
            if (DBI_MemModifyRecord(key, &read) != 1)
                return 4;
            std::printf("M %d\n", key);
            std::fflush(stdout);
        }
        if (i % 5 == 4) {
            if (DBI_MemDeleteRecord(key) != 1)
                return 5;
            std::printf("D %d\n", key);
            std::fflush(stdout);
        }
    }
    return 0;
}

int Probe(bool opened)
{
    if (opened) {
        std::printf("opened: %d\n", DBI_MemGetValidRecordCount());
        MemoStore_Close();
        return 0;
    }
    std::printf("refused: %s\n", MemoStore_LastError());
    const MemoRecord memo = NewMemoRecord(1, u"全部", 1, u"lost?", u"lost?");
    return DBI_MemRecycleWriteRecord(&memo) == 0 ? 0 : 8;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: memostore_writer <dir> <user> <tag> <count> [hammer|journal|probe]\n");
        return 64;
    }
    const std::string mode = argc == 6 ? argv[5] : "";
    const bool opened = MemoStore_Open(argv[2], argv[1]) == 1;
    if (mode == "probe")
        return Probe(opened);
    if (!opened) {
        std::fprintf(stderr, "open: %s\n", MemoStore_LastError());
        return 1;
    }
    const int count = std::atoi(argv[4]);
    int result = 64;
    if (mode.empty())
        result = Mixed(argv[3], count);
    else if (mode == "hammer")
        result = Hammer(argv[1], argv[3]);
    else if (mode == "journal")
        result = Journal(argv[3], count);
    MemoStore_Close();
    return result;
}
