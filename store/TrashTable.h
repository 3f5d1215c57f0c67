#pragma once

#include "Statement.h"

#include <cstdint>
#include <string>

struct sqlite3;
struct MemoRecord;

// The statements on the table of deleted memos (memo_trash). Callers that change two tables at once
// run these inside one Transaction; the table keeps no copy in memory, since only the host's trash
// dialog reads it.
class TrashTable
{
  public:
    // Prepares the statements; returns an SQLite result code.
    int Prepare(sqlite3* db);

    // Copies the memo with the given key into the trash, stamped with deletedAt; true when it did.
    // When the file could not be written error holds SQLite's reason; it is left as it was when no
    // memo has the key.
    bool Keep(std::int32_t key, std::int64_t deletedAt, std::string& error);
    // Number of deleted memos; -1 when the file could not be read.
    std::int32_t Count();
    // The deleted memo at order (1-based, the latest deletion first), with its key in the key field.
    bool ReadByOrder(std::int32_t order, MemoRecord* out, std::int64_t* deletedAt);
    // The deleted memo with the key, its key in the key field; false when there is none.
    bool ReadByKey(std::int32_t key, MemoRecord* out);
    // Puts the deleted memo back into the memo table under its key and takes it out of the trash.
    bool MoveBack(std::int32_t key);
    // Drops every deleted memo, or those deleted before the moment given; the number dropped, or -1.
    std::int32_t Empty();
    std::int32_t DropDeletedBefore(std::int64_t moment);

  private:
    static bool ReadRow(sqlite3_stmt* statement, MemoRecord* out, std::int64_t* deletedAt);

    sqlite3* m_db = nullptr;
    Statement m_keep;
    Statement m_count;
    Statement m_readByOrder;
    Statement m_readByKey;
    Statement m_restore;
    Statement m_forget;
    Statement m_empty;
    Statement m_purge;
};
