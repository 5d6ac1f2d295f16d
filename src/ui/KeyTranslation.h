#pragma once

#include <cstdint>
#include <optional>

namespace vorlix {

// Qt 6 key codes to the game's 16-bit codes: printable keys below U+1000 pass unchanged and
// special keys 0x01000000 + n become 0x1000 + n. Every other key has no code: letters from
// U+1000 up would take the codes of the special keys (U+1000 would be Escape), and the keys
// Qt cannot map (AltGr, dead keys, unknown ones) would all share one.
constexpr std::optional<std::int32_t> TranslateKey(int qtKey)
{
    if (qtKey > 0 && qtKey < 0x1000)
        return qtKey;
    if (qtKey >= 0x01000000 && qtKey <= 0x01000FFF)
        return 0x1000 + (qtKey - 0x01000000);
    return std::nullopt;
}

} // namespace vorlix
