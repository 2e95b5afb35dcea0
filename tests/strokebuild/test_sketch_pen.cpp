// The simulated pen, its outline and taper, the eraser's split and the element
// image raster: headless.
#include "SketchEraser.h"
#include "SketchPen.h"
#include "SketchRaster.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const SketchPanel Panel{500.0, 400.0, 600.0, 600.0};   // x 200..800, y 100..700

double distance(double ax, double ay, double bx, double by) { return std::hypot(ax - bx, ay - by); }

// A straight stroke of n points along x with radius r, outlined.
Stroke2d lineStroke(int n, double r = 4.0, double y = 300.0)
{
    Stroke2d s;
    for (int i = 0; i < n; ++i)
        s.addControlPoint(ControlPoint2D(i, 250.0 + 10.0 * i, y, r, 1.0));
    SketchPen::extendOutline(s);
    return s;
}

// Every point's two side vertices lie at its radius on opposite sides.
void expectConsistentOutline(const Stroke2d& s)
{
    const auto& v = s.getVertices();
    const auto& cps = s.getControlPoints();
    ASSERT_EQ(s.getVertexFloatCount(), 4 * cps.size());
    ASSERT_EQ(s.getIndexCount(), 2 * cps.size());
    for (std::size_t i = 0; i < cps.size(); ++i) {
        EXPECT_EQ(cps[i].getTag(), static_cast<int>(i));
        EXPECT_EQ(s.getIndices()[2 * i], 2 * i);
        EXPECT_EQ(s.getIndices()[2 * i + 1], 2 * i + 1);
        for (std::size_t side = 0; side < 2; ++side)
            EXPECT_NEAR(distance(v[4 * i + 2 * side], v[4 * i + 2 * side + 1], cps[i].getX(), cps[i].getY()),
                        cps[i].getRadius(), 1e-3)
                << "point " << i;
        EXPECT_NEAR(0.5 * (v[4 * i] + v[4 * i + 2]), cps[i].getX(), 1e-3);
        EXPECT_NEAR(0.5 * (v[4 * i + 1] + v[4 * i + 3]), cps[i].getY(), 1e-3);
    }
}

} // namespace

TEST(SketchPen, StepResponseLagsSettlesAndStaysInsideThePanel)
{
    SketchPen pen;   // pen posture's feel: max thickness 15
    Stroke2d stroke;
    pen.start(300.0, 400.0, Panel);
    double closest = 1e9;
    for (int i = 0; i < 400; ++i) {
        pen.addSample(stroke, 600.0, 400.0, false, true, Panel);
        pen.keepUp();
        if (i == 0) {
            EXPECT_GT(distance(pen.penPixel()[0], pen.penPixel()[1], 600.0, 400.0), 250.0) << "the pen lags";
        }
        closest = std::min(closest, std::abs(pen.penPixel()[0] - 600.0));
    }
    EXPECT_NEAR(pen.penPixel()[0], 600.0, 0.5);
    EXPECT_NEAR(pen.penPixel()[1], 400.0, 0.5);

    // A finger far outside: the tip stops half the widest line inside the edge.
    const double inset = 0.5 * pen.parameters().maxThickness;
    for (int i = 0; i < 300; ++i) {
        pen.addSample(stroke, 5000.0, -3000.0, false, true, Panel);
        pen.keepUp();
        EXPECT_LE(pen.penPixel()[0], 800.0 - inset + 1e-3);
        EXPECT_GE(pen.penPixel()[1], 100.0 + inset - 1e-3);
    }
    EXPECT_NEAR(pen.penPixel()[0], 800.0 - inset, 1e-3);
    for (const ControlPoint2D& cp : stroke.getControlPoints()) {
        EXPECT_GE(cp.getX(), 200.0 - inset);
        EXPECT_LE(cp.getX(), 800.0 + inset);
    }
}

