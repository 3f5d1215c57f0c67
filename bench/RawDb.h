#pragma once
// Raw SQLite on a file laid out like the store's, with the statements the store's operations stand
// for: the floor the benchmarks set the store and the panel against.
#include "MemoRecord.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

// The store's table layout, so the raw statements do the same work.
inline constexpr const char* kRawSchema = R"sql(
CREATE TABLE IF NOT EXISTS memo (
    key INTEGER PRIMARY KEY AUTOINCREMENT CHECK (key BETWEEN 1 AND 2147483647),
    record BLOB NOT NULL CHECK (typeof(record) = 'blob' AND length(record) = 1092));
CREATE TABLE IF NOT EXISTS memo_group (
    key INTEGER PRIMARY KEY AUTOINCREMENT CHECK (key BETWEEN 1 AND 2147483647),
    record BLOB NOT NULL CHECK (typeof(record) = 'blob' AND length(record) = 44));
)sql";

class RawDb
{
  public:
    void OpenExisting(const std::filesystem::path& path)
    {
        sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(m_db, 5000);
    }
    void PrepareMemoUpdate() { m_updateMemo = Prepare("UPDATE memo SET record = ?2 WHERE key = ?1"); }
    // The memo statements, on a file that has the store's tables already.
    void PrepareMemoStatements()
    {
        m_insertMemo = Prepare("INSERT INTO memo (record) VALUES (?1)");
        PrepareMemoUpdate();
        m_deleteMemo = Prepare("DELETE FROM memo WHERE key = ?1");
        m_selectMemos = Prepare("SELECT key, record FROM memo ORDER BY key");
    }
    void Open(const std::filesystem::path& path, const char* journalMode)
    {
        sqlite3_open(path.c_str(), &m_db);
        sqlite3_busy_timeout(m_db, 5000);
        // auto_vacuum must come before anything creates the file's header, as in the store.
        const std::string setup = std::string("PRAGMA auto_vacuum = INCREMENTAL; PRAGMA synchronous = FULL; "
                                              "PRAGMA journal_mode = ") +
                                  journalMode + ";";
        Exec(setup.c_str());
        Exec(kRawSchema);
        PrepareMemoStatements();
        m_insertGroup = Prepare("INSERT INTO memo_group (record) VALUES (?1)");
        m_updateGroup = Prepare("UPDATE memo_group SET record = ?2 WHERE key = ?1");
        m_deleteGroup = Prepare("DELETE FROM memo_group WHERE key = ?1");
        m_vacuum = Prepare("PRAGMA incremental_vacuum");
    }
    ~RawDb()
    {
        for (sqlite3_stmt* stmt : {m_insertMemo, m_updateMemo, m_deleteMemo, m_insertGroup, m_updateGroup,
                                   m_deleteGroup, m_selectMemos, m_vacuum})
            sqlite3_finalize(stmt);
        sqlite3_close(m_db);
    }

    void Exec(const char* sql)
    {
        char* error = nullptr;
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
            std::fprintf(stderr, "raw SQLite: %s\n", error);
            std::exit(1);
        }
    }
    std::int64_t Insert(sqlite3_stmt* stmt, const void* record, int size)
    {
        sqlite3_bind_blob(stmt, 1, record, size, SQLITE_STATIC);
        Run(stmt);
        return sqlite3_last_insert_rowid(m_db);
    }
    void Update(sqlite3_stmt* stmt, std::int64_t key, const void* record, int size)
    {
        sqlite3_bind_int64(stmt, 1, key);
        sqlite3_bind_blob(stmt, 2, record, size, SQLITE_STATIC);
        Run(stmt);
    }
    void Delete(sqlite3_stmt* stmt, std::int64_t key)
    {
        sqlite3_bind_int64(stmt, 1, key);
        Run(stmt);
    }
    void Run(sqlite3_stmt* stmt)
    {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
        }
        sqlite3_reset(stmt);
    }
    // One SELECT of every memo, each copied out with its key as the store's reads do.
    int ReadAllMemos(MemoRecord& out)
    {
        int rows = 0;
        while (sqlite3_step(m_selectMemos) == SQLITE_ROW) {
            std::memcpy(&out, sqlite3_column_blob(m_selectMemos, 1), sizeof out);
            out.key = sqlite3_column_int(m_selectMemos, 0);
            benchmark::DoNotOptimize(out);
            ++rows;
        }
        sqlite3_reset(m_selectMemos);
        return rows;
    }

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_insertMemo = nullptr;
    sqlite3_stmt* m_updateMemo = nullptr;
    sqlite3_stmt* m_deleteMemo = nullptr;
    sqlite3_stmt* m_insertGroup = nullptr;
    sqlite3_stmt* m_updateGroup = nullptr;
    sqlite3_stmt* m_deleteGroup = nullptr;
    sqlite3_stmt* m_selectMemos = nullptr;
    sqlite3_stmt* m_vacuum = nullptr;

  private:
    sqlite3_stmt* Prepare(const char* sql)
    {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK) {
            std::fprintf(stderr, "raw SQLite: %s\n", sqlite3_errmsg(m_db));
            std::exit(1);
        }
        return stmt;
    }
};
