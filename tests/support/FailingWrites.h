#pragma once
// Writes that fail on a real store: from the call on, every write of the given kinds to a table of
// the open store is refused while reading goes on, as on a full disk or a file that something else
// keeps from taking the write. A second connection adds triggers that refuse.
#include <MemoStore.h>

#include <initializer_list>
#include <sqlite3.h>
#include <string>

// `operations`: INSERT, UPDATE, DELETE (all three unless given). True when the triggers are in.
inline bool FailWrites(const char* table,
                       std::initializer_list<const char*> operations = {"INSERT", "UPDATE", "DELETE"})
{
    sqlite3* db = nullptr;
    bool failing = sqlite3_open(MemoStore_CurrentPath(), &db) == SQLITE_OK;
    for (const char* operation : operations) {
        const std::string sql = std::string("CREATE TRIGGER fail_") + table + '_' + operation + " BEFORE " +
                                operation + " ON " + table +
                                " BEGIN SELECT RAISE(ABORT, 'write refused'); END;";
        failing = failing && sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    sqlite3_close(db);
    return failing;
}
