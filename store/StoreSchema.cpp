#include "StoreSchema.h"

#include "Connection.h"
#include "StoreFiles.h"
#include "StoreMigration.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <utility>

namespace {

// auto_vacuum must be chosen before the first table exists; the key CHECK keeps AUTOINCREMENT from
// ever handing out a key that does not fit the records' 32-bit key fields. The tables of format 1,
// then the steps of every later format.
constexpr const char* kCreateSchema = R"sql(
PRAGMA synchronous = FULL;
PRAGMA auto_vacuum = INCREMENTAL;
BEGIN;
CREATE TABLE memo (
    key INTEGER PRIMARY KEY AUTOINCREMENT CHECK (key BETWEEN 1 AND 2147483647),
    record BLOB NOT NULL CHECK (typeof(record) = 'blob' AND length(record) = 1092));
CREATE TABLE memo_group (
    key INTEGER PRIMARY KEY AUTOINCREMENT CHECK (key BETWEEN 1 AND 2147483647),
    record BLOB NOT NULL CHECK (typeof(record) = 'blob' AND length(record) = 44));
@LATER_FORMATS@
PRAGMA application_id = @APPLICATION_ID@;
PRAGMA user_version = @SCHEMA_VERSION@;
COMMIT;
PRAGMA journal_mode = WAL;
)sql";

// `text` with its first `name` replaced by `value`. Put together by appending: GCC 12 warns
// falsely (-Wrestrict) about std::string::replace and operator+ chains here.
std::string Substituted(std::string_view text, std::string_view name, std::string_view value)
{
    const std::size_t at = text.find(name);
    if (at == std::string_view::npos)
        return std::string(text);
    std::string out;
    out.reserve(text.size() + value.size());
    out.append(text.substr(0, at));
    out.append(value);
    out.append(text.substr(at + name.size()));
    return out;
}

std::string CreationScript()
{
    std::string script = Substituted(kCreateSchema, "@LATER_FORMATS@", UpgradeScript(1));
    script = Substituted(script, "@APPLICATION_ID@", std::to_string(kStoreApplicationId));
    return Substituted(script, "@SCHEMA_VERSION@", std::to_string(kStoreSchemaVersion));
}

std::string Refusal(const std::string& path, const std::string& reason)
{
    return "The memo store file " + path + " " + reason + "; it was left as it is.";
}

// A failed read on a file that passed the header check: damage, or something keeping us out.
std::string ReadFailure(const Connection& db, const std::string& path, const std::string& reason)
{
    const int code = sqlite3_errcode(db.Handle()) & 0xFF;
    if (code == SQLITE_CORRUPT || code == SQLITE_NOTADB)
        return Refusal(path, "is damaged (" + reason + ")");
    return Refusal(path, "could not be read (" + reason + ")");
}

std::uint32_t BigEndian32(const unsigned char* bytes)
{
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 | std::uint32_t{bytes[2]} << 8 |
           bytes[3];
}

