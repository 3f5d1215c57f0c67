#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct sqlite3;

// Owns one SQLite connection; closing it finalises nothing on its own, so statements must be
// destroyed first (members declared after the connection are).
class Connection
{
  public:
    Connection() = default;
    ~Connection();
    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&& other) noexcept;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens with the given SQLITE_OPEN_* flags; on failure returns false and leaves SQLite's reason.
    bool Open(const std::string& path, int flags, std::string& error);
    void Close();
    sqlite3* Handle() const { return m_db; }

    // Runs statements that return no rows the caller needs.
    bool Exec(const char* sql, std::string& error);
    // The first column of the first row of a query, as an integer.
    std::optional<std::int64_t> QueryInt(const char* sql, std::string& error);
    std::string LastMessage() const;

  private:
    sqlite3* m_db = nullptr;
};

// SQLite's quick check of the database on db: "ok", or what it found (or why it could not run). On a
// read-only connection it does not test the tables' CHECK constraints.
std::string QuickCheck(sqlite3* db);

// SQLite's reason for the failed result rc on db. A lock that another connection held past the
// wait is said in words a user can follow.
std::string FailureReason(sqlite3* db, int rc);
