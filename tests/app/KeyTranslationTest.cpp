#include "ui/KeyTranslation.h"

#include <Qt>

#include <gtest/gtest.h>

using namespace vorlix;

TEST(KeyTranslation, MapsQtKeysToTheGameCodesOrToNone)
{
    const struct {
        int qtKey;
        std::optional<std::int32_t> code;
    } cases[] = {
        {Qt::Key_Escape, 0x1000},
        {Qt::Key_Right, 0x1014},
        {Qt::Key_Shift, 0x1020},
        {Qt::Key_F2, 0x1031},
        {0x01000FFF, 0x1FFF},
        {Qt::Key_A, 0x41},
        {Qt::Key_Space, 0x20},
        {0xE4, 0xE4},   // a letter of a national layout
        {0x0FFF, 0x0FFF},
        // Letters from U+1000 up would read as special keys: U+1000 as Escape, U+1012 as Left.
        {0x1000, std::nullopt},
        {0x1012, std::nullopt},
        {0xFFFF, std::nullopt},
        {0x10000, std::nullopt}, // would wrap to 0
        // Keys Qt cannot map would all be one key.
        {Qt::Key_unknown, std::nullopt},
        {Qt::Key_AltGr, std::nullopt},
        {Qt::Key_Dead_Acute, std::nullopt},
        {0, std::nullopt},
        {-1, std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TranslateKey(c.qtKey), c.code) << std::hex << c.qtKey;
}
