#pragma once

#include "Statement.h"

#include <cstdint>
#include <string>
#include <vector>

struct sqlite3;
struct MemoSyncLink;

// The statements on the sync tables (sync_link, sync_state). Callers that change a memo too run them
// inside one Transaction.
class SyncTable
{
  public:
    int Prepare(sqlite3* db);

    bool ReadLinks(std::vector<MemoSyncLink>& out, std::string& error);
    bool Write(const MemoSyncLink& link, std::string& error);
    bool Remove(std::int32_t key, std::string& error);
    bool RemoveAll(std::string& error);
    bool ReadState(std::string& collection, std::string& token, std::string& error);
    bool WriteState(const std::string& collection, const std::string& token, std::string& error);

  private:
    bool Step(const Statement& statement, std::string& error);

    sqlite3* m_db = nullptr;
    Statement m_read;
    Statement m_write;
    Statement m_remove;
    Statement m_removeAll;
    Statement m_readState;
    Statement m_writeState;
};
