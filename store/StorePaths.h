#pragma once

#include <optional>
#include <string>
#include <string_view>

// Where stores live: one SQLite file per user, named "memo-<hex of the UTF-8 user name>.db", so no
// user name can reach outside the data folder or collide with another one (also on file systems that
// ignore letter case). The empty name is a user like any other: "memo-.db". A name that is not valid
// UTF-8 is refused: programs that turn such bytes into text make different names the same.
std::optional<std::string> StoreFileName(std::string_view userName, std::string& error);

// $XDG_DATA_HOME/zorva-memo when XDG_DATA_HOME is an absolute path, otherwise
// ~/.local/share/zorva-memo.
std::optional<std::string> DefaultDataDir(std::string& error);
