#pragma once

#include <cstdint>
#include <string>

// Marks the file as a memo store (PRAGMA application_id).
inline constexpr std::int32_t kStoreApplicationId = 0x5A4D454D;
// The format written and read by this version (PRAGMA user_version). A file of an older format, down
// to kOldestMigratedVersion, is upgraded in place when it is opened; a newer one is refused.
// Format 1: the tables memo and memo_group. Format 2: also memo_trash, the deleted memos. Format 3:
// also memo_draft, the memo panel's unsaved edit.
inline constexpr std::int32_t kStoreSchemaVersion = 4;
inline constexpr std::int32_t kOldestMigratedVersion = 1;

// Creates a new, empty store at path. It is built under a temporary name and linked into place only
// when complete, so a store file is never half-made; if another process created the store in the
// meantime, theirs is kept. Returns false with a sentence for the user.
bool CreateStoreFile(const std::string& path, std::string& error);

// Makes sure the existing file at path is a healthy memo store of a known format before anything
// writes to it: header, owner, format version, a quick integrity check and the tables. The checks
// run on a read-only connection, so a file that fails them is left exactly as it was.
bool CheckStoreFile(const std::string& path, std::string& error);

// The same checks for a backup copy, which is only ever read: header, owner, format and contents,
// read as an immutable file, so nothing is created beside it.
bool CheckBackupFile(const std::string& path, std::string& error);
