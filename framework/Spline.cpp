// Spline: closed cubic B-spline by repeated subdivision of the control polygon,
// with outward normals from the limit tangents at the control points.
#include "Spline.h"

#include <algorithm>

void Spline::initializeAndSetParameters(std::size_t numberOfControlPoints, unsigned level)
{
    _controlPoints.assign(numberOfControlPoints, Vector2d{});
    _level = std::min(level, maxLevel);
    _splinePoints.clear();
    _normals.clear();
}

void Spline::buildOrRebuildSpline()
{
    const std::size_t n = _controlPoints.size();
    _splinePoints = _controlPoints;
    _normals.assign(n, Vector2d{});
    if (n < 3)
        return;

    std::vector<Vector2d> refined;
    for (unsigned l = 0; l < _level; ++l) {
        const std::size_t m = _splinePoints.size();
        refined.resize(2 * m);
        for (std::size_t i = 0; i < m; ++i) {
            const Vector2d& prev = _splinePoints[(i + m - 1) % m];
            const Vector2d& here = _splinePoints[i];
            const Vector2d& next = _splinePoints[(i + 1) % m];
            refined[2 * i] = (prev + 6.0 * here + next) * 0.125;
            refined[2 * i + 1] = (here + next) * 0.5;
        }
        _splinePoints.swap(refined);
    }

    // Twice the signed area: positive when the control points run
    // counter-clockwise, where the outward side is to the right of the tangent.
    double area2 = 0.0;
    Vector2d centroid;
    for (std::size_t i = 0; i < n; ++i) {
        const Vector2d& a = _controlPoints[i];
        const Vector2d& b = _controlPoints[(i + 1) % n];
        area2 += a.x * b.y - b.x * a.y;
        centroid += a;
    }
    centroid *= 1.0 / static_cast<double>(n);
    const double side = area2 >= 0.0 ? -1.0 : 1.0;

    for (std::size_t k = 0; k < n; ++k) {
        // The limit tangent of a cubic B-spline at control point k.
        const Vector2d tangent = _controlPoints[(k + 1) % n] - _controlPoints[(k + n - 1) % n];
        Vector2d normal = tangent.perp() * side;
        if (normal.squaredLength() == 0.0)
            normal = _controlPoints[k] - centroid;   // neighbours coincide: point away from the middle
        _normals[k] = normal.normalized();
    }
}

void Spline::copySpline(const Spline& other)
{
    if (this != &other)
        *this = other;
}
