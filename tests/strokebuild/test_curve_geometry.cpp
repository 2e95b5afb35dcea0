// Tests of vectors, points and drawn-path processing: smoothing weights and counts, the
// clamped B-spline against an independent basis evaluation, lengths, bounds, degenerate paths.
#include "Curve2D.h"
#include "Vector2d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

using Points = std::vector<Point2D>;

// n points evenly spaced on the line from `from` by `delta` each.
Points line(const Point2D& from, const Point2D& delta, int n)
{
    Points points;
    for (int i = 0; i < n; ++i)
        points.push_back(from + delta * i);
    return points;
}

Curve2D curveOf(const Points& points)
{
    Curve2D curve;
    for (const Point2D& p : points)
        curve.addPoint(p);
    return curve;
}

void expectSamePoint(const Point2D& a, const Point2D& b, double tolerance = 1e-9)
{
    EXPECT_NEAR(a.getX(), b.getX(), tolerance);
    EXPECT_NEAR(a.getY(), b.getY(), tolerance);
}

std::vector<std::pair<double, double>> xy(const Points& points)
{
    std::vector<std::pair<double, double>> pairs;
    for (const Point2D& p : points)
        pairs.push_back(p.getXYPair());
    return pairs;
}

// Cox-de Boor recursion for the B-spline basis function N(i, k) at t.
double basis(const std::vector<double>& knots, std::size_t i, int k, double t)
{
    if (k == 1)
        return knots[i] <= t && t < knots[i + 1] ? 1.0 : 0.0;
    double value = 0.0;
    const double left = knots[i + k - 1] - knots[i];
    const double right = knots[i + k] - knots[i + 1];
    if (left > 0.0)
        value += (t - knots[i]) / left * basis(knots, i, k - 1, t);
    if (right > 0.0)
        value += (knots[i + k] - t) / right * basis(knots, i + 1, k - 1, t);
    return value;
}

using Box = std::vector<int>; // minX, minY, maxX, maxY

Box boundsOf(const Curve2D& curve, bool raw)
{
    Box b(4);
    if (raw)
        curve.getRawBounds(b[0], b[1], b[2], b[3]);
    else
        curve.getCurveBounds(b[0], b[1], b[2], b[3]);
    return b;
}

} // namespace

TEST(VectorAndPoint, NormalizeNeverGivesNaNAndArithmeticIsPerCoordinate)
{
    EXPECT_EQ(Vector2d(3.0, -4.0).normalized(), Vector2d(0.6, -0.8));
    EXPECT_EQ(Vector2d().normalize(), Vector2d(0.0, 0.0));
    const Vector2d huge = Vector2d(std::numeric_limits<double>::infinity(), 1.0).normalized();
    EXPECT_FALSE(std::isnan(huge.x) || std::isnan(huge.y));
    EXPECT_EQ(Vector2d(1.0, 2.0).perp(), Vector2d(-2.0, 1.0)); // counter-clockwise
    const Point2D p(1.0, 2.0);
    EXPECT_EQ((0.5 * p + p * 3.0 - Point2D(2.0, -1.0)).getXYPair(), std::make_pair(1.5, 8.0));
}

TEST(Smoothing, HalvesThePointCountAndKeepsStraightLinesStraight)
{
    const Point2D origin(2.0, -1.0);
    const Point2D d(3.0, 1.5);
    for (const auto& [in, out] : std::vector<std::pair<int, std::size_t>>{
             {0, 0}, {4, 4}, {5, 4}, {7, 4}, {8, 5}, {9, 5}, {10, 6}, {11, 6}, {101, 51}})
        EXPECT_EQ(Curve2D::smooth(line(origin, d, in)).size(), out) << in << " points";
    const Points four = {{0, 0}, {5, 9}, {-3, 2}, {8, 8}};
    EXPECT_EQ(xy(Curve2D::smooth(four)), xy(four));

    // On p(i) = origin + i d the head lands at 1.75 d, inner points at (i - 0.5) d and the
    // tail at (n - 2.75) d; both ends are kept.
    const auto expectAt = [&](const Points& smoothed, const std::vector<double>& multiples) {
        ASSERT_EQ(smoothed.size(), multiples.size());
        for (std::size_t i = 0; i < smoothed.size(); ++i)
            expectSamePoint(smoothed[i], origin + d * multiples[i]);
    };
    expectAt(Curve2D::smooth(line(origin, d, 8)), {0.0, 1.75, 3.5, 5.25, 7.0});
    expectAt(Curve2D::smooth(line(origin, d, 10)), {0.0, 1.75, 3.5, 5.5, 7.25, 9.0});
}

