// CellFrame: a parent's placement as its buffer cells see it, taken once so
// that many children find their cells without asking the parent each time.
#pragma once

#include "TabletopVis.h"
#include "VisComponent.h"

#include <algorithm>
#include <cmath>

// VisComponent's own conversions (getLocalCoordinates, getBufferXFromLocal,
// getBufferXCoordinateFromLocal) use this arithmetic too, so a cell found
// from a frame is the one the parent gives, to the bit.
struct CellFrame
{
    double x, y, cos, sin, width, height, margin, cellsX, cellsY;

    explicit CellFrame(const VisComponent& parent)
        : x(parent.getXPos())
        , y(parent.getYPos())
        , cos(parent.getRotationCos())
        , sin(parent.getRotationSin())
        , width(parent.getWidth())
        , height(parent.getHeight())
        , margin(parent.getBufferMargin())
        , cellsX(parent.getController() != nullptr ? parent.getController()->getCellsPerPixelX() : 1.0)
        , cellsY(parent.getController() != nullptr ? parent.getController()->getCellsPerPixelY() : 1.0)
    {
    }

    // A device point in the parent's local coordinates.
    void local(double px, double py, double& lx, double& ly) const
    {
        const double dx = px - x;
        const double dy = py - y;
        lx = cos * dx + sin * dy + 0.5 * width;
        ly = cos * dy - sin * dx + 0.5 * height;
    }
    // A local coordinate in fractional cells, not clamped.
    double bufferX(double lx) const { return (lx + margin) * cellsX; }
    double bufferY(double ly) const { return (ly + margin) * cellsY; }
    // The cell under a local point, clamped to the parent's rectangle.
    void cell(double lx, double ly, int& bx, int& by) const
    {
        bx = floorToInt(bufferX(std::clamp(lx, 0.0, width)));
        by = floorToInt(bufferY(std::clamp(ly, 0.0, height)));
    }
    // static_cast<int>(std::floor(v)), without the rounding sequence a
    // plain x86-64 build makes of std::floor.
    static int floorToInt(double v)
    {
        const int truncated = static_cast<int>(v);
        return truncated - (v < truncated ? 1 : 0);
    }
    // The fractional cell of a local point, not clamped.
    void fraction(double lx, double ly, float& cx, float& cy) const
    {
        cx = static_cast<float>(bufferX(lx));
        cy = static_cast<float>(bufferY(ly));
    }
};