// The parts of the 100-byte SQLite header that can be judged without SQLite touching the file. What
// is not a regular file is refused before anything opens it: opening a named pipe would wait for a
// writer for ever.
bool CheckHeader(const std::string& path, std::string& error)
{
    if (const std::string reason = NotAFileReason(path); !reason.empty()) {
        error = Refusal(path, reason);
        return false;
    }
    // Non-blocking in case a pipe took the file's place since it was looked at.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = "The memo store file " + path + " could not be read (" + std::strerror(errno) + ").";
        return false;
    }
    struct stat info
    {
    };
    unsigned char header[100];
    ssize_t got = -1;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
        got = ::pread(fd, header, sizeof header, 0);
    ::close(fd);

    if (!S_ISREG(info.st_mode)) {
        error = Refusal(path, "is not a regular file");
        return false;
    }
    if (info.st_size == 0) {
        error = Refusal(path, "is empty");
        return false;
    }
    if (got != static_cast<ssize_t>(sizeof header) || std::memcmp(header, "SQLite format 3", 16) != 0) {
        error = Refusal(path, "is not an SQLite database");
        return false;
    }
    long pageSize = header[16] << 8 | header[17];
    if (pageSize == 1)
        pageSize = 65536;
    const bool powerOfTwo = pageSize >= 512 && pageSize <= 65536 && (pageSize & (pageSize - 1)) == 0;
    if (!powerOfTwo || info.st_size % pageSize != 0) {
        error = Refusal(path, "is damaged (its size does not fit its page size)");
        return false;
    }
    // The owner is written when the store is made, before it turns to WAL, so the main file always
    // carries it: another program's database is refused before SQLite opens it, which would leave a
    // -wal and -shm beside it.
    if (static_cast<std::int32_t>(BigEndian32(header + 68)) != kStoreApplicationId) {
        error = Refusal(path, "is an SQLite database of another program, not a memo store");
        return false;
    }
    return true;
}

} // namespace

bool CreateStoreFile(const std::string& path, std::string& error)
{
    const std::filesystem::path target(path);
    std::string name = ".";
    name += target.filename().string();
    name += ".new-";
    name += std::to_string(::getpid());
    const std::string temp = (target.parent_path() / name).string();
    RemoveQuietly(temp); // left over by a crashed run that had the same process id

    Connection db;
    std::string reason;
    // Made private before SQLite opens it: its -journal and -wal take the same mode.
    bool made = CreatePrivateFile(temp);
    if (!made)
        reason = std::strerror(errno);
    made = made && db.Open(temp, SQLITE_OPEN_READWRITE, reason) && db.Exec(CreationScript().c_str(), reason);
    db.Close();
    // Never replaces a file that appeared meanwhile: if another process created the store first, its
    // store is the one used. Hard links are not on every file system; a no-replace rename does as well.
    if (made && ::link(temp.c_str(), path.c_str()) != 0 && errno != EEXIST &&
        ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) != 0 &&
        errno != EEXIST) {
        reason = std::strerror(errno);
        made = false;
    }
    RemoveQuietly(temp);
    if (!made) {
        error = "A new memo store could not be created at " + path + " (" + reason + ").";
        return false;
    }
    SyncFolder(target.parent_path().string());
    return true;
}

