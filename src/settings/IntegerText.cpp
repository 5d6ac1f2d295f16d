#include "settings/IntegerText.h"

#include <charconv>

namespace vorlix {

std::optional<std::int32_t> ParseInteger(std::string_view text)
{
    while (text.starts_with(' '))
        text.remove_prefix(1);
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+'))
        text.remove_prefix(1);
    const std::size_t hexPrefix = text.starts_with("0x") || text.starts_with("0X") ? 2
                                  : text.starts_with('$') || text.starts_with('x') || text.starts_with('X') ? 1
                                                                                                              : 0;

    // Unsigned, so from_chars takes no second sign; the cast at the end reads hexadecimal's 32
    // bits as two's complement.
    std::uint32_t magnitude{};
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data() + hexPrefix, end, magnitude, hexPrefix ? 16 : 10);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    // Decimal is range-checked: one more below zero than above.
    if (!hexPrefix && magnitude > 0x7FFFFFFFu + negative)
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
