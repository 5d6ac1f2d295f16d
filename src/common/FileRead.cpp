#include "common/FileRead.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorlix {

std::string FileTypeText(unsigned mode)
{
    if (S_ISDIR(mode))
        return "a directory";
    if (S_ISFIFO(mode))
        return "a named pipe";
    if (S_ISSOCK(mode))
        return "a socket";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    return "not a regular file";
}

FileReadResult ReadFileStart(const std::string &path, std::size_t maxBytes)
{
    using Status = FileReadResult::Status;
    FileReadResult result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        result.status = errno == ENOENT || errno == ENOTDIR ? Status::Missing : Status::OpenFailed;
        result.error = errno;
        return result;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        result.status = Status::OpenFailed;
        result.error = errno;
    } else if (!S_ISREG(st.st_mode)) {
        result.status = Status::NotRegular;
        result.type = st.st_mode;
    } else {
        result.status = Status::Read;
        char buffer[65536];
        // One byte past the limit tells whether the file held more.
        while (result.contents.size() <= maxBytes) {
            const std::size_t room = maxBytes - result.contents.size();
            const std::size_t want = room < sizeof buffer ? room + 1 : sizeof buffer;
            const ssize_t n = ::read(fd, buffer, want);
            if (n == 0)
                break;
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                result.status = Status::ReadFailed;
                result.error = errno;
                break;
            }
            result.contents.append(buffer, static_cast<std::size_t>(n));
        }
        if (result.contents.size() > maxBytes) {
            result.contents.resize(maxBytes);
            result.truncated = true;
        }
    }
    ::close(fd);
    return result;
}

} // namespace vorlix
