// The record store's operations against the raw SQLite statements they stand for, on the same disk
// with the same durability (WAL, synchronous=FULL, one transaction per statement). Run it from a
// folder on the disk to measure, or set MEMO_BENCH_DIR.
#include "DbiMemo.h"
#include "GroupRules.h"
#include "MemoRules.h"
#include "MemoStore.h"
#include "RatioReporter.h"
#include "RawDb.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>

namespace {

namespace fs = std::filesystem;

constexpr int kIterations = 200;
constexpr int kRepetitions = 5;

const MemoRecord kMemo =
    NewMemoRecord(305371800, u"工作", 305371800, u"benchmark title", std::u16string(200, u'正'));
const MemoGroupRecord kGroup = NewGroupRecord(305371800, u"分类");

struct BenchEnv
{
    fs::path dir;
    RawDb raw;         // beside the store, for the writes
    RawDb rawEnum;     // 100 memos, for the enumeration
    RawDb rawRollback; // a rollback journal with FULL, to compare with WAL
    RawDb storeFile;   // a second connection to the store's file, for checkpoints
    std::string openUser;
};

BenchEnv* g_env = nullptr;

void UseStore(const char* user)
{
    if (g_env->openUser == user)
        return;
    if (!MemoStore_Open(user, g_env->dir.c_str())) {
        std::fprintf(stderr, "store: %s\n", MemoStore_LastError());
        std::exit(1);
    }
    g_env->openUser = user;
}

// ---- writes ----
//
// Each write benchmark alternates the store's operation with the raw statement (or the other way
// round) and times only its own, so both sides meet the same disk at the same time: fsync times
// drift with whatever else the machine is doing.

struct WriteOp
{
    void (*prepare)();
    void (*run)();
};

struct WriteState
{
    std::int32_t storeMemo = 0;
    std::int64_t rawMemo = 0;
    std::int32_t storeGroup = 0;
    std::int64_t rawGroup = 0;
    MemoRecord memo = kMemo;
    MemoGroupRecord group = kGroup;
};
WriteState g_w;

void Nothing()
{
}

// Frees a few pages, for the pack to hand back.
void StoreFreePages()
{
    std::int32_t keys[8];
    for (std::int32_t& key : keys)
        key = DBI_MemRecycleWriteRecord(&kMemo);
    for (const std::int32_t key : keys)
        DBI_MemDeleteRecord(key);
}

void RawFreePages()
{
    std::int64_t keys[8];
    for (std::int64_t& key : keys)
        key = g_env->raw.Insert(g_env->raw.m_insertMemo, &kMemo, sizeof kMemo);
    for (const std::int64_t key : keys)
        g_env->raw.Delete(g_env->raw.m_deleteMemo, key);
}

const WriteOp kStoreMemWrite{Nothing, [] { benchmark::DoNotOptimize(DBI_MemRecycleWriteRecord(&kMemo)); }};
const WriteOp kRawMemInsert{Nothing,
                            [] { g_env->raw.Insert(g_env->raw.m_insertMemo, &kMemo, sizeof kMemo); }};
const WriteOp kStoreMemModify{
    [] { ++g_w.memo.stamp; },
    [] { benchmark::DoNotOptimize(DBI_MemModifyRecord(g_w.storeMemo, &g_w.memo)); }};
const WriteOp kRawMemUpdate{
    [] { ++g_w.memo.stamp; },
    [] { g_env->raw.Update(g_env->raw.m_updateMemo, g_w.rawMemo, &g_w.memo, sizeof g_w.memo); }};
const WriteOp kStoreMemDelete{[] { g_w.storeMemo = DBI_MemRecycleWriteRecord(&kMemo); },
                              [] { benchmark::DoNotOptimize(DBI_MemDeleteRecord(g_w.storeMemo)); }};
const WriteOp kRawMemDelete{
    [] { g_w.rawMemo = g_env->raw.Insert(g_env->raw.m_insertMemo, &kMemo, sizeof kMemo); },
    [] { g_env->raw.Delete(g_env->raw.m_deleteMemo, g_w.rawMemo); }};
const WriteOp kStoreGroupWrite{Nothing,
                               [] { benchmark::DoNotOptimize(DBI_MemGroupRecycleWriteRecord(&kGroup)); }};
const WriteOp kRawGroupInsert{Nothing,
                              [] { g_env->raw.Insert(g_env->raw.m_insertGroup, &kGroup, sizeof kGroup); }};
const WriteOp kStoreGroupModify{
    [] { ++g_w.group.flags; },
    [] { benchmark::DoNotOptimize(DBI_MemGroupModifyRecord(g_w.storeGroup, &g_w.group)); }};
const WriteOp kRawGroupUpdate{
    [] { ++g_w.group.flags; },
    [] { g_env->raw.Update(g_env->raw.m_updateGroup, g_w.rawGroup, &g_w.group, sizeof g_w.group); }};
const WriteOp kStoreGroupDelete{[] { g_w.storeGroup = DBI_MemGroupRecycleWriteRecord(&kGroup); },
                                [] { benchmark::DoNotOptimize(DBI_MemGroupDeleteRecord(g_w.storeGroup)); }};
const WriteOp kRawGroupDelete{
    [] { g_w.rawGroup = g_env->raw.Insert(g_env->raw.m_insertGroup, &kGroup, sizeof kGroup); },
    [] { g_env->raw.Delete(g_env->raw.m_deleteGroup, g_w.rawGroup); }};
const WriteOp kStoreGroupPack{StoreFreePages, [] { benchmark::DoNotOptimize(DBI_MemGroupPack()); }};
const WriteOp kRawIncrementalVacuum{RawFreePages, [] { g_env->raw.Run(g_env->raw.m_vacuum); }};

// Checkpoints copy the log into the database file once it holds 1000 pages; their cost falls on
// whichever write happens to fill the log and is the same for both sides (same pages, same file
// layout). Both logs are checkpointed outside the timed region every few writes, so each side is
// measured on its own commits.
constexpr int kCheckpointEvery = 50;

void Checkpoint()
{
    g_env->storeFile.Exec("PRAGMA wal_checkpoint(RESTART)");
    g_env->raw.Exec("PRAGMA wal_checkpoint(RESTART)");
}

// Grows both write-ahead logs to their working size (the log is reused after each checkpoint, not
// shrunk), so that no side pays for extending a file while the other is measured.
void WarmUp()
{
    UseStore("writes");
    for (int i = 0; i < 500; ++i) {
        kStoreMemWrite.run();
        kRawMemInsert.run();
    }
    Checkpoint();
}

void Interleaved(benchmark::State& state, WriteOp timed, WriteOp other)
{
    UseStore("writes");
    // Modifications work on one record on each side.
    g_w.storeMemo = DBI_MemRecycleWriteRecord(&kMemo);
    g_w.rawMemo = g_env->raw.Insert(g_env->raw.m_insertMemo, &kMemo, sizeof kMemo);
    g_w.storeGroup = DBI_MemGroupRecycleWriteRecord(&kGroup);
    g_w.rawGroup = g_env->raw.Insert(g_env->raw.m_insertGroup, &kGroup, sizeof kGroup);
    int sinceCheckpoint = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (++sinceCheckpoint == kCheckpointEvery) {
            Checkpoint();
            sinceCheckpoint = 0;
        }
        other.prepare();
        other.run();
        timed.prepare();
        state.ResumeTiming();
        timed.run();
    }
}

