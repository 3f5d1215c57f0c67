#pragma once

#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// A prepared statement owned for the life of a connection, so each operation skips the parse.
class Statement
{
  public:
    Statement() = default;
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Returns an SQLite result code.
    int Prepare(sqlite3* db, std::string_view sql);
    sqlite3_stmt* Handle() const { return m_stmt; }

  private:
    sqlite3_stmt* m_stmt = nullptr;
};

// One use of a statement: resets it and clears its bindings on leaving the scope, so that no
// statement keeps a read transaction open between operations.
class StatementUse
{
  public:
    explicit StatementUse(const Statement& statement) : m_stmt(statement.Handle()) {}
    ~StatementUse();
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;

    sqlite3_stmt* operator*() const { return m_stmt; }

  private:
    sqlite3_stmt* m_stmt;
};
