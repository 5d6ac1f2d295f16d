#include "scores/HighScoreFile.h"

#include "common/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vorlix {

namespace {

void PutUint32(std::uint8_t *out, std::uint32_t value)
{
    out[0] = static_cast<std::uint8_t>(value);
    out[1] = static_cast<std::uint8_t>(value >> 8);
    out[2] = static_cast<std::uint8_t>(value >> 16);
    out[3] = static_cast<std::uint8_t>(value >> 24);
}

std::uint32_t GetUint32(const std::uint8_t *in)
{
    return static_cast<std::uint32_t>(in[0]) | static_cast<std::uint32_t>(in[1]) << 8 |
           static_cast<std::uint32_t>(in[2]) << 16 | static_cast<std::uint32_t>(in[3]) << 24;
}

// The file order.
std::array<HighScoreTable *, 3> TablesInFileOrder(HighScores &scores)
{
    return {&scores.HardScores, &scores.MediumScores, &scores.EasyScores};
}

std::string ErrnoText(const std::string &what) { return what + ": " + std::strerror(errno); }

// Reads up to `size` bytes; fewer only at the end of the file. -1 on a read error.
ssize_t ReadUpTo(int fd, std::uint8_t *buffer, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, buffer + done, size - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

// Keeps the file at `path` as `path`.bak, replacing an older backup. A hard link needs no read
// permission and no copy; where links are not supported, the bytes are copied.
std::string KeepAsBackup(const std::string &path)
{
    const std::string backup = path + ".bak";
    const std::string temp = backup + ".new";
    ::unlink(temp.c_str());
    if (::linkat(AT_FDCWD, path.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        if (::rename(temp.c_str(), backup.c_str()) == 0)
            return {};
        const std::string error = ErrnoText("cannot keep the old file as " + backup);
        ::unlink(temp.c_str());
        return error;
    }

    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return ErrnoText("cannot keep the old file as " + backup);
    std::string contents;
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof buffer)) != 0) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const std::string error = ErrnoText("cannot keep the old file as " + backup);
            ::close(fd);
            return error;
        }
        contents.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    const std::string error = WriteFileAtomically(backup, contents);
    return error.empty() ? error : "cannot keep the old file as " + backup + ": " + error;
}

} // namespace

void EncodeHighScoreEntry(const HighScoreEntry &entry, std::uint8_t *out)
{
    std::copy(entry.Name.begin(), entry.Name.end(), out);
    out[30] = entry.Mode;
    out[31] = entry.Padding;
    PutUint32(out + 32, entry.Score);
    PutUint32(out + 36, entry.Level);
    PutUint32(out + 40, entry.Lines);
    PutUint32(out + 44, entry.Pieces);
    PutUint32(out + 48, entry.Bonuses);
}

HighScoreEntry DecodeHighScoreEntry(const std::uint8_t *in)
{
    HighScoreEntry entry;
    std::copy(in, in + HighScoreNameSize, entry.Name.begin());
    entry.Mode = in[30];
    entry.Padding = in[31];
    entry.Score = GetUint32(in + 32);
    entry.Level = GetUint32(in + 36);
    entry.Lines = GetUint32(in + 40);
    entry.Pieces = GetUint32(in + 44);
    entry.Bonuses = GetUint32(in + 48);
    return entry;
}

std::string EncodeHighScores(const HighScores &scores)
{
    std::string bytes(HighScoreFileSize, '\0');
    auto *out = reinterpret_cast<std::uint8_t *>(bytes.data());
    for (const HighScoreTable *table : TablesInFileOrder(const_cast<HighScores &>(scores))) {
        for (const HighScoreEntry &entry : *table) {
            EncodeHighScoreEntry(entry, out);
            out += HighScoreEntrySize;
        }
    }
    return bytes;
}

HighScoreLoadResult LoadHighScores(HighScores &scores, const std::string &path)
{
    for (HighScoreTable *table : TablesInFileOrder(scores))
        *table = HighScoreTable{};

    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 && errno == ENOENT)
        return {HighScoreLoadStatus::NoFile, {}};

    const auto fail = [&](const std::string &message) {
        scores.KeepOldFileOnSave = true;
        return HighScoreLoadResult{HighScoreLoadStatus::Failed, message};
    };

    // Non-blocking, so a FIFO in the file's place cannot hang the start.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return fail(ErrnoText("cannot open " + path));
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(path + " is not a regular file");
    }
    std::vector<std::uint8_t> bytes(HighScoreFileSize);
    const ssize_t got = ReadUpTo(fd, bytes.data(), bytes.size());
    const int readErrno = errno;
    ::close(fd);

    const std::size_t whole = got < 0 ? 0 : static_cast<std::size_t>(got);
    const std::uint8_t *in = bytes.data();
    for (HighScoreTable *table : TablesInFileOrder(scores)) {
        if (whole < static_cast<std::size_t>(in - bytes.data()) + HighScoreTableSize)
            break;
        for (HighScoreEntry &entry : *table) {
            entry = DecodeHighScoreEntry(in);
            in += HighScoreEntrySize;
        }
    }

    if (got < 0) {
        errno = readErrno;
        return fail(ErrnoText("cannot read " + path));
    }
    if (whole < HighScoreFileSize)
        return fail(path + " holds " + std::to_string(whole) + " bytes instead of " +
                    std::to_string(HighScoreFileSize));
    return {HighScoreLoadStatus::Loaded, {}};
}

std::string SaveHighScores(HighScores &scores, const std::string &path)
{
    if (scores.KeepOldFileOnSave) {
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 || errno != ENOENT) {
            if (std::string error = KeepAsBackup(path); !error.empty())
                return error;
        }
    }
    std::string error = WriteFileAtomically(path, EncodeHighScores(scores));
    if (!error.empty())
        return path + ": " + error;
    scores.KeepOldFileOnSave = false;
    return {};
}

} // namespace vorlix