// ---- enumeration of 100 memos ----

void Store_Enumerate100(benchmark::State& state)
{
    UseStore("enumeration");
    MemoRecord memo{};
    for (auto _ : state) {
        const std::int32_t count = DBI_MemGetValidRecordCount();
        for (std::int32_t order = 1; order <= count; ++order) {
            DBI_MemReadRecordByOrder(order, &memo);
            benchmark::DoNotOptimize(memo);
        }
    }
}

// The same after another connection wrote to the file, so the store must read all rows again.
void Store_Enumerate100AfterForeignWrite(benchmark::State& state)
{
    UseStore("enumeration");
    RawDb other;
    other.OpenExisting(MemoStore_CurrentPath());
    other.PrepareMemoUpdate();
    MemoRecord changed = kMemo;
    MemoRecord memo{};
    for (auto _ : state) {
        state.PauseTiming();
        ++changed.stamp; // SQLite does not count a write of identical bytes as a change
        other.Update(other.m_updateMemo, 1, &changed, sizeof changed);
        state.ResumeTiming();
        const std::int32_t count = DBI_MemGetValidRecordCount();
        for (std::int32_t order = 1; order <= count; ++order) {
            DBI_MemReadRecordByOrder(order, &memo);
            benchmark::DoNotOptimize(memo);
        }
    }
}

void Raw_Select100(benchmark::State& state)
{
    MemoRecord memo{};
    for (auto _ : state)
        benchmark::DoNotOptimize(g_env->rawEnum.ReadAllMemos(memo));
}

void Raw_Select100AfterForeignWrite(benchmark::State& state)
{
    RawDb other;
    other.OpenExisting(g_env->dir / "raw-enumeration.db");
    other.PrepareMemoUpdate();
    MemoRecord changed = kMemo;
    MemoRecord memo{};
    for (auto _ : state) {
        state.PauseTiming();
        ++changed.stamp;
        other.Update(other.m_updateMemo, 1, &changed, sizeof changed);
        state.ResumeTiming();
        benchmark::DoNotOptimize(g_env->rawEnum.ReadAllMemos(memo));
    }
}

void Raw_MemInsertWal(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(g_env->raw.Insert(g_env->raw.m_insertMemo, &kMemo, sizeof kMemo));
}

void Raw_MemInsertRollbackJournal(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(
            g_env->rawRollback.Insert(g_env->rawRollback.m_insertMemo, &kMemo, sizeof kMemo));
}

void Register(const char* name, void (*fn)(benchmark::State&), int iterations = kIterations)
{
    RegisterRepeated(name, fn, iterations, kRepetitions);
}

