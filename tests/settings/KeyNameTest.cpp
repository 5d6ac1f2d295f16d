#include "settings/KeyName.h"

#include <gtest/gtest.h>

namespace vorlix {
namespace {

TEST(KeyName, SpecialKeysHaveFixedNames)
{
    EXPECT_EQ(KeyName(0x20), "Spacebar");
    EXPECT_EQ(KeyName(0x1014), "Right Arrow");
    EXPECT_EQ(KeyName(0x1020), "Shift");
    EXPECT_EQ(KeyName(0x1021), "Ctrl");
    EXPECT_EQ(KeyName(0x1004), "Return");
    EXPECT_EQ(KeyName(0x1026), "Scroll Lock");
    EXPECT_EQ(KeyName(0x5C), "\\");
    EXPECT_EQ(KeyName(0x7E), "`");
}

TEST(KeyName, FunctionKeysAreNumberedOneToTwelve)
{
    EXPECT_EQ(KeyName(0x1030), "F1");
    EXPECT_EQ(KeyName(0x1039), "F10");
    EXPECT_EQ(KeyName(0x103B), "F12");
    EXPECT_EQ(KeyName(0x103C), "<"); // F13 has no name of its own
}

TEST(KeyName, KeepsTheHistoricalKeypadNames)
{
    EXPECT_EQ(KeyName(0x35), "5 (keypad)");
    EXPECT_EQ(KeyName(0x2D), "- (keypad)");
    EXPECT_EQ(KeyName(0x5F), "-");
}

TEST(KeyName, OtherCodesShowTheCharacterOfTheirLowByte)
{
    EXPECT_EQ(KeyName('K'), "K");
    EXPECT_EQ(KeyName('4'), "4");
    EXPECT_EQ(KeyName(0x1022), "\"");
    EXPECT_EQ(KeyName(0x1001), std::string(1, '\x01'));
    EXPECT_EQ(KeyName(0xFFFF), std::string(1, '\xFF'));
    EXPECT_EQ(KeyName(-1), std::string(1, '\xFF'));
    EXPECT_EQ(KeyName(0x10000 + 'A'), "A");
}

} // namespace
} // namespace vorlix
