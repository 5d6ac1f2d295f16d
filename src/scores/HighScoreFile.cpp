#include "scores/HighScoreFile.h"

#include "common/AtomicFile.h"
#include "common/FileRead.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
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

    FileReadResult old = ReadFileStart(path, SIZE_MAX);
    if (old.status != FileReadResult::Status::Read) {
        errno = old.error;
        return old.status == FileReadResult::Status::NotRegular
                   ? "cannot keep the old file as " + backup + ": it is not a regular file"
                   : ErrnoText("cannot keep the old file as " + backup);
    }
    const std::string error = WriteFileAtomically(backup, old.contents);
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
