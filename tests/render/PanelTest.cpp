#include "render/PitPanel.h"

#include <gtest/gtest.h>

namespace vorlix {
namespace {

// Laid out with a seven-pixel bevel; switched, the geometry follows from the arguments alone.
TEST(PitPanelTest, BevelSwitchesUseAbsoluteGeometry)
{
    PitPanel panel;
    EXPECT_EQ(panel.size(), QSize(175, 335));
    EXPECT_EQ(panel.Box().geometry(), QRect(7, 7, 160, 321));
    EXPECT_EQ(panel.frameWidth(), 7);
    panel.move(55, 5);
    panel.SetBevel(false, 7);
    EXPECT_EQ(panel.size(), QSize(161, 321));
    EXPECT_EQ(panel.Box().pos(), QPoint(0, 0));
    EXPECT_EQ(panel.frameWidth(), 0);
    panel.SetBevel(true, 7);
    EXPECT_EQ(panel.size(), QSize(175, 335));
    EXPECT_EQ(panel.Box().pos(), QPoint(7, 7));

    // Changing the width while on: the panel stays twice the bevel larger, never drifting.
    for (int w : {3, 3, 10, 1, 10}) {
        panel.SetBevel(true, w);
        EXPECT_EQ(panel.size(), QSize(161 + 2 * w, 321 + 2 * w)) << w;
        EXPECT_EQ(panel.Box().pos(), QPoint(w, w)) << w;
    }
    EXPECT_EQ(panel.pos(), QPoint(55, 5)) << "the layout owns the position";
    EXPECT_EQ(panel.Box().size(), QSize(160, 321));

    panel.SetBevel(true, 40);
    EXPECT_EQ(panel.size(), QSize(181, 341)) << "widths are kept to the dialog's 1..10";
    panel.SetBevel(true, -3);
    EXPECT_EQ(panel.size(), QSize(163, 323));
}

TEST(PreviewPanelTest, SmallFrameHiddenAtStart)
{
    PreviewPanel panel;
    EXPECT_EQ(panel.size(), QSize(33, 57));
    EXPECT_EQ(panel.Box().geometry(), QRect(6, 8, 21, 41));
    EXPECT_TRUE(panel.isHidden());
    EXPECT_EQ(panel.Box().Canvas().pixel(10, 20), qRgb(0, 0, 0));
}

} // namespace
} // namespace vorlix