namespace {

// SQLite's quick check of the database on db, "ok" when it is healthy. On a read-only connection the
// check skips the tables' CHECK constraints, and a record that breaks one would be let in, after which
// every write of that table fails. So the database is copied, page for page, into memory, where the
// connection is writable, and checked there: the copy's structure is the file's, and its constraints
// are checked too. A store is small; the copy costs little, and one pass over it is enough.
std::string CheckedCopyVerdict(const Connection& db)
{
    Connection copy;
    std::string reason;
    if (!copy.Open(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY, reason))
        return "no memory for checking it: " + reason;
    sqlite3_backup* backup = sqlite3_backup_init(copy.Handle(), "main", db.Handle(), "main");
    if (!backup)
        return copy.LastMessage();
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    if (stepped != SQLITE_DONE || finished != SQLITE_OK)
        return sqlite3_errstr(stepped != SQLITE_DONE ? stepped : finished);
    return QuickCheck(copy.Handle());
}

// The checks that need SQLite, on a read-only connection to `name` (the path, or a URI for it).
bool CheckContents(const std::string& name, int flags, const std::string& path, std::string& error)
{
    Connection db;
    std::string reason;
    if (!db.Open(name, flags, reason)) {
        error = "The memo store file " + path + " could not be opened (" + reason + ").";
        return false;
    }
    sqlite3_busy_timeout(db.Handle(), 5000);

    const std::optional<std::int64_t> owner = db.QueryInt("PRAGMA application_id", reason);
    if (!owner) {
        error = ReadFailure(db, path, reason);
        return false;
    }
    if (*owner != kStoreApplicationId) {
        error = Refusal(path, "is an SQLite database of another program, not a memo store");
        return false;
    }
    const std::optional<std::int64_t> version = db.QueryInt("PRAGMA user_version", reason);
    if (!version) {
        error = ReadFailure(db, path, reason);
        return false;
    }
    if (*version > kStoreSchemaVersion) {
        error = Refusal(path, "was written by a newer version of this program (format " +
                                  std::to_string(*version) + "; this version reads format " +
                                  std::to_string(kStoreSchemaVersion) + ")");
        return false;
    }
    // Older formats are upgraded once the store is open for writing.
    if (*version < kOldestMigratedVersion) {
        error = Refusal(path, "has an unknown format (" + std::to_string(*version) + ")");
        return false;
    }

    if (const std::string verdict = CheckedCopyVerdict(db); verdict != "ok") {
        error = Refusal(path, "is damaged (" + verdict + ")");
        return false;
    }

    // Each table from the format that brought it; an older store gets the later ones when upgraded.
    constexpr std::pair<std::int64_t, const char*> kProbes[] = {
        {1, "SELECT key, record FROM memo LIMIT 0"},
        {1, "SELECT key, record FROM memo_group LIMIT 0"},
        {2, "SELECT key, record, deleted_at FROM memo_trash LIMIT 0"},
        {3, "SELECT id, record FROM memo_draft LIMIT 0"},
        {4, "SELECT key, uid, href, etag, synced FROM sync_link LIMIT 0"},
        {4, "SELECT id, collection, token FROM sync_state LIMIT 0"},
    };
    for (const auto& [since, probe] : kProbes) {
        if (*version < since)
            continue;
        sqlite3_stmt* stmt = nullptr;
        const int rc = sqlite3_prepare_v2(db.Handle(), probe, -1, &stmt, nullptr);
        sqlite3_finalize(stmt);
        if (rc != SQLITE_OK) {
            error = Refusal(path, "lacks the tables of a memo store (" + db.LastMessage() + ")");
            return false;
        }
    }
    return true;
}

} // namespace

bool CheckStoreFile(const std::string& path, std::string& error)
{
    if (!CheckHeader(path, error))
        return false;
    if (const std::string reason = NotWritableReason(path); !reason.empty()) {
        error = Refusal(path, reason);
        return false;
    }
    if (const std::string reason = NotOwnReason(path); !reason.empty()) {
        error = Refusal(path, reason);
        return false;
    }
    // SQLite would open these too, and block or fail on anything but a file.
    for (const char* suffix : {"-wal", "-shm", "-journal"}) {
        const std::string companion = path + suffix;
        if (!SomethingAt(companion))
            continue;
        if (const std::string reason = NotAFileReason(companion); !reason.empty()) {
            error = Refusal(path, "has beside it " + companion + ", which " + reason);
            return false;
        }
    }
    // Reading a WAL database makes SQLite create a -wal and a -shm beside it, even on a read-only
    // connection, and leave them there: a refused file would not be left as it was. Without a -wal
    // the main file holds the whole database and is read as immutable, which creates nothing. Had
    // another process opened and written it meanwhile, that verdict may rest on a torn read, so the
    // check runs again beside that process, whose -wal and -shm are there anyway.
    const std::string wal = path + "-wal";
    if (const std::optional<FileSnapshot> before = Snapshot(path); before && !SomethingAt(wal)) {
        const bool healthy =
            CheckContents(ImmutableUri(path), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, path, error);
        const std::optional<FileSnapshot> after = Snapshot(path);
        if (after && *after == *before && !SomethingAt(wal))
            return healthy;
        error.clear();
    }
    return CheckContents(path, SQLITE_OPEN_READONLY, path, error);
}

bool CheckBackupFile(const std::string& path, std::string& error)
{
    return CheckHeader(path, error) &&
           CheckContents(ImmutableUri(path), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, path, error);
}
