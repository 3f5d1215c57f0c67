// Works on a shared store as a second process would:
//   memostore_writer <dir> <user> <tag> <count> [journal|probe|swap]
// Without a mode it waits for a line on stdin, writes, modifies, deletes and reads memos and
// categories, then prints "key title" for every memo it kept. "journal" writes at once and without a
// pause, printing "I key title", "M key" or "D key" as soon as an insert, modification or deletion
// has returned. "probe" prints "opened: <memo count>", or "refused: <reason>" once a write was refused
// too. "swap" saves count memos one after the other and prints "S <start> <title>" for each save that
// was acknowledged, "F <start>" for each that failed (start: CLOCK_MONOTONIC in ns when the save began);
// when a failure came with the store's notice that its file was replaced, it opens the store again, as
// the host does. Exit code 0 when every call did what it should.
#include "DbiMemo.h"
#include "GroupRules.h"
#include "MemoRules.h"
#include "MemoStore.h"

#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

std::u16string Wide(const std::string& text)
{
    return std::u16string(text.begin(), text.end()); // ASCII only
}

int Journal(const std::string& tag, int count)
{
    for (int i = 0; i < count; ++i) {
        const std::string title = tag + "-" + std::to_string(i);
        MemoRecord memo = NewMemoRecord(i, u"全部", i, Wide(title), u"written");
        const std::int32_t key = DBI_MemRecycleWriteRecord(&memo);
        if (key <= 0)
            return 2;
        std::printf("I %d %s\n", key, title.c_str());
        if (i % 3 == 0) {
            if (DBI_MemReadRecord(key, &memo) != 1)
                return 3;
            ApplySavedMemo(memo, i, u"全部", Wide(title), u"modified");
            if (DBI_MemModifyRecord(key, &memo) != 1)
                return 4;
            std::printf("M %d\n", key);
        }
        if (i % 5 == 4) {
            if (DBI_MemDeleteRecord(key) != 1)
                return 5;
            std::printf("D %d\n", key);
        }
    }
    return 0;
}

long long MonotonicNow()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

int SaveThroughSwaps(const char* dir, const char* user, const std::string& tag, int count)
{
    static bool replaced = false;
    MemoStore_SetReplacedHook([](void*) { replaced = true; }, nullptr);
    for (int i = 0; i < count; ++i) {
        const std::string title = tag + "-" + std::to_string(i);
        const MemoRecord memo = NewMemoRecord(i, u"全部", i, Wide(title), u"saved");
        const long long start = MonotonicNow();
        if (DBI_MemRecycleWriteRecord(&memo) > 0) {
            std::printf("S %lld %s\n", start, title.c_str());
            continue;
        }
        std::printf("F %lld\n", start);
        if (replaced && MemoStore_Open(user, dir) != 1)
            return 9;
        replaced = false;
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
        std::fprintf(stderr, "usage: memostore_writer <dir> <user> <tag> <count> [journal|probe|swap]\n");
        return 64;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ); // every line out as soon as it is printed
    // A disk with only this many bytes free, as far as files growing are concerned.
    if (const char* limit = std::getenv("MEMO_WRITER_FILE_LIMIT")) {
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of ending the process
        const rlimit size{std::strtoul(limit, nullptr, 10), RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &size);
    }
    const std::string mode = argc == 6 ? argv[5] : "";
    const bool opened = MemoStore_Open(argv[2], argv[1]) == 1;
    if (mode == "probe")
        return Probe(opened);
    if (!opened) {
        std::fprintf(stderr, "open: %s\n", MemoStore_LastError());
        return 1;
    }
    if (mode == "swap") {
        const int result = SaveThroughSwaps(argv[1], argv[2], argv[3], std::atoi(argv[4]));
        MemoStore_Close();
        return result;
    }
    if (mode == "journal") {
        const int result = Journal(argv[3], std::atoi(argv[4]));
        MemoStore_Close();
        return result;
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
