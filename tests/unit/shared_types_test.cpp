#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "text/pane_rows.h"
#include "text/modifier_keys.h"
#include "text/pixel_geometry.h"
#include "text/text_position.h"

TEST(SharedTypes, TextPositionsOrderByLineThenColumn) {
    std::mt19937 random(23);
    std::uniform_int_distribution<int> small(0, 4);
    for (int i = 0; i < 2000; ++i) {
        const TextPosition a{small(random), small(random)};
        const TextPosition b{small(random), small(random)};
        EXPECT_EQ(a.before(b), std::tie(a.line, a.column) < std::tie(b.line, b.column));
        EXPECT_EQ(a == b, !a.before(b) && !b.before(a));
    }
}

TEST(SharedTypes, APaneContainsExactlyItsRows) {
    for (int rows = 0; rows < 4; ++rows) {
        const PaneRows pane{5, rows};
        for (int row = 0; row < 12; ++row) EXPECT_EQ(pane.contains(row), row >= 5 && row < 5 + rows) << rows << " " << row;
    }
}

TEST(SharedTypes, OnlyShiftAndOnlyCtrlMeanNothingElseIsHeld) {
    for (int held = 0; held < 8; ++held) {
        const ModifierKeys keys{.ctrl = (held & 1) != 0, .shift = (held & 2) != 0, .alt = (held & 4) != 0};
        EXPECT_EQ(keys.none(), held == 0);
        EXPECT_EQ(keys.onlyCtrl(), held == 1);
        EXPECT_EQ(keys.onlyShift(), held == 2);
    }
}

TEST(SharedTypes, ARectangleWithoutAreaIsEmpty) {
    EXPECT_TRUE((PixelRect{4, 4, 4, 9}).empty());
    EXPECT_TRUE((PixelRect{4, 9, 8, 3}).empty());
    const PixelRect cell{2, 3, 10, 19};
    EXPECT_FALSE(cell.empty());
    EXPECT_EQ(cell.width(), 8);
    EXPECT_EQ(cell.height(), 16);
}
