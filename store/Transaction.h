#pragma once

#include <string>

class Connection;

// One write transaction of several statements. It takes the write lock at once (BEGIN IMMEDIATE),
// so it waits through the busy handler instead of failing later on a snapshot another writer made
// stale; what is not committed when it goes out of scope is rolled back.
class Transaction
{
  public:
    explicit Transaction(Connection& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Whether the transaction started; false with SQLite's reason.
    bool Begun(std::string& error) const;
    bool Begun() const { return m_open; }
    bool Commit(std::string& error);
    bool Commit();

  private:
    Connection& m_db;
    bool m_open = false;
    std::string m_beginError;
};
