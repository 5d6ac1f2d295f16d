#include "scores/HighScoreFile.h"
#include "scores/HighScores.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <string_view>

namespace vorlix {
namespace {

// The example result's figures: level 3, 12 lines, 85 pieces, 2 bonuses.
HighScoreEntry Result(std::string_view name, std::int32_t total, std::string_view mode = "Points")
{
    return HighScoreResult(name, total, mode, 3, 12, 85, 2);
}

// Scores 1000, 900, ..., 100 with names "p1" .. "p10", every other field set too.
HighScoreTable FullTable()
{
    HighScoreTable table;
    for (std::uint32_t place = 1; place <= 10; ++place)
        table[place - 1] = HighScoreResult("p" + std::to_string(place), static_cast<std::int32_t>(1100 - 100 * place),
                                           "P", place, place, place, place);
    return table;
}

TEST(HighScoreTable, DifficultiesMapToTheirTablesAndOthersToNone)
{
    HighScores scores;
    EXPECT_EQ(TableForDifficulty(scores, 0), &scores.EasyScores);
    EXPECT_EQ(TableForDifficulty(scores, 1), &scores.MediumScores);
    EXPECT_EQ(TableForDifficulty(scores, 2), &scores.HardScores);
    EXPECT_EQ(TableForDifficulty(scores, std::nullopt), nullptr);
}

TEST(HighScoreRanking, EmptyTableTakesAnyPositiveTotalAtPlaceOne)
{
    const HighScoreTable empty;
    EXPECT_EQ(FindHighScorePlace(empty, 0), std::nullopt);
    EXPECT_EQ(FindHighScorePlace(empty, -1), std::nullopt);
    EXPECT_EQ(FindHighScorePlace(empty, INT32_MIN), std::nullopt);
    EXPECT_EQ(FindHighScorePlace(empty, 1), 1);
}

TEST(HighScoreRanking, TiesGoBelowAndFullTablesRefuseLowerTotals)
{
    const HighScoreTable table = FullTable();
    EXPECT_EQ(FindHighScorePlace(table, 800), 4); // place 3 holds 800
    EXPECT_EQ(FindHighScorePlace(table, 801), 3);
    EXPECT_EQ(FindHighScorePlace(table, 1001), 1);
    EXPECT_EQ(FindHighScorePlace(table, 100), std::nullopt);
    EXPECT_EQ(FindHighScorePlace(table, 99), std::nullopt);
    EXPECT_EQ(FindHighScorePlace(table, 101), 10);
}

TEST(HighScoreRanking, ComparesTrueValuesOfSignedTotalsAndUnsignedScores)
{
    HighScoreTable table;
    table[0].Score = 0x80000000u; // not reachable by any 32-bit total
    table[1].Score = 5;
    EXPECT_EQ(FindHighScorePlace(table, INT32_MAX), 2);
    // A negative total must not be read as a huge unsigned number.
    EXPECT_EQ(FindHighScorePlace(table, -5), std::nullopt);
}

TEST(HighScoreInsertion, ShiftsPlacesDownAndDropsTheLast)
{
    HighScores scores;
    HighScoreTable &table = scores.HardScores = FullTable();
    for (int i = 0; i < 10; ++i)
        table[i].Padding = static_cast<std::uint8_t>(0xA0 + i);

    InsertHighScore(scores, table, 4, Result("new", 800));

    EXPECT_EQ(EntryName(table[2]), "p3");
    EXPECT_EQ(EntryName(table[3]), "new");
    EXPECT_EQ(table[3].Score, 800u);
    for (int place = 5; place <= 10; ++place) {
        EXPECT_EQ(EntryName(table[place - 1]), "p" + std::to_string(place - 1));
        EXPECT_EQ(table[place - 1].Score, static_cast<std::uint32_t>(1100 - 100 * (place - 1)));
    }
    // The padding byte belongs to the place, not the entry.
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(table[i].Padding, 0xA0 + i);
}

TEST(HighScoreInsertion, TheModeLetterIsTheFirstByteOfTheModeOrASpace)
{
    const std::pair<const char *, char> modes[] = {{"Points", 'P'}, {"Aggressive", 'A'}, {"", ' '}, {"x", 'x'}};
    for (const auto &[mode, letter] : modes)
        EXPECT_EQ(Result("n", 1, mode).Mode, letter) << mode;
}

TEST(HighScoreInsertion, NameBytesAfterTheZeroKeepTheirOldContents)
{
    HighScores scores;
    scores.EasyScores[0] = Result("abcdefgh", 5);
    InsertHighScore(scores, scores.EasyScores, 1, Result("xy", 10));
    EXPECT_EQ(std::memcmp(scores.EasyScores[0].Name.data(), "xy\0defgh", 8), 0);
    EXPECT_EQ(EntryName(scores.EasyScores[1]), "abcdefgh");
}

TEST(HighScoreInsertion, ThirtyByteNamesHaveNoZeroAndLongerOnesAreCut)
{
    const std::string thirty(30, 'N');
    HighScores scores;
    InsertHighScore(scores, scores.EasyScores, 1, Result(thirty, 10));
    EXPECT_EQ(EntryName(scores.EasyScores[0]), thirty);

    InsertHighScore(scores, scores.EasyScores, 1, Result(std::string(45, 'L'), 20));
    EXPECT_EQ(EntryName(scores.EasyScores[0]), std::string(30, 'L'));
    EXPECT_EQ(scores.EasyScores[0].Mode, 'P');
}

TEST(HighScoreInsertion, PlacesOutsideTheTableChangeNothing)
{
    HighScores scores;
    HighScoreTable &table = scores.EasyScores = FullTable();
    const HighScoreTable before = table;
    for (int place : {0, 11})
        InsertHighScore(scores, table, place, Result("x", 5000));
    EXPECT_EQ(table, before);
    EXPECT_TRUE(scores.Changes.empty()) << "nor is such a result kept for the next save";

    InsertHighScore(scores, table, 10, Result("last", 150));
    EXPECT_EQ(EntryName(table[9]), "last");
    EXPECT_EQ(EntryName(table[8]), "p9");
    EXPECT_EQ(scores.Changes.size(), 1u);
}

TEST(HighScoreClearing, EmptiesEveryEntryOfAllThreeTables)
{
    HighScores scores;
    scores.HardScores = FullTable();
    scores.EasyScores = FullTable();
    scores.MediumScores[9].Padding = 7;
    ClearHighScores(scores);

    const std::string bytes = EncodeHighScores(scores);
    for (std::size_t at = 0; at < HighScoreFileSize; at += HighScoreEntrySize) {
        SCOPED_TRACE(at);
        EXPECT_EQ(bytes[at], 0);
        EXPECT_EQ(bytes[at + 30], ' ');
        for (std::size_t k = 32; k < 52; ++k)
            EXPECT_EQ(bytes[at + k], 0);
    }
    EXPECT_EQ(bytes[520 + 9 * 52 + 31], 7); // padding untouched
    EXPECT_EQ(bytes[1], '1');               // later name bytes of "p1" untouched
}

// The file holds the tables in the order Hard, Medium, Easy.
TEST(HighScoreEncoding, ExampleEntryHasTheDocumentedBytesInTheLastTable)
{
    HighScores scores;
    InsertHighScore(scores, scores.EasyScores, 1, Result("abc", 8300));
    InsertHighScore(scores, scores.HardScores, 1, Result("hard", 1));
    InsertHighScore(scores, scores.MediumScores, 1, Result("medium", 1));
    const std::string bytes = EncodeHighScores(scores);
    ASSERT_EQ(bytes.size(), 1560u);
    EXPECT_EQ(bytes.substr(0, 5), std::string("hard\0", 5));
    EXPECT_EQ(bytes.substr(520, 7), std::string("medium\0", 7));

    const auto *entry = reinterpret_cast<const unsigned char *>(bytes.data()) + 1040;
    const unsigned char head[] = {0x61, 0x62, 0x63, 0x00};
    EXPECT_EQ(std::memcmp(entry, head, 4), 0);
    EXPECT_EQ(entry[30], 0x50);
    const unsigned char numbers[] = {0x6C, 0x20, 0, 0, 3, 0, 0, 0, 0x0C, 0, 0, 0, 0x55, 0, 0, 0, 2, 0, 0, 0};
    EXPECT_EQ(std::memcmp(entry + 32, numbers, 20), 0);
}

} // namespace
} // namespace vorlix
