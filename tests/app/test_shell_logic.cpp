// Spanning-window geometry and the frame-rate mean.
#include "FrameRateAverage.h"
#include "WindowGeometry.h"

#include <gtest/gtest.h>

TEST(WindowGeometry, FrameLiesJustOutsideTheVirtualDesktop)
{
    // Two monitors side by side, the left one at a negative x.
    const QRect desktop = QRect(-1280, 0, 1280, 1024).united(QRect(0, 0, 1920, 1080));
    const QRect framed = WindowGeometry::spanningRect(desktop, 4, 4);
    EXPECT_EQ(framed, QRect(-1283, -3, 3200 + 8 - 2, 1080 + 8 - 2));
    // Client area: the frame taken off each side leaves a one-pixel inset.
    EXPECT_EQ(framed.adjusted(4, 4, -4, -4), desktop.adjusted(1, 1, -1, -1));
    EXPECT_EQ(WindowGeometry::spanningRect(desktop, 0, 0), desktop.adjusted(1, 1, -1, -1));
}

TEST(FrameRateAverage, EmptySlotsCountAsZeroUntilTheRingIsFull)
{
    FrameRateAverage average;
    EXPECT_FLOAT_EQ(average.add(400.0), 10.0f); // 400 / 40
    EXPECT_FLOAT_EQ(average.add(400.0), 20.0f);
    for (int i = 2; i < 40; ++i)
        average.add(400.0);
    EXPECT_FLOAT_EQ(average.add(400.0), 400.0f);
}

TEST(FrameRateAverage, OldestRateLeavesTheRingAndMeanIsRoundedToOneDecimal)
{
    FrameRateAverage average;
    for (int i = 0; i < 40; ++i)
        average.add(i == 0 ? 1000.0 : 100.0);
    // The 1000 leaves when the 41st rate arrives.
    EXPECT_NEAR(average.add(100.0), 100.0f, 1e-4);
    EXPECT_NEAR(average.sum(), 4000.0, 1e-9);

    FrameRateAverage rounding;
    EXPECT_NEAR(rounding.add(1.0), 0.0f, 1e-6);  // 0.025 rounds down
    EXPECT_NEAR(rounding.add(1.0), 0.1f, 1e-6);  // 0.05 rounds up
    EXPECT_NEAR(rounding.add(0.9), 0.1f, 1e-6);  // 0.0725
}
