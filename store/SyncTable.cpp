#include "SyncTable.h"

#include "Connection.h"
#include "MemoSync.h"

#include <sqlite3.h>

#include <cstring>
#include <utility>

namespace {

void CopyText(char* out, std::size_t size, const unsigned char* text)
{
    std::strncpy(out, text ? reinterpret_cast<const char*>(text) : "", size - 1);
    out[size - 1] = '\0';
}

} // namespace

int SyncTable::Prepare(sqlite3* db)
{
    m_db = db;
    const std::pair<Statement*, const char*> statements[] = {
        {&m_read, "SELECT key, uid, href, etag, synced FROM sync_link ORDER BY key"},
        {&m_write,
         "INSERT OR REPLACE INTO sync_link (key, uid, href, etag, synced) VALUES (?1, ?2, ?3, ?4, ?5)"},
        {&m_remove, "DELETE FROM sync_link WHERE key = ?1"},
        {&m_removeAll, "DELETE FROM sync_link"},
        {&m_readState, "SELECT collection, token FROM sync_state WHERE id = 1"},
        {&m_writeState, "INSERT OR REPLACE INTO sync_state (id, collection, token) VALUES (1, ?1, ?2)"},
    };
    for (const auto& [statement, sql] : statements) {
        if (const int rc = statement->Prepare(db, sql); rc != SQLITE_OK)
            return rc;
    }
    return SQLITE_OK;
}

bool SyncTable::Step(const Statement& statement, std::string& error)
{
    if (const int rc = sqlite3_step(statement.Handle()); rc != SQLITE_DONE) {
        error = FailureReason(m_db, rc);
        return false;
    }
    return true;
}

bool SyncTable::ReadLinks(std::vector<MemoSyncLink>& out, std::string& error)
{
    StatementUse use(m_read);
    int rc;
    while ((rc = sqlite3_step(*use)) == SQLITE_ROW) {
        MemoSyncLink link{};
        link.key = sqlite3_column_int(*use, 0);
        CopyText(link.uid, sizeof link.uid, sqlite3_column_text(*use, 1));
        CopyText(link.href, sizeof link.href, sqlite3_column_text(*use, 2));
        CopyText(link.etag, sizeof link.etag, sqlite3_column_text(*use, 3));
        const void* synced = sqlite3_column_blob(*use, 4);
        if (synced && sqlite3_column_bytes(*use, 4) == static_cast<int>(sizeof link.synced)) {
            std::memcpy(&link.synced, synced, sizeof link.synced);
            link.hasSynced = 1;
        }
        out.push_back(link);
    }
    if (rc != SQLITE_DONE) {
        error = FailureReason(m_db, rc);
        return false;
    }
    return true;
}

bool SyncTable::Write(const MemoSyncLink& link, std::string& error)
{
    StatementUse use(m_write);
    sqlite3_bind_int(*use, 1, link.key);
    sqlite3_bind_text(*use, 2, link.uid, -1, SQLITE_STATIC);
    sqlite3_bind_text(*use, 3, link.href, -1, SQLITE_STATIC);
    if (link.etag[0] != '\0')
        sqlite3_bind_text(*use, 4, link.etag, -1, SQLITE_STATIC);
    if (link.hasSynced)
        sqlite3_bind_blob(*use, 5, &link.synced, sizeof link.synced, SQLITE_STATIC);
    return Step(m_write, error);
}

bool SyncTable::Remove(std::int32_t key, std::string& error)
{
    StatementUse use(m_remove);
    sqlite3_bind_int(*use, 1, key);
    return Step(m_remove, error);
}

bool SyncTable::RemoveAll(std::string& error)
{
    StatementUse use(m_removeAll);
    return Step(m_removeAll, error);
}

bool SyncTable::ReadState(std::string& collection, std::string& token, std::string& error)
{
    StatementUse use(m_readState);
    const int rc = sqlite3_step(*use);
    if (rc == SQLITE_ROW) {
        const auto* c = sqlite3_column_text(*use, 0);
        const auto* t = sqlite3_column_text(*use, 1);
        collection = c ? reinterpret_cast<const char*>(c) : "";
        token = t ? reinterpret_cast<const char*>(t) : "";
        return true;
    }
    collection.clear();
    token.clear();
    if (rc == SQLITE_DONE)
        return true;
    error = FailureReason(m_db, rc);
    return false;
}

bool SyncTable::WriteState(const std::string& collection, const std::string& token, std::string& error)
{
    StatementUse use(m_writeState);
    sqlite3_bind_text(*use, 1, collection.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text(*use, 2, token.c_str(), -1, SQLITE_STATIC);
    return Step(m_writeState, error);
}
