#include "scores/HighScores.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace vorlix {

namespace {

std::array<HighScoreTable *, 3> Tables(HighScores &scores)
{
    return {&scores.EasyScores, &scores.MediumScores, &scores.HardScores};
}

// What a player sees of an entry: the bytes after the name's end and the padding do not count.
bool SameResult(const HighScoreEntry &a, const HighScoreEntry &b)
{
    return EntryName(a) == EntryName(b) && a.Mode == b.Mode && a.Score == b.Score && a.Level == b.Level &&
           a.Lines == b.Lines && a.Pieces == b.Pieces && a.Bonuses == b.Bonuses;
}

void MakeEmpty(HighScoreEntry &entry)
{
    entry.Name[0] = 0;
    entry.Mode = ' ';
    entry.Score = 0;
    entry.Level = 0;
    entry.Lines = 0;
    entry.Pieces = 0;
    entry.Bonuses = 0;
}

// Entry `from` moved to `to`; the padding byte stays with its place.
void MoveEntry(HighScoreEntry &to, const HighScoreEntry &from)
{
    to.Name = from.Name;
    to.Mode = from.Mode;
    to.Score = from.Score;
    to.Level = from.Level;
    to.Lines = from.Lines;
    to.Pieces = from.Pieces;
    to.Bonuses = from.Bonuses;
}

void TakeOut(HighScoreTable &table, const HighScoreTable &cleared)
{
    std::array<bool, HighScorePlaces> used{};
    int kept = 0;
    for (const HighScoreEntry &entry : table) {
        bool found = false;
        for (int i = 0; i < HighScorePlaces && !found; ++i) {
            found = !used[i] && SameResult(entry, cleared[i]);
            used[i] = used[i] || found;
        }
        if (!found)
            MoveEntry(table[kept++], entry);
    }
    for (; kept < HighScorePlaces; ++kept)
        MakeEmpty(table[kept]);
}

} // namespace

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

    for (int k = HighScorePlaces; k > place; --k)
        MoveEntry(table[k - 1], table[k - 2]);

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

void InsertHighScore(HighScores &scores, HighScoreTable &table, int place, std::string_view name,
                     std::int32_t total, const HighScoreGameFields &fields)
{
    const auto tables = Tables(scores);
    const auto which = std::find(tables.begin(), tables.end(), &table);
    if (place < 1 || place > HighScorePlaces || which == tables.end())
        return;
    InsertHighScore(table, place, name, total, fields);
    HighScoreChange change;
    change.Table = static_cast<int>(which - tables.begin());
    change.Name = name.substr(0, HighScoreNameSize);
    change.Total = total;
    change.Mode = table[place - 1].Mode;
    change.Level = fields.Level;
    change.Lines = fields.Lines;
    change.Pieces = fields.Pieces;
    change.Bonuses = fields.Bonuses;
    scores.Changes.push_back(std::move(change));
}

void ClearHighScores(HighScores &scores)
{
    HighScoreChange change;
    const auto tables = Tables(scores);
    for (std::size_t i = 0; i < tables.size(); ++i) {
        change.Cleared[i] = *tables[i];
        for (HighScoreEntry &entry : *tables[i])
            MakeEmpty(entry);
    }
    scores.Changes.push_back(std::move(change));
}

void ApplyHighScoreChange(HighScores &scores, const HighScoreChange &change)
{
    const auto tables = Tables(scores);
    if (change.Table < 0) {
        for (std::size_t i = 0; i < tables.size(); ++i)
            TakeOut(*tables[i], change.Cleared[i]);
        return;
    }
    HighScoreTable &table = *tables[static_cast<std::size_t>(change.Table)];
    if (const auto place = FindHighScorePlace(table, change.Total)) {
        const char mode = static_cast<char>(change.Mode);
        InsertHighScore(table, *place, change.Name, change.Total,
                        {std::string_view(&mode, 1), change.Level, change.Lines, change.Pieces, change.Bonuses});
    }
}

} // namespace vorlix
