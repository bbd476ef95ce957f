#include <gtest/gtest.h>

#include "app/main_window/transfer_notice.h"

TEST(TransferNotice, SaysHowFarAndHowToStopALoad) {
    EXPECT_EQ(transferNotice(TransferKind::Load, {180'400'000, 425'000'000, 0.4245}),
              "Loading 42%  180 of 425 MB  Esc stops");
    EXPECT_EQ(transferNotice(TransferKind::Save, {3'999'999'999, 0, 0.999}), "Saving 99%  3999 MB");
    // Whatever it is told, it stays within bounds.
    EXPECT_EQ(transferNotice(TransferKind::Save, {-5, 0, 7.0}), "Saving 100%  0 MB");
}
