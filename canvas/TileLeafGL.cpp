// TileLeafGL: footprint, dodging and lit drawing from the shared tile list.
#include "TileLeafGL.h"

#include "BufferTag.h"
#include "CellFrame.h"
#include "PrimitiveBatch.h"
#include "PrimitiveShapeCache.h"
#include "SurfaceCompositeGL.h"
#include "TabletopVis.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

using PrimitiveShapes::TileVertexCount;

TileLeafGL::TileLeafGL(TabletopVis* scene, double x, double y, bool rotateAndTranslate, bool tossing, double width,
                       double height, double angle, int type, bool dodging)
    : PrimitiveLeafGL(scene, x, y, rotateAndTranslate, tossing, width, height, angle, type)
    , _dodging(dodging)
{
    initializePassiveBuffers();
    initialize();
}

void TileLeafGL::initializePassiveBuffers()
{
    PrimitiveLeafGL::initializePassiveBuffers();
    registerPassiveBuffer(DODGING_BUFFER);
    registerPassiveBuffer(TEMP_COLOR_BUFFER);
}

bool TileLeafGL::fractionalCell(float& cx, float& cy) const
{
    const VisComponent* parent = getParent();
    if (parent == nullptr)
        return false;
    const CellFrame frame(*parent);
    double lx = 0.0;
    double ly = 0.0;
    frame.local(getXPos(), getYPos(), lx, ly);
    frame.fraction(lx, ly, cx, cy);
    return true;
}

void TileLeafGL::renderIntoBuffers()
{
    if (canvas() != nullptr)
        writeFootprint(PrimitiveFrame::fromPassive(*this));
}

void TileLeafGL::writeFootprint(const PrimitiveFrame& frame)
{
    // The canvas's own buffer: a frame holds it read-only for everyone else.
    auto* dodging = const_cast<BufferTemplate<float>*>(frame.dodging);
    float cx = 0.0f;
    float cy = 0.0f;
    if (!isCurrentType(frame) || dodging == nullptr || !fractionalCell(cx, cy))
        return;
    if (cx >= 0.0f && cy >= 0.0f && cx < dodging->getWidth() && cy < dodging->getHeight()) {
        dodging->set2DValues(static_cast<int>(cx), static_cast<int>(cy), cx, cy);
        // Tells the canvas the buffer holds centres to clear next frame.
        dodging->invalidate();
    }
}

void TileLeafGL::animateMyself(double dt) { step(PrimitiveFrame::fromPassive(*this), dt); }

void TileLeafGL::step(const PrimitiveFrame& frame, double dt)
{
    double pushX = 0.0;
    double pushY = 0.0;
    float cx = 0.0f;
    float cy = 0.0f;
    if (_dodging && isCurrentType(frame) && fractionalCell(cx, cy))
        dodgeSum(frame, cx, cy, *getController(), pushX, pushY);
    stepPushed(frame, dt, pushX, pushY);
}

void TileLeafGL::stepPushed(const PrimitiveFrame& frame, double dt, double pushX, double pushY)
{
    int bx = 0;
    int by = 0;
    if (isCurrentType(frame) && bufferCell(bx, by)) {
        if (pushX != 0.0 || pushY != 0.0)
            moveAway(pushX, pushY);
        takeTemporaryColor(frame.tempColor, bx, by);
    }
    stepCommon(frame, dt);
}