TEST(SketchPen, FasterPensDrawThinnerLinesNeverBelowTheMinimum)
{
    SketchPen pen;
    pen.setSimulationParameters(0.05f, 0.8f, 2.0f, 30.0f, 10.0f, 1.0f, 0.065f);
    Stroke2d stroke;
    pen.start(300.0, 400.0, Panel);
    // Warm-up: the pen starts thin, as if fast.
    EXPECT_FLOAT_EQ(pen.addSample(stroke, 300.0, 400.0, false, true, Panel), 10.0f);
    float resting = 0.0f;
    for (int i = 0; i < 80; ++i)
        resting = pen.addSample(stroke, 300.0, 400.0, false, true, Panel);
    EXPECT_EQ(pen.warmUpFactor(), 0.0f);
    EXPECT_FLOAT_EQ(resting, 30.0f) << "a resting pen draws the widest line";

    // A slow drift, then a far jump: the faster the thinner.
    float slow = 0.0f;
    for (int i = 0; i < 5; ++i)
        slow = pen.addSample(stroke, 303.0 + i, 400.0, false, true, Panel);
    float fastest = 1e9f;
    for (int i = 0; i < 10; ++i)
        fastest = std::min(fastest, pen.addSample(stroke, 750.0, 650.0, false, true, Panel));
    EXPECT_LT(slow, resting);
    EXPECT_LT(fastest, slow);
    EXPECT_FLOAT_EQ(fastest, 10.0f);
    for (const ControlPoint2D& cp : stroke.getControlPoints())
        EXPECT_GE(cp.getRadius(), 5.0 - 1e-6);
}

TEST(SketchPen, SamplesBuildOneStripWithTheSidesOfPointIAtVertices2iAnd2iPlus1)
{
    SketchPen pen;
    Stroke2d stroke;
    pen.start(300.0, 300.0, Panel);
    for (int i = 0; i < 120; ++i) {   // a curve round the panel
        pen.addSample(stroke, 500.0 + 200.0 * std::cos(i * 0.08), 400.0 + 200.0 * std::sin(i * 0.08), false, true,
                      Panel);
        pen.keepUp();
    }
    expectConsistentOutline(stroke);

    // Consecutive sides never swap: the left side of each point points the
    // same way as the left side of the point before.
    const auto& v = stroke.getVertices();
    const auto& cps = stroke.getControlPoints();
    for (std::size_t i = 1; i < cps.size(); ++i) {
        const double ax = v[4 * i] - cps[i].getX(), ay = v[4 * i + 1] - cps[i].getY();
        const double bx = v[4 * i - 4] - cps[i - 1].getX(), by = v[4 * i - 3] - cps[i - 1].getY();
        EXPECT_GT(ax * bx + ay * by, 0.0) << "point " << i;
    }
}

TEST(SketchPen, HairpinAndRestingJointsKeepThePreviousSideDirection)
{
    Stroke2d s;
    const double xs[] = {300.0, 320.0, 340.0, 320.0, 320.0};   // a U-turn, then a resting sample
    for (int i = 0; i < 5; ++i)
        s.addControlPoint(ControlPoint2D(i, xs[i], 300.0, 5.0, 1.0));
    SketchPen::extendOutline(s);
    expectConsistentOutline(s);
    const auto& v = s.getVertices();
    for (int i = 2; i < 5; ++i) {
        EXPECT_TRUE(std::isfinite(v[4 * i]) && std::isfinite(v[4 * i + 1]));
        EXPECT_NEAR(v[4 * i + 1] - 300.0, v[5] - 300.0, 1e-4) << "side of point " << i << " as the one before";
    }
}

