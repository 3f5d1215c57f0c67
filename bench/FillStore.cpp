// Fills a user's store with memos up to a count, for measuring the host on a realistic store:
//   bench_fillstore USER DATA_DIR COUNT
#include <DbiMemo.h>
#include <MemoRecord.h>
#include <MemoStore.h>
#include <RecordText.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s USER DATA_DIR COUNT\n", argv[0]);
        return 2;
    }
    if (!MemoStore_Open(argv[1], argv[2])) {
        std::fprintf(stderr, "%s\n", MemoStore_LastError());
        return 1;
    }
    const int wanted = std::atoi(argv[3]);
    for (int n = DBI_MemGetValidRecordCount(); n < wanted; n = DBI_MemGetValidRecordCount()) {
        MemoRecord memo{};
        memo.stamp = 305371800 + n * 3600;
        const std::u16string title = u"备忘 " + std::u16string(1, char16_t(u'0' + n % 10));
        SetFieldText(memo.title, title);
        SetFieldText(memo.content, u"这是一条用来测量的备忘录正文。");
        SetFieldText(memo.groupName, u"全部");
        if (DBI_MemRecycleWriteRecord(&memo) == 0) {
            std::fprintf(stderr, "write failed after %d memos\n", n);
            return 1;
        }
    }
    std::printf("%d memos\n", DBI_MemGetValidRecordCount());
    MemoStore_Close();
    return 0;
}
