#include "scores/HighScoreFile.h"
#include "scores/HighScores.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace vorlix {
namespace {

HighScoreGameFields PointsGame() { return {"Points", 3, 12, 85, 2}; }

void SetName(HighScoreEntry &entry, const std::string &name)
{
    std::memcpy(entry.Name.data(), name.data(), std::min(name.size(), entry.Name.size()));
    if (name.size() < entry.Name.size())
        entry.Name[name.size()] = 0;
}

// Scores 1000, 900, ..., 100 with names "p1" .. "p10", every other field set too.
HighScoreTable FullTable()
{
    HighScoreTable table;
    for (int place = 1; place <= 10; ++place) {
        HighScoreEntry &entry = table[place - 1];
        entry.Score = static_cast<std::uint32_t>(1100 - 100 * place);
        SetName(entry, "p" + std::to_string(place));
        entry.Mode = 'P';
        entry.Level = entry.Lines = entry.Pieces = entry.Bonuses = static_cast<std::uint32_t>(place);
    }
    return table;
}

TEST(HighScoreTable, DifficultiesMapToTheirTablesAndOthersToNone)
{
    HighScores scores;
    EXPECT_EQ(TableForDifficulty(scores, "Easy"), &scores.EasyScores);
    EXPECT_EQ(TableForDifficulty(scores, "Medium"), &scores.MediumScores);
    EXPECT_EQ(TableForDifficulty(scores, "Hard"), &scores.HardScores);
    EXPECT_EQ(TableForDifficulty(scores, "easy"), nullptr);
    EXPECT_EQ(TableForDifficulty(scores, ""), nullptr);
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
    HighScoreTable table = FullTable();
    for (int i = 0; i < 10; ++i)
        table[i].Padding = static_cast<std::uint8_t>(0xA0 + i);

    InsertHighScore(table, 4, "new", 800, PointsGame());

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

TEST(HighScoreInsertion, StoresTheGameFieldsAndModeLetter)
{
    HighScoreTable table;
    InsertHighScore(table, 1, "abc", 8300, PointsGame());
    InsertHighScore(table, 1, "agg", 9000, {"Aggressive", 7, 1, 2, 3});
    InsertHighScore(table, 1, "none", 9500, {"", 1, 1, 1, 1});

    EXPECT_EQ(table[0].Mode, ' ');
    EXPECT_EQ(table[1].Mode, 'A');
    const HighScoreEntry &abc = table[2];
    EXPECT_EQ(EntryName(abc), "abc");
    EXPECT_EQ(abc.Mode, 'P');
    EXPECT_EQ(abc.Score, 8300u);
    EXPECT_EQ(abc.Level, 3u);
    EXPECT_EQ(abc.Lines, 12u);
    EXPECT_EQ(abc.Pieces, 85u);
    EXPECT_EQ(abc.Bonuses, 2u);
}

TEST(HighScoreInsertion, NameBytesAfterTheZeroKeepTheirOldContents)
{
    HighScoreTable table;
    SetName(table[0], "abcdefgh");
    InsertHighScore(table, 1, "xy", 10, PointsGame());
    EXPECT_EQ(std::memcmp(table[0].Name.data(), "xy\0defgh", 8), 0);
    EXPECT_EQ(EntryName(table[1]), "abcdefgh");
}

TEST(HighScoreInsertion, ThirtyByteNamesHaveNoZeroAndLongerOnesAreCut)
{
    const std::string thirty(30, 'N');
    HighScoreTable table;
    InsertHighScore(table, 1, thirty, 10, PointsGame());
    EXPECT_EQ(EntryName(table[0]), thirty);

    InsertHighScore(table, 1, std::string(45, 'L'), 20, PointsGame());
    EXPECT_EQ(EntryName(table[0]), std::string(30, 'L'));
    EXPECT_EQ(table[0].Mode, 'P');
}

TEST(HighScoreInsertion, PlacesOutsideTheTableChangeNothing)
{
    HighScoreTable table = FullTable();
    const HighScoreTable before = table;
    InsertHighScore(table, 0, "x", 5000, PointsGame());
    InsertHighScore(table, 11, "x", 5000, PointsGame());
    EXPECT_EQ(table, before);
    // Nor is such a result, or one into a table not of these scores, kept for the next save.
    HighScores scores;
    for (int place : {0, 11})
        InsertHighScore(scores, scores.EasyScores, place, "x", 5000, PointsGame());
    InsertHighScore(scores, table, 1, "x", 5000, PointsGame());
    EXPECT_TRUE(scores.Changes.empty());
    InsertHighScore(scores, scores.EasyScores, 10, "x", 5000, PointsGame());
    EXPECT_EQ(scores.Changes.size(), 1u);
    EXPECT_EQ(table, before);

    InsertHighScore(table, 10, "last", 150, PointsGame());
    EXPECT_EQ(EntryName(table[9]), "last");
    EXPECT_EQ(EntryName(table[8]), "p9");
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

TEST(HighScoreEncoding, ExampleEntryHasTheDocumentedBytes)
{
    HighScores scores;
    InsertHighScore(scores.EasyScores, 1, "abc", 8300, PointsGame());
    const std::string bytes = EncodeHighScores(scores);
    ASSERT_EQ(bytes.size(), 1560u);

    const auto *entry = reinterpret_cast<const unsigned char *>(bytes.data()) + 1040;
    const unsigned char head[] = {0x61, 0x62, 0x63, 0x00};
    EXPECT_EQ(std::memcmp(entry, head, 4), 0);
    EXPECT_EQ(entry[30], 0x50);
    const unsigned char numbers[] = {0x6C, 0x20, 0, 0, 3, 0, 0, 0, 0x0C, 0, 0, 0, 0x55, 0, 0, 0, 2, 0, 0, 0};
    EXPECT_EQ(std::memcmp(entry + 32, numbers, 20), 0);
}

TEST(HighScoreEncoding, FileOrderIsHardMediumEasy)
{
    HighScores scores;
    scores.HardScores[0].Score = 1;
    scores.MediumScores[0].Score = 2;
    scores.EasyScores[9].Score = 3;
    const std::string bytes = EncodeHighScores(scores);
    EXPECT_EQ(bytes[32], 1);
    EXPECT_EQ(bytes[520 + 32], 2);
    EXPECT_EQ(bytes[1040 + 9 * 52 + 32], 3);
}

TEST(HighScoreEncoding, DecodeIsTheInverseOfEncode)
{
    std::uint8_t raw[52];
    for (int i = 0; i < 52; ++i)
        raw[i] = static_cast<std::uint8_t>(0xFF - 3 * i);
    std::uint8_t again[52];
    EncodeHighScoreEntry(DecodeHighScoreEntry(raw), again);
    EXPECT_EQ(std::memcmp(raw, again, 52), 0);
}

} // namespace
} // namespace vorlix
