#include "StoreFiles.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

namespace {

std::string ErrorText(int error)
{
    return std::strerror(error);
}

} // namespace

bool MakePrivateFolder(const std::string& folder, std::string& error)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path target(folder);
    if (!target.has_filename())
        target = target.parent_path(); // "dir/" names "dir"
    if (fs::is_directory(target, ec))
        return true;
    ec.clear();
    // Every folder made on the way (also parents such as ~/.local/share) is private. mkdir's mode is
    // narrowed by the umask, never widened; chmod makes it exactly 0700. Nothing is put in a folder
    // before that.
    fs::path made;
    for (const fs::path& part : target) {
        made /= part;
        std::error_code absent; // a part that is not there yet is no error
        if (part.empty() || part == "/" || fs::is_directory(made, absent))
            continue;
        if (::mkdir(made.c_str(), 0700) == 0) {
            ::chmod(made.c_str(), 0700);
        } else if (errno != EEXIST) {
            ec.assign(errno, std::generic_category());
            break;
        }
    }
    if (!ec && !fs::is_directory(target, ec) && !ec)
        ec = std::make_error_code(std::errc::not_a_directory);
    if (ec) {
        error = "The data folder " + folder + " could not be created (" + ec.message() + ").";
        return false;
    }
    return true;
}

bool CreatePrivateFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool made = ::fchmod(fd, 0600) == 0;
    ::close(fd);
    return made;
}

void RemoveQuietly(const std::string& path)
{
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        ::unlink((path + suffix).c_str());
}

void RemoveMadeCompanions(const std::string& path, bool hadWal, bool hadShm)
{
    // A log that holds anything is kept: it may be another process's, or hold a committed change.
    const std::string wal = path + "-wal";
    struct stat info
    {
    };
    const bool walEmpty = ::lstat(wal.c_str(), &info) != 0 || (S_ISREG(info.st_mode) && info.st_size == 0);
    if (!walEmpty)
        return;
    if (!hadWal)
        ::unlink(wal.c_str());
    if (!hadShm)
        ::unlink((path + "-shm").c_str());
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool SomethingAt(const std::string& path)
{
    struct stat info
    {
    };
    return ::lstat(path.c_str(), &info) == 0 || errno != ENOENT;
}

std::string NotAFileReason(const std::string& path)
{
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0) {
        const int error = errno;
        if (error == ENOENT && ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode))
            return "is a symbolic link to nothing";
        return "could not be examined (" + ErrorText(error) + ")";
    }
    if (S_ISREG(info.st_mode))
        return {};
    if (S_ISDIR(info.st_mode))
        return "is a folder, not a file";
    if (S_ISFIFO(info.st_mode))
        return "is a named pipe, not a file";
    if (S_ISSOCK(info.st_mode))
        return "is a socket, not a file";
    return "is a device, not a file";
}

std::string NotWritableReason(const std::string& path)
{
    if (::access(path.c_str(), R_OK | W_OK) != 0)
        return "may not be written by this user (" + ErrorText(errno) + ")";
    // SQLite keeps its -wal and -shm beside the file a link leads to.
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    const std::string folder =
        real ? std::filesystem::path(real.get()).parent_path().string() : std::string(".");
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return "is in a folder where this user may not create files, which saving needs (" +
               ErrorText(errno) + ")";
    return {};
}

std::string NotOwnReason(const std::string& path)
{
    // Someone else's file, or a file in someone else's folder, could be read or swapped by them: this
    // user's memos must not go into it.
    const uid_t self = ::geteuid();
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) == 0 && info.st_uid != self)
        return "belongs to another user (user id " + std::to_string(info.st_uid) + ")";
    // The folder the file really is in (a link may lead elsewhere): whoever owns it can swap the file.
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    const std::string folder = std::filesystem::path(real ? real.get() : path.c_str()).parent_path().string();
    if (::stat(folder.empty() ? "." : folder.c_str(), &info) == 0 && info.st_uid != self)
        return "is in the folder " + folder + ", which belongs to another user (user id " +
               std::to_string(info.st_uid) + ")";
    return {};
}

void RemoveLeftovers(const std::string& folder, const std::string& prefix)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::size_t mark = name.find(".new-", prefix.size());
        if (mark == std::string::npos)
            continue;
        std::size_t digits = mark + 5;
        while (digits < name.size() && name[digits] >= '0' && name[digits] <= '9')
            ++digits;
        const std::string rest = name.substr(digits);
        if (digits == mark + 5 || digits - mark - 5 > 9 ||
            (!rest.empty() && rest != "-journal" && rest != "-wal" && rest != "-shm"))
            continue;
        // Only what a process that is gone left: a running one may still be writing its copy.
        const pid_t pid = static_cast<pid_t>(std::stol(name.substr(mark + 5, digits - mark - 5)));
        if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH)
            ::unlink(it->path().c_str());
    }
}

std::optional<FileSnapshot> Snapshot(const std::string& path)
{
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return FileSnapshot{info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

bool operator==(const FileSnapshot& a, const FileSnapshot& b)
{
    const auto same = [](const timespec& x, const timespec& y) {
        return x.tv_sec == y.tv_sec && x.tv_nsec == y.tv_nsec;
    };
    return a.device == b.device && a.inode == b.inode && a.size == b.size && same(a.modified, b.modified) &&
           same(a.changed, b.changed);
}

std::string ImmutableUri(const std::string& path)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || std::strchr("/._-~", byte) != nullptr;
        if (plain && byte != 0) {
            uri.push_back(c);
        } else {
            uri.push_back('%');
            uri.push_back(kDigits[byte >> 4]);
            uri.push_back(kDigits[byte & 0xF]);
        }
    }
    return uri + "?immutable=1";
}
