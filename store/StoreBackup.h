#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct sqlite3;

// Copies of a store file in the folder "backups" beside it, named after the store file's stem and the
// local moment of the copy: "memo-616c696365.20240501-183000.db" (a second copy within the same
// second gets "-2", "-3", ... before ".db").
inline constexpr std::size_t kKeptBackups = 7;

std::string BackupFolderOf(const std::string& storePath);
// The copies of this store, the one made last first. The order they were made in is kept in a file
// beside them, not read off the moments in their names, which a wrong clock can set in the future.
std::vector<std::string> BackupsOf(const std::string& storePath);

// Writes a copy of the database open on `source`, whose file is storePath, taken at `now`. With
// onceADay nothing is written when a copy of the same local day exists; afterwards the copies made
// first are removed, so that kKeptBackups remain (never the one just written, nor `spared`). A database that
// fails SQLite's quick check is not copied. The copy is made under a temporary name and linked into place
// only when complete. Returns a MEMO_BACKUP_* result; error says why it failed.
int WriteBackup(sqlite3* source, const std::string& storePath, std::int64_t now, bool onceADay,
                std::string& error, const std::string& spared = {});

// Records `written` (when not empty) as the copy made last, then removes the copies made first so
// that kKeptBackups remain, sparing `written` and `spared` (a copy about to be restored).
void PruneBackups(const std::string& storePath, const std::string& written = {},
                  const std::string& spared = {});

// Replaces the contents of the store file at storePath with those of the copy at backupPath, in one
// transaction of the store (other connections see all of it or none). The copy is only read.
bool CopyBackupInto(const std::string& backupPath, const std::string& storePath, std::string& error);
