#pragma once

#include <cstdint>
#include <string>

class Connection;

// The steps of the one chain of formats. Each step is the statements that bring a store of one
// format to the next; a new store is made at format 1 and runs every step at once, so a store made
// today and one upgraded from any earlier format hold the same tables.

// Format 1 to 2, the deleted memos: each keeps its key and its record bytes as they were, and the
// moment it was deleted (seconds since the epoch). Keys are those of the memo table, which never hands
// one out again, so a restored memo takes its old key and its old place.
inline constexpr const char* kCreateTrashTable = R"sql(
CREATE TABLE memo_trash (
    key INTEGER PRIMARY KEY CHECK (key BETWEEN 1 AND 2147483647),
    record BLOB NOT NULL CHECK (typeof(record) = 'blob' AND length(record) = 1092),
    deleted_at INTEGER NOT NULL CHECK (typeof(deleted_at) = 'integer'));
)sql";

// Format 2 to 3, the draft: the one unsaved edit of the memo panel, a memo record in its own
// table. The row's id is always 1, so the table never holds more than one draft.
inline constexpr const char* kCreateDraftTable = R"sql(
CREATE TABLE memo_draft (
    id INTEGER PRIMARY KEY CHECK (id = 1),
    record BLOB NOT NULL CHECK (typeof(record) = 'blob' AND length(record) = 1092));
)sql";

// Format 3 to 4, what CalDAV sync knows: for each memo that was synced (or is being uploaded) its
// note's UID and href on the server, the server's ETag as last seen (NULL while an upload is not
// confirmed) and the record as last synced; a link outlives its memo until the deletion reached the
// server. sync_state holds the collection the links belong to and the server's sync token.
inline constexpr const char* kCreateSyncTables = R"sql(
CREATE TABLE sync_link (
    key INTEGER PRIMARY KEY CHECK (key BETWEEN 1 AND 2147483647),
    uid TEXT NOT NULL UNIQUE CHECK (typeof(uid) = 'text' AND length(uid) BETWEEN 1 AND 127),
    href TEXT NOT NULL UNIQUE CHECK (typeof(href) = 'text' AND length(href) BETWEEN 1 AND 511),
    etag TEXT CHECK (etag IS NULL OR (typeof(etag) = 'text' AND length(etag) <= 191)),
    synced BLOB CHECK (synced IS NULL OR (typeof(synced) = 'blob' AND length(synced) = 1092)));
CREATE TABLE sync_state (
    id INTEGER PRIMARY KEY CHECK (id = 1),
    collection TEXT NOT NULL CHECK (typeof(collection) = 'text'),
    token TEXT NOT NULL CHECK (typeof(token) = 'text'));
)sql";

// The statements of every step from format `from` up to the current one, in order.
std::string UpgradeScript(std::int64_t from);

// Brings a checked store of an older format up to the current one in one transaction: either the
// whole upgrade is there afterwards or none of it. The format is read again inside the transaction,
// since another process may have upgraded the file meanwhile. Returns false with a reason.
bool MigrateStore(Connection& db, std::string& error);
