#pragma once

#include <string>

class Connection;

// The deleted memos: each keeps its key and its record bytes as they were, and the moment it was
// deleted (seconds since the epoch). Keys are those of the memo table, which never hands one out
// again, so a restored memo takes its old key and its old place.
inline constexpr const char* kCreateTrashTable = R"sql(
CREATE TABLE memo_trash (
    key INTEGER PRIMARY KEY CHECK (key BETWEEN 1 AND 2147483647),
    record BLOB NOT NULL CHECK (typeof(record) = 'blob' AND length(record) = 1092),
    deleted_at INTEGER NOT NULL CHECK (typeof(deleted_at) = 'integer'));
)sql";

// Brings a checked store of an older format up to the current one in one transaction: either the
// whole upgrade is there afterwards or none of it. The format is read again inside the transaction,
// since another process may have upgraded the file meanwhile. Returns false with a reason.
bool MigrateStore(Connection& db, std::string& error);
