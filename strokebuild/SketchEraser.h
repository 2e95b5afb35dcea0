// SketchEraser: the flat hand that wipes control points off sketched strokes and
// splits what remains into separate strokes. GL-free.
#pragma once

#include "Stroke2d.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace SketchEraser {

using Strokes = std::vector<std::unique_ptr<Stroke2d>>;

// Whether the eraser, a disc of the given radius swept from (x0, y0) to
// (x1, y1), covers the control point: the point's own disc touches the swept
// band (distance to the segment at most radius + the point's radius).
bool covers(double x0, double y0, double x1, double y1, double radius, const ControlPoint2D& cp);

// Removes the covered points of every stroke. A stroke that loses points is
// replaced, in place, by the points before its first covered point and those
// after its last covered point, each made a stroke of its own; a part of
// fewer than three points is dropped. Returns the number of strokes changed.
std::size_t eraseAlong(Strokes& strokes, double x0, double y0, double x1, double y1, double radius);

// A new stroke of control points [first, end) of source, re-tagged 0, 1, 2 ...,
// their side vertices copied from the source outline (as far as it has them)
// and strip indices 0 .. 2n - 1. Null when the range holds fewer than three
// points or does not lie inside the stroke.
std::unique_ptr<Stroke2d> makeStrokeFromRange(const Stroke2d& source, std::size_t first, std::size_t end);

} // namespace SketchEraser