TEST(Resampling, MatchesTheBasisFunctionSumOnAClampedUniformKnotVector)
{
    struct Spline
    {
        Points control;
        int order;
        std::vector<double> knots;
        double step;
    };
    const Spline splines[] = {
        {{{0, 0}, {4, 9}, {10, 3}, {13, -6}, {20, 1}, {22, 12}, {30, 5}}, 3,
         {0, 0, 0, 0.2, 0.4, 0.6, 0.8, 1, 1, 1}, 0.07},
        // Cubic, with steps that cross more than one knot span.
        {{{0, 0}, {5, 20}, {15, -10}, {25, 10}, {30, 0}, {40, 15}, {45, -5}, {55, 5}}, 4,
         {0, 0, 0, 0, 0.2, 0.4, 0.6, 0.8, 1, 1, 1, 1}, 0.45},
    };
    for (const Spline& s : splines) {
        SCOPED_TRACE(s.order);
        const Points samples = Curve2D::resample(s.control, s.order, s.step);
        std::size_t m = 0;
        for (double t = 0.0; t < 1.0; t += s.step, ++m) {
            ASSERT_LT(m, samples.size());
            Point2D expected(0.0, 0.0);
            for (std::size_t i = 0; i < s.control.size(); ++i)
                expected = expected + s.control[i] * basis(s.knots, i, s.order, t);
            expectSamePoint(samples[m], expected);
        }
        ASSERT_EQ(samples.size(), m + 1);
        EXPECT_EQ(samples.front().getXYPair(), s.control.front().getXYPair());
        EXPECT_EQ(samples.back().getXYPair(), s.control.back().getXYPair());
    }
}

TEST(Resampling, TooFewPointsOrAnUnusableStep)
{
    const Points two = {{1, 2}, {3, 4}};
    EXPECT_EQ(xy(Curve2D::resample(two, 3, 0.1)), xy(two));
    EXPECT_EQ(xy(Curve2D::resample(two, 0, 0.1)), xy(two));

    // A step that is zero, negative or NaN samples t = 0 only: first and last point.
    const Points three = {{0, 0}, {5, 5}, {10, 0}};
    for (double step : {0.0, -0.5, std::nan("")})
        EXPECT_EQ(xy(Curve2D::resample(three, 3, step)), xy({three.front(), three.back()}));
}

TEST(Curve2D, ProcessedStraightPathStaysStraightWithAboutLengthTimesDensityPoints)
{
    // Length 1000 (a 600 x 800 diagonal) drawn as 101 points.
    Curve2D curve = curveOf(line(Point2D(0.0, 0.0), Point2D(6.0, 8.0), 101));
    curve.process(1, 0.03);
    EXPECT_NEAR(static_cast<double>(curve.numCurvePoints()), 1000 * 0.03 + 1, 1.0);
    for (const Point2D& p : curve.getCurvePoints())
        EXPECT_NEAR(p.getY(), p.getX() * 8.0 / 6.0, 1e-9);
    EXPECT_EQ(curve.getCurvePoint(0).getXYPair(), std::make_pair(0.0, 0.0));
    EXPECT_EQ(curve.getCurvePoints().back().getXYPair(), std::make_pair(600.0, 800.0));
    EXPECT_NEAR(curve.curveLength(false), curve.rawLength(false), 1e-6);

    // Processing again changes nothing until a point is added.
    const Points once = curve.getCurvePoints();
    curve.process(3, 0.5);
    EXPECT_EQ(xy(curve.getCurvePoints()), xy(once));
    curve.addPoint(Point2D(700.0, 900.0));
    EXPECT_FALSE(curve.isProcessed());
    EXPECT_EQ(curve.numCurvePoints(), once.size() + 1);
}

