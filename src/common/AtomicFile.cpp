#include "common/AtomicFile.h"

#include "common/FileRead.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace vorlix {

namespace {

namespace fs = std::filesystem;

std::string ErrnoText(const std::string &what) { return what + ": " + std::strerror(errno); }

// The file `path` names, as an absolute path: the system follows any chain of links (a
// relative target counts from its own link's folder) and refuses a loop. No call resolves a
// name that does not exist yet, so where the chain dangles, the last link's target is read
// here: the file still to be made. Returns "" with `error` set when the chain cannot be followed.
std::string FileBehindLinks(const std::string &requested, std::string &error)
{
    std::error_code failed;
    for (fs::path path = fs::absolute(requested, failed);;) {
        const fs::path real = fs::canonical(path, failed);
        if (!failed)
            return real;
        if (failed != std::errc::no_such_file_or_directory) {
            error = "cannot reach the file: " + failed.message();
            return {};
        }
        const fs::path target = fs::read_symlink(path, failed);
        if (failed)
            return path;
        path = path.parent_path() / target;
    }
}

// The process's file-creation mask, which can only be read by setting it.
mode_t CurrentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// The temporary file of a save: hidden, and marked with the game's name, so that the clean-up
// below can tell it from any file a player keeps beside the game ("Vorlix.HS.save01").
std::string TempPrefix(std::string_view base) { return "." + std::string(base) + ".vorlix-save-"; }

// What mkstemp made of TempPrefix + "XXXXXX".
bool IsLeftoverName(std::string_view name, std::string_view base)
{
    const std::string prefix = TempPrefix(base);
    return name.size() == prefix.size() + 6 && name.substr(0, prefix.size()) == prefix &&
           std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// Removes the temporary files of saves of `path` that were cut short, as by a kill. Only
// regular files this user owns; the caller holds the lock, so no save is writing one now.
void RemoveLeftovers(const fs::path &path)
{
    std::error_code unreadable; // a folder that cannot be listed has nothing to clear
    for (fs::directory_iterator entry(path.parent_path(), unreadable), end; entry != end; entry.increment(unreadable)) {
        struct stat st {};
        if (IsLeftoverName(entry->path().filename().native(), path.filename().native()) &&
            ::lstat(entry->path().c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
            ::unlink(entry->path().c_str());
    }
}

// "<path>.bak", then "<path>.bak1", "<path>.bak2", ...
std::string BackupName(const std::string &path, int n)
{
    return path + ".bak" + (n == 0 ? std::string() : std::to_string(n));
}

constexpr int MaxBackups = 1000;

} // namespace

bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n == -1) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

FileSaveLock::FileSaveLock(const std::string &path, std::chrono::milliseconds patience) : requested_(path)
{
    struct stat st {};
    throughLink_ = ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
    path_ = FileBehindLinks(path, error_);
    if (!error_.empty())
        return;
    // Renaming over a device or pipe would replace the node itself, and write nothing to it.
    if (::stat(path_.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        error_ = Where("it is " + FileTypeText(st.st_mode));
        return;
    }
    lockFd_ = ::open((path_ + ".lock").c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (lockFd_ == -1) {
        error_ = Where(ErrnoText("cannot create a lock file beside it"));
        return;
    }
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    while (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= giveUp) {
            error_ = Where(errno == EWOULDBLOCK ? "another copy of the game is still saving it"
                                                : ErrnoText("cannot lock the file"));
            return;
        }
        ::usleep(10'000);
    }
}

// Without a lock file the descriptor is -1, and closing it does nothing.
FileSaveLock::~FileSaveLock() { ::close(lockFd_); }

std::string FileSaveLock::Where(std::string message) const
{
    return throughLink_ ? message + " (writing through the link to " + path_ + ")" : message;
}

SaveResult FileSaveLock::Replace(std::string_view contents, bool keepOld)
{
    if (!error_.empty())
        return {error_, {}};
    SaveResult result;
    if (keepOld) {
        if (std::string error = KeepAsBackup(requested_, result.Backup); !error.empty())
            return {std::move(error), {}};
    }
    result.Error = Write(contents);
    // Without a backup the name is "", which names nothing.
    if (!result.Error.empty())
        ::unlink(std::exchange(result.Backup, {}).c_str());
    return result;
}

std::string FileSaveLock::Write(std::string_view contents)
{
    const fs::path file(path_);
    RemoveLeftovers(file);

    struct stat st {};
    const bool exists = ::stat(path_.c_str(), &st) == 0;
    if (exists && ::access(path_.c_str(), W_OK) != 0)
        return Where(ErrnoText("the existing file is not writable"));

    std::string temp = file.parent_path() / (TempPrefix(file.filename().native()) + "XXXXXX");
    const int fd = ::mkstemp(temp.data());
    if (fd == -1)
        return Where(ErrnoText("cannot create a temporary file beside it"));

    // A file of its own, just made: the mode can be set.
    ::fchmod(fd, exists ? st.st_mode & 07777 : 0666 & ~CurrentUmask());
    std::string error;
    if (!WriteAll(fd, contents) || ::fsync(fd) != 0)
        error = ErrnoText("write failed");
    // After the flush a close has nothing left to fail on.
    ::close(fd);
    if (error.empty() && ::rename(temp.c_str(), path_.c_str()) != 0)
        error = ErrnoText("cannot replace the file");
    if (!error.empty()) {
        ::unlink(temp.c_str());
        return Where(error);
    }
    // So that a power loss cannot bring the old file back; best effort, as some file systems
    // cannot flush a folder, and without it the new file is in place all the same.
    const int folder = ::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::fsync(folder);
    ::close(folder);
    return {};
}

SaveResult WriteFileAtomically(const std::string &path, std::string_view contents, bool keepOld)
{
    FileSaveLock lock(path);
    return lock.Replace(contents, keepOld);
}

std::string KeepAsBackup(const std::string &path, std::string &backup)
{
    // The caller names the file; the backup is beside it.
    const auto cannotKeep = [&backup](const std::string &why) {
        return "cannot keep the old file as " + backup.substr(backup.rfind('/') + 1) + ": " + why;
    };
    for (int n = 0; n < MaxBackups; ++n) {
        backup = BackupName(path, n);
        if (::linkat(AT_FDCWD, path.c_str(), AT_FDCWD, backup.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return {};
        // A name that exists fails with EEXIST before anything else is looked at.
        if (errno == EEXIST)
            continue;
        // No link is possible here (another file system, say): a copy.
        const FileReadResult old = ReadFileStart(path, SIZE_MAX);
        if (old.status == FileReadResult::Status::NotRegular)
            return cannotKeep("it is " + FileTypeText(old.type));
        if (old.status != FileReadResult::Status::Read)
            return cannotKeep(std::strerror(old.error));
        // The name was free just now; taken meanwhile, it fails the create rather than be replaced.
        const int fd = ::open(backup.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd == -1)
            return cannotKeep(std::strerror(errno));
        const bool kept = WriteAll(fd, old.contents) && ::fsync(fd) == 0;
        const std::string error = kept ? std::string() : cannotKeep(std::strerror(errno));
        ::close(fd);
        if (!kept)
            ::unlink(backup.c_str());
        return error;
    }
    const std::string name = path.substr(path.rfind('/') + 1);
    return "cannot keep the old file: every name from " + BackupName(name, 0) + " to " +
           BackupName(name, MaxBackups - 1) + " is taken";
}

} // namespace vorlix
