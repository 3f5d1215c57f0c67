#pragma once

#include "Connection.h"
#include "RecordTable.h"
#include "Statement.h"
#include "SyncTable.h"
#include "TrashTable.h"

#include "MemoGroupRecord.h"
#include "MemoRecord.h"

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// One open store: a read-write connection to a checked store file, its two record tables, the
// trash of deleted memos and the memo panel's draft. Opening upgrades a store of an older format and drops
// the memos that were deleted longer than kTrashLife ago.
//
// Reads are served from the tables' in-memory mirrors. Before a read trusts them, the session asks
// SQLite whether any other connection (another process) committed since the mirrors were read
// (PRAGMA data_version) and reloads them if so. Our own writes patch the mirrors, so every change made
// here is visible to the next read at once.
//
// An enumeration (the count, then orders 1, 2, ... one after the other) reads one snapshot: the
// check runs at the count and at any read that does not continue a sequence, not at each step. So a
// loop sees a consistent table even while another process writes, the same as if it had held a read
// transaction, and costs one check instead of one per record. A sequence that pauses for longer than
// kSnapshotLife checks again.
//
// Every write first makes sure that the path still names the file that was opened (device and inode):
// a file renamed or copied over the store while it is open would otherwise take no more writes, and
// the writes would go on being acknowledged into the replaced file. From then on every write fails
// with that reason, until the store is opened again. After any failed write the log is checkpointed
// and truncated, so that a disk that was full takes writes again as soon as it has room.
class StoreSession
{
  public:
    static constexpr auto kSnapshotLife = std::chrono::seconds(1);
    static constexpr std::int64_t kTrashLife = 30 * 24 * 3600;

    // Opens the store file read-write; the file must already have passed CheckStoreFile.
    static std::unique_ptr<StoreSession> Open(const std::string& path, std::string& error);

    const std::string& Path() const { return m_path; }
    // Called once, by the write that finds the file at the path replaced or removed; the caller
    // must not close the session from inside it.
    void SetReplacedHandler(std::function<void()> handler) { m_onReplaced = std::move(handler); }
    bool Replaced() const { return m_replaced; }
    sqlite3* Handle() const { return m_db.Handle(); }
    RecordTable& Memos() { return m_memos; }
    RecordTable& Groups() { return m_groups; }

    std::int32_t Count(RecordTable& table);
    bool ReadByOrder(RecordTable& table, std::int32_t order, void* out);
    bool ReadByKey(RecordTable& table, std::int32_t key, void* out);
    // Whether a memo with the key is stored: 1 or 0; -1 when the file could not be read.
    int MemoState(std::int32_t key, std::string& reason);

    // The writes of the record operations. Each fails with a reason: an unknown key, or why the file
    // could not be written (also another connection holding the write lock for longer than a write waits).
    std::int32_t Insert(RecordTable& table, const void* record, std::string& reason);
    bool Modify(RecordTable& table, std::int32_t key, const void* record, std::string& reason);
    bool Delete(RecordTable& table, std::int32_t key, std::string& reason);
    // Deletes a memo by moving it into the trash, in one transaction, stamped with the time now.
    bool DeleteMemo(std::int32_t key, std::string& reason);
    // Orders never have gaps (they are ranks by key); packing hands the pages that deletions freed
    // back to the file system.
    bool Pack(std::string& reason);

    // A category change with the memos filed under it, in one transaction: each memo is modified
    // under the key in its key field, then the category with groupKey is replaced by group, or, when
    // group is null, deleted and the file packed. On any failure nothing has changed.
    bool ChangeGroup(std::int32_t groupKey, const MemoGroupRecord* group, const MemoRecord* memos,
                     std::int32_t memoCount, std::string& reason);

    // The trash. Restoring puts the record back under its key, so it takes its old order again, and
    // under "其它" when its category is gone (RefileRestoredMemo); it is refused when the memo table
    // is full or the key is in use. Results are MEMO_TRASH_* codes.
    std::int32_t TrashCount();
    bool ReadTrash(std::int32_t order, MemoRecord* out, std::int64_t* deletedAt);
    int RestoreMemo(std::int32_t key, std::string& reason);
    std::int32_t EmptyTrash(std::string& reason);