TEST(Curve2D, SampleStepFollowsTheLengthOfThePathAsDrawn)
{
    // A zigzag 10 across and 10 up or down per point: smoothing flattens it, but the
    // number of samples still follows its drawn length of 100 * sqrt(200).
    Points zigzag;
    for (int i = 0; i <= 100; ++i)
        zigzag.emplace_back(10.0 * i, i % 2 == 0 ? 0.0 : 10.0);
    Curve2D curve = curveOf(zigzag);
    const double drawn = curve.rawLength(false);
    EXPECT_NEAR(drawn, 100 * std::sqrt(200.0), 1e-9);
    curve.process(1, 0.03);
    EXPECT_LT(curve.curveLength(false), 0.8 * drawn);
    EXPECT_NEAR(static_cast<double>(curve.numCurvePoints()), drawn * 0.03 + 1, 1.0);
}

TEST(Curve2D, ShortAndDegeneratePaths)
{
    for (int n = 0; n <= 2; ++n) {
        const Points points = line(Point2D(1.0, 1.0), Point2D(2.0, 0.0), n);
        Curve2D curve = curveOf(points);
        EXPECT_EQ(curve.isEmpty(), n == 0);
        curve.process(1, 0.03);
        EXPECT_TRUE(curve.isProcessed());
        EXPECT_EQ(xy(curve.getCurvePoints()), xy(points));
    }

    // A path that never moves has length 0: it ends as its first and last point, no NaN.
    Curve2D still = curveOf(Points(12, Point2D(5.0, 7.0)));
    still.process(1, 0.03);
    EXPECT_EQ(xy(still.getCurvePoints()), xy(Points(2, Point2D(5.0, 7.0))));

    still.clear(); // ready for the next path
    EXPECT_EQ(still.numRawPoints() + still.numCurvePoints(), 0u);
    EXPECT_FALSE(still.isProcessed());
}

TEST(Curve2D, LengthsAndTruncatedBoundsOfKnownShapes)
{
    const Curve2D path = curveOf({{0, 0}, {3, 4}, {3, 0}, {3, 0}});
    EXPECT_DOUBLE_EQ(path.rawLength(false), 5.0 + 4.0);
    EXPECT_DOUBLE_EQ(path.curveLength(true), 25.0 + 16.0);
    EXPECT_DOUBLE_EQ(path.polylineLength({{3, 4}}, false), 0.0);

    const int intMax = std::numeric_limits<int>::max();
    const int intMin = std::numeric_limits<int>::min();
    EXPECT_EQ(boundsOf(Curve2D(), false), Box({intMax, intMax, intMin, intMin}));
    // Truncation toward zero: -3.7 gives -3, and -2.5 gives -2 as a maximum.
    EXPECT_EQ(boundsOf(curveOf({{-3.7, 2.2}, {10.9, -5.5}, {4.0, 8.99}}), true), Box({-3, -5, 10, 8}));
    EXPECT_EQ(boundsOf(curveOf({{-3.7, -8.2}, {-2.5, -9.9}}), true), Box({-3, -9, -2, -8}));
    EXPECT_EQ(boundsOf(curveOf({{1e12, -1e12}}), true), Box({intMax, intMin, intMax, intMin}));

    // Four points are not smoothed but are resampled, and the ends stay. The curve box
    // follows the processed points: the spline stays below its middle control points,
    // which the raw box reaches.
    Curve2D arch = curveOf({{0, 0}, {50, 100}, {100, 100}, {150, 0}});
    arch.process(1, 0.1);
    EXPECT_GT(arch.numCurvePoints(), 4u);
    EXPECT_EQ(arch.getCurvePoint(0).getXYPair(), std::make_pair(0.0, 0.0));
    EXPECT_EQ(arch.getCurvePoints().back().getXYPair(), std::make_pair(150.0, 0.0));
    EXPECT_LT(boundsOf(arch, false)[3], 100);
    EXPECT_EQ(boundsOf(arch, true), Box({0, 0, 150, 100}));
}
