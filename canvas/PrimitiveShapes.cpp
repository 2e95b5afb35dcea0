// PrimitiveShapes: dab fans, the bevelled tile and stroke-shape outlines.
#include "PrimitiveShapes.h"

#include <cmath>

namespace PrimitiveShapes {

namespace {

// Degrees to radians as the dab fans have always been built with.
constexpr double DabDegree = 0.017453277483582497;
constexpr float DabRadius = 0.4f;

struct PointTables
{
    std::array<PointFan, PointShapeCount> fans{};
    std::array<float, PointShapeCount> factors{};

    PointTables()
    {
        int k = 0;
        // The factor is accumulated, not computed: the last one lies just
        // below 2.5, so the loop makes exactly 16 shapes.
        for (float f = 1.0f; f < 2.5f && k < PointShapeCount; f += 0.1f, ++k) {
            factors[k] = f;
            PointFan& fan = fans[k];
            fan[0] = {0.0f, 0.0f};
            for (int i = 0; i < PointFanSize - 1; ++i) {
                const double a = 36.0 * i * DabDegree;
                fan[i + 1] = {static_cast<float>(DabRadius * std::cos(a)),
                              static_cast<float>(f * DabRadius * std::sin(a))};
            }
        }
    }
};

const PointTables& pointTables()
{
    static const PointTables tables;
    return tables;
}

std::array<LitVertex, TileVertexCount> makeTile()
{
    const float o = 0.5f;
    const float i = 0.5f - TileBevel * 0.5f;
    const float d = static_cast<float>(1.0 / std::sqrt(2.0));
    return {{
        // flat top
        {-i, -i, 0, 0, 1}, {i, -i, 0, 0, 1}, {i, i, 0, 0, 1}, {-i, i, 0, 0, 1},
        // right (+x)
        {i, -i, d, 0, d}, {o, -o, d, 0, d}, {o, o, d, 0, d}, {i, i, d, 0, d},
        // top (+y)
        {-i, i, 0, d, d}, {i, i, 0, d, d}, {o, o, 0, d, d}, {-o, o, 0, d, d},
        // left (-x)
        {-o, -o, -d, 0, d}, {-i, -i, -d, 0, d}, {-i, i, -d, 0, d}, {-o, o, -d, 0, d},
        // bottom (-y)
        {-o, -o, 0, -d, d}, {o, -o, 0, -d, d}, {i, -i, 0, -d, d}, {-i, -i, 0, -d, d},
    }};
}

} // namespace

const std::array<PointFan, PointShapeCount>& pointShapes() { return pointTables().fans; }
const std::array<float, PointShapeCount>& pointShapeFactors() { return pointTables().factors; }

const std::array<LitVertex, TileVertexCount>& tileFaces()
{
    static const std::array<LitVertex, TileVertexCount> faces = makeTile();
    return faces;
}

int validSegmentCount(int segments)
{
    return segments >= 1 && segments <= MaxSegments ? segments : MaxSegments;
}

Outline defaultOutline(int segments)
{
    const int n = validSegmentCount(segments);
    Outline outline;
    outline.centre.reserve(n);
    for (int i = 0; i < n; ++i) {
        const int y = i < n / 2 ? i : n - i - 1;
        outline.centre.push_back({static_cast<float>(4 * i), static_cast<float>(y)});
    }
    outline.halfWidth.assign(n, DefaultHalfWidth);
    computeOutline(outline);
    return outline;
}

void computeOutline(Outline& outline)
{
    const std::vector<Point2f>& c = outline.centre;
    const std::size_t n = c.size();
    outline.left.resize(n);
    outline.right.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        // Point 0 borrows the first segment's normal.
        const std::size_t to = i == 0 ? 1 : i;
        double nx = 0.0;
        double ny = 1.0;
        if (to < n) {
            const double dx = c[to].x - c[to - 1].x;
            const double dy = c[to].y - c[to - 1].y;
            const double len = std::sqrt(dx * dx + dy * dy);
            if (len > 0.0) {
                nx = -dy / len;
                ny = dx / len;
            }
        }
        const double h = i < outline.halfWidth.size() ? outline.halfWidth[i] : DefaultHalfWidth;
        outline.left[i] = {static_cast<float>(c[i].x + h * nx), static_cast<float>(c[i].y + h * ny)};
        outline.right[i] = {static_cast<float>(c[i].x - h * nx), static_cast<float>(c[i].y - h * ny)};
    }
}

} // namespace PrimitiveShapes
