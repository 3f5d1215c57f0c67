#include "TrashTable.h"

#include "Connection.h"
#include "MemoRecord.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <utility>

int TrashTable::Prepare(sqlite3* db)
{
    m_db = db;
    const std::pair<Statement*, const char*> statements[] = {
        // A key found in both tables (only a hand-made file has that) keeps the latest deletion.
        {&m_keep, "INSERT OR REPLACE INTO memo_trash (key, record, deleted_at) "
                  "SELECT key, record, ?2 FROM memo WHERE key = ?1"},
        {&m_count, "SELECT count(*) FROM memo_trash"},
        {&m_readByOrder, "SELECT key, record, deleted_at FROM memo_trash "
                         "ORDER BY deleted_at DESC, key DESC LIMIT 1 OFFSET ?1"},
        {&m_readByKey, "SELECT key, record, deleted_at FROM memo_trash WHERE key = ?1"},
        {&m_restore, "INSERT INTO memo (key, record) SELECT key, record FROM memo_trash WHERE key = ?1"},
        {&m_forget, "DELETE FROM memo_trash WHERE key = ?1"},
        {&m_empty, "DELETE FROM memo_trash"},
        {&m_purge, "DELETE FROM memo_trash WHERE deleted_at < ?1"},
    };
    for (const auto& [statement, sql] : statements) {
        if (const int rc = statement->Prepare(db, sql); rc != SQLITE_OK)
            return rc;
    }
    return SQLITE_OK;
}

bool TrashTable::Keep(std::int32_t key, std::int64_t deletedAt, std::string& error)
{
    StatementUse use(m_keep);
    sqlite3_bind_int(*use, 1, key);
    sqlite3_bind_int64(*use, 2, deletedAt);
    if (const int rc = sqlite3_step(*use); rc != SQLITE_DONE) {
        error = FailureReason(m_db, rc);
        return false;
    }
    return sqlite3_changes(m_db) > 0;
}

std::int32_t TrashTable::Count()
{
    StatementUse use(m_count);
    if (sqlite3_step(*use) != SQLITE_ROW)
        return -1;
    return static_cast<std::int32_t>(std::min<sqlite3_int64>(sqlite3_column_int64(*use, 0), INT32_MAX));
}

bool TrashTable::ReadByOrder(std::int32_t order, MemoRecord* out, std::int64_t* deletedAt)
{
    if (order < 1)
        return false;
    StatementUse use(m_readByOrder);
    sqlite3_bind_int(*use, 1, order - 1);
    return ReadRow(*use, out, deletedAt);
}

bool TrashTable::ReadByKey(std::int32_t key, MemoRecord* out)
{
    StatementUse use(m_readByKey);
    sqlite3_bind_int(*use, 1, key);
    return ReadRow(*use, out, nullptr);
}

bool TrashTable::ReadRow(sqlite3_stmt* statement, MemoRecord* out, std::int64_t* deletedAt)
{
    if (sqlite3_step(statement) != SQLITE_ROW)
        return false;
    const auto key = sqlite3_column_int64(statement, 0);
    const void* blob = sqlite3_column_blob(statement, 1);
    const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement, 1));
    if (key < 1 || key > INT32_MAX || !blob || size != sizeof(MemoRecord))
        return false; // the schema's CHECKs keep such rows out
    std::memcpy(out, blob, sizeof(MemoRecord));
    out->key = static_cast<std::int32_t>(key);
    if (deletedAt)
        *deletedAt = sqlite3_column_int64(statement, 2);
    return true;
}

bool TrashTable::MoveBack(std::int32_t key)
{
    {
        StatementUse use(m_restore);
        sqlite3_bind_int(*use, 1, key);
        if (sqlite3_step(*use) != SQLITE_DONE || sqlite3_changes(m_db) == 0)
            return false;
    }
    StatementUse use(m_forget);
    sqlite3_bind_int(*use, 1, key);
    return sqlite3_step(*use) == SQLITE_DONE && sqlite3_changes(m_db) > 0;
}

std::int32_t TrashTable::Empty()
{
    StatementUse use(m_empty);
    return sqlite3_step(*use) == SQLITE_DONE ? sqlite3_changes(m_db) : -1;
}

std::int32_t TrashTable::DropDeletedBefore(std::int64_t moment)
{
    StatementUse use(m_purge);
    sqlite3_bind_int64(*use, 1, moment);
    return sqlite3_step(*use) == SQLITE_DONE ? sqlite3_changes(m_db) : -1;
}
