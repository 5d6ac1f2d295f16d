#include "scores/HighScores.h"

#include <algorithm>
#include <cstring>

namespace vorlix {

HighScoreTable *TableForDifficulty(HighScores &scores, std::string_view difficulty)
{
    if (difficulty == "Easy")
        return &scores.EasyScores;
    if (difficulty == "Medium")
        return &scores.MediumScores;
    if (difficulty == "Hard")
        return &scores.HardScores;
    return nullptr;
}

const HighScoreTable *TableForDifficulty(const HighScores &scores, std::string_view difficulty)
{
    return TableForDifficulty(const_cast<HighScores &>(scores), difficulty);
}

std::string EntryName(const HighScoreEntry &entry)
{
    const auto *bytes = reinterpret_cast<const char *>(entry.Name.data());
    return std::string(bytes, ::strnlen(bytes, entry.Name.size()));
}

std::optional<int> FindHighScorePlace(const HighScoreTable &table, std::int32_t total)
{
    for (int place = 1; place <= HighScorePlaces; ++place) {
        if (static_cast<std::int64_t>(table[place - 1].Score) < static_cast<std::int64_t>(total))
            return place;
    }
    return std::nullopt;
}

void InsertHighScore(HighScoreTable &table, int place, std::string_view name, std::int32_t total,
                     const HighScoreGameFields &fields)
{
    if (place < 1 || place > HighScorePlaces)
        return;

    // The padding byte stays with its place; everything else moves down.
    for (int k = HighScorePlaces; k > place; --k) {
        HighScoreEntry &to = table[k - 1];
        const HighScoreEntry &from = table[k - 2];
        to.Name = from.Name;
        to.Mode = from.Mode;
        to.Score = from.Score;
        to.Level = from.Level;
        to.Lines = from.Lines;
        to.Pieces = from.Pieces;
        to.Bonuses = from.Bonuses;
    }

    HighScoreEntry &entry = table[place - 1];
    const std::size_t length = std::min(name.size(), HighScoreNameSize);
    std::copy_n(name.begin(), length, entry.Name.begin());
    if (length < HighScoreNameSize)
        entry.Name[length] = 0;
    entry.Mode = fields.Mode.empty() ? ' ' : static_cast<std::uint8_t>(fields.Mode.front());
    entry.Score = static_cast<std::uint32_t>(total);
    entry.Level = fields.Level;
    entry.Lines = fields.Lines;
    entry.Pieces = fields.Pieces;
    entry.Bonuses = fields.Bonuses;
}

void ClearHighScores(HighScores &scores)
{
    for (HighScoreTable *table : {&scores.EasyScores, &scores.MediumScores, &scores.HardScores}) {
        for (HighScoreEntry &entry : *table) {
            entry.Name[0] = 0;
            entry.Mode = ' ';
            entry.Score = 0;
            entry.Level = 0;
            entry.Lines = 0;
            entry.Pieces = 0;
            entry.Bonuses = 0;
        }
    }
}

} // namespace vorlix