void TileLeafGL::dodgeSum(const PrimitiveFrame& frame, float cx, float cy, const TabletopVis& scene, double& sumX,
                          double& sumY)
{
    sumX = 0.0;
    sumY = 0.0;
    DodgeWindow w;
    if (!dodgeWindow(frame, cx, cy, scene, w))
        return;
    // Empty cells, this tile's own centre and centres on its row or column
    // do not push. The differences of footprint values are multiples of
    // 2^-23 well inside a double's precision, so the sums are exact and
    // equal the canvas's DodgeField lookups.
    const BufferTemplate<float>* dodging = frame.dodging;
    const int width = dodging->getWidth();
    const double x = cx;
    const double y = cy;
    for (int row = w.y0; row < w.y1; ++row) {
        const float* cell = dodging->cells() + 2 * (static_cast<std::size_t>(row) * width + w.x0);
        double rowX = 0.0;
        double rowY = 0.0;
#pragma omp simd reduction(+ : rowX, rowY)
        for (int i = 0; i < w.x1 - w.x0; ++i) {
            const float a = cell[2 * i];
            const float b = cell[2 * i + 1];
            // 1 or 0 without a branch, so the row loop vectorises.
            const double pushes = static_cast<double>((a != 0.0f) & (b != 0.0f) & (a != cx) & (b != cy));
            rowX += pushes * (x - a);
            rowY += pushes * (y - b);
        }
        sumX += rowX;
        sumY += rowY;
    }
}

void TileLeafGL::awaySteps(const CellFrame& parent, std::size_t n, const double* __restrict sumX,
                           const double* __restrict sumY, double* __restrict dx, double* __restrict dy)
{
    // The same operations as awayStep's in the same order, so each step is
    // the same to the bit, two to a vector register.
#pragma omp simd
    for (std::size_t i = 0; i < n; ++i)
        awayStep(parent, sumX[i], sumY[i], dx[i], dy[i]);
}

void TileLeafGL::moveAway(double sumX, double sumY)
{
    double dx = 0.0;
    double dy = 0.0;
    awayStep(CellFrame(*getParent()), sumX, sumY, dx, dy);
    moveBy(dx, dy);
}

void TileLeafGL::diffuseColor(float rgba[4]) const
{
    const Color& c = getColor();
    const float strength = isHighlightDimmed() ? 0.5f : 1.0f;
    rgba[0] = strength * c.r / 256.0f;
    rgba[1] = strength * c.g / 256.0f;
    rgba[2] = strength * c.b / 256.0f;
    rgba[3] = 1.0f;
}

double TileLeafGL::depthScale() const
{
    return 0.5 * (getWidth() + getHeight());
}

void TileLeafGL::specificRender()
{
    if (!pastHiddenFrames())
        return;
    float diffuse[4];
    diffuseColor(diffuse);
    glMaterialfv(isHighlightDimmed() ? GL_FRONT_AND_BACK : GL_FRONT, GL_DIFFUSE, diffuse);
    glScaled(getWidth(), getHeight(), depthScale());
    glCallList(PrimitiveShapeCache::of(*getController()).tileList());
}

void TileLeafGL::specificRenderForPicking()
{
    if (acceptsContacts())
        drawQuad(getWidth(), getHeight());
}

void TileLeafGL::appendToBatch(PrimitiveBatch& batch)
{
    if (!pastHiddenFrames())
        return;
    float diffuse[4];
    diffuseColor(diffuse);
    const PrimitiveShapes::Placement place = placement(getWidth(), getHeight());
    const double depth = depthScale();
    BatchVertex* v = batch.append(PrimitiveBatch::Kind::LitQuads, 0, TileVertexCount);
    for (const PrimitiveShapes::LitVertex& corner : PrimitiveShapes::tileFaces()) {
        const PrimitiveShapes::Point2f p = place.apply({corner.x, corner.y});
        // Normals transform with the inverse of the scale, as GL does them.
        const double nx = corner.nx / getWidth();
        const double ny = corner.ny / getHeight();
        const double nz = corner.nz / depth;
        const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
        const PrimitiveShapes::Point2f n =
            place.turn(static_cast<float>(nx / length), static_cast<float>(ny / length));
        *v++ = {p.x, p.y, 0.0f, 0.0f, n.x, n.y, static_cast<float>(nz / length),
                diffuse[0], diffuse[1], diffuse[2], diffuse[3]};
    }
}
