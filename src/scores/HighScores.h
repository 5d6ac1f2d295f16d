#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vorlix {

inline constexpr int HighScorePlaces = 10;
inline constexpr std::size_t HighScoreNameSize = 30;
inline constexpr std::size_t HighScoreEntrySize = 52;
inline constexpr std::size_t HighScoreTableSize = HighScoreEntrySize * HighScorePlaces; // 520
inline constexpr std::size_t HighScoreFileSize = HighScoreTableSize * 3;                // 1560

// One result. Name holds single-byte (Latin-1) characters: up to the first zero byte, at most
// 30; the bytes after a zero have no meaning but are kept so a file round-trips byte for byte.
struct HighScoreEntry {
    std::array<std::uint8_t, HighScoreNameSize> Name{};
    std::uint8_t Mode = 0;    // 'P', 'A'; ' ' once cleared; 0 if never written
    std::uint8_t Padding = 0; // no meaning, saved as loaded
    std::uint32_t Score = 0;
    std::uint32_t Level = 0;
    std::uint32_t Lines = 0;
    std::uint32_t Pieces = 0;
    std::uint32_t Bonuses = 0;

    bool operator==(const HighScoreEntry &) const = default;
};

// Place n (1..10) is element n - 1; best first.
using HighScoreTable = std::array<HighScoreEntry, HighScorePlaces>;

// The changes a run makes to the tables, kept so that a save can make them again on the file as
// it is then. A result stored in one table (Easy, Medium, Hard: 0, 1, 2):
struct StoredResult {
    std::size_t Table = 0;
    HighScoreEntry Result;
};
// A Clear, with the three tables as it found them, Easy, Medium, Hard:
struct ClearedTables {
    std::array<HighScoreTable, 3> Tables{};
};
using HighScoreChange = std::variant<StoredResult, ClearedTables>;

// The three tables, all-zero until loaded.
struct HighScores {
    HighScoreTable EasyScores;
    HighScoreTable MediumScores;
    HighScoreTable HardScores;
    // What this run changed since its last save, in order: a save applies it again to the
    // file as it is then, as another copy of the game may have saved in between.
    std::vector<HighScoreChange> Changes;
    // Where a save of this run kept a file it could not read, or "".
    std::string Backup;
};
// The table of difficulty 0, 1 or 2 (Easy, Medium, Hard); nullptr for none, as for a difficulty
// text the settings do not know.
HighScoreTable *TableForDifficulty(HighScores &scores, std::optional<std::size_t> difficulty);
const HighScoreTable *TableForDifficulty(const HighScores &scores, std::optional<std::size_t> difficulty);

// The name's bytes up to the first zero byte, at most 30.
std::string EntryName(const HighScoreEntry &entry);

// The place 1..10 a result with `total` enters, or none. Compares true values, so a total of 0
// or less never ranks and a stored score of 2^31 or more is never beaten; ties go below.
std::optional<int> FindHighScorePlace(const HighScoreTable &table, std::int32_t total);

// A game's result: its name is the first 30 bytes of `name` (Latin-1; a zero byte ends it), its
// mode letter the first byte of `mode`, or a space when that is empty.
HighScoreEntry HighScoreResult(std::string_view name, std::int32_t total, std::string_view mode, std::uint32_t level,
                               std::uint32_t lines, std::uint32_t pieces, std::uint32_t bonuses);

// Stores `result` at `place` (1..10; anything else does nothing) of `table`, one of the three
// of `scores`, and keeps it among the Changes. The places below move down one and place 10
// falls out; each place keeps its padding byte, and the name bytes after the new name's end
// keep their old contents.
void InsertHighScore(HighScores &scores, HighScoreTable &table, int place, const HighScoreEntry &result);

// Every entry of all three tables: numbers 0, an empty name, mode letter a space. Memory only,
// kept among the Changes.
void ClearHighScores(HighScores &scores);

// Applies `change` to `scores`, whose tables hold the file as it is now. A result enters at
// the place the ranking gives it there, or not at all. A Clear takes out of each table the
// entries it cleared (compared by name, mode letter and numbers, each at most once); the rest
// move up in their order and the places left at the bottom are empty as a Clear leaves them.
// So what another copy stored and this run never saw survives a Clear.
void ApplyHighScoreChange(HighScores &scores, const HighScoreChange &change);

} // namespace vorlix
