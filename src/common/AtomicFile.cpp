#include "common/AtomicFile.h"

#include "common/FileRead.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorlix {

namespace {

std::string ErrnoText(const std::string &what) { return what + ": " + std::strerror(errno); }

// Linux gives up resolving a path after as many links.
constexpr int MaxLinks = 40;

// Follows `path` through any chain of symbolic links to the name the file has, or will have
// if the last link dangles; a relative target counts from its link's directory. `type` gets
// the st_mode of what is there, 0 when nothing is. Returns false with `error` set when the
// chain cannot be followed, as in a loop.
bool FollowLinks(const std::string &path, std::string &final, unsigned &type, std::string &error)
{
    final = path;
    for (int links = 0;; ++links) {
        struct stat st {};
        if (::lstat(final.c_str(), &st) != 0) {
            if (errno == ENOENT)
                return true;
            error = ErrnoText("cannot reach the file");
            return false;
        }
        type = st.st_mode;
        if (!S_ISLNK(st.st_mode))
            return true;
        type = 0;
        if (links == MaxLinks) {
            errno = ELOOP;
            error = ErrnoText("cannot follow the link");
            return false;
        }
        char target[PATH_MAX];
        const ssize_t length = ::readlink(final.c_str(), target, sizeof target);
        if (length < 0 || static_cast<std::size_t>(length) == sizeof target) {
            if (length >= 0)
                errno = ENAMETOOLONG;
            error = ErrnoText("cannot read the link");
            return false;
        }
        const std::string next(target, static_cast<std::size_t>(length));
        const std::size_t slash = final.rfind('/');
        if ((!next.empty() && next.front() == '/') || slash == std::string::npos)
            final = next;
        else
            final = final.substr(0, slash + 1) + next;
    }
}

std::string FolderOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
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
void RemoveLeftovers(const std::string &path)
{
    const std::string folder = FolderOf(path);
    const std::string base = path.substr(path.rfind('/') + 1);
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    const int dirFd = ::dirfd(dir);
    while (const dirent *entry = ::readdir(dir)) {
        struct stat st {};
        if (IsLeftoverName(entry->d_name, base) && ::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
            ::unlinkat(dirFd, entry->d_name, 0);
    }
    ::closedir(dir);
}

// After a rename, so that a power loss cannot bring the old file back. Best effort: the new
// file is in place either way, and some file systems cannot flush a folder.
void SyncFolder(const std::string &path)
{
    const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
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
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

FileSaveLock::FileSaveLock(const std::string &path, std::chrono::milliseconds patience) : requested_(path)
{
    unsigned type = 0;
    if (!FollowLinks(path, path_, type, error_))
        return;
    // Renaming over a device or pipe would replace the node itself, and write nothing to it.
    if (type != 0 && !S_ISREG(type)) {
        error_ = Where("it is " + FileTypeText(type));
        return;
    }
    const std::string lock = path_ + ".lock";
    lockFd_ = ::open(lock.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (lockFd_ < 0) {
        error_ = Where(ErrnoText("cannot create a lock file beside it"));
        return;
    }
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    while (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK && std::chrono::steady_clock::now() < giveUp) {
            ::usleep(10'000);
            continue;
        }
        if (errno == EINTR)
            continue;
        error_ = Where(errno == EWOULDBLOCK ? "another copy of the game is still saving it"
                                            : ErrnoText("cannot lock the file"));
        ::close(lockFd_);
        lockFd_ = -1;
        return;
    }
}

FileSaveLock::~FileSaveLock()
{
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

std::string FileSaveLock::Where(std::string message) const
{
    return path_ == requested_ ? message : message + " (writing through the link to " + path_ + ")";
}

std::string FileSaveLock::Replace(std::string_view contents)
{
    if (!error_.empty())
        return error_;
    RemoveLeftovers(path_);

    mode_t mode = 0;
    struct stat st {};
    const bool exists = ::stat(path_.c_str(), &st) == 0;
    if (exists) {
        if (::access(path_.c_str(), W_OK) != 0)
            return Where(ErrnoText("the existing file is not writable"));
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    const std::size_t slash = path_.rfind('/') + 1;
    std::string temp = path_.substr(0, slash) + TempPrefix(path_.substr(slash)) + "XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return Where(ErrnoText("cannot create a temporary file beside it"));

    std::string error;
    if (!WriteAll(fd, contents))
        error = ErrnoText("write failed");
    else if (::fchmod(fd, mode) != 0)
        error = ErrnoText("cannot set permissions");
    else if (::fsync(fd) != 0)
        error = ErrnoText("flush failed");
    if (::close(fd) != 0 && error.empty())
        error = ErrnoText("close failed");
    if (error.empty() && ::rename(temp.c_str(), path_.c_str()) != 0)
        error = ErrnoText("cannot replace the file");
    if (error.empty()) {
        SyncFolder(path_);
        return error;
    }
    ::unlink(temp.c_str());
    return Where(error);
}

std::string WriteFileAtomically(const std::string &path, std::string_view contents)
{
    FileSaveLock lock(path);
    return lock.Replace(contents);
}

std::string KeepAsBackup(const std::string &path, std::string &backup)
{
    // The caller names the file; the backup is beside it.
    const auto cannotKeep = [&backup] { return "cannot keep the old file as " + backup.substr(backup.rfind('/') + 1); };
    bool linking = true;
    FileReadResult old;
    for (int n = 0; n < MaxBackups; ++n) {
        backup = BackupName(path, n);
        if (linking) {
            if (::linkat(AT_FDCWD, path.c_str(), AT_FDCWD, backup.c_str(), AT_SYMLINK_FOLLOW) == 0)
                return {};
            if (errno == EEXIST)
                continue;
            linking = false;
            old = ReadFileStart(path, SIZE_MAX);
            if (old.status != FileReadResult::Status::Read) {
                errno = old.error;
                return old.status == FileReadResult::Status::NotRegular
                           ? cannotKeep() + ": it is " + FileTypeText(old.type)
                           : ErrnoText(cannotKeep());
            }
        }
        const int fd = ::open(backup.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return ErrnoText(cannotKeep());
        }
        std::string error;
        if (!WriteAll(fd, old.contents) || ::fsync(fd) != 0)
            error = ErrnoText(cannotKeep());
        if (::close(fd) != 0 && error.empty())
            error = ErrnoText(cannotKeep());
        if (!error.empty())
            ::unlink(backup.c_str());
        return error;
    }
    const std::string name = path.substr(path.rfind('/') + 1);
    return "cannot keep the old file: every name from " + BackupName(name, 0) + " to " +
           BackupName(name, MaxBackups - 1) + " is taken";
}


} // namespace vorlix
