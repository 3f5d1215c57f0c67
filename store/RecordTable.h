#pragma once

#include "Statement.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct sqlite3;

// One table of fixed-size records: rows of (key, record bytes), ordered by key. Order n is the n-th
// row by ascending key, so orders are always 1..count, a modification keeps a record's order and a
// new record lands at the end. Keys come from AUTOINCREMENT and are never handed out twice.
//
// The table mirrors its rows in memory. The mirror is only trusted while the owning session has
// confirmed that no other connection changed the file; the table itself just loads and patches it.
class RecordTable
{
  public:
    RecordTable(std::size_t recordSize, std::size_t keyOffset);

    // Prepares the statements for the named table; returns an SQLite result code.
    int Prepare(sqlite3* db, const std::string& table);

    // The mirror no longer matches the file and is read again on next use.
    void Invalidate();
    bool IsLoaded() const { return m_loaded; }
    // Reads all rows unless the mirror is loaded; false when the file could not be read.
    bool Load();

    std::int32_t Count() const { return static_cast<std::int32_t>(m_keys.size()); }
    // Copy a mirrored record into out, with its key in the key field; false leaves out untouched.
    bool CopyByOrder(std::int32_t order, void* out) const;
    bool CopyByKey(std::int32_t key, void* out) const;

    bool Contains(std::int32_t key) const { return m_loaded && IndexOf(key) >= 0; }

    // Durable writes, each one statement in its own transaction (or in the caller's). They change
    // the file only; the session patches the mirror with the Mirror* calls once it knows the mirror
    // was current. On failure error holds SQLite's reason, and is left as it was when the statement
    // ran but no row has the key.
    std::int32_t InsertRow(const void* record, std::string& error); // the new key, 0 on failure
    bool UpdateRow(std::int32_t key, const void* record, std::string& error);
    bool DeleteRow(std::int32_t key, std::string& error);

    void MirrorInsert(std::int32_t key, const void* record);
    void MirrorUpdate(std::int32_t key, const void* record);
    void MirrorDelete(std::int32_t key);

    // Enumeration bookkeeping: the order a read is expected to ask for next, 0 when none.
    std::int32_t NextOrder() const { return m_nextOrder; }
    void SetNextOrder(std::int32_t order) { m_nextOrder = order; }

  private:
    std::ptrdiff_t IndexOf(std::int32_t key) const;
    void CopyOut(std::size_t index, void* out) const;
    // Runs a write statement to its end; false with SQLite's reason in error.
    bool Run(sqlite3_stmt* statement, std::string& error) const;

    std::size_t m_recordSize;
    std::size_t m_keyOffset;
    Statement m_selectAll;
    Statement m_insert;
    Statement m_update;
    Statement m_delete;
    sqlite3* m_db = nullptr;

    bool m_loaded = false;
    std::vector<std::int32_t> m_keys;     // ascending
    std::vector<unsigned char> m_records; // m_keys.size() records of m_recordSize bytes
    std::int32_t m_nextOrder = 0;
};
