#include "scores/HighScoreFile.h"

#include "common/AtomicFile.h"
#include "common/FileRead.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>
#include <sys/stat.h>

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

// An entry's numbers, little-endian at these offsets of its 52 bytes; the name takes the first
// 30, then the mode letter and the padding byte.
constexpr std::pair<std::uint32_t HighScoreEntry::*, std::size_t> Numbers[] = {
    {&HighScoreEntry::Score, 32}, {&HighScoreEntry::Level, 36},   {&HighScoreEntry::Lines, 40},
    {&HighScoreEntry::Pieces, 44}, {&HighScoreEntry::Bonuses, 48},
};

void EncodeHighScoreEntry(const HighScoreEntry &entry, std::uint8_t *out)
{
    std::copy(entry.Name.begin(), entry.Name.end(), out);
    out[30] = entry.Mode;
    out[31] = entry.Padding;
    for (const auto &[number, at] : Numbers)
        PutUint32(out + at, entry.*number);
}

HighScoreEntry DecodeHighScoreEntry(const std::uint8_t *in)
{
    HighScoreEntry entry;
    std::copy(in, in + HighScoreNameSize, entry.Name.begin());
    entry.Mode = in[30];
    entry.Padding = in[31];
    for (const auto &[number, at] : Numbers)
        entry.*number = GetUint32(in + at);
    return entry;
}

} // namespace

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

    const auto fail = [](const std::string &message) {
        return HighScoreLoadResult{HighScoreLoadStatus::Failed, message};
    };

    using Status = FileReadResult::Status;
    const FileReadResult file = ReadFileStart(path, HighScoreFileSize);
    if (file.status == Status::NotRegular)
        return fail(path + " is " + FileTypeText(file.type));
    if (file.status != Status::Read)
        return fail((file.status == Status::ReadFailed ? "cannot read " : "cannot open ") + path + ": " +
                    std::strerror(file.error));

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

    // A longer file is not the game's either: the save would cut off what follows, so it is
    // kept as a backup as a short one is.
    if (whole < HighScoreFileSize || file.truncated)
        return fail(path + " holds " + std::to_string(file.truncated ? st.st_size : whole) + " bytes instead of " +
                    std::to_string(HighScoreFileSize));
    return {HighScoreLoadStatus::Loaded, {}};
}

SaveResult SaveHighScores(HighScores &scores, const std::string &path)
{
    FileSaveLock lock(path);
    // The file as it is now: another copy of the game may have saved since this one read it.
    HighScores current;
    const bool unusable = LoadHighScores(current, path).Status == HighScoreLoadStatus::Failed;
    for (const HighScoreChange &change : scores.Changes)
        ApplyHighScoreChange(current, change);
    SaveResult saved = lock.Replace(EncodeHighScores(current), unusable);
    if (saved.Error.empty())
        scores.Changes.clear();
    if (!saved.Backup.empty())
        scores.Backup = saved.Backup;
    saved.Backup = scores.Backup;
    return saved;
}

} // namespace vorlix
