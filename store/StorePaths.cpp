#include "StorePaths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace {

// Keeps the file name and its "-wal" companion under the 255-byte name limit of common file systems.
constexpr std::size_t kMaxUserNameBytes = 100;

std::optional<std::string> HomeDir()
{
    if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        return std::string(home);
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        found->pw_dir[0] == '/')
        return std::string(found->pw_dir);
    return std::nullopt;
}

} // namespace

std::optional<std::string> StoreFileName(std::string_view userName, std::string& error)
{
    if (userName.size() > kMaxUserNameBytes) {
        error = "The user name is too long for a memo store (at most " + std::to_string(kMaxUserNameBytes) +
                " bytes of UTF-8).";
        return std::nullopt;
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string name = "memo-";
    for (const char c : userName) {
        const auto byte = static_cast<unsigned char>(c);
        name.push_back(kDigits[byte >> 4]);
        name.push_back(kDigits[byte & 0xF]);
    }
    name += ".db";
    return name;
}

std::optional<std::string> DefaultDataDir(std::string& error)
{
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/')
        return std::string(xdg) + "/zorva-memo";
    if (const std::optional<std::string> home = HomeDir())
        return *home + "/.local/share/zorva-memo";
    error = "The application data folder is unknown because neither XDG_DATA_HOME nor the home "
            "folder is set.";
    return std::nullopt;
}
