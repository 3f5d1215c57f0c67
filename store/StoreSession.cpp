#include "StoreSession.h"

#include "GroupRules.h"
#include "MemoBatch.h"
#include "MemoDraft.h"
#include "MemoRules.h"
#include "MemoSync.h"
#include "MemoTrash.h"
#include "StoreFiles.h"
#include "StoreMigration.h"
#include "Transaction.h"

#include <sqlite3.h>

#include <time.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <ctime>
#include <random>
#include <utility>

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
    const std::optional<FileSnapshot> before = Snapshot(path);
    // No SQLITE_OPEN_CREATE: the file was made and checked before, and must not be replaced if it
    // vanished in between.
    bool ok = before && session->m_db.Open(path, SQLITE_OPEN_READWRITE, reason);
    if (ok) {
        sqlite3* db = session->m_db.Handle();
        // Each write is one statement in autocommit mode, or a transaction that takes the write lock
        // first, so SQLite takes the write lock before it reads anything and a waiting writer retries
        // through the handler; it never fails on a stale snapshot.
        sqlite3_busy_handler(db, &WaitForTurn, session.get());
        // WAL with FULL synchronisation: each commit is one fsync of the log, so every operation is
        // durable once it returns, and readers in another process never block a writer.
        ok = session->m_db.Exec("PRAGMA synchronous = FULL; PRAGMA journal_mode = WAL;", reason);
        // SQLite quietly falls back to reading when it may not write; every save would then fail.
        if (ok && sqlite3_db_readonly(db, "main") != 0) {
            ok = false;
            reason = "SQLite could only open it for reading";
        }
        // The file SQLite opened is the one whose identity every write checks against.
        const std::optional<FileSnapshot> after = Snapshot(path);
        if (ok && (!after || after->device != before->device || after->inode != before->inode)) {
            ok = false;
            reason = "another file took its place while it was being opened";
        }
        session->m_device = before->device;
        session->m_inode = before->inode;
        ok = ok && MigrateStore(session->m_db, reason);
        ok = ok && session->m_dataVersion.Prepare(db, "PRAGMA data_version") == SQLITE_OK &&
             session->m_pack.Prepare(db, "PRAGMA incremental_vacuum") == SQLITE_OK &&
             session->m_draftWrite.Prepare(
                 db, "INSERT OR REPLACE INTO memo_draft (id, record) VALUES (1, ?1)") == SQLITE_OK &&
             session->m_draftRead.Prepare(db, "SELECT record FROM memo_draft WHERE id = 1") == SQLITE_OK &&
             session->m_draftClear.Prepare(db, "DELETE FROM memo_draft") == SQLITE_OK &&
             session->m_memos.Prepare(db, "memo") == SQLITE_OK &&
             session->m_groups.Prepare(db, "memo_group") == SQLITE_OK &&
             session->m_trash.Prepare(db) == SQLITE_OK && session->m_sync.Prepare(db) == SQLITE_OK;
        if (!ok && reason.empty())
            reason = session->m_db.LastMessage();
    }
    if (!ok && !before)
        reason = std::string("it is gone");
    if (!ok) {
        error = "The memo store file " + path + " could not be opened for writing (" + reason + ").";
        return nullptr;
    }
    // A failed purge costs nothing but space; the entries go at a later opening.
    session->m_trash.DropDeletedBefore(std::time(nullptr) - kTrashLife);
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

int StoreSession::MemoState(std::int32_t key, std::string& reason)
{
    if (!Current(m_memos)) {
        reason = "The memos could not be read (" + m_db.LastMessage() + ").";
        return -1;
    }
    return m_memos.Contains(key) ? 1 : 0;
}

template <class Patch> void StoreSession::AfterWrite(Patch patch)
{
    // Our own commits leave data_version alone; if it moved, another process wrote since the mirrors
    // were checked and CheckForeignChanges has dropped them, so there is nothing to patch.
    const std::int64_t before = m_seenVersion;
    if (CheckForeignChanges() && m_seenVersion == before)
        patch();
}

