#include "common/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorlix {

namespace {

std::string ErrnoText(const char *what) { return std::string(what) + ": " + std::strerror(errno); }

// Linux gives up resolving a path after as many links.
constexpr int MaxLinks = 40;

// Follows `path` through any chain of symbolic links to the name the file has, or will have
// if the last link dangles; a relative target counts from its link's directory. Returns false
// with `error` set when the chain cannot be followed, as in a loop.
bool FollowLinks(const std::string &path, std::string &final, std::string &error)
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
        if (!S_ISLNK(st.st_mode))
            return true;
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
            error = ErrnoText("cannot follow the link");
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

std::string WriteFileAtomically(const std::string &requestedPath, std::string_view contents)
{
    std::string path;
    std::string error;
    if (!FollowLinks(requestedPath, path, error))
        return error;
    // Through a link, say where the file went.
    const auto where = [&](std::string message) {
        return path == requestedPath ? message : message + " (writing through the link to " + path + ")";
    };

    mode_t mode = 0;
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists) {
        if (::access(path.c_str(), W_OK) != 0)
            return where(ErrnoText("the existing file is not writable"));
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return where(ErrnoText("cannot create a temporary file beside it"));

    if (!WriteAll(fd, contents))
        error = ErrnoText("write failed");
    else if (::fchmod(fd, mode) != 0)
        error = ErrnoText("cannot set permissions");
    else if (::fsync(fd) != 0)
        error = ErrnoText("flush failed");
    if (::close(fd) != 0 && error.empty())
        error = ErrnoText("close failed");
    if (error.empty() && ::rename(temp.c_str(), path.c_str()) != 0)
        error = ErrnoText("cannot replace the file");
    if (error.empty())
        return error;
    ::unlink(temp.c_str());
    return where(error);
}

} // namespace vorlix
