#include "settings/IniFile.h"

#include <gtest/gtest.h>

namespace vorlix {
namespace {

std::string ValueOf(const IniDocument &ini, std::string_view section, std::string_view key)
{
    const std::string *value = ini.Find(section, key);
    return value ? *value : "<missing>";
}

TEST(IniDocument, ReadsSectionsEntriesAndTrimsLines)
{
    const IniDocument ini = IniDocument::Parse(
        "Before=ignored\r\n"
        "[Files]\r\n"
        "  \t Pit =  /games/pit.bmp \t\r\n"
        "; Blank=/commented\n"
        "\n"
        "Name=a=b\n"
        "Bare line\n"
        "Pit=/second\n"
        "Title = !Loud! \n"
        "Player=[Bob]\n"
        "[Unclosed\n"
        "Shape=round\n"
        "[settings]\n"
        "Difficulty=Hard\n"
        "[Settings]\n"
        "Difficulty=\n"
        "[Files]\n"
        "Late=1\n"
        "[]\n"
        "Pieces=7\n");

    EXPECT_EQ(ValueOf(ini, "Files", "Before"), "<missing>");
    EXPECT_EQ(ValueOf(ini, "Files", "Pit"), "/games/pit.bmp");
    EXPECT_EQ(ValueOf(ini, "Files", "Blank"), "<missing>");
    EXPECT_EQ(ValueOf(ini, "Files", "; Blank"), "<missing>");
    EXPECT_EQ(ValueOf(ini, "Files", "Name"), "a=b");
    EXPECT_EQ(ValueOf(ini, "Files", "Bare line"), "<missing>");
    EXPECT_EQ(ValueOf(ini, "Files", "Late"), "1") << "a repeated section continues the first";
    EXPECT_EQ(ValueOf(ini, "Files", "Title"), "!Loud!");
    EXPECT_EQ(ValueOf(ini, "Files", "Player"), "[Bob]");
    EXPECT_EQ(ValueOf(ini, "Files", "Shape"), "round") << "no section without its closing bracket";
    EXPECT_EQ(ValueOf(ini, "", "Pieces"), "7");
    EXPECT_EQ(ValueOf(ini, "Files", "Pieces"), "<missing>");
    EXPECT_EQ(ValueOf(ini, "Settings", "Difficulty"), "");
    EXPECT_EQ(ValueOf(ini, "settings", "Difficulty"), "Hard");
    EXPECT_EQ(ValueOf(ini, "Settings", "difficulty"), "<missing>");
}

// Numbers as ParseInteger reads them; what it refuses, and a missing key, give the fallback.
TEST(IniDocument, ReadsIntegersAndBooleansWithFallbacks)
{
    const IniDocument ini = IniDocument::Parse("[S]\nHex=0x3C\nWord=abc\nNegative=-5\nZero=0\n");
    EXPECT_EQ(ini.ReadInteger("S", "Hex", 7), 60);
    EXPECT_EQ(ini.ReadInteger("S", "Word", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "Missing", 7), 7);
    for (const bool fallback : {false, true}) {
        EXPECT_EQ(ini.ReadBool("S", "Word", fallback), fallback);
        EXPECT_EQ(ini.ReadBool("S", "Missing", fallback), fallback);
        EXPECT_TRUE(ini.ReadBool("S", "Negative", fallback));
        EXPECT_FALSE(ini.ReadBool("S", "Zero", fallback));
    }
}

TEST(IniDocument, WritesInPlaceAppendsAndKeepsWhatItDoesNotKnow)
{
    IniDocument ini = IniDocument::Parse("lost=before any section\n"
                                         "[Extra]\n"
                                         "Colour = blue\n"
                                         "; a comment\n"
                                         "[Points]\n"
                                         "AOne=1\n"
                                         "keyless line\n"
                                         "AOne=duplicate\n"
                                         "ATwo=2\n"
                                         "[Extra]\n"
                                         "Shape=round\n");
    ini.WriteInteger("Points", "ATwo", -300);
    ini.WriteInteger("Points", "AOne", 0x96);
    ini.WriteBool("Points", "New", true);
    ini.WriteString("Controls", "P1Right", "68");

    EXPECT_EQ(ini.Serialize(), "[Extra]\n"
                               "Colour=blue\n"
                               "Shape=round\n"
                               "\n"
                               "[Points]\n"
                               "AOne=150\n"
                               "keyless line\n"
                               "AOne=duplicate\n"
                               "ATwo=-300\n"
                               "New=1\n"
                               "\n"
                               "[Controls]\n"
                               "P1Right=68\n"
                               "\n");
    EXPECT_EQ(IniDocument::Parse(ini.Serialize()).Serialize(), ini.Serialize());
}

TEST(IniDocument, LineBreaksInAValueNeverSplitItsLine)
{
    IniDocument ini = IniDocument::Parse("[Files]\nPit=/old\n");
    ini.WriteString("Files", "Pit", "/a\nPiece1=/evil.bmp\r\n[Points]\rAOne=1");
    ini.WriteString("Files", "Blank", "\n[Controls]\n");

    const std::string text = ini.Serialize();
    EXPECT_EQ(text, "[Files]\nPit=/aPiece1=/evil.bmp[Points]AOne=1\nBlank=[Controls]\n\n");
    const IniDocument reread = IniDocument::Parse(text);
    EXPECT_EQ(reread.Find("Files", "Piece1"), nullptr);
    EXPECT_EQ(reread.Find("Points", "AOne"), nullptr);
    EXPECT_EQ(reread.Find("Controls", "P1Right"), nullptr);
}

// Lines end at LF, CR LF or a lone CR, and the byte-order mark some editors put first is no
// part of the first line; the file is written with LF line ends and no mark.
TEST(IniDocument, EveryLineEndAndAByteOrderMarkReadAsMeant)
{
    const std::pair<const char *, std::string> cases[] = {
        {"byte-order mark", "\xEF\xBB\xBF[Settings]\nDifficulty=Hard\n[Points]\nAOne=7\n"},
        {"mark and CR LF", "\xEF\xBB\xBF[Settings]\r\nDifficulty=Hard\r\n[Points]\r\nAOne=7\r\n"},
        {"lone CR", "[Settings]\rDifficulty=Hard\r[Points]\rAOne=7"},
        {"mixed", "\xEF\xBB\xBF[Settings]\rDifficulty=Hard\r\n\r\r[Points]\r\rAOne=7\r"},
    };
    for (const auto &[name, text] : cases)
        EXPECT_EQ(IniDocument::Parse(text).Serialize(), "[Settings]\nDifficulty=Hard\n\n[Points]\nAOne=7\n\n") << name;
}

TEST(IniDocument, EmptyTextGivesEmptyFile)
{
    EXPECT_EQ(IniDocument::Parse("").Serialize(), "");
    EXPECT_EQ(IniDocument::Parse("no section\n;\n\n").Serialize(), "");
}

} // namespace
} // namespace vorlix
