#include "Transaction.h"

#include "Connection.h"

Transaction::Transaction(Connection& db) : m_db(db)
{
    m_open = m_db.Exec("BEGIN IMMEDIATE", m_beginError);
}

Transaction::~Transaction()
{
    if (m_open) {
        std::string ignored;
        m_db.Exec("ROLLBACK", ignored);
    }
}

bool Transaction::Begun(std::string& error) const
{
    if (!m_open)
        error = m_beginError;
    return m_open;
}

bool Transaction::Commit(std::string& error)
{
    if (!m_open)
        return false;
    if (!m_db.Exec("COMMIT", error))
        return false; // still open: the destructor rolls it back
    m_open = false;
    return true;
}

bool Transaction::Commit()
{
    std::string ignored;
    return Commit(ignored);
}
