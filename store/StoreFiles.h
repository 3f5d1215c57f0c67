#pragma once

#include <sys/types.h>

#include <ctime>
#include <optional>
#include <string>

// The file-system side of a store: private folders and files, what kind of thing sits at a path,
// whether this user may write it, and whether a file changed while it was read.

// Creates folder (and its missing parents) if it does not exist; every folder made here is mode 0700,
// whatever the umask. An existing folder is left as it is.
bool MakePrivateFolder(const std::string& folder, std::string& error);

// Creates an empty file of mode 0600, whatever the umask; false if anything is at path already.
bool CreatePrivateFile(const std::string& path);

// Removes a database file and the companions SQLite may have left beside it, ignoring failures.
void RemoveQuietly(const std::string& path);

// After a store file was refused: removes the -wal and -shm beside path that were not there before
// (hadWal, hadShm) while the log holds nothing.
void RemoveMadeCompanions(const std::string& path, bool hadWal, bool hadShm);

// Makes the folder's entries (a file linked or removed) durable.
void SyncFolder(const std::string& folder);

// Whether anything (also a dangling symbolic link) is at path.
bool SomethingAt(const std::string& path);

// Why what is at path cannot be a store file, judged without opening it (a named pipe would block
// the opener): empty for a regular file or a link to one.
std::string NotAFileReason(const std::string& path);

// Why this user (by its effective ids) may not change the store file: it must be readable and
// writable, and its folder must take the companion files SQLite keeps beside it. Empty when it may.
std::string NotWritableReason(const std::string& path);

// Why the store file at path may not be used though this user could write it: it, or the folder it
// is in, belongs to another user. Empty when both are this user's.
std::string NotOwnReason(const std::string& path);

// Removes from folder the temporary files (and their -journal, -wal, -shm) whose names start with
// prefix and end in ".new-<process id>", which a process killed while writing a store or a copy left,
// when that process is gone.
void RemoveLeftovers(const std::string& folder, const std::string& prefix);

// A file's identity and last change; equal snapshots mean nobody wrote the file in between.
struct FileSnapshot
{
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};
};
std::optional<FileSnapshot> Snapshot(const std::string& path);
bool operator==(const FileSnapshot& a, const FileSnapshot& b);

// An SQLite URI that opens path as an immutable file: no locks and no -wal or -shm beside it.
std::string ImmutableUri(const std::string& path);
