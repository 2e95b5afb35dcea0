// TileLeafGL: a lit, bevelled mosaic tile. Tiles write their centres into
// dodgingBuffer every frame and, with dodging on, step away from the
// centres of their neighbours.
#pragma once

#include "CellFrame.h"
#include "DodgeField.h"
#include "PrimitiveLeafGL.h"
#include "TabletopVis.h"

#include <algorithm>
#include <cmath>

// The tile geometry is the unit bevelled square of PrimitiveShapes drawn
// scaled by the tile's size, from the scene's shared list
// (PrimitiveShapeCache), compiled at the first draw.
//
// Dodging works in the canvas's cell units: a tile's centre is a
// fractional cell (the parent's local position plus its overflow margin,
// times the scene's cells per pixel, not clamped), the search radius is the
// sizeBuffer value (pixels) in cells, and the tile moves one pixel away
// from the sum of its neighbours' offsets.
class TileLeafGL : public PrimitiveLeafGL
{
public:
    TileLeafGL(TabletopVis* scene, double x, double y, bool rotateAndTranslate, bool tossing, double width,
               double height, double angle, int type, bool dodging);

    // Dodging and the tempColorBuffer colour, then the common step.
    void animateMyself(double dt) override;
    void step(const PrimitiveFrame& frame, double dt);
    // The step with the push from the neighbours already summed (dodgeSum;
    // 0, 0 for none).
    void stepPushed(const PrimitiveFrame& frame, double dt, double pushX, double pushY);
    // The cells [x0, x1) x [y0, y1) of the dodging buffer a tile searches.
    using DodgeWindow = ::DodgeWindow;
    // The window of a tile centred at the fractional cell (cx, cy); false
    // without the frame's dodging or size buffer or for a negative centre.
    static bool dodgeWindow(const PrimitiveFrame& frame, float cx, float cy, const TabletopVis& scene,
                            DodgeWindow& window)
    {
        const BufferTemplate<float>* dodging = frame.dodging;
        const BufferTemplate<float>* sizes = frame.size;
        if (dodging == nullptr || sizes == nullptr || cx < 0.0f || cy < 0.0f)
            return false;
        windowOf(cx, cy, sizes->getValue(static_cast<int>(cx), static_cast<int>(cy)), scene.getCellsPerPixelX(),
                 scene.getCellsPerPixelY(), dodging->getWidth(), dodging->getHeight(), window);
        return true;
    }
    // That window for a centre (cx, cy), not negative, whose cell holds the
    // size s, on a dodging buffer of width x height cells.
    static void windowOf(float cx, float cy, float s, double cellsPerPixelX, double cellsPerPixelY, int width,
                         int height, DodgeWindow& window)
    {
        const float sx = static_cast<float>(s * cellsPerPixelX);
        const float sy = static_cast<float>(s * cellsPerPixelY);
        window.x0 = std::max(0, static_cast<int>(cx - sx));
        window.x1 = std::min(width, static_cast<int>(cx + sx));
        window.y0 = std::max(0, static_cast<int>(cy - sy));
        window.y1 = std::min(height, static_cast<int>(cy + sy));
    }
    // The sum of the offsets of the neighbours' centres from a tile centred
    // at (cx, cy), exact (see DodgeField); 0, 0 without a window.
    static void dodgeSum(const PrimitiveFrame& frame, float cx, float cy, const TabletopVis& scene, double& sumX,
                         double& sumY);
    // One pixel away from a non-zero push.
    void moveAway(double sumX, double sumY);
    // That step in device pixels, in the frame of the parent.
    static void awayStep(const CellFrame& parent, double sumX, double sumY, double& dx, double& dy)
    {
        // Cells to pixels of the parent's frame, then into device directions.
        const double px = sumX / parent.cellsX;
        const double py = sumY / parent.cellsY;
        const double length = std::sqrt(px * px + py * py);
        dx = (parent.cos * px - parent.sin * py) / length;
        dy = (parent.sin * px + parent.cos * py) / length;
    }
    // awayStep for n pushes at once.
    static void awaySteps(const CellFrame& parent, std::size_t n, const double* sumX, const double* sumY, double* dx,
                          double* dy);
    // The footprint: the centre (fractional cell) into its dodgingBuffer
    // cell, when the parent is a canvas.
    void renderIntoBuffers() override;
    void writeFootprint(const PrimitiveFrame& frame);
    void specificRender() override;
    void specificRenderForPicking() override;
    void initializePassiveBuffers() override;
    void appendToBatch(PrimitiveBatch& batch) override;

    bool isDodging() const { return _dodging; }
    // The diffuse colour (bytes / 256, alpha 1), at half strength when
    // dimmed by highlighting.
    void diffuseColor(float rgba[4]) const;
    // The centre as a fractional cell of the parent's buffers; false
    // without a parent.
    bool fractionalCell(float& cx, float& cy) const;

private:

    // The unit tile is scaled by (width, height, depthScale): for a square
    // tile a uniform scale, which keeps the bevel normals' slopes.
    double depthScale() const;

    bool _dodging;
};
