// PaletteLayout: the palette's tables of positions and rectangles.
#include "PaletteLayout.h"

#include <cmath>
#include <numbers>

namespace PaletteLayout {

namespace {

// Centres of ids 3 .. 20. Wells sit on an arc of radius 0.703 at 60 degrees
// down to -60 in steps of 24 (the cups of the texture); the tools ring the
// mixing area on the left; the element selector stands between the mixing
// area and the wells; the resize handle sits at the bottom-right rim.
constexpr std::array<Box, RegionCount> Table{{
    {-0.20, -0.74, 0, 0},       // 3 clear mixing area (icon)
    {0.352, 0.609, 0, 0},       // 4 black well
    {0.569, 0.413, 0, 0},       // 5 brown
    {0.688, 0.146, 0, 0},       // 6 blue
    {0.688, -0.146, 0, 0},      // 7 red
    {0.569, -0.413, 0, 0},      // 8 yellow
    {0.352, -0.609, 0, 0},      // 9 white
    {-0.76, 0.26, 0, 0},        // 10 move style (icon)
    {-0.76, -0.22, 0, 0},       // 11 orientation style (icon)
    {-0.52, 0.62, 0, 0},        // 12 size tool (icon)
    {-0.20, 0.74, 0, 0},        // 13 create / erase (icon)
    {0.08, 0.80, 0, 0},         // 14 brush size (small icon)
    {-0.51, -0.67, 0.11, 0.11}, // 15 tool on / off
    {-0.91, 0.0, 0.04, 0.28},   // 16 layer slider
    {0.12, -0.82, 0.10, 0.10},  // 17 reset
    {0.11, 0.57, 0.09, 0.09},   // 18 layer screenshot
    {0.33, 0.0, 0.09, 0.36},    // 19 element selector
    {0.785, -0.785, 0.165, 0.165}, // 20 resize handle
}};

} // namespace

Vector2d centreOf(unsigned id)
{
    if (id < FirstRegionId || id >= FirstRegionId + RegionCount)
        return {};
    const Box& b = Table[id - FirstRegionId];
    return {b.cx, b.cy};
}

Box boxOf(unsigned id, double iconSizeLarge, double iconSizeSmall, double wellRadius)
{
    if (id < FirstRegionId || id >= FirstRegionId + RegionCount)
        return {0, 0, 0, 0};
    Box b = Table[id - FirstRegionId];
    if (id >= FirstWell && id <= LastWell)
        b.hx = b.hy = wellRadius;
    else if (id == BrushSize)
        b.hx = b.hy = iconSizeSmall;
    else if (id == ClearMixingArea || (id >= MoveStyle && id <= CreateErase))
        b.hx = b.hy = iconSizeLarge;
    return b;
}

std::vector<Vector2d> mixingAreaControlPoints()
{
    // An oval round (-0.2, -0.1), 0.38 wide and 0.48 high, slightly pushed
    // out so the smoothed curve meets it.
    std::vector<Vector2d> points;
    constexpr int n = 10;
    const double push = 6.0 / (4.0 + 2.0 * std::cos(2.0 * std::numbers::pi / n));
    for (int k = 0; k < n; ++k) {
        const double a = 2.0 * std::numbers::pi * k / n;
        points.emplace_back(-0.2 + push * 0.37 * std::cos(a), -0.1 + push * 0.46 * std::sin(a));
    }
    return points;
}

std::vector<Vector2d> outlineControlPoints()
{
    std::vector<Vector2d> points;
    constexpr int n = 12;
    const double push = 6.0 / (4.0 + 2.0 * std::cos(2.0 * std::numbers::pi / n));
    for (int k = 0; k < n; ++k) {
        const double a = 2.0 * std::numbers::pi * k / n;
        points.emplace_back(push * OutlineRadius * std::cos(a), push * OutlineRadius * std::sin(a));
    }
    return points;
}

} // namespace PaletteLayout
