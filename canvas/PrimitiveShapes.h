// PrimitiveShapes: the CPU-side geometry of the rendering primitives (dab
// fans, the bevelled tile, the stroke quad, stroke-shape outlines) and the
// placement that carries it into device coordinates. No GL: the display
// lists and the batch are both made from this data.
#pragma once

#include <array>
#include <vector>

namespace PrimitiveShapes {

struct Point2f
{
    float x = 0.0f;
    float y = 0.0f;
};

// ---- Point dabs ----
// 16 triangle fans: the centre, then 11 rim points at 0, 36, ... 360 degrees
// on an ellipse of x radius 0.4 and y radius 0.4 f, f growing from 1.0 by 0.1
// per shape in single precision. Unit half width: a point scales the fan by
// its own half width.
constexpr int PointShapeCount = 16;
constexpr int PointFanSize = 12;
using PointFan = std::array<Point2f, PointFanSize>;
const std::array<PointFan, PointShapeCount>& pointShapes();
// The y-radius factor of each shape, as accumulated.
const std::array<float, PointShapeCount>& pointShapeFactors();

// ---- Tiles ----
// A unit square (-0.5 .. 0.5) with bevelled edges of 0.15 x half size: the
// flat top and four sloping faces, four corners each (GL_QUADS order), every
// face with its own unit normal built from +-1 components.
struct LitVertex
{
    float x, y;
    float nx, ny, nz;
};
constexpr int TileVertexCount = 20;
const std::array<LitVertex, TileVertexCount>& tileFaces();
constexpr float TileBevel = 0.15f;

// ---- Strokes ----
// The unit quad (-0.5 .. 0.5), counter-clockwise from the bottom left; the
// texture corner of vertex i is (s0 or s1, t0 or t1) by the same signs.
constexpr std::array<Point2f, 4> StrokeQuad{{{-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f}, {-0.5f, 0.5f}}};

// ---- Stroke shapes ----
struct Outline
{
    std::vector<Point2f> centre;   // centre line, pixels in the shape's frame
    std::vector<double> halfWidth; // one per centre point
    std::vector<Point2f> left;     // centre + half width x unit normal
    std::vector<Point2f> right;    // centre - half width x unit normal
};
constexpr int MaxSegments = 32;
constexpr double DefaultHalfWidth = 10.0;
// Segment counts outside 1 .. 32 give 32.
int validSegmentCount(int segments);
// The default centre line of n points: (4i, i) for i < n/2, else
// (4i, n - i - 1), each with half width 10, outlines computed.
Outline defaultOutline(int segments);
// Left and right outline points from the centre line and half widths: point
// i >= 1 uses the unit normal of the segment from point i-1 to i, point 0
// that of the first segment; a single point or a zero-length segment uses
// the normal (0, 1).
void computeOutline(Outline& outline);

// ---- Placement ----
// Carries shape coordinates into device coordinates: scaled by (scaleX,
// scaleY), turned by the rotation (cos, sin), moved to the centre (x, y).
struct Placement
{
    double x = 0.0;
    double y = 0.0;
    double cos = 1.0;
    double sin = 0.0;
    double scaleX = 1.0;
    double scaleY = 1.0;

    Point2f apply(Point2f p) const
    {
        const double px = p.x * scaleX;
        const double py = p.y * scaleY;
        return {static_cast<float>(x + cos * px - sin * py), static_cast<float>(y + sin * px + cos * py)};
    }
    // A direction (normal) turned by the rotation only.
    Point2f turn(float dx, float dy) const
    {
        return {static_cast<float>(cos * dx - sin * dy), static_cast<float>(sin * dx + cos * dy)};
    }
};

} // namespace PrimitiveShapes
