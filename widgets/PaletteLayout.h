// PaletteLayout: where things lie on the round palette, in half-widths from
// its centre with y up: the wells, the icons, the control regions, the
// mixing area and the outline. GL-free; matches textures/palette.png.
#pragma once

#include "Vector2d.h"

#include <array>
#include <vector>

namespace PaletteLayout {

// Region ids of the palette's region-id map.
enum Region : unsigned
{
    None = 0,
    ClearMixingArea = 3,
    FirstWell = 4,   // wells 0..5 answer to ids 4..9
    LastWell = 9,
    MoveStyle = 10,
    OrientationStyle = 11,
    SizeTool = 12,
    CreateErase = 13,
    BrushSize = 14,
    ToolToggle = 15,
    LayerSlider = 16,
    Reset = 17,
    LayerScreenshot = 18,
    ElementSelector = 19,
    ResizeHandle = 20,
    MixingArea = 21,
    Elsewhere = 22,
};

// An axis-aligned rectangle: centre and half-sizes, in half-widths.
struct Box
{
    double cx, cy, hx, hy;
    bool contains(double x, double y) const { return x >= cx - hx && x <= cx + hx && y >= cy - hy && y <= cy + hy; }
};

inline constexpr unsigned FirstRegionId = 3;
inline constexpr unsigned RegionCount = 18;   // ids 3 .. 20

// Centre of region id (3 .. 20), the table the palette keeps as _iconX, _iconY
// (index id - 3: entries 1 to 6 are the wells).
Vector2d centreOf(unsigned id);
// The rectangle that region id occupies in the region-id map: the icon
// squares (ids 3, 10 to 14; half-size iconSizeLarge, iconSizeSmall for 14),
// the wells (half-size wellRadius) and the control rectangles (15 to 20).
Box boxOf(unsigned id, double iconSizeLarge, double iconSizeSmall, double wellRadius);

// Sizes of icons and wells, in half-widths.
inline constexpr double IconSizeLarge = 0.1;
inline constexpr double IconSizeSmall = 0.07;
inline constexpr double WellRadius = 0.1;

// The mixing area: an oval drawn by a closed spline through these control
// points (half-widths, y up). It lies inside the rectangle that a moved paint
// must stay in (MixingRect, fractions of width and height from the top left).
std::vector<Vector2d> mixingAreaControlPoints();
struct FractionRect
{
    double x0, x1, y0, y1;
};
inline constexpr FractionRect MixingRect{0.2, 0.6, 0.3, 0.8};

// The palette's outline: a circle of this radius (half-widths) through
// twelve control points.
inline constexpr double OutlineRadius = 0.98;
std::vector<Vector2d> outlineControlPoints();

} // namespace PaletteLayout
