// Board pointer index and the jump filter of moves.
#include "PointerIndex.h"
#include "TouchJumpFilter.h"

#include <gtest/gtest.h>

TEST(PointerIndex, IsBitEightOfThePointerId)
{
    EXPECT_EQ(pointerIndex(0), 0u);
    EXPECT_EQ(pointerIndex(255), 0u);
    EXPECT_EQ(pointerIndex(256), 1u);
    EXPECT_EQ(pointerIndex(257), 1u);
    EXPECT_EQ(pointerIndex(511), 1u);
    EXPECT_EQ(pointerIndex(512), 0u);
    EXPECT_EQ(pointerIndex(0x301), 1u);
}

TEST(TouchJumpFilter, AcceptsStepsOfAtMostTwoHundredUnits)
{
    TouchJumpFilter filter;
    filter.press(0, 100, 100);
    EXPECT_EQ(filter.move(0, 220, 260), (BoardPoint{220, 260})); // 120² + 160² = 200²
    EXPECT_EQ(filter.lastAccepted(0), (BoardPoint{220, 260}));

    // dy = 161: reported at the previous position, which stays.
    EXPECT_EQ(filter.move(0, 340, 421), (BoardPoint{220, 260}));
    EXPECT_EQ(filter.lastAccepted(0), (BoardPoint{220, 260}));
    EXPECT_EQ(filter.move(0, 100, 100), (BoardPoint{100, 100})); // back by exactly 200
}

TEST(TouchJumpFilter, PointersKeepSeparateTracks)
{
    TouchJumpFilter filter;
    filter.press(0, 0, 0);
    filter.press(1, 1000, 1000);
    // Near pointer 1's track but far from pointer 0's.
    EXPECT_EQ(filter.move(0, 1010, 1010), (BoardPoint{0, 0}));
    EXPECT_EQ(filter.move(1, 1010, 1010), (BoardPoint{1010, 1010}));
    // A new press restarts the track wherever it lands.
    filter.press(0, 1500, 1500);
    EXPECT_EQ(filter.move(0, 1600, 1600), (BoardPoint{1600, 1600}));
}
