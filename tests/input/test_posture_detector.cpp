// Posture decision: ring filling, the fifth and sixth reports, range bounds,
// order of overlapping ranges, stickiness, corner zones and reset.
#include "PostureDetector.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

// Adjacent ranges with a gap above the hand: 50 and more is unknown.
PostureRanges adjacentRanges()
{
    return {0.0, 9.9, 10.0, 19.0, 20.0, 29.0, 30.0, 39.0, 40.0, 49.0};
}

// Reports of the given areas (width = area, height = 1) in the middle of
// the board, away from the corner zones.
void feed(PostureDetector& detector, std::initializer_list<unsigned> areas)
{
    for (unsigned area : areas)
        detector.addSample(600, 500, area, 1);
}

// Posture after six reports of which 1, 3, 4 and 6 have the given areas.
Posture decide(const PostureRanges& ranges, unsigned a1, unsigned a3, unsigned a4, unsigned a6)
{
    PostureDetector detector(ranges);
    feed(detector, {a1, 9999, a3, a4, 9999, a6});
    return detector.getPosture();
}

} // namespace

TEST(PostureDetector, DecidesOnTheSixthReportFromReportsOneThreeFourAndSix)
{
    PostureDetector detector(adjacentRanges());
    EXPECT_EQ(detector.getSampleCount(), 4u);
    for (unsigned i = 0; i < 4; ++i) {
        detector.addSample(400 + i, 500 + i, i == 1 ? 1000 : 40, 1);
        EXPECT_EQ(detector.getPosture(), Posture::None);
    }
    EXPECT_EQ(detector.getAverageArea(), 0.0);

    // Report 5 averages reports 1 to 4 but is neither stored nor classified.
    detector.addSample(600, 600, 9999, 3);
    EXPECT_EQ(detector.getPosture(), Posture::None);
    EXPECT_EQ(detector.getAverageArea(), 280.0);
    EXPECT_EQ(detector.getAverageWidth(), 280.0);
    EXPECT_EQ(detector.getAverageHeight(), 1.0);

    // Report 6 replaces report 2: (40 + 40 + 40 + 40) / 4 is a hand.
    detector.addSample(610, 610, 40, 1);
    EXPECT_EQ(detector.getAverageArea(), 40.0);
    EXPECT_EQ(detector.getPosture(), Posture::Hand);
    EXPECT_EQ(detector.getPreviousPosture(), Posture::None);
    detector.addSample(620, 620, 40, 1);
    EXPECT_EQ(detector.getPreviousPosture(), Posture::Hand);

    // Positions are those of reports 1 to 4 only.
    for (unsigned i = 0; i < 4; ++i) {
        EXPECT_EQ(detector.getSampleX(i), 400.0 + i);
        EXPECT_EQ(detector.getSampleY(i), 500.0 + i);
    }
    EXPECT_EQ(detector.getSampleX(4), PostureDetector::EmptySample);
}

TEST(PostureDetector, RangeEndsAreInclusiveOverlapsGoToTheEarlierPosture)
{
    const PostureRanges ranges = adjacentRanges();
    EXPECT_EQ(decide(ranges, 9, 9, 9, 9), Posture::Pen); // bound 9.9 truncates to 9
    EXPECT_EQ(decide(ranges, 10, 10, 10, 10), Posture::OneFinger);
    EXPECT_EQ(decide(ranges, 29, 29, 29, 29), Posture::TwoFingers);
    EXPECT_EQ(decide(ranges, 30, 30, 30, 30), Posture::Fist);
    EXPECT_EQ(decide(ranges, 49, 49, 49, 49), Posture::Hand);
    EXPECT_EQ(decide(ranges, 50, 50, 50, 50), Posture::Unknown);
    // 199 / 4 is 49 in integer division, not 49.75.
    EXPECT_EQ(decide(ranges, 49, 49, 49, 52), Posture::Hand);
    // A hole between two ranges is unknown; overlapping ranges go to the
    // earlier posture.
    EXPECT_EQ(decide({0, 5, 10, 19, 20, 29, 30, 39, 40, 49}, 7, 7, 7, 7), Posture::Unknown);
    EXPECT_EQ(decide({0, 50, 20, 100, 200, 300, 400, 500, 600, 700}, 30, 30, 30, 30), Posture::Pen);
    EXPECT_EQ(decide({0, 5, 10, 19, 20, 29, 30, 80, 60, 900}, 70, 70, 70, 70), Posture::Fist);
}

TEST(PostureDetector, DecisionSticksUntilReset)
{
    PostureDetector finger(adjacentRanges());
    feed(finger, {15, 15, 15, 15, 15, 15});
    ASSERT_EQ(finger.getPosture(), Posture::OneFinger);
    // A hand laid down later without lifting, then a pen-sized contact.
    feed(finger, {45, 45, 45, 45, 45});
    EXPECT_EQ(finger.getAverageArea(), 45.0);
    EXPECT_EQ(finger.getPosture(), Posture::OneFinger);
    feed(finger, {2, 2, 2, 2});
    EXPECT_EQ(finger.getPosture(), Posture::OneFinger);
    EXPECT_EQ(finger.getPreviousPosture(), Posture::OneFinger);

    PostureDetector unknown(adjacentRanges());
    feed(unknown, {500, 500, 500, 500, 500, 500});
    ASSERT_EQ(unknown.getPosture(), Posture::Unknown);
    feed(unknown, {15, 15, 15, 15, 15});
    EXPECT_EQ(unknown.getPosture(), Posture::Unknown);

    // Reset empties the ring but keeps the ranges: a new contact fills anew.
    unknown.reset();
    EXPECT_EQ(unknown.getPosture(), Posture::None);
    EXPECT_EQ(unknown.getPreviousPosture(), Posture::None);
    EXPECT_EQ(unknown.getAverageArea(), 0.0);
    EXPECT_EQ(unknown.getSampleX(0), PostureDetector::EmptySample);
    feed(unknown, {45, 45, 45, 45, 45});
    EXPECT_EQ(unknown.getPosture(), Posture::None);
    feed(unknown, {45});
    EXPECT_EQ(unknown.getPosture(), Posture::Hand);
}

TEST(PostureDetector, CornerZonesCountDoubleArea)
{
    struct Case
    {
        unsigned x, y;
        double averageArea;
    };
    // Area 10 x 2; the middle bands 300..1100 and 230..700 are inclusive.
    const Case cases[] = {
        {1101, 229, 40.0}, {1100, 229, 20.0}, {299, 701, 40.0}, {300, 701, 20.0},
        {200, 230, 20.0},  {200, 700, 20.0},  {1101, 500, 20.0}, {0, 0, 40.0},
    };
    for (const Case& c : cases) {
        PostureDetector detector(adjacentRanges());
        for (int i = 0; i < 5; ++i)
            detector.addSample(c.x, c.y, 10, 2);
        EXPECT_EQ(detector.getAverageArea(), c.averageArea) << "x " << c.x << ", y " << c.y;
        EXPECT_EQ(detector.getAverageWidth(), 10.0);
    }
}
