#include "common/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorlix {

namespace {

std::string ErrnoText(const char *what) { return std::string(what) + ": " + std::strerror(errno); }

std::string ResolveSymlink(const std::string &path)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (realpath(path.c_str(), resolved))
            return resolved;
    }
    return path;
}

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

} // namespace

std::string WriteFileAtomically(const std::string &requestedPath, std::string_view contents)
{
    const std::string path = ResolveSymlink(requestedPath);

    mode_t mode = 0;
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists) {
        if (::access(path.c_str(), W_OK) != 0)
            return ErrnoText("the existing file is not writable");
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return ErrnoText("cannot create a temporary file beside it");

    std::string error;
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
    if (!error.empty())
        ::unlink(temp.c_str());
    return error;
}

} // namespace vorlix
