#include "settings/KeyName.h"

#include <gtest/gtest.h>

#include <map>

namespace vorlix {
namespace {

// Every code with a name of its own; any other code shows the one character of its low byte.
const std::map<std::int32_t, std::string> &Named()
{
    static const std::map<std::int32_t, std::string> names = [] {
        std::map<std::int32_t, std::string> n = {
            {0x20, "Spacebar"},     {0x27, "'"},            {0x2A, "* (keypad)"},  {0x2B, "+ (keypad)"},
            {0x2C, ","},            {0x2D, "- (keypad)"},   {0x2E, "."},           {0x2F, "/ (keypad)"},
            {0x35, "5 (keypad)"},   {0x3B, ";"},            {0x3D, "="},           {0x5B, "["},
            {0x5C, "\\"},           {0x5D, "]"},            {0x5F, "-"},           {0x7E, "`"},
            {0x1000, "Escape"},     {0x1003, "Backspace"},  {0x1004, "Return"},    {0x1005, "Enter"},
            {0x1006, "Insert"},     {0x1007, "Delete"},     {0x1008, "Pause"},     {0x1010, "Home"},
            {0x1011, "End"},        {0x1012, "Left Arrow"}, {0x1013, "Up Arrow"},  {0x1014, "Right Arrow"},
            {0x1015, "Down Arrow"}, {0x1016, "Page Up"},    {0x1017, "Page Down"}, {0x1020, "Shift"},
            {0x1021, "Ctrl"},       {0x1023, "Alt"},        {0x1024, "Capslock"},  {0x1025, "Numlock"},
            {0x1026, "Scroll Lock"},
        };
        for (int f = 1; f <= 12; ++f)
            n[0x1030 + f - 1] = "F" + std::to_string(f);
        return n;
    }();
    return names;
}

TEST(KeyName, EveryNamedCodeHasItsName)
{
    ASSERT_EQ(Named().size(), 37u + 12u);
    for (const auto &[code, name] : Named())
        EXPECT_EQ(KeyName(code), name) << std::hex << "0x" << code;
}

// No code outside the table gets a name: all 16-bit codes, and a few beyond.
TEST(KeyName, EveryOtherCodeShowsTheCharacterOfItsLowByte)
{
    int wrong = 0;
    for (std::int32_t code = 0; code <= 0xFFFF; ++code) {
        if (Named().count(code))
            continue;
        const std::string low(1, static_cast<char>(code & 0xFF));
        if (KeyName(code) != low && ++wrong <= 5)
            ADD_FAILURE() << std::hex << "0x" << code << " shows \"" << KeyName(code) << "\"";
    }
    EXPECT_EQ(wrong, 0);

    const std::pair<std::int32_t, std::string> examples[] = {
        {'K', "K"},     {'4', "4"}, {0x1022, "\""}, {0x103C, "<"}, // F13 has no name of its own
        {0x1001, "\x01"}, {0xFFFF, "\xFF"}, {-1, "\xFF"}, {0x10000 + 'A', "A"},
        {0x10000 + 0x35, "5"},
    };
    for (const auto &[code, name] : examples)
        EXPECT_EQ(KeyName(code), name) << std::hex << "0x" << code;
}

} // namespace
} // namespace vorlix
