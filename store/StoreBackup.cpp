#include "StoreBackup.h"

#include "Connection.h"
#include "MemoBackups.h"
#include "StoreFiles.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <tuple>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kStampLength = 15; // YYYYMMDD-hhmmss
constexpr int kMaxSerial = 1000;

struct BackupEntry
{
    std::string stamp;
    int serial = 1;
    std::string path;
};

std::string LocalStamp(std::int64_t now)
{
    const std::time_t time = static_cast<std::time_t>(now);
    std::tm local{};
    char text[32] = {};
    if (!localtime_r(&time, &local) ||
        std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local) != kStampLength)
        return "00000000-000000";
    return text;
}

std::string Prefix(const std::string& storePath)
{
    return fs::path(storePath).stem().string() + ".";
}

bool AllDigits(std::string_view text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The stamp and serial of a copy's file name; nothing for the names of other files.
std::optional<BackupEntry> ParseName(const std::string& name, const std::string& prefix)
{
    if (name.size() < prefix.size() + kStampLength + 3 || name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - 3, 3, ".db") != 0)
        return std::nullopt;
    const std::string middle = name.substr(prefix.size(), name.size() - prefix.size() - 3);
    BackupEntry entry;
    entry.stamp = middle.substr(0, kStampLength);
    if (!AllDigits(std::string_view(entry.stamp).substr(0, 8)) || entry.stamp[8] != '-' ||
        !AllDigits(std::string_view(entry.stamp).substr(9)))
        return std::nullopt;
    const std::string_view rest = std::string_view(middle).substr(kStampLength);
    if (!rest.empty()) {
        if (rest.size() > 5 || rest[0] != '-' || !AllDigits(rest.substr(1)))
            return std::nullopt;
        entry.serial = std::stoi(std::string(rest.substr(1)));
    }
    return entry;
}

// The names of a store's copies in the order they were made, oldest first, kept in a file beside them.
// The names carry the local time of each copy, and a clock that was once wrong makes them lie about
// which copy is the newest; this order does not depend on the clock.
std::string OrderFileOf(const std::string& storePath)
{
    // Put together by appending: GCC 12 warns falsely (-Wrestrict) about operator+ chains here.
    std::string name = ".";
    name += Prefix(storePath);
    name += "order";
    return (fs::path(BackupFolderOf(storePath)) / name).string();
}

std::vector<std::string> ReadOrder(const std::string& storePath)
{
    std::vector<std::string> names;
    std::ifstream in(OrderFileOf(storePath));
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            names.push_back(line);
    return names;
}

// Replaces the order file by names, through a temporary file renamed into place.
void WriteOrder(const std::string& storePath, const std::vector<std::string>& names)
{
    const std::string path = OrderFileOf(storePath);
    const std::string temp = path + ".new-" + std::to_string(::getpid());
    RemoveQuietly(temp);
    if (!CreatePrivateFile(temp))
        return;
    {
        std::ofstream out(temp, std::ios::trunc);
        for (const std::string& name : names)
            out << name << '\n';
        if (!out.flush()) {
            out.close();
            RemoveQuietly(temp);
            return;
        }
    }
    if (::rename(temp.c_str(), path.c_str()) != 0)
        RemoveQuietly(temp);
}

std::vector<BackupEntry> Entries(const std::string& storePath)
{
    std::vector<BackupEntry> entries;
    const std::string prefix = Prefix(storePath);
    std::error_code ec;
    for (fs::directory_iterator it(BackupFolderOf(storePath), ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec))
            continue;
        if (std::optional<BackupEntry> entry = ParseName(it->path().filename().string(), prefix)) {
            entry->path = it->path().string();
            entries.push_back(std::move(*entry));
        }
    }
    // Newest first: the copies in the order file by their place in it, then those it does not list
    // (made before it was kept), which are older, by the moment in their names.
    const std::vector<std::string> order = ReadOrder(storePath);
    const auto rank = [&](const BackupEntry& e) {
        const std::string name = fs::path(e.path).filename().string();
        const auto at = std::find(order.begin(), order.end(), name);
        return at == order.end() ? -1 : static_cast<int>(at - order.begin());
    };
    std::vector<std::pair<int, BackupEntry>> ranked;
    for (BackupEntry& entry : entries)
        ranked.emplace_back(rank(entry), std::move(entry));
    std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
        return std::tie(a.first, a.second.stamp, a.second.serial) >
               std::tie(b.first, b.second.stamp, b.second.serial);
    });
    entries.clear();
    for (auto& [ignored, entry] : ranked)
        entries.push_back(std::move(entry));
    return entries;
}

