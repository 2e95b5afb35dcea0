// PointLeafGL: shared dab shapes, the point step and flat-colour drawing.
#include "PointLeafGL.h"

#include "BufferTag.h"
#include "PrimitiveBatch.h"
#include "PrimitiveShapeCache.h"
#include "Random.h"
#include "TabletopVis.h"

#include <GL/gl.h>

#include <algorithm>

using PrimitiveShapes::PointFanSize;
using PrimitiveShapes::PointShapeCount;

PointLeafGL::PointLeafGL(TabletopVis* scene, double x, double y, bool rotateAndTranslate, bool tossing,
                         double width, double height, int type)
    : PrimitiveLeafGL(scene, x, y, rotateAndTranslate, tossing, width, height, 0.0, type)
{
    PrimitiveShapeCache::of(*scene).addPoint();
    initializePassiveBuffers();
    initialize();
}

PointLeafGL::~PointLeafGL() { PrimitiveShapeCache::of(*getController()).removePoint(); }

void PointLeafGL::initializePassiveBuffers()
{
    PrimitiveLeafGL::initializePassiveBuffers();
    registerPassiveBuffer(SPEED_BUFFER);
    registerPassiveBuffer(TEMP_COLOR_BUFFER);
}

void PointLeafGL::initialize()
{
    const bool first = PrimitiveShapeCache::of(*getController()).pointCount() == 1;
    setShapeIndex(first ? 0 : static_cast<int>(randomValue() / 32767.0 * 15));
}

void PointLeafGL::setShapeIndex(int index)
{
    _shapeIndex = std::clamp(index, 0, PointShapeCount - 1);
    markStale();
}

void PointLeafGL::animateMyself(double dt) { step(PrimitiveFrame::fromPassive(*this), dt); }

void PointLeafGL::step(const PrimitiveFrame& frame, double dt)
{
    int bx = 0;
    int by = 0;
    if (isCurrentType(frame) && bufferCell(bx, by)) {
        if (const BufferTemplate<int>* speed = frame.speed) {
            const int v = speed->getValue(bx, by);
            if (v != _shapeIndex)
                setShapeIndex(v);
        }
        takeTemporaryColor(frame.tempColor, bx, by);
    }
    stepCommon(frame, dt);
}

Color PointLeafGL::drawColor() const
{
    const Color& c = getColor();
    if (!isHighlightDimmed())
        return Color(c.r, c.g, c.b);
    auto half = [](unsigned char v) { return static_cast<unsigned char>(0.5 * v); };
    return Color(half(c.r), half(c.g), half(c.b));
}

void PointLeafGL::specificRender()
{
    if (!pastHiddenFrames())
        return;
    const Color c = drawColor();
    glColor3ub(c.r, c.g, c.b);
    glScaled(getHalfWidth(), getHalfWidth(), 1.0);
    glCallList(PrimitiveShapeCache::of(*getController()).pointList(_shapeIndex));
}

void PointLeafGL::specificRenderForPicking()
{
    if (!acceptsContacts())
        return;
    glScaled(getHalfWidth(), getHalfWidth(), 1.0);
    glCallList(PrimitiveShapeCache::of(*getController()).pointList(_shapeIndex));
}

void PointLeafGL::appendToBatch(PrimitiveBatch& batch)
{
    if (!pastHiddenFrames())
        return;
    const Color c = drawColor();
    const float r = c.r / 255.0f;
    const float g = c.g / 255.0f;
    const float b = c.b / 255.0f;
    const PrimitiveShapes::Placement place = placement(getHalfWidth(), getHalfWidth());
    const PrimitiveShapes::PointFan& fan = PrimitiveShapes::pointShapes()[_shapeIndex];
    BatchVertex* v = batch.appendFan(PrimitiveBatch::Kind::FlatTriangles, 0, PointFanSize);
    for (int i = 0; i < PointFanSize; ++i) {
        const PrimitiveShapes::Point2f p = place.apply(fan[i]);
        v[i] = {p.x, p.y, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, r, g, b, 1.0f};
    }
}
