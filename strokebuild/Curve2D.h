// Curve2D: a path drawn by hand, kept as added and as a working copy that process() turns
// into a smoothed curve resampled at even parameter steps of a clamped B-spline.
#pragma once

#include "Point2D.h"

#include <cstddef>
#include <vector>

class Curve2D
{
public:
    Curve2D() = default;
    Curve2D(const Curve2D&) = default;
    Curve2D(Curve2D&&) = default;
    Curve2D& operator=(const Curve2D&) = default;
    Curve2D& operator=(Curve2D&&) = default;
    virtual ~Curve2D() = default;

    // Appends p to the raw points and to the working curve; the curve counts as unprocessed.
    virtual void addPoint(const Point2D& p);
    // Empties both point lists; the curve counts as unprocessed.
    virtual void clear();
    // True when the working curve has no points.
    virtual bool isEmpty() const;
    virtual std::size_t numCurvePoints() const;
    virtual std::size_t numRawPoints() const;
    // Polyline lengths of the working curve and of the raw path (see polylineLength).
    virtual double curveLength(bool squared) const;
    virtual double rawLength(bool squared) const;
    // Copy of point i of the working curve; a default point when i is out of range.
    virtual Point2D getCurvePoint(std::size_t i) const;
    virtual std::vector<Point2D> getRawPoints() const;
    virtual std::vector<Point2D> getCurvePoints() const;
    virtual bool isProcessed() const;

    // Smooths the working curve smoothingPasses times, then resamples it as an order-3
    // clamped B-spline with parameter step 1 / (L * density), L being the raw path length;
    // density is in samples per unit of length. Does nothing once the curve is processed.
    virtual void process(int smoothingPasses, double density);

    // Debug drawing in the current GL context and coordinate frame: the points as one line
    // strip, or as GL points. The only GL calls of this class, defined in Curve2DDrawing.cpp
    // (library pictavo_strokebuild_gl): code that draws links that library.
    void renderCurveAsLine() const;
    void renderRawAsLine() const;
    void renderCurveAsPoints() const;
    void renderRawAsPoints() const;

    // Integer bounding box. The bounds start at the largest (min) and smallest (max) int and
    // take a coordinate, truncated toward zero, whenever it lies beyond them; an empty list
    // leaves them at the start values.
    virtual void getCurveBounds(int& minX, int& minY, int& maxX, int& maxY) const;
    virtual void getRawBounds(int& minX, int& minY, int& maxX, int& maxY) const;

    // Sum of the distances between consecutive points, or with squared set, of their squares
    // (a cheap measure, not a length). 0 for fewer than two points.
    virtual double polylineLength(const std::vector<Point2D>& points, bool squared) const;

    // One smoothing pass: fewer than 5 points come back unchanged; otherwise the result keeps
    // both end points and has floor(n / 2) + 1 points (4 for n from 5 to 7). Every output
    // point is an affine combination of its neighbours, so straight paths stay straight.
    static std::vector<Point2D> smooth(const std::vector<Point2D>& points);

    // Samples the clamped uniform B-spline of the given order (>= 1) over the control points
    // at t = 0, step, 2 step, ... below 1 by de Boor's algorithm, then appends the last
    // control point. Fewer control points than the order, or an order below 1, come back
    // unchanged; a step that is not a positive number samples t = 0 only.
    static std::vector<Point2D> resample(const std::vector<Point2D>& points, int order, double step);

private:
    bool _processed = false;
    std::vector<Point2D> _rawPoints;
    std::vector<Point2D> _curvePoints;
};
