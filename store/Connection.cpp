#include "Connection.h"

#include <sqlite3.h>

#include <utility>

Connection::~Connection()
{
    Close();
}

Connection::Connection(Connection&& other) noexcept : m_db(std::exchange(other.m_db, nullptr))
{
}

Connection& Connection::operator=(Connection&& other) noexcept
{
    if (this != &other) {
        Close();
        m_db = std::exchange(other.m_db, nullptr);
    }
    return *this;
}

bool Connection::Open(const std::string& path, int flags, std::string& error)
{
    Close();
    // The store serialises its callers itself; SQLite need not lock each call again.
    const int rc = sqlite3_open_v2(path.c_str(), &m_db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc == SQLITE_OK)
        return true;
    error = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
    Close();
    return false;
}

void Connection::Close()
{
    if (m_db)
        sqlite3_close_v2(m_db);
    m_db = nullptr;
}

bool Connection::Exec(const char* sql, std::string& error)
{
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &message);
    sqlite3_free(message); // the connection keeps the same text for FailureReason
    if (rc == SQLITE_OK)
        return true;
    error = FailureReason(m_db, rc);
    return false;
}

std::optional<std::int64_t> Connection::QueryInt(const char* sql, std::string& error)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
        error = LastMessage();
        return std::nullopt;
    }
    std::optional<std::int64_t> value;
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW)
        value = sqlite3_column_int64(stmt, 0);
    else
        error = rc == SQLITE_DONE ? std::string("the query gave no result") : LastMessage();
    sqlite3_finalize(stmt);
    return value;
}

std::string Connection::LastMessage() const
{
    return m_db ? sqlite3_errmsg(m_db) : std::string();
}

std::string QuickCheck(sqlite3* db)
{
    sqlite3_stmt* check = nullptr;
    std::string verdict;
    if (sqlite3_prepare_v2(db, "PRAGMA quick_check(1)", -1, &check, nullptr) == SQLITE_OK &&
        sqlite3_step(check) == SQLITE_ROW) {
        const auto* text = sqlite3_column_text(check, 0);
        verdict = text ? reinterpret_cast<const char*>(text) : "";
    } else {
        verdict = sqlite3_errmsg(db);
    }
    sqlite3_finalize(check);
    return verdict;
}

std::string FailureReason(sqlite3* db, int rc)
{
    std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    if ((rc & 0xFF) == SQLITE_BUSY)
        message = "another program kept the memo store locked for too long: " + message;
    return message;
}
