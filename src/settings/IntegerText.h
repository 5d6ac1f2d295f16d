#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorlix {

// Integer text as the settings file and the settings dialog have always accepted it:
// optional leading spaces (never trailing ones), an optional sign, then decimal digits
// ("010" is 10; out of the 32-bit range is invalid) or hexadecimal digits after '$', 'x',
// 'X', "0x" or "0X" (up to 32 significant bits, taken as two's complement, so "$FFFFFFFF"
// is -1 and "-$10" is -16). Empty text or any other character makes the text invalid.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// The error shown for text ParseInteger refused: "'<text>' is not a valid integer value".
std::string InvalidIntegerMessage(std::string_view text);

} // namespace vorlix
