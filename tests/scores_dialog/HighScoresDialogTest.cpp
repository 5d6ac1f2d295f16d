#include "DialogFixture.h"

#include <QRadioButton>

#include <cstring>

namespace vorlix {
namespace {

using HighScoresDialog = DialogFixture;

HighScoreEntry Entry(const char *name, char mode, std::uint32_t score)
{
    HighScoreEntry entry;
    std::memcpy(entry.Name.data(), name, std::min<std::size_t>(std::strlen(name), 30));
    entry.Mode = static_cast<std::uint8_t>(mode);
    entry.Score = score;
    entry.Level = 4;
    entry.Lines = 7;
    entry.Pieces = 99;
    entry.Bonuses = 1;
    return entry;
}

TEST_F(HighScoresDialog, LayoutPutsPlaceNAtItsRow)
{
    EXPECT_EQ(highScores->windowTitle(), "High Scores");
    EXPECT_EQ(highScores->size(), QSize(421, 268));
    EXPECT_EQ(summary->size(), QSize(187, 230));
    for (int n = 1; n <= 10; ++n) {
        const THighScores::Row &row = highScores->Rows[n - 1];
        EXPECT_EQ(row.Name->geometry().topLeft(), QPoint(41, 64 + 16 * (n - 1)));
        EXPECT_EQ(row.Score->geometry(), QRect(360, 64 + 16 * (n - 1), 50, 15));
    }
}

TEST_F(HighScoresDialog, FirstRunShowsEmptyRows)
{
    highScores->ShowFromMenu();
    EXPECT_EQ(highScores->focusWidget(), highScores->EasyRadio);
    for (std::size_t i = 0; i < highScores->Rows.size(); ++i)
        EXPECT_EQ(Shown(highScores->Rows[i]), (std::vector<std::string>{"", "", "0", "0", "0", "0", "0"})) << i;
    highScores->Button1->click();
    EXPECT_FALSE(highScores->isVisible());
    EXPECT_EQ(repaints, 1);
}

TEST_F(HighScoresDialog, OpensOnTheCurrentDifficultyAndRadiosSwitchTables)
{
    scores.EasyScores[0] = Entry("easy", 'P', 10);
    scores.MediumScores[0] = Entry("medium", 'A', 20);
    scores.HardScores[0] = Entry("hard", 'P', 30);
    settings.Difficulty = "Medium";

    highScores->ShowFromMenu();
    EXPECT_TRUE(highScores->MediumRadio->isChecked());
    EXPECT_EQ(Shown(highScores->Rows[0]), (std::vector<std::string>{"medium", "A", "4", "7", "99", "1", "20"}));

    highScores->HardRadio->click();
    EXPECT_EQ(highScores->Rows[0].Name->text(), "hard");
    highScores->Button1Click();

    highScores->ShowFromMenu();
    EXPECT_TRUE(highScores->MediumRadio->isChecked());
    EXPECT_EQ(highScores->Rows[0].Name->text(), "medium");
    highScores->Button1Click();

    // No table for this difficulty: the rows keep what they showed.
    settings.Difficulty = "Expert";
    scores.MediumScores[0] = Entry("changed", 'P', 25);
    highScores->ShowFromMenu();
    EXPECT_EQ(highScores->Rows[0].Name->text(), "medium");
}

TEST_F(HighScoresDialog, UnsignedScoresAndThirtyCharacterNamesShowWhole)
{
    scores.EasyScores[0] = Entry("ABCDEFGHIJKLMNOPQRSTUVWXYZ1234", 'P', 4000000000u);
    highScores->ShowFromMenu();
    EXPECT_EQ(highScores->Rows[0].Name->text(), "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234");
    EXPECT_EQ(highScores->Rows[0].Score->text(), "4000000000");
}

TEST_F(HighScoresDialog, ClearAfterYesEmptiesAllTablesAndShowsTheCurrentOne)
{
    scores.EasyScores[0] = Entry("easy", 'P', 10);
    scores.HardScores[0] = Entry("hard", 'P', 30);
    highScores->ShowFromMenu();
    highScores->HardRadio->click();

    answerer.AnswerNext(QMessageBox::No);
    highScores->Clear->click();
    EXPECT_EQ(EntryName(scores.EasyScores[0]), "easy");
    EXPECT_TRUE(highScores->HardRadio->isChecked());
    EXPECT_EQ(highScores->Rows[0].Name->text(), "hard");

    answerer.AnswerNext(QMessageBox::Yes);
    highScores->Clear->click();
    EXPECT_TRUE(highScores->EasyRadio->isChecked());
    for (const HighScoreTable *table : {&scores.EasyScores, &scores.MediumScores, &scores.HardScores}) {
        for (const HighScoreEntry &entry : *table) {
            EXPECT_EQ(EntryName(entry), "");
            EXPECT_EQ(entry.Mode, ' ');
            EXPECT_EQ(entry.Score, 0u);
        }
    }
    for (std::size_t i = 0; i < highScores->Rows.size(); ++i)
        EXPECT_EQ(Shown(highScores->Rows[i]), (std::vector<std::string>{"", " ", "0", "0", "0", "0", "0"})) << i;
    EXPECT_TRUE(highScores->isVisible());
}

} // namespace
} // namespace vorlix
