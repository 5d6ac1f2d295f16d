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
    if (fd == -1) {
        result.status = errno == ENOENT || errno == ENOTDIR ? Status::Missing : Status::OpenFailed;
        result.error = errno;
        return result;
    }
    // Of a file just opened fstat cannot fail; if it did, a mode of 0 is no regular file.
    struct stat st {};
    ::fstat(fd, &st);
    if (!S_ISREG(st.st_mode)) {
        result.status = Status::NotRegular;
        result.type = st.st_mode;
    } else {
        result.status = Status::Read;
        // Until a byte past the limit shows there is more. A fixed block: st_blksize is only a
        // hint, which a file system may give as 0 (a read of nothing, taken for the end) or huge.
        char block[65536];
        while (result.contents.size() <= maxBytes) {
            const ssize_t n = ::read(fd, block, sizeof block);
            if (n == 0)
                break;
            if (n == -1) {
                if (errno == EINTR)
                    continue;
                result.status = Status::ReadFailed;
                result.error = errno;
                break;
            }
            result.contents.append(block, static_cast<std::size_t>(n));
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
