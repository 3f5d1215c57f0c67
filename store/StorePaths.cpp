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

// Well-formed UTF-8 as Unicode defines it: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead < 0x80)
            length = 1;
        else if (lead >= 0xC2 && lead <= 0xDF)
            length = 2;
        else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (text.size() - i < length)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF))
                return false;
        }
        i += length;
    }
    return true;
}

} // namespace

std::optional<std::string> StoreFileName(std::string_view userName, std::string& error)
{
    if (userName.size() > kMaxUserNameBytes) {
        error = "The user name is too long for a memo store (at most " + std::to_string(kMaxUserNameBytes) +
                " bytes of UTF-8).";
        return std::nullopt;
    }
    if (!IsUtf8(userName)) {
        error = "The user name is not valid UTF-8 text, so no memo store was opened.";
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
