#include "RecordTable.h"

#include "Connection.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

RecordTable::RecordTable(std::size_t recordSize, std::size_t keyOffset)
    : m_recordSize(recordSize), m_keyOffset(keyOffset)
{
}

int RecordTable::Prepare(sqlite3* db, const std::string& table)
{
    m_db = db;
    Invalidate();
    int rc = m_selectAll.Prepare(db, "SELECT key, record FROM " + table + " ORDER BY key");
    if (rc == SQLITE_OK)
        rc = m_insert.Prepare(db, "INSERT INTO " + table + " (record) VALUES (?1)");
    if (rc == SQLITE_OK)
        rc = m_update.Prepare(db, "UPDATE " + table + " SET record = ?2 WHERE key = ?1");
    if (rc == SQLITE_OK)
        rc = m_delete.Prepare(db, "DELETE FROM " + table + " WHERE key = ?1");
    return rc;
}

void RecordTable::Invalidate()
{
    m_loaded = false;
    m_nextOrder = 0;
}

bool RecordTable::Load()
{
    if (m_loaded)
        return true;
    m_keys.clear();
    m_records.clear();
    StatementUse use(m_selectAll);
    int rc;
    while ((rc = sqlite3_step(*use)) == SQLITE_ROW) {
        const auto key = sqlite3_column_int64(*use, 0);
        const void* blob = sqlite3_column_blob(*use, 1);
        const auto size = static_cast<std::size_t>(sqlite3_column_bytes(*use, 1));
        if (key < 1 || key > INT32_MAX)
            continue; // the schema's CHECK keeps such rows out; never hand out a key that cannot be named
        m_keys.push_back(static_cast<std::int32_t>(key));
        const std::size_t at = m_records.size();
        m_records.resize(at + m_recordSize, 0);
        if (blob)
            std::memcpy(m_records.data() + at, blob, std::min(size, m_recordSize));
    }
    m_loaded = rc == SQLITE_DONE;
    return m_loaded;
}

std::ptrdiff_t RecordTable::IndexOf(std::int32_t key) const
{
    const auto found = std::lower_bound(m_keys.begin(), m_keys.end(), key);
    if (found == m_keys.end() || *found != key)
        return -1;
    return found - m_keys.begin();
}

void RecordTable::CopyOut(std::size_t index, void* out) const
{
    auto* bytes = static_cast<unsigned char*>(out);
    std::memcpy(bytes, m_records.data() + index * m_recordSize, m_recordSize);
    // The row's key is the record's key, whatever the written buffer carried in that field.
    std::memcpy(bytes + m_keyOffset, &m_keys[index], sizeof(std::int32_t));
}

bool RecordTable::CopyByOrder(std::int32_t order, void* out) const
{
    if (!m_loaded || order < 1 || order > Count())
        return false;
    CopyOut(static_cast<std::size_t>(order - 1), out);
    return true;
}

bool RecordTable::CopyByKey(std::int32_t key, void* out) const
{
    if (!m_loaded)
        return false;
    const std::ptrdiff_t index = IndexOf(key);
    if (index < 0)
        return false;
    CopyOut(static_cast<std::size_t>(index), out);
    return true;
}

bool RecordTable::Run(sqlite3_stmt* statement, std::string& error) const
{
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_DONE)
        return true;
    error = FailureReason(m_db, rc);
    return false;
}

std::int32_t RecordTable::InsertRow(const void* record, std::string& error)
{
    StatementUse use(m_insert);
    sqlite3_bind_blob(*use, 1, record, static_cast<int>(m_recordSize), SQLITE_STATIC);
    if (!Run(*use, error))
        return 0;
    // The schema's CHECK refuses keys beyond 32 bits, so this always fits.
    return static_cast<std::int32_t>(sqlite3_last_insert_rowid(m_db));
}

bool RecordTable::UpdateRow(std::int32_t key, const void* record, std::string& error)
{
    StatementUse use(m_update);
    sqlite3_bind_int(*use, 1, key);
    sqlite3_bind_blob(*use, 2, record, static_cast<int>(m_recordSize), SQLITE_STATIC);
    return Run(*use, error) && sqlite3_changes(m_db) > 0;
}

bool RecordTable::DeleteRow(std::int32_t key, std::string& error)
{
    StatementUse use(m_delete);
    sqlite3_bind_int(*use, 1, key);
    return Run(*use, error) && sqlite3_changes(m_db) > 0;
}

void RecordTable::MirrorInsert(std::int32_t key, const void* record)
{
    if (!m_loaded)
        return;
    if (!m_keys.empty() && m_keys.back() >= key) {
        // Never expected with AUTOINCREMENT; read the file again rather than guess.
        Invalidate();
        return;
    }
    m_keys.push_back(key);
    const auto* bytes = static_cast<const unsigned char*>(record);
    m_records.insert(m_records.end(), bytes, bytes + m_recordSize);
}

void RecordTable::MirrorUpdate(std::int32_t key, const void* record)
{
    const std::ptrdiff_t index = m_loaded ? IndexOf(key) : -1;
    if (index < 0) {
        Invalidate();
        return;
    }
    std::memcpy(m_records.data() + static_cast<std::size_t>(index) * m_recordSize, record, m_recordSize);
}

void RecordTable::MirrorDelete(std::int32_t key)
{
    const std::ptrdiff_t index = m_loaded ? IndexOf(key) : -1;
    if (index < 0) {
        Invalidate();
        return;
    }
    m_keys.erase(m_keys.begin() + index);
    const auto first = m_records.begin() + index * static_cast<std::ptrdiff_t>(m_recordSize);
    m_records.erase(first, first + static_cast<std::ptrdiff_t>(m_recordSize));
}