// Copies every page of `from` into `to` in one step; SQLite's online backup.
bool CopyDatabase(sqlite3* to, sqlite3* from, std::string& error)
{
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup) {
        error = sqlite3_errmsg(to);
        return false;
    }
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    if (stepped != SQLITE_DONE || finished != SQLITE_OK) {
        error = sqlite3_errstr(stepped != SQLITE_DONE ? stepped : finished);
        return false;
    }
    return true;
}

} // namespace

std::string BackupFolderOf(const std::string& storePath)
{
    return (fs::path(storePath).parent_path() / "backups").string();
}

std::vector<std::string> BackupsOf(const std::string& storePath)
{
    std::vector<std::string> paths;
    for (BackupEntry& entry : Entries(storePath))
        paths.push_back(std::move(entry.path));
    return paths;
}

void PruneBackups(const std::string& storePath, const std::string& written, const std::string& spared)
{
    std::vector<BackupEntry> entries = Entries(storePath);
    const auto newest =
        std::find_if(entries.begin(), entries.end(), [&](const BackupEntry& e) { return e.path == written; });
    if (newest != entries.end())
        std::rotate(entries.begin(), newest, newest + 1);
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i >= kKeptBackups && entries[i].path != written && entries[i].path != spared)
            RemoveQuietly(entries[i].path);
        else
            kept.push_back(fs::path(entries[i].path).filename().string());
    }
    std::reverse(kept.begin(), kept.end());
    WriteOrder(storePath, kept);
}

int WriteBackup(sqlite3* source, const std::string& storePath, std::int64_t now, bool onceADay,
                std::string& error, const std::string& spared)
{
    const std::string folder = BackupFolderOf(storePath);
    const std::string stamp = LocalStamp(now);
    if (onceADay) {
        const std::vector<BackupEntry> entries = Entries(storePath);
        if (std::any_of(entries.begin(), entries.end(),
                        [&](const BackupEntry& e) { return e.stamp.compare(0, 8, stamp, 0, 8) == 0; }))
            return MEMO_BACKUP_NOT_DUE;
    }
    if (const std::string verdict = QuickCheck(source); verdict != "ok") {
        error =
            "The memo store file " + storePath + " is damaged (" + verdict + "); no backup was made of it.";
        return MEMO_BACKUP_FAILED;
    }
    if (!MakePrivateFolder(folder, error))
        return MEMO_BACKUP_FAILED;

    std::string name;
    for (int serial = 1; serial <= kMaxSerial && name.empty(); ++serial) {
        std::string candidate = Prefix(storePath);
        candidate += stamp;
        if (serial > 1) {
            candidate += '-';
            candidate += std::to_string(serial);
        }
        candidate += ".db";
        if (!SomethingAt((fs::path(folder) / candidate).string()))
            name = candidate;
    }
    if (name.empty()) {
        error = "No backup was made: the folder " + folder + " has no free name for one.";
        return MEMO_BACKUP_FAILED;
    }
    const std::string target = (fs::path(folder) / name).string();
    const std::string temp =
        (fs::path(folder) / ("." + name + ".new-" + std::to_string(::getpid()))).string();
    RemoveQuietly(temp);

    std::string reason;
    Connection copy;
    bool made = CreatePrivateFile(temp);
    if (!made)
        reason = std::strerror(errno);
    // The copy is a plain file of its own, not in WAL mode, so it is complete without companions.
    made = made && copy.Open(temp, SQLITE_OPEN_READWRITE, reason) &&
           CopyDatabase(copy.Handle(), source, reason) && copy.Exec("PRAGMA journal_mode = DELETE", reason);
    copy.Close();
    if (made && ::link(temp.c_str(), target.c_str()) != 0 &&
        ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0) {
        reason = std::strerror(errno);
        made = false;
    }
    RemoveQuietly(temp);
    if (!made) {
        error = "No backup could be written to " + target + " (" + reason + ").";
        return MEMO_BACKUP_FAILED;
    }
    PruneBackups(storePath, target, spared);
    SyncFolder(folder);
    return MEMO_BACKUP_WRITTEN;
}

bool CopyBackupInto(const std::string& backupPath, const std::string& storePath, std::string& error)
{
    Connection from;
    Connection to;
    std::string reason;
    bool ok = from.Open(ImmutableUri(backupPath), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, reason) &&
              to.Open(storePath, SQLITE_OPEN_READWRITE, reason);
    if (ok) {
        sqlite3_busy_timeout(to.Handle(), 5000);
        ok = CopyDatabase(to.Handle(), from.Handle(), reason);
    }
    if (!ok)
        error = "The backup " + backupPath + " could not be copied into the store (" + reason + ").";
    return ok;
}