    // Adds categories, then memos, in one transaction, as recycle writes would: all or nothing, and
    // nothing when the memo or category limits would be passed. Results are MEMO_BATCH_* codes.
    int AddRecords(const MemoRecord* memos, std::int32_t memoCount, const MemoGroupRecord* groups,
                   std::int32_t groupCount, std::string& reason);

    // The draft (the table memo_draft). Writing and clearing never wait for another connection's
    // write lock: MEMO_DRAFT_BUSY at once instead. Results are MEMO_DRAFT_* codes.
    int WriteDraft(const MemoRecord& draft, std::string& reason);
    int ClearDraft(std::string& reason);
    // Fills out with the draft; false when there is none or it could not be read.
    bool ReadDraft(MemoRecord* out);

    // What CalDAV sync keeps (MemoSync.h); the results are MEMO_SYNC_* codes, SyncLinks a count or -1.
    std::int32_t SyncLinks(MemoSyncLink* out, std::int32_t capacity, std::string& reason);
    int SyncWriteLinks(const MemoSyncLink* links, std::int32_t count, std::string& reason);
    int SyncRemoveLink(std::int32_t key, std::string& reason);
    int SyncBringIn(std::int32_t key, const MemoRecord& record, const MemoGroupRecord* newGroup,
                    MemoSyncLink* link, std::string& reason);
    int SyncTrashMemo(std::int32_t key, std::string& reason);
    bool SyncState(std::string& collection, std::string& token, std::string& reason);
    int SetSyncState(const std::string& collection, const std::string& token, std::string& reason);

  private:
    StoreSession();
    // SQLite's busy handler: whether to try again to get a lock another connection holds.
    static int WaitForTurn(void* context, int attempt);
    // Whether the mirrors still match the file, invalidating them if another connection wrote.
    bool CheckForeignChanges();
    bool Current(RecordTable& table);
    template <class Patch> void AfterWrite(Patch patch);
    // Why a write of the record with key in table failed: error (SQLite's reason), or when that is
    // empty, that no record has the key.
    std::string WriteFailure(const RecordTable& table, const char* action, std::int32_t key,
                             const std::string& error) const;
    // Runs one write of the draft table (bind gives its parameters) with no busy handler, which is
    // back when it returns. A MEMO_DRAFT_* result.
    template <class Bind> int WithoutWaiting(const Statement& statement, Bind bind, std::string& reason);
    // Runs write, one whole write operation whose result is failed or judged by succeeded, with the
    // checks described above the class.
    template <class Result, class Write, class Succeeded>
    Result Guarded(Result failed, std::string& reason, Write write, Succeeded succeeded);
    // Whether the path still names the opened file; if not, reason says so (differently when the
    // write that asks has just been committed to the replaced file).
    bool StillOpenedFile(std::string& reason, bool committed);
    // Guarded for a write that gives a MEMO_SYNC_* code.
    int GuardedSync(std::string& reason, const std::function<int()>& write);
    // The stored categories as the file has them now (inside a write, so that no other process can
    // add one before the write is done); nothing when they could not be read.
    std::optional<std::vector<MemoGroupRecord>> GroupsNow(std::string& reason);
    void TruncateLog();

    std::string m_path;
    dev_t m_device = 0; // the file that was opened
    ino_t m_inode = 0;
    bool m_replaced = false;
    std::function<void()> m_onReplaced;
    Connection m_db; // declared before the statements, so it is closed after them
    Statement m_dataVersion;
    Statement m_pack;
    Statement m_draftWrite;
    Statement m_draftRead;
    Statement m_draftClear;
    RecordTable m_memos;
    RecordTable m_groups;
    TrashTable m_trash;
    SyncTable m_sync;
    std::int64_t m_seenVersion = -1;
    std::chrono::steady_clock::time_point m_checkedAt;
    std::chrono::steady_clock::time_point m_busySince; // when the current wait for a lock began
};