std::string StoreSession::WriteFailure(const RecordTable& table, const char* action, std::int32_t key,
                                       const std::string& error) const
{
    const std::string noun = &table == &m_memos ? "memo" : "category";
    if (error.empty())
        return "There is no " + noun + " with the key " + std::to_string(key) + ".";
    return "The " + noun + " could not be " + action + " (" + error + ").";
}

bool StoreSession::StillOpenedFile(std::string& reason, bool committed)
{
    if (!m_replaced) {
        const std::optional<FileSnapshot> now = Snapshot(m_path);
        if (now && now->device == m_device && now->inode == m_inode)
            return true;
        // The -wal and -shm are found by name: the file now at the path would be read through this
        // file's log. Its frames go into the file they belong to now, and the log is left empty.
        // (SQLite does not checkpoint a moved file when it closes it.)
        TruncateLog();
        m_replaced = true;
        // What this session still holds is only in the replaced file: the mirrors are not the store.
        m_memos.Invalidate();
        m_groups.Invalidate();
    }
    reason = committed ? "The memo store file " + m_path +
                             " was replaced by another file while this change was being saved, so the "
                             "change is not in it. Open the store again and repeat the change."
                       : "The memo store file " + m_path +
                             " was replaced or removed while it was open, so nothing more is written "
                             "through this connection. Open the store again to go on.";
    if (m_onReplaced)
        std::exchange(m_onReplaced, nullptr)();
    return false;
}

void StoreSession::TruncateLog()
{
    // The log only shrinks at a checkpoint. After a write failed (on a full disk, say), copying it
    // into the database and cutting it to nothing gives the space back now, so the next write can
    // succeed without the store being opened again. Best effort: it gives up at once, not after a
    // wait, when another connection is reading or writing.
    if (m_replaced)
        return;
    sqlite3* db = m_db.Handle();
    sqlite3_busy_handler(db, nullptr, nullptr);
    sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    sqlite3_busy_handler(db, &WaitForTurn, this);
}

template <class Result, class Write, class Succeeded>
Result StoreSession::Guarded(Result failed, std::string& reason, Write write, Succeeded succeeded)
{
    if (!StillOpenedFile(reason, false))
        return failed;
    const Result result = write();
    if (!succeeded(result)) {
        TruncateLog();
        return result;
    }
    // Replaced between the check and the commit: the change went into the file that left the path.
    if (!StillOpenedFile(reason, true))
        return failed;
    return result;
}

int StoreSession::GuardedSync(std::string& reason, const std::function<int()>& write)
{
    return Guarded(static_cast<int>(MEMO_SYNC_FAILED), reason, write,
                   [](int result) { return result == MEMO_SYNC_DONE; });
}

std::int32_t StoreSession::Insert(RecordTable& table, const void* record, std::string& reason)
{
    return Guarded(
        std::int32_t{0}, reason,
        [&]() -> std::int32_t {
            std::string error;
            const std::int32_t key = table.InsertRow(record, error);
            if (key == 0) {
                reason = WriteFailure(table, "saved", key, error);
                return 0;
            }
            AfterWrite([&] { table.MirrorInsert(key, record); });
            return key;
        },
        [](std::int32_t key) { return key != 0; });
}

bool StoreSession::Modify(RecordTable& table, std::int32_t key, const void* record, std::string& reason)
{
    return Guarded(
        false, reason,
        [&] {
            std::string error;
            if (key < 1 || !table.UpdateRow(key, record, error)) {
                reason = WriteFailure(table, "saved", key, error);
                return false;
            }
            AfterWrite([&] { table.MirrorUpdate(key, record); });
            return true;
        },
        [](bool done) { return done; });
}

