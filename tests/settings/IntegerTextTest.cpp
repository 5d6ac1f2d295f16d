#include "settings/IntegerText.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

namespace vorlix {
namespace {

// Decimal, or hexadecimal after any of its prefixes wrapping to 32 bits; a sign and leading
// spaces allowed.
TEST(ParseInteger, ReadsDecimalAndHexadecimal)
{
    const std::vector<std::pair<std::string, std::int32_t>> cases = {
        {"0", 0},           {"42", 42},         {"+7", 7},
        {"-5", -5},         {"010", 10},        {"   12", 12},
        {"  -3", -3},       {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
        {"-0", 0},          {"0000000000000000000099", 99},
        {"$10", 16},           {"x1F", 31},          {"X1f", 31},
        {"0x3C", 60},          {"0X3c", 60},         {"$FFFFFFFF", -1},
        {"-$10", -16},         {"+$A", 10},          {"$7FFFFFFF", INT_MAX},
        {"$80000000", INT_MIN}, {"-$80000000", INT_MIN}, {"-$FFFFFFFF", 1},
        {" 0x10", 16},         {"$000000001", 1}, // leading zeros carry no bits
        {"$19", 25},           {"x9aF", 2479},
    };
    for (const auto &[text, expected] : cases) {
        const auto value = ParseInteger(text);
        ASSERT_TRUE(value.has_value()) << '"' << text << '"';
        EXPECT_EQ(*value, expected) << '"' << text << '"';
    }
}

TEST(ParseInteger, RefusesEverythingElse)
{
    const std::vector<std::string> cases = {
        "",     " ",    "+",    "-",     "$",          "0x",          "x",
        "12 ",  "1 2",  "abc",  "5a",   "yes",   "1.5",        "1e3",         "--5",
        "- 5",  "\t5",  "0x-5", "$G",    "2147483648", "-2147483649", "99999999999999999999",
        "$100000000",   "0x1FFFFFFFF",   std::string("5\0", 2),       "\xB5",
    };
    for (const auto &text : cases)
        EXPECT_FALSE(ParseInteger(text).has_value()) << '"' << text << '"';
}

TEST(ParseInteger, ErrorMessageQuotesTheText)
{
    EXPECT_EQ(InvalidIntegerMessage("12a"), "'12a' is not a valid integer value");
    EXPECT_EQ(InvalidIntegerMessage(""), "'' is not a valid integer value");
}

} // namespace
} // namespace vorlix
