#include "settings/IntegerText.h"

namespace vorlix {

namespace {

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsHexPrefix(std::string_view rest, std::size_t &prefixLength)
{
    if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')) {
        prefixLength = 1;
        return true;
    }
    if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
        prefixLength = 2;
        return true;
    }
    return false;
}

} // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;

    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }

    std::size_t prefixLength = 0;
    const bool hex = IsHexPrefix(text.substr(i), prefixLength);
    i += prefixLength;
    if (i == text.size())
        return std::nullopt;

    // Unsigned arithmetic throughout: hexadecimal wraps on purpose, decimal is range-checked.
    std::uint32_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (hex) {
            const int digit = HexDigitValue(text[i]);
            if (digit < 0 || magnitude > 0x0FFFFFFFu)
                return std::nullopt;
            magnitude = (magnitude << 4) | static_cast<std::uint32_t>(digit);
        } else {
            if (text[i] < '0' || text[i] > '9')
                return std::nullopt;
            const auto digit = static_cast<std::uint32_t>(text[i] - '0');
            if (magnitude > (0x80000000u - digit) / 10)
                return std::nullopt;
            magnitude = magnitude * 10 + digit;
        }
    }
    if (!hex && !negative && magnitude > 0x7FFFFFFFu)
        return std::nullopt;
    return static_cast<std::int32_t>(negative ? 0u - magnitude : magnitude);
}

std::string InvalidIntegerMessage(std::string_view text)
{
    std::string message = "'";
    message += text;
    message += "' is not a valid integer value";
    return message;
}

} // namespace vorlix