// Registers every benchmark, runs them and prints the ratios; true when every target was met.
bool RunAll(BenchEnv& env)
{
    g_env = &env;
    env.raw.Open(env.dir / "raw-writes.db", "WAL");
    env.rawEnum.Open(env.dir / "raw-enumeration.db", "WAL");
    env.rawRollback.Open(env.dir / "raw-rollback.db", "DELETE");

    UseStore("enumeration");
    for (int i = 0; i < 100; ++i) {
        DBI_MemRecycleWriteRecord(&kMemo);
        env.rawEnum.Insert(env.rawEnum.m_insertMemo, &kMemo, sizeof kMemo);
    }
    UseStore("writes");
    env.storeFile.OpenExisting(MemoStore_CurrentPath());
    // Both sides read their 100 rows from the main file, not from the log.
    env.rawEnum.Exec("PRAGMA wal_checkpoint(TRUNCATE)");
    WarmUp();
    std::printf("Store and raw databases in %s (SQLite %s)\n", env.dir.c_str(), sqlite3_libversion());

    // Write benchmarks come in pairs that alternate the two sides; see Interleaved.
    const auto pair = [](const char* storeName, WriteOp store, const char* rawName, WriteOp raw,
                         int iterations) {
        for (const auto& [name, timed, other] :
             {std::tuple{storeName, store, raw}, std::tuple{rawName, raw, store}})
            benchmark::RegisterBenchmark(name, Interleaved, timed, other)
                ->Iterations(iterations)
                ->Repetitions(kRepetitions)
                ->ReportAggregatesOnly(true)
                ->Unit(benchmark::kMicrosecond);
    };
    pair("Store_MemRecycleWrite", kStoreMemWrite, "Raw_MemInsert", kRawMemInsert, kIterations);
    pair("Store_MemModify", kStoreMemModify, "Raw_MemUpdate", kRawMemUpdate, kIterations);
    pair("Store_MemDelete", kStoreMemDelete, "Raw_MemDelete", kRawMemDelete, kIterations);
    pair("Store_GroupRecycleWrite", kStoreGroupWrite, "Raw_GroupInsert", kRawGroupInsert, kIterations);
    pair("Store_GroupModify", kStoreGroupModify, "Raw_GroupUpdate", kRawGroupUpdate, kIterations);
    pair("Store_GroupDelete", kStoreGroupDelete, "Raw_GroupDelete", kRawGroupDelete, kIterations);
    pair("Store_GroupPack", kStoreGroupPack, "Raw_IncrementalVacuum", kRawIncrementalVacuum, 50);
    Register("Store_Enumerate100", Store_Enumerate100, 20000);
    Register("Raw_Select100", Raw_Select100, 20000);
    Register("Store_Enumerate100AfterForeignWrite", Store_Enumerate100AfterForeignWrite);
    Register("Raw_Select100AfterForeignWrite", Raw_Select100AfterForeignWrite);
    Register("Raw_MemInsertWal", Raw_MemInsertWal);
    Register("Raw_MemInsertRollbackJournal", Raw_MemInsertRollbackJournal);

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const bool met = reporter.PrintRatios({
        {"DBI_MemRecycleWriteRecord vs INSERT", "Store_MemRecycleWrite", "Raw_MemInsert", 1.5},
        {"DBI_MemModifyRecord vs UPDATE", "Store_MemModify", "Raw_MemUpdate", 1.5},
        {"DBI_MemDeleteRecord vs DELETE", "Store_MemDelete", "Raw_MemDelete", 1.5},
        {"DBI_MemGroupRecycleWriteRecord vs INSERT", "Store_GroupRecycleWrite", "Raw_GroupInsert", 1.5},
        {"DBI_MemGroupModifyRecord vs UPDATE", "Store_GroupModify", "Raw_GroupUpdate", 1.5},
        {"DBI_MemGroupDeleteRecord vs DELETE", "Store_GroupDelete", "Raw_GroupDelete", 1.5},
        {"DBI_MemGroupPack vs PRAGMA incremental_vacuum", "Store_GroupPack", "Raw_IncrementalVacuum", 1.5},
        {"count + 100 reads by order vs one SELECT of 100 rows", "Store_Enumerate100", "Raw_Select100", 3.0},
        {"the same, each after another connection changed a row", "Store_Enumerate100AfterForeignWrite",
         "Raw_Select100AfterForeignWrite", 3.0},
        {"INSERT, rollback journal+FULL vs WAL+FULL", "Raw_MemInsertRollbackJournal", "Raw_MemInsertWal", 0},
    });
    MemoStore_Close();
    g_env = nullptr;
    return met;
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    const char* chosen = std::getenv("MEMO_BENCH_DIR");
    const fs::path dir = fs::absolute(chosen && *chosen ? fs::path(chosen) : fs::current_path()) /
                         ("memostore-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    bool met = false;
    {
        BenchEnv env;
        env.dir = dir;
        met = RunAll(env);
    } // the raw connections close here, before their files go
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(dir, ec);
    return met ? 0 : 1;
}
