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

// `result` into `place`, but for the place's own padding byte and its name bytes from
// `nameBytes` on.
void Put(HighScoreEntry &place, HighScoreEntry result, std::size_t nameBytes)
{
    std::copy(place.Name.begin() + static_cast<std::ptrdiff_t>(nameBytes), place.Name.end(),
              result.Name.begin() + static_cast<std::ptrdiff_t>(nameBytes));
    result.Padding = place.Padding;
    place = result;
}

// What a Clear leaves: numbers 0, an empty name (its first byte), mode letter a space.
constexpr HighScoreEntry Cleared{.Mode = ' '};

// What a player sees of an entry: the bytes after the name's end and the padding do not count.
HighScoreEntry Seen(const HighScoreEntry &entry)
{
    HighScoreEntry seen;
    Put(seen, entry, EntryName(entry).size());
    return seen;
}

void Enter(HighScoreTable &table, int place, const HighScoreEntry &result)
{
    for (int k = HighScorePlaces; k > place; --k)
        Put(table[k - 1], table[k - 2], HighScoreNameSize);
    // The name, and the zero byte after a shorter one.
    Put(table[place - 1], result, std::min(EntryName(result).size() + 1, HighScoreNameSize));
}

void TakeOut(HighScoreTable &table, const HighScoreTable &cleared)
{
    std::array<bool, HighScorePlaces> used{};
    int kept = 0;
    for (const HighScoreEntry &entry : table) {
        bool found = false;
        for (int i = 0; i < HighScorePlaces && !found; ++i) {
            found = !used[i] && Seen(entry) == Seen(cleared[i]);
            used[i] = used[i] || found;
        }
        if (!found)
            Put(table[kept++], entry, HighScoreNameSize);
    }
    for (; kept < HighScorePlaces; ++kept)
        Put(table[kept], Cleared, 1);
}

} // namespace

HighScoreTable *TableForDifficulty(HighScores &scores, std::optional<std::size_t> difficulty)
{
    return difficulty ? Tables(scores).at(*difficulty) : nullptr;
}

const HighScoreTable *TableForDifficulty(const HighScores &scores, std::optional<std::size_t> difficulty)
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

HighScoreEntry HighScoreResult(std::string_view name, std::int32_t total, std::string_view mode, std::uint32_t level,
                               std::uint32_t lines, std::uint32_t pieces, std::uint32_t bonuses)
{
    HighScoreEntry result{.Mode = mode.empty() ? std::uint8_t{' '} : static_cast<std::uint8_t>(mode.front()),
                          .Score = static_cast<std::uint32_t>(total),
                          .Level = level,
                          .Lines = lines,
                          .Pieces = pieces,
                          .Bonuses = bonuses};
    std::copy_n(name.begin(), std::min(name.size(), HighScoreNameSize), result.Name.begin());
    return result;
}

void InsertHighScore(HighScores &scores, HighScoreTable &table, int place, const HighScoreEntry &result)
{
    if (place < 1 || place > HighScorePlaces)
        return;
    Enter(table, place, result);
    const auto tables = Tables(scores);
    const auto index = static_cast<std::size_t>(std::find(tables.begin(), tables.end(), &table) - tables.begin());
    scores.Changes.push_back(StoredResult{index, result});
}

void ClearHighScores(HighScores &scores)
{
    ClearedTables clear;
    const auto tables = Tables(scores);
    for (std::size_t i = 0; i < tables.size(); ++i) {
        clear.Tables[i] = *tables[i];
        for (HighScoreEntry &entry : *tables[i])
            Put(entry, Cleared, 1);
    }
    scores.Changes.push_back(std::move(clear));
}

void ApplyHighScoreChange(HighScores &scores, const HighScoreChange &change)
{
    const auto tables = Tables(scores);
    if (const auto *clear = std::get_if<ClearedTables>(&change)) {
        for (std::size_t i = 0; i < tables.size(); ++i)
            TakeOut(*tables[i], clear->Tables[i]);
        return;
    }
    const auto &[index, result] = std::get<StoredResult>(change);
    HighScoreTable &table = *tables[index];
    // Stored only when it ranked, so its total is positive and fits.
    if (const auto place = FindHighScorePlace(table, static_cast<std::int32_t>(result.Score)))
        Enter(table, *place, result);
}

} // namespace vorlix