bool StoreSession::Delete(RecordTable& table, std::int32_t key, std::string& reason)
{
    return Guarded(
        false, reason,
        [&] {
            std::string error;
            if (key < 1 || !table.DeleteRow(key, error)) {
                reason = WriteFailure(table, "deleted", key, error);
                return false;
            }
            AfterWrite([&] { table.MirrorDelete(key); });
            return true;
        },
        [](bool done) { return done; });
}

bool StoreSession::Pack(std::string& reason)
{
    return Guarded(
        false, reason,
        [&]() -> bool {
            StatementUse use(m_pack);
            int rc;
            while ((rc = sqlite3_step(*use)) == SQLITE_ROW) {
            }
            if (rc == SQLITE_DONE)
                return true;
            reason = "The store could not be packed (" + FailureReason(m_db.Handle(), rc) + ").";
            return false;
        },
        [](bool done) { return done; });
}

bool StoreSession::DeleteMemo(std::int32_t key, std::string& reason)
{
    return Guarded(
        false, reason,
        [&]() -> bool {
            std::string error;
            if (key >= 1) {
                Transaction transaction(m_db);
                if (transaction.Begun(error) && m_trash.Keep(key, std::time(nullptr), error) &&
                    m_memos.DeleteRow(key, error) && transaction.Commit(error)) {
                    AfterWrite([&] { m_memos.MirrorDelete(key); });
                    return true;
                }
            }
            reason = WriteFailure(m_memos, "deleted", key, error);
            return false;
        },
        [](bool done) { return done; });
}

bool StoreSession::ChangeGroup(std::int32_t groupKey, const MemoGroupRecord* group, const MemoRecord* memos,
                               std::int32_t memoCount, std::string& reason)
{
    return Guarded(
        false, reason,
        [&]() -> bool {
            if (memoCount < 0 || (memoCount > 0 && !memos)) {
                reason = "The memos of the category were not given.";
                return false;
            }
            std::string error;
            Transaction transaction(m_db);
            if (!transaction.Begun(error)) {
                reason = "The category could not be changed (" + error + ").";
                return false;
            }
            // Written as DBI_MemModifyRecord writes them; the first one that fails ends it all.
            for (std::int32_t i = 0; i < memoCount; ++i) {
                const std::int32_t key = memos[i].key;
                if (key < 1 || !m_memos.UpdateRow(key, &memos[i], error)) {
                    reason = WriteFailure(m_memos, "saved", key, error);
                    return false;
                }
            }
            const bool written = group ? groupKey >= 1 && m_groups.UpdateRow(groupKey, group, error)
                                       : groupKey >= 1 && m_groups.DeleteRow(groupKey, error);
            if (!written) {
                reason = WriteFailure(m_groups, group ? "saved" : "deleted", groupKey, error);
                return false;
            }
            if (!group && !Pack(reason))
                return false;
            if (!transaction.Commit(error)) {
                reason = "The category could not be changed (" + error + ").";
                return false;
            }
            AfterWrite([&] {
                for (std::int32_t i = 0; i < memoCount; ++i)
                    m_memos.MirrorUpdate(memos[i].key, &memos[i]);
                if (group)
                    m_groups.MirrorUpdate(groupKey, group);
                else
                    m_groups.MirrorDelete(groupKey);
            });
            return true;
        },
        [](bool done) { return done; });
}

std::int32_t StoreSession::TrashCount()
{
    return std::max(m_trash.Count(), 0);
}

bool StoreSession::ReadTrash(std::int32_t order, MemoRecord* out, std::int64_t* deletedAt)
{
    return m_trash.ReadByOrder(order, out, deletedAt);
}

