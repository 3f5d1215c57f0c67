#include "Statement.h"

#include <sqlite3.h>

#include <utility>

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement::Statement(Statement&& other) noexcept : m_stmt(std::exchange(other.m_stmt, nullptr))
{
}

Statement& Statement::operator=(Statement&& other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_stmt = std::exchange(other.m_stmt, nullptr);
    }
    return *this;
}

int Statement::Prepare(sqlite3* db, std::string_view sql)
{
    sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
    return sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                              &m_stmt, nullptr);
}

StatementUse::~StatementUse()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}
