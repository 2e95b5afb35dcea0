// Spline: a closed smooth outline built from control points by cubic B-spline
// subdivision, for the palette, swatches and containers. No GL.
#pragma once

#include <cstddef>
#include <vector>

#include "Vector2d.h"

// The curve is the closed uniform cubic B-spline of the control polygon,
// approximated by subdivision: each level replaces the n points
// of the closed polygon by 2n points (edge midpoints and smoothed vertices,
// masks 1/2 1/2 and 1/8 6/8 1/8). After `level` levels there are
// numberOfControlPoints * 2^level spline points; point k * 2^level is the
// curve's point for control point k. The curve passes inside a convex control
// polygon (it approximates, not interpolates). The spline points form a closed
// loop: the last point connects back to the first; the first is not repeated.
class Spline
{
public:
    static constexpr unsigned maxLevel = 12;

    Spline() = default;

    // Sets the number of control points (all at the origin) and the number of
    // refinement levels (at most maxLevel), and clears the built curve.
    void initializeAndSetParameters(std::size_t numberOfControlPoints, unsigned level);

    // The control points, in order round the curve. Writable; call
    // buildOrRebuildSpline after changing them.
    std::vector<Vector2d>& controlPoints() { return _controlPoints; }
    const std::vector<Vector2d>& controlPoints() const { return _controlPoints; }

    // Recomputes the spline points and the control-point normals from the
    // current control points. Fewer than three control points give a curve
    // equal to the control points and zero normals.
    void buildOrRebuildSpline();

    const std::vector<Vector2d>& splinePoints() const { return _splinePoints; }
    std::size_t numSplinePoints() const { return _splinePoints.size(); }

    // Outward unit normals of the curve at the points corresponding to the
    // control points (one per control point), whichever way round the control
    // points run. Valid after buildOrRebuildSpline.
    const std::vector<Vector2d>& controlPointNormalVectors() const { return _normals; }

    unsigned level() const { return _level; }

    // Makes this spline an independent copy of other (parameters, control
    // points, built curve and normals).
    void copySpline(const Spline& other);

private:
    std::vector<Vector2d> _controlPoints;
    std::vector<Vector2d> _splinePoints;
    std::vector<Vector2d> _normals;
    unsigned _level = 0;
};
