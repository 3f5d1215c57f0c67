#include "StoreSession.h"

#include "MemoGroupRecord.h"
#include "MemoRecord.h"

#include <sqlite3.h>

#include <time.h>

#include <cstddef>
#include <random>

namespace {

// How long one operation waits for another connection to finish writing before it gives up.
constexpr auto kBusyWait = std::chrono::seconds(5);

} // namespace

int StoreSession::WaitForTurn(void* context, int attempt)
{
    // SQLite's own busy timeout backs off to 100 ms between tries, so beside a writer that commits
    // without a pause (its lock free for microseconds between transactions) the waiting one nearly
    // always runs out of time. Trying again every fraction of a millisecond, at random moments,
    // catches those gaps: each waiter gets in after a few of the other's commits.
    auto* session = static_cast<StoreSession*>(context);
    const auto now = std::chrono::steady_clock::now();
    if (attempt == 0)
        session->m_busySince = now;
    else if (now - session->m_busySince >= kBusyWait)
        return 0;
    thread_local std::minstd_rand random{std::random_device{}()};
    const timespec pause{0, 100'000 + static_cast<long>(random() % 400'000)};
    ::nanosleep(&pause, nullptr);
    return 1;
}

StoreSession::StoreSession()
    : m_memos(sizeof(MemoRecord), offsetof(MemoRecord, key)),
      m_groups(sizeof(MemoGroupRecord), offsetof(MemoGroupRecord, key))
{
}

std::unique_ptr<StoreSession> StoreSession::Open(const std::string& path, std::string& error)
{
    std::unique_ptr<StoreSession> session(new StoreSession());
    session->m_path = path;
    std::string reason;
    // No SQLITE_OPEN_CREATE: the file was made and checked before, and must not be replaced if it
    // vanished in between.
    bool ok = session->m_db.Open(path, SQLITE_OPEN_READWRITE, reason);
    if (ok) {
        sqlite3* db = session->m_db.Handle();
        // Each write is one statement in autocommit mode, so SQLite takes the write lock before it
        // reads anything and a waiting writer retries through the handler; it never fails on a
        // stale snapshot, which only a longer deferred transaction could run into.
        sqlite3_busy_handler(db, &WaitForTurn, session.get());
        // WAL with FULL synchronisation: each commit is one fsync of the log, so every operation is
        // durable once it returns, and readers in another process never block a writer.
        ok = session->m_db.Exec("PRAGMA synchronous = FULL; PRAGMA journal_mode = WAL;", reason) &&
             session->m_dataVersion.Prepare(db, "PRAGMA data_version") == SQLITE_OK &&
             session->m_pack.Prepare(db, "PRAGMA incremental_vacuum") == SQLITE_OK &&
             session->m_memos.Prepare(db, "memo") == SQLITE_OK &&
             session->m_groups.Prepare(db, "memo_group") == SQLITE_OK;
        if (!ok && reason.empty())
            reason = session->m_db.LastMessage();
        // SQLite quietly falls back to reading when it may not write; every save would then fail.
        if (ok && sqlite3_db_readonly(db, "main") != 0) {
            ok = false;
            reason = "SQLite could only open it for reading";
        }
    }
    if (!ok) {
        error = "The memo store file " + path + " could not be opened for writing (" + reason + ").";
        return nullptr;
    }
    return session;
}

bool StoreSession::CheckForeignChanges()
{
    StatementUse use(m_dataVersion);
    if (sqlite3_step(*use) != SQLITE_ROW) {
        m_memos.Invalidate();
        m_groups.Invalidate();
        m_seenVersion = -1;
        return false;
    }
    const std::int64_t version = sqlite3_column_int64(*use, 0);
    if (version != m_seenVersion) {
        m_memos.Invalidate();
        m_groups.Invalidate();
        m_seenVersion = version;
    }
    m_checkedAt = std::chrono::steady_clock::now();
    return true;
}

bool StoreSession::Current(RecordTable& table)
{
    // The version is read before the rows: a commit that slips in between changes the version again
    // and the next check reloads, never the other way round.
    return CheckForeignChanges() && table.Load();
}

std::int32_t StoreSession::Count(RecordTable& table)
{
    if (!Current(table))
        return 0;
    table.SetNextOrder(1);
    return table.Count();
}

bool StoreSession::ReadByOrder(RecordTable& table, std::int32_t order, void* out)
{
    const bool continues = table.IsLoaded() && order == table.NextOrder() &&
                           std::chrono::steady_clock::now() - m_checkedAt < kSnapshotLife;
    if (!continues && !Current(table))
        return false;
    if (!table.CopyByOrder(order, out)) {
        table.SetNextOrder(0);
        return false;
    }
    table.SetNextOrder(order + 1);
    return true;
}

bool StoreSession::ReadByKey(RecordTable& table, std::int32_t key, void* out)
{
    return Current(table) && table.CopyByKey(key, out);
}

template <class Patch> void StoreSession::AfterWrite(Patch patch)
{
    // Our own commits leave data_version alone; if it moved, another process wrote since the mirrors
    // were checked and CheckForeignChanges has dropped them, so there is nothing to patch.
    const std::int64_t before = m_seenVersion;
    if (CheckForeignChanges() && m_seenVersion == before)
        patch();
}

std::int32_t StoreSession::Insert(RecordTable& table, const void* record)
{
    const std::int32_t key = table.InsertRow(record);
    if (key != 0)
        AfterWrite([&] { table.MirrorInsert(key, record); });
    return key;
}

bool StoreSession::Modify(RecordTable& table, std::int32_t key, const void* record)
{
    if (key < 1 || !table.UpdateRow(key, record))
        return false;
    AfterWrite([&] { table.MirrorUpdate(key, record); });
    return true;
}

bool StoreSession::Delete(RecordTable& table, std::int32_t key)
{
    if (key < 1 || !table.DeleteRow(key))
        return false;
    AfterWrite([&] { table.MirrorDelete(key); });
    return true;
}

bool StoreSession::Pack()
{
    StatementUse use(m_pack);
    int rc;
    while ((rc = sqlite3_step(*use)) == SQLITE_ROW) {
    }
    return rc == SQLITE_DONE;
}
