// GeoStrokeLeafGL: centre line, outlines and the translucent band.
#include "GeoStrokeLeafGL.h"

#include "BufferTag.h"
#include "PrimitiveBatch.h"
#include "TabletopVis.h"

#include <GL/gl.h>

#include <algorithm>
#include <utility>

GeoStrokeLeafGL::GeoStrokeLeafGL(TabletopVis* scene, double x, double y, bool rotateAndTranslate, bool tossing,
                                 double width, double height, unsigned valueA, unsigned valueB, int type,
                                 int segments)
    : PrimitiveLeafGL(scene, x, y, rotateAndTranslate, tossing, width, height, 0.0, type)
    , _segments(PrimitiveShapes::validSegmentCount(segments))
{
    setAuxiliaryValues(static_cast<float>(valueA), static_cast<float>(valueB));
    initializePassiveBuffers();
    initialize();
}

void GeoStrokeLeafGL::animateMyself(double) {}

void GeoStrokeLeafGL::initializePassiveBuffers()
{
    PrimitiveLeafGL::initializePassiveBuffers();
    registerPassiveBuffer(DODGING_BUFFER);
}

void GeoStrokeLeafGL::initialize()
{
    _outline = PrimitiveShapes::defaultOutline(_segments);
    // The default line is 4 (n - 1) pixels long from its first point: scale
    // it to the shape's width and centre it, half widths alike.
    float minX = 0.0f, maxX = 0.0f, minY = 0.0f, maxY = 0.0f;
    for (const PrimitiveShapes::Point2f& p : _outline.centre) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    const float k = maxX > minX ? static_cast<float>(getWidth()) / (maxX - minX) : 1.0f;
    for (PrimitiveShapes::Point2f& p : _outline.centre)
        p = {(p.x - 0.5f * (minX + maxX)) * k, (p.y - 0.5f * (minY + maxY)) * k};
    for (double& w : _outline.halfWidth)
        w *= k;
    PrimitiveShapes::computeOutline(_outline);
    compileShapeLists();
}

std::vector<PrimitiveShapes::Point2f> GeoStrokeLeafGL::outlineLoop() const
{
    std::vector<PrimitiveShapes::Point2f> loop(_outline.left.begin(), _outline.left.end());
    loop.insert(loop.end(), _outline.right.rbegin(), _outline.right.rend());
    return loop;
}

void GeoStrokeLeafGL::drawOutline() const
{
    glBegin(GL_LINE_LOOP);
    for (const PrimitiveShapes::Point2f& p : outlineLoop())
        glVertex2f(p.x, p.y);
    glEnd();
}

void GeoStrokeLeafGL::setCentreLine(std::vector<PrimitiveShapes::Point2f> centre, std::vector<double> halfWidths)
{
    _outline.centre = std::move(centre);
    _outline.halfWidth = std::move(halfWidths);
    _outline.halfWidth.resize(_outline.centre.size(), PrimitiveShapes::DefaultHalfWidth);
    PrimitiveShapes::computeOutline(_outline);
    compileShapeLists();
}

void GeoStrokeLeafGL::drawStrip() const
{
    glBegin(GL_QUAD_STRIP);
    for (std::size_t i = 0; i < _outline.left.size(); ++i) {
        glVertex2f(_outline.left[i].x, _outline.left[i].y);
        glVertex2f(_outline.right[i].x, _outline.right[i].y);
    }
    glEnd();
}

void GeoStrokeLeafGL::compileShapeLists()
{
    if (!getController()->hasGL())
        return;
    if (_lists.empty() && !_lists.generate(2))
        return;
    _lists.beginCompile(0);
    glColor4fv(FillColor);
    drawStrip();
    glColor4fv(LineColor);
    drawOutline();
    GLDisplayList::endCompile();
    _lists.beginCompile(1);
    drawStrip();
    GLDisplayList::endCompile();
}

void GeoStrokeLeafGL::specificRender()
{
    if (!pastHiddenFrames())
        return;
    _lists.call(0);
}

void GeoStrokeLeafGL::specificRenderForPicking()
{
    if (acceptsContacts())
        _lists.call(1);
}

void GeoStrokeLeafGL::appendToBatch(PrimitiveBatch& batch)
{
    if (!pastHiddenFrames() || _outline.left.size() < 2)
        return;
    const PrimitiveShapes::Placement place = placement(1.0, 1.0);
    const std::size_t pairs = _outline.left.size();
    BatchVertex* band = batch.appendStrip(PrimitiveBatch::Kind::TranslucentTriangles, 0, 2 * pairs);
    const auto& [r, g, b, a] = FillColor;
    for (std::size_t i = 0; i < pairs; ++i)
        for (const PrimitiveShapes::Point2f& side : {_outline.left[i], _outline.right[i]}) {
            const PrimitiveShapes::Point2f p = place.apply(side);
            *band++ = {p.x, p.y, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, r, g, b, a};
        }
    const std::vector<PrimitiveShapes::Point2f> loop = outlineLoop();
    BatchVertex* line = batch.appendLoop(PrimitiveBatch::Kind::Lines, 0, loop.size());
    const auto& [lr, lg, lb, la] = LineColor;
    for (const PrimitiveShapes::Point2f& corner : loop) {
        const PrimitiveShapes::Point2f p = place.apply(corner);
        *line++ = {p.x, p.y, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, lr, lg, lb, la};
    }
}
