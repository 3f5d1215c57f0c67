// The store session's part for CalDAV sync: links and state, and the memo changes a sync makes,
// each with its link in one transaction.
#include "StoreSession.h"

#include "GroupRules.h"
#include "MemoSync.h"
#include "Transaction.h"

#include <algorithm>
#include <cstring>
#include <ctime>

std::int32_t StoreSession::SyncLinks(MemoSyncLink* out, std::int32_t capacity, std::string& reason)
{
    std::vector<MemoSyncLink> links;
    if (!m_sync.ReadLinks(links, reason)) {
        reason = "The sync links could not be read (" + reason + ").";
        return -1;
    }
    if (out && capacity > 0)
        std::copy_n(links.begin(), std::min<std::size_t>(links.size(), std::size_t(capacity)), out);
    return static_cast<std::int32_t>(links.size());
}

int StoreSession::SyncWriteLinks(const MemoSyncLink* links, std::int32_t count, std::string& reason)
{
    return GuardedSync(reason, [&]() -> int {
        Transaction transaction(m_db);
        if (!transaction.Begun(reason))
            return MEMO_SYNC_FAILED;
        for (std::int32_t i = 0; i < count; ++i)
            if (!m_sync.Write(links[i], reason))
                return MEMO_SYNC_FAILED;
        return transaction.Commit(reason) ? MEMO_SYNC_DONE : MEMO_SYNC_FAILED;
    });
}

int StoreSession::SyncRemoveLink(std::int32_t key, std::string& reason)
{
    return GuardedSync(
        reason, [&] { return m_sync.Remove(key, reason) ? int(MEMO_SYNC_DONE) : int(MEMO_SYNC_FAILED); });
}

int StoreSession::SyncBringIn(std::int32_t key, const MemoRecord& record, const MemoGroupRecord* newGroup,
                              MemoSyncLink* link, std::string& reason)
{
    const int result = GuardedSync(reason, [&]() -> int {
        Transaction transaction(m_db);
        if (!transaction.Begun(reason))
            return MEMO_SYNC_FAILED;
        if (newGroup) {
            const std::optional<std::vector<MemoGroupRecord>> stored = GroupsNow(reason);
            if (!stored)
                return MEMO_SYNC_FAILED;
            if (GroupTableFull(*stored)) {
                reason = "The store holds " + std::to_string(MAX_GROUP_COUNT) + " categories already.";
                return MEMO_SYNC_GROUPS_FULL;
            }
            if (m_groups.InsertRow(newGroup, reason) == 0)
                return MEMO_SYNC_FAILED;
        }
        std::int32_t stored = key;
        if (key == 0) {
            const std::optional<std::int64_t> count = m_db.QueryInt("SELECT count(*) FROM memo", reason);
            if (!count)
                return MEMO_SYNC_FAILED;
            if (*count >= MAX_MEMO_COUNT) {
                reason = "The store holds " + std::to_string(MAX_MEMO_COUNT) + " memos already.";
                return MEMO_SYNC_MEMOS_FULL;
            }
            stored = m_memos.InsertRow(&record, reason);
            if (stored == 0)
                return MEMO_SYNC_FAILED;
        } else if (!m_memos.UpdateRow(key, &record, reason)) {
            if (reason.empty()) {
                reason = "There is no memo with the key " + std::to_string(key) + ".";
                return MEMO_SYNC_NOT_FOUND;
            }
            return MEMO_SYNC_FAILED;
        }
        if (link) {
            link->key = stored;
            link->synced = record;
            link->synced.key = stored;
            link->hasSynced = 1;
            if (!m_sync.Write(*link, reason))
                return MEMO_SYNC_FAILED;
        }
        if (!transaction.Commit(reason))
            return MEMO_SYNC_FAILED;
        return MEMO_SYNC_DONE;
    });
    m_memos.Invalidate();
    m_groups.Invalidate();
    return result;
}

int StoreSession::SyncTrashMemo(std::int32_t key, std::string& reason)
{
    const int result = GuardedSync(reason, [&]() -> int {
        Transaction transaction(m_db);
        if (!transaction.Begun(reason))
            return MEMO_SYNC_FAILED;
        if (!m_trash.Keep(key, std::time(nullptr), reason)) {
            if (reason.empty()) {
                reason = "There is no memo with the key " + std::to_string(key) + ".";
                return MEMO_SYNC_NOT_FOUND;
            }
            return MEMO_SYNC_FAILED;
        }
        if (!m_memos.DeleteRow(key, reason) || !m_sync.Remove(key, reason) || !transaction.Commit(reason))
            return MEMO_SYNC_FAILED;
        return MEMO_SYNC_DONE;
    });
    m_memos.Invalidate();
    return result;
}

bool StoreSession::SyncState(std::string& collection, std::string& token, std::string& reason)
{
    return m_sync.ReadState(collection, token, reason);
}

int StoreSession::SetSyncState(const std::string& collection, const std::string& token, std::string& reason)
{
    return GuardedSync(reason, [&]() -> int {
        Transaction transaction(m_db);
        std::string stored;
        std::string storedToken;
        if (!transaction.Begun(reason) || !m_sync.ReadState(stored, storedToken, reason))
            return MEMO_SYNC_FAILED;
        if (stored != collection && !m_sync.RemoveAll(reason))
            return MEMO_SYNC_FAILED;
        if (!m_sync.WriteState(collection, token, reason) || !transaction.Commit(reason))
            return MEMO_SYNC_FAILED;
        return MEMO_SYNC_DONE;
    });
}
