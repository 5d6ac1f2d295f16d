#include "scores/HighScoreFile.h"

#include "common/AtomicFile.h"
#include "common/FileRead.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// "<path>.bak", then "<path>.bak1", "<path>.bak2", ...
std::string BackupName(const std::string &path, int n)
{
    return path + ".bak" + (n == 0 ? std::string() : std::to_string(n));
}

constexpr int MaxBackups = 1000;

// Keeps the file at `path` under the first backup name nothing else has, and returns that
// name in `backup`. Claiming the name is one step that fails when the name exists (a hard
// link, else an exclusive create), so no backup, of this game or another running at the
// same time, is ever overwritten. A hard link needs no read permission and no copy; where
// links are not possible, the bytes are copied.
std::string KeepAsBackup(const std::string &path, std::string &backup)
{
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
                           ? "cannot keep the old file as " + backup + ": it is not a regular file"
                           : ErrnoText("cannot keep the old file as " + backup);
            }
        }
        const int fd = ::open(backup.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return ErrnoText("cannot keep the old file as " + backup);
        }
        std::string error;
        if (!WriteAll(fd, old.contents) || ::fsync(fd) != 0)
            error = ErrnoText("cannot keep the old file as " + backup);
        if (::close(fd) != 0 && error.empty())
            error = ErrnoText("cannot keep the old file as " + backup);
        if (!error.empty())
            ::unlink(backup.c_str());
        return error;
    }
    return "cannot keep the old file: every name from " + BackupName(path, 0) + " to " +
           BackupName(path, MaxBackups - 1) + " is taken";
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

    using Status = FileReadResult::Status;
    const FileReadResult file = ReadFileStart(path, HighScoreFileSize);
    if (file.status == Status::NotRegular)
        return fail(path + " is not a regular file");
    if (file.status == Status::Missing || file.status == Status::OpenFailed) {
        errno = file.error;
        return fail(ErrnoText("cannot open " + path));
    }
    if (file.status == Status::ReadFailed) {
        errno = file.error;
        return fail(ErrnoText("cannot read " + path));
    }

    // A table is taken only when all of its bytes are there.
    const std::size_t whole = file.contents.size();
    const auto *in = reinterpret_cast<const std::uint8_t *>(file.contents.data());
    std::size_t offset = 0;
    for (HighScoreTable *table : TablesInFileOrder(scores)) {
        if (whole < offset + HighScoreTableSize)
            break;
        for (HighScoreEntry &entry : *table) {
            entry = DecodeHighScoreEntry(in + offset);
            offset += HighScoreEntrySize;
        }
    }

    if (whole < HighScoreFileSize)
        return fail(path + " holds " + std::to_string(whole) + " bytes instead of " +
                    std::to_string(HighScoreFileSize));
    return {HighScoreLoadStatus::Loaded, {}};
}

HighScoreSaveResult SaveHighScores(HighScores &scores, const std::string &path)
{
    std::string backup;
    if (scores.KeepOldFileOnSave) {
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 || errno != ENOENT) {
            if (std::string error = KeepAsBackup(path, backup); !error.empty())
                return {std::move(error), {}};
        }
    }
    if (std::string error = WriteFileAtomically(path, EncodeHighScores(scores)); !error.empty()) {
        // The old file is still there, whole: a backup of it would only pile up at every try.
        if (!backup.empty())
            ::unlink(backup.c_str());
        return {path + ": " + error, {}};
    }
    scores.KeepOldFileOnSave = false;
    return {{}, std::move(backup)};
}

} // namespace vorlix