int StoreSession::RestoreMemo(std::int32_t key, std::string& reason)
{
    return Guarded(
        static_cast<int>(MEMO_TRASH_FAILED), reason,
        [&]() -> int {
            Transaction transaction(m_db);
            if (!transaction.Begun(reason))
                return MEMO_TRASH_FAILED;
            MemoRecord memo{};
            if (key < 1 || !m_trash.ReadByKey(key, &memo)) {
                reason = "There is no deleted memo with the key " + std::to_string(key) + ".";
                return MEMO_TRASH_NOT_FOUND;
            }
            const std::optional<std::int64_t> count = m_db.QueryInt("SELECT count(*) FROM memo", reason);
            if (!count)
                return MEMO_TRASH_FAILED;
            if (*count >= MAX_MEMO_COUNT) {
                reason =
                    "The store already holds " + std::to_string(*count) + " memos, the most it may hold.";
                return MEMO_TRASH_STORE_FULL;
            }
            const std::string inUse = "SELECT count(*) FROM memo WHERE key = " + std::to_string(key);
            const std::optional<std::int64_t> taken = m_db.QueryInt(inUse.c_str(), reason);
            if (!taken)
                return MEMO_TRASH_FAILED;
            if (*taken != 0) {
                reason = "A memo with the key " + std::to_string(key) + " is stored already.";
                return MEMO_TRASH_KEY_IN_USE;
            }
            const std::optional<std::vector<MemoGroupRecord>> groups = GroupsNow(reason);
            if (!groups)
                return MEMO_TRASH_FAILED;
            std::string error;
            const bool refiled = RefileRestoredMemo(memo, *groups);
            if (!m_trash.MoveBack(key) || (refiled && !m_memos.UpdateRow(key, &memo, error)) ||
                !transaction.Commit(reason)) {
                if (reason.empty())
                    reason = error.empty() ? m_db.LastMessage() : error;
                return MEMO_TRASH_FAILED;
            }
            // The record lands between others, not at the end: read the table again.
            m_memos.Invalidate();
            return MEMO_TRASH_RESTORED;
        },
        [](int result) { return result == MEMO_TRASH_RESTORED; });
}

std::int32_t StoreSession::EmptyTrash(std::string& reason)
{
    return Guarded(
        std::int32_t{-1}, reason,
        [&] {
            const std::int32_t dropped = m_trash.Empty();
            if (dropped < 0)
                reason = "The trash could not be emptied (" + m_db.LastMessage() + ").";
            return dropped;
        },
        [](std::int32_t dropped) { return dropped >= 0; });
}

std::optional<std::vector<MemoGroupRecord>> StoreSession::GroupsNow(std::string& reason)
{
    m_groups.Invalidate();
    if (!m_groups.Load()) {
        reason = m_db.LastMessage();
        return std::nullopt;
    }
    std::vector<MemoGroupRecord> groups(std::size_t(m_groups.Count()));
    for (std::int32_t order = 1; order <= m_groups.Count(); ++order)
        m_groups.CopyByOrder(order, &groups[std::size_t(order - 1)]);
    return groups;
}

