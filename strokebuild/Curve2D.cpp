// Curve2D: smoothing, clamped B-spline resampling, lengths and bounds of a drawn path,
// plus its GL debug drawing (kept at the end of the file).
#include "Curve2D.h"

#include "Vector2d.h"

#include <array>
#include <limits>

namespace {

// B-spline order of the resampled curve (quadratic pieces).
constexpr int ResampleOrder = 3;

// Weights of one smoothing pass, each set summing to 1: the second point, the points
// between inner neighbours, and the second-to-last point.
using Weights = std::array<double, 4>;
constexpr Weights HeadWeights = {-0.5, 1.0, 0.75, -0.25};
constexpr Weights InnerWeights = {-0.25, 0.75, 0.75, -0.25};
constexpr Weights TailWeights = {-0.25, 0.75, 1.0, -0.5};

Point2D weighted(const Point2D& a, const Point2D& b, const Point2D& c, const Point2D& d,
                 const Weights& w)
{
    return {w[0] * a.getX() + w[1] * b.getX() + w[2] * c.getX() + w[3] * d.getX(),
            w[0] * a.getY() + w[1] * b.getY() + w[2] * c.getY() + w[3] * d.getY()};
}

// Knot vector of a clamped uniform B-spline with n control points and order k (n >= k):
// k zeros, j / (n - k + 1) for j = 1 .. n - k, k ones.
std::vector<double> clampedUniformKnots(std::size_t n, std::size_t k)
{
    std::vector<double> knots(n + k, 1.0);
    const double interiorSpans = static_cast<double>(n - k + 1);
    for (std::size_t i = 0; i < k; ++i)
        knots[i] = 0.0;
    for (std::size_t j = 1; j <= n - k; ++j)
        knots[k - 1 + j] = static_cast<double>(j) / interiorSpans;
    return knots;
}

// de Boor's algorithm at parameter t in span r (knots[r] <= t < knots[r + 1], r >= k - 1).
// local holds k entries, P(r), P(r - 1), ..., P(r - k + 1); each level blends every entry
// that still has a successor with that successor.
Vector2d deBoor(const std::vector<Point2D>& points, const std::vector<double>& knots,
                std::size_t r, double t, std::vector<Vector2d>& local)
{
    const std::size_t k = local.size();
    for (std::size_t m = 0; m < k; ++m)
        local[m] = {points[r - m].getX(), points[r - m].getY()};
    for (std::size_t level = 1; level < k; ++level) {
        for (std::size_t m = 0; m + level < k; ++m) {
            const double lower = knots[r - m];
            const double upper = knots[r - m + k - level];
            const double alpha = upper == lower ? 0.0 : (t - lower) / (upper - lower);
            local[m] = alpha * local[m] + (1.0 - alpha) * local[m + 1];
        }
    }
    return local[0];
}

// Truncates toward zero; values beyond the int range stop at its ends.
int truncatedToInt(double v)
{
    if (v >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (v <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

void boundsOf(const std::vector<Point2D>& points, int& minX, int& minY, int& maxX, int& maxY)
{
    minX = minY = std::numeric_limits<int>::max();
    maxX = maxY = std::numeric_limits<int>::min();
    for (const Point2D& p : points) {
        const double x = p.getX();
        const double y = p.getY();
        if (x < minX)
            minX = truncatedToInt(x);
        if (y < minY)
            minY = truncatedToInt(y);
        if (x > maxX)
            maxX = truncatedToInt(x);
        if (y > maxY)
            maxY = truncatedToInt(y);
    }
}

} // namespace

void Curve2D::addPoint(const Point2D& p)
{
    _rawPoints.push_back(p);
    _curvePoints.push_back(p);
    _processed = false;
}

void Curve2D::clear()
{
    _rawPoints.clear();
    _curvePoints.clear();
    _processed = false;
}

bool Curve2D::isEmpty() const { return _curvePoints.empty(); }
std::size_t Curve2D::numCurvePoints() const { return _curvePoints.size(); }
std::size_t Curve2D::numRawPoints() const { return _rawPoints.size(); }
double Curve2D::curveLength(bool squared) const { return polylineLength(_curvePoints, squared); }
double Curve2D::rawLength(bool squared) const { return polylineLength(_rawPoints, squared); }

Point2D Curve2D::getCurvePoint(std::size_t i) const
{
    return i < _curvePoints.size() ? _curvePoints[i] : Point2D();
}

std::vector<Point2D> Curve2D::getRawPoints() const { return _rawPoints; }
std::vector<Point2D> Curve2D::getCurvePoints() const { return _curvePoints; }
bool Curve2D::isProcessed() const { return _processed; }

void Curve2D::process(int smoothingPasses, double density)
{
    if (_processed)
        return;
    for (int pass = 0; pass < smoothingPasses; ++pass)
        _curvePoints = smooth(_curvePoints);
    // The step follows the length of the path as drawn, not of the smoothed one.
    const double length = rawLength(false);
    _curvePoints = resample(_curvePoints, ResampleOrder, 1.0 / (length * density));
    _processed = true;
}

void Curve2D::getCurveBounds(int& minX, int& minY, int& maxX, int& maxY) const
{
    boundsOf(_curvePoints, minX, minY, maxX, maxY);
}

void Curve2D::getRawBounds(int& minX, int& minY, int& maxX, int& maxY) const
{
    boundsOf(_rawPoints, minX, minY, maxX, maxY);
}

double Curve2D::polylineLength(const std::vector<Point2D>& points, bool squared) const
{
    double sum = 0.0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const Point2D& from = points[i - 1];
        const double x = points[i].getX();
        const double y = points[i].getY();
        sum += squared ? from.squaredDistanceTo(x, y) : from.distanceTo(x, y);
    }
    return sum;
}

std::vector<Point2D> Curve2D::smooth(const std::vector<Point2D>& p)
{
    const std::size_t n = p.size();
    if (n < 5)
        return p;
    std::vector<Point2D> out;
    out.reserve(n / 2 + 1);
    out.push_back(p[0]);
    out.push_back(weighted(p[0], p[1], p[2], p[3], HeadWeights));
    // Every second interior point, i = 4, 6, ... while i <= n - 4 (none below 8 points);
    // each result lies between p[i - 1] and p[i].
    for (std::size_t i = 4; i + 4 <= n; i += 2)
        out.push_back(weighted(p[i - 2], p[i - 1], p[i], p[i + 1], InnerWeights));
    out.push_back(weighted(p[n - 4], p[n - 3], p[n - 2], p[n - 1], TailWeights));
    out.push_back(p[n - 1]);
    return out;
}

std::vector<Point2D> Curve2D::resample(const std::vector<Point2D>& points, int order, double step)
{
    const std::size_t n = points.size();
    if (order < 1 || n < static_cast<std::size_t>(order))
        return points;
    if (!(step > 0.0))
        step = 1.0; // one sample at t = 0, never an endless loop
    const std::size_t k = static_cast<std::size_t>(order);
    const std::vector<double> knots = clampedUniformKnots(n, k);
    std::vector<Vector2d> local(k);
    std::vector<Point2D> out;
    // t only grows, so the span (the last r with knots[r] <= t < knots[r + 1]) only moves
    // forward: start at the first non-empty span and advance. It stays below n because
    // knots[n] is 1 and t < 1.
    std::size_t span = k - 1;
    for (double t = 0.0; t < 1.0; t += step) {
        while (span + 1 < n && knots[span + 1] <= t)
            ++span;
        const Vector2d c = deBoor(points, knots, span, t, local);
        out.emplace_back(c.x, c.y);
    }
    out.push_back(points.back());
    return out;
}
