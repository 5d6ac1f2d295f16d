#pragma once

#include <cstdint>

namespace vorlix {

// Qt 6 key codes to the game's 16-bit codes: printable keys pass unchanged, special keys
// 0x01000000 + n become 0x1000 + n, and anything else (AltGr, media keys, unknown) 0xFFFF.
constexpr std::int32_t TranslateKey(int qtKey)
{
    if (qtKey >= 0 && qtKey < 0x01000000)
        return qtKey & 0xFFFF;
    if (qtKey >= 0x01000000 && qtKey <= 0x01000FFF)
        return 0x1000 + (qtKey - 0x01000000);
    return 0xFFFF;
}

} // namespace vorlix
