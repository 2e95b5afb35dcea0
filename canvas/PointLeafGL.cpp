// PointLeafGL: shared dab shapes, the point step and flat-colour drawing.
#include "PointLeafGL.h"

#include "BufferTag.h"
#include "GLDisplayList.h"
#include "PrimitiveBatch.h"
#include "Random.h"
#include "TabletopVis.h"

#include <GL/gl.h>

#include <algorithm>

using PrimitiveShapes::PointFanSize;
using PrimitiveShapes::PointShapeCount;

namespace {

// Class-wide: every point, and the display lists of GL scenes' points.
struct SharedShapes
{
    int instances = 0;
    int glInstances = 0;
    GLDisplayList render;   // 16 consecutive lists, one per shape
    GLDisplayList picking;
};
SharedShapes shared;

void compileShapes(GLuint base)
{
    for (int k = 0; k < PointShapeCount; ++k) {
        glNewList(base + static_cast<GLuint>(k), GL_COMPILE);
        glBegin(GL_TRIANGLE_FAN);
        for (const PrimitiveShapes::Point2f& p : PrimitiveShapes::pointShapes()[k])
            glVertex2f(p.x, p.y);
        glEnd();
        glEndList();
    }
}

void buildSharedLists()
{
    if (shared.render.generate(PointShapeCount) && shared.picking.generate(PointShapeCount)) {
        compileShapes(shared.render.base());
        compileShapes(shared.picking.base());
    } else {
        shared.render.release();
    }
}

void freeSharedLists()
{
    shared.render.release();
    shared.picking.release();
}

} // namespace

PointLeafGL::PointLeafGL(TabletopVis* scene, double x, double y, bool rotateAndTranslate, bool tossing,
                         double width, double height, int type)
    : PrimitiveLeafGL(scene, x, y, rotateAndTranslate, tossing, width, height, 0.0, type)
{
    ++shared.instances;
    if (scene->hasGL())
        ++shared.glInstances;
    initializePassiveBuffers();
    initialize();
}

PointLeafGL::~PointLeafGL()
{
    --shared.instances;
    if (getController()->hasGL() && --shared.glInstances == 0 && !shared.render.empty())
        freeSharedLists();
}

int PointLeafGL::getInstanceCount() { return shared.instances; }
bool PointLeafGL::hasSharedShapeLists() { return !shared.render.empty(); }

unsigned PointLeafGL::getSharedRenderList(int shape)
{
    if (shared.render.empty() || shape < 0 || shape >= PointShapeCount)
        return 0;
    return shared.render.id(shape);
}

void PointLeafGL::initializePassiveBuffers()
{
    PrimitiveLeafGL::initializePassiveBuffers();
    registerPassiveBuffer(SPEED_BUFFER);
    registerPassiveBuffer(TEMP_COLOR_BUFFER);
}

void PointLeafGL::initialize()
{
    if (getController()->hasGL() && shared.render.empty())
        buildSharedLists();
    const int index = shared.instances == 1 ? 0 : static_cast<int>(randomValue() / 32767.0 * 15);
    setShapeIndex(index);
}

void PointLeafGL::setShapeIndex(int index)
{
    _shapeIndex = std::clamp(index, 0, PointShapeCount - 1);
    if (shared.render.empty())
        return;
    _renderList = shared.render.id(_shapeIndex);
    _pickingList = shared.picking.id(_shapeIndex);
}

void PointLeafGL::animateMyself(double dt)
{
    int bx = 0;
    int by = 0;
    if (isCurrentType() && bufferCell(bx, by)) {
        if (const BufferTemplate<int>* speed = getPassiveBufferAs<int>(SPEED_BUFFER)) {
            const int v = speed->getValue(bx, by);
            if (v != _shapeIndex)
                setShapeIndex(v);
        }
        takeTemporaryColor(bx, by);
    }
    PrimitiveLeafGL::animateMyself(dt);
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
    if (!pastHiddenFrames() || _renderList == 0)
        return;
    const Color c = drawColor();
    glColor3ub(c.r, c.g, c.b);
    glScaled(getHalfWidth(), getHalfWidth(), 1.0);
    glCallList(_renderList);
}

void PointLeafGL::specificRenderForPicking()
{
    if (!acceptsContacts() || _pickingList == 0)
        return;
    glScaled(getHalfWidth(), getHalfWidth(), 1.0);
    glCallList(_pickingList);
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