TEST(SketchPen, LastSampleTapersTheLastSevenPointsOfLongStrokesOnly)
{
    Stroke2d longStroke = lineStroke(10, 8.0);
    SketchPen pen;
    pen.start(340.0, 300.0, Panel);
    pen.addSample(longStroke, 340.0, 300.0, true, true, Panel);
    const double factors[] = {1.0, 0.84333, 0.68667, 0.53, 0.37333, 0.21667, 0.06};
    ASSERT_EQ(longStroke.getNumControlPoints(), 10u) << "the last sample adds no point";
    for (int i = 0; i < 10; ++i)
        EXPECT_NEAR(longStroke.getControlPoints()[i].getRadius(), 8.0 * (i < 3 ? 1.0 : factors[i - 3]), 1e-4) << i;
    expectConsistentOutline(longStroke);

    Stroke2d shortStroke = lineStroke(6, 8.0);
    pen.addSample(shortStroke, 340.0, 300.0, true, true, Panel);
    for (const ControlPoint2D& cp : shortStroke.getControlPoints())
        EXPECT_EQ(cp.getRadius(), 8.0);
}

TEST(SketchEraser, HandThroughTheMiddleLeavesTwoRetaggedStrokesWithConsistentOutlines)
{
    SketchEraser::Strokes strokes;
    strokes.push_back(std::make_unique<Stroke2d>(lineStroke(20)));   // x 250..440
    strokes.push_back(std::make_unique<Stroke2d>(lineStroke(20, 4.0, 600.0)));   // out of reach
    // A vertical pass at x = 345 with radius 10 covers the points at 340 and 350 (their radius 4 adds reach).
    EXPECT_EQ(SketchEraser::eraseAlong(strokes, 345.0, 250.0, 345.0, 350.0, 5.0), 1u);
    ASSERT_EQ(strokes.size(), 3u);
    EXPECT_EQ(strokes[0]->getNumControlPoints(), 9u);
    EXPECT_EQ(strokes[1]->getNumControlPoints(), 9u);
    EXPECT_EQ(strokes[2]->getNumControlPoints(), 20u);
    EXPECT_DOUBLE_EQ(strokes[0]->getControlPoints().back().getX(), 330.0);
    EXPECT_DOUBLE_EQ(strokes[1]->getControlPoints().front().getX(), 360.0);
    for (const auto& s : strokes)
        expectConsistentOutline(*s);

    // Wiping an end keeps the rest as one stroke; a part under three points is dropped.
    SketchEraser::eraseAlong(strokes, 255.0, 250.0, 255.0, 350.0, 5.0);
    ASSERT_EQ(strokes[0]->getNumControlPoints(), 7u);   // x 270 .. 330
    SketchEraser::eraseAlong(strokes, 290.0, 250.0, 290.0, 350.0, 1.0);
    ASSERT_EQ(strokes.size(), 3u);
    EXPECT_EQ(strokes[0]->getNumControlPoints(), 4u);
    EXPECT_DOUBLE_EQ(strokes[0]->getControlPoints().front().getX(), 300.0);
    EXPECT_EQ(SketchEraser::makeStrokeFromRange(*strokes[0], 0, 2), nullptr);
    EXPECT_EQ(SketchEraser::makeStrokeFromRange(*strokes[0], 2, 99), nullptr);
}

TEST(SketchRaster, StripsFillTheImageWhiteWithCoverageAlpha)
{
    std::vector<std::unique_ptr<Stroke2d>> strokes;
    strokes.push_back(std::make_unique<Stroke2d>(lineStroke(5, 20.0)));
    RGBAImage image = SketchRaster::render(strokes, true);
    ASSERT_EQ(image.width, 512);
    ASSERT_EQ(image.height, 512);
    EXPECT_EQ(image.at(256, 256)[3], 0) << "six points or fewer are no strip";
    EXPECT_GT(SketchRaster::render(strokes, false).at(256, 256)[3], 200) << "but their dots are drawn";

    strokes.push_back(std::make_unique<Stroke2d>(lineStroke(30, 20.0)));
    image = SketchRaster::render(strokes, true);
    // The line fills the width, centred, thin against its length.
    EXPECT_EQ(image.at(256, 256)[3], 255);
    EXPECT_EQ(image.at(256, 256)[0], 255);
    EXPECT_EQ(image.at(20, 256)[3], 255);
    EXPECT_EQ(image.at(256, 300)[3], 0);
    EXPECT_EQ(image.at(3, 256)[3], 0) << "a margin stays clear";
}