int StoreSession::AddRecords(const MemoRecord* memos, std::int32_t memoCount, const MemoGroupRecord* groups,
                             std::int32_t groupCount, std::string& reason)
{
    return Guarded(
        static_cast<int>(MEMO_BATCH_FAILED), reason,
        [&]() -> int {
            if (memoCount < 0 || groupCount < 0 || (memoCount > 0 && !memos) || (groupCount > 0 && !groups)) {
                reason = "The records to add were not given.";
                return MEMO_BATCH_FAILED;
            }
            Transaction transaction(m_db);
            if (!transaction.Begun(reason))
                return MEMO_BATCH_FAILED;
            // Counted inside the transaction, so another process cannot slip a record in between.
            const std::optional<std::int64_t> stored = m_db.QueryInt("SELECT count(*) FROM memo", reason);
            if (!stored)
                return MEMO_BATCH_FAILED;
            if (*stored + memoCount > MAX_MEMO_COUNT) {
                reason = "The store holds " + std::to_string(*stored) + " memos; " +
                         std::to_string(memoCount) + " more would pass the limit of " +
                         std::to_string(MAX_MEMO_COUNT) + ".";
                return MEMO_BATCH_MEMOS_FULL;
            }
            const std::optional<std::vector<MemoGroupRecord>> storedGroups = GroupsNow(reason);
            if (!storedGroups)
                return MEMO_BATCH_FAILED;
            const std::ptrdiff_t realGroups =
                RealGroupCount(*storedGroups) + RealGroupCount({groups, std::size_t(groupCount)});
            if (realGroups > MAX_GROUP_COUNT) {
                reason = "The categories would number " + std::to_string(realGroups) +
                         ", more than the limit of " + std::to_string(MAX_GROUP_COUNT) + ".";
                return MEMO_BATCH_GROUPS_FULL;
            }
            for (std::int32_t i = 0; i < groupCount; ++i) {
                if (m_groups.InsertRow(&groups[i], reason) == 0)
                    return MEMO_BATCH_FAILED;
            }
            for (std::int32_t i = 0; i < memoCount; ++i) {
                if (m_memos.InsertRow(&memos[i], reason) == 0)
                    return MEMO_BATCH_FAILED;
            }
            if (!transaction.Commit(reason))
                return MEMO_BATCH_FAILED;
            m_memos.Invalidate();
            m_groups.Invalidate();
            return MEMO_BATCH_ADDED;
        },
        [](int result) { return result == MEMO_BATCH_ADDED; });
}

template <class Bind>
int StoreSession::WithoutWaiting(const Statement& statement, Bind bind, std::string& reason)
{
    // Typing must never be held up: with no busy handler, SQLite answers SQLITE_BUSY at once while
    // another connection holds the write lock, instead of waiting for it in WaitForTurn.
    sqlite3* db = m_db.Handle();
    sqlite3_busy_handler(db, nullptr, nullptr);
    int rc;
    {
        StatementUse use(statement);
        bind(*use);
        rc = sqlite3_step(*use);
        if (rc != SQLITE_DONE)
            reason = sqlite3_errmsg(db);
    }
    sqlite3_busy_handler(db, &WaitForTurn, this);
    if (rc == SQLITE_DONE)
        return MEMO_DRAFT_DONE;
    if ((rc & 0xFF) == SQLITE_BUSY) {
        reason = "Another program is writing to the memo store; the draft waits for its next turn (" +
                 reason + ").";
        return MEMO_DRAFT_BUSY;
    }
    reason = "The draft could not be written (" + reason + ").";
    return MEMO_DRAFT_FAILED;
}

int StoreSession::WriteDraft(const MemoRecord& draft, std::string& reason)
{
    const auto bind = [&](sqlite3_stmt* statement) {
        sqlite3_bind_blob(statement, 1, &draft, sizeof draft, SQLITE_STATIC);
    };
    return Guarded(
        static_cast<int>(MEMO_DRAFT_FAILED), reason,
        [&] { return WithoutWaiting(m_draftWrite, bind, reason); },
        [](int result) { return result == MEMO_DRAFT_DONE || result == MEMO_DRAFT_BUSY; });
}

int StoreSession::ClearDraft(std::string& reason)
{
    return Guarded(
        static_cast<int>(MEMO_DRAFT_FAILED), reason,
        [&] {
            return WithoutWaiting(
                m_draftClear, [](sqlite3_stmt*) {}, reason);
        },
        [](int result) { return result == MEMO_DRAFT_DONE || result == MEMO_DRAFT_BUSY; });
}

bool StoreSession::ReadDraft(MemoRecord* out)
{
    StatementUse use(m_draftRead);
    if (sqlite3_step(*use) != SQLITE_ROW)
        return false;
    const void* blob = sqlite3_column_blob(*use, 0);
    if (!blob || sqlite3_column_bytes(*use, 0) != static_cast<int>(sizeof(MemoRecord)))
        return false; // the schema's CHECK keeps such rows out
    std::memcpy(out, blob, sizeof(MemoRecord));
    return true;
}
