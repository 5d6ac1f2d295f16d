#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
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

// One change this run made to the tables: a result stored in one table, or a Clear.
struct HighScoreChange {
    int Table = -1; // the result's table in the order Easy, Medium, Hard; -1 for a Clear
    // The result, as given to InsertHighScore.
    std::string Name;
    std::int32_t Total = 0;
    std::uint8_t Mode = ' ';
    std::uint32_t Level = 0;
    std::uint32_t Lines = 0;
    std::uint32_t Pieces = 0;
    std::uint32_t Bonuses = 0;
    // A Clear: the three tables as they were cleared, Easy, Medium, Hard.
    std::array<HighScoreTable, 3> Cleared{};
};

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
// "Easy", "Medium", "Hard" (case-sensitive); nullptr for any other difficulty.
HighScoreTable *TableForDifficulty(HighScores &scores, std::string_view difficulty);
const HighScoreTable *TableForDifficulty(const HighScores &scores, std::string_view difficulty);

// The name's bytes up to the first zero byte, at most 30.
std::string EntryName(const HighScoreEntry &entry);

// The place 1..10 a result with `total` enters, or none. Compares true values, so a total of 0
// or less never ranks and a stored score of 2^31 or more is never beaten; ties go below.
std::optional<int> FindHighScorePlace(const HighScoreTable &table, std::int32_t total);

// The game's figures stored with a result, besides its name and total.
struct HighScoreGameFields {
    std::string_view Mode; // its first byte is the mode letter; empty gives a space
    std::uint32_t Level = 0;
    std::uint32_t Lines = 0;
    std::uint32_t Pieces = 0;
    std::uint32_t Bonuses = 0;
};

// Stores a result at `place` (1..10; anything else does nothing), moving the places below it
// down one; place 10 falls out. `name` is Latin-1 bytes; only the first 30 are stored, with a
// zero byte after them when shorter, and later name bytes of the entry keep their old contents.
void InsertHighScore(HighScoreTable &table, int place, std::string_view name, std::int32_t total,
                     const HighScoreGameFields &fields);

// As above into one of the three tables of `scores`, and kept among its Changes.
void InsertHighScore(HighScores &scores, HighScoreTable &table, int place, std::string_view name,
                     std::int32_t total, const HighScoreGameFields &fields);

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
