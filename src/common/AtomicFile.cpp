#include "common/AtomicFile.h"

#include "common/FileRead.h"

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

std::string ErrnoText(const char *what) { return std::string(what) + ": " + std::strerror(errno); }

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

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "<name>.XXXXXX" as mkstemp fills it in. Six lower-case letters are left alone, as a person
// may name a copy so ("backup"); so are the game's own backups ("bak123").
bool IsLeftoverName(std::string_view name, std::string_view base)
{
    if (name.size() != base.size() + 7 || name.substr(0, base.size()) != base || name[base.size()] != '.')
        return false;
    const std::string_view suffix = name.substr(base.size() + 1);
    bool random = false;
    bool backup = suffix.substr(0, 3) == "bak";
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        const char c = suffix[i];
        const bool upper = c >= 'A' && c <= 'Z';
        if (!upper && !IsDigit(c) && !(c >= 'a' && c <= 'z'))
            return false;
        random = random || upper || IsDigit(c);
        if (i >= 3 && !IsDigit(c))
            backup = false;
    }
    return random && !backup;
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

    std::string temp = path_ + ".XXXXXX";
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

} // namespace vorlix
