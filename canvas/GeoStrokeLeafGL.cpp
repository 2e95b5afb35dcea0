// GeoStrokeLeafGL: centre line, outlines and the translucent band.
#include "GeoStrokeLeafGL.h"

#include "BufferTag.h"
#include "PrimitiveBatch.h"
#include "TabletopVis.h"

#include <GL/gl.h>

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
    _listsStale = true;
}

void GeoStrokeLeafGL::setCentreLine(std::vector<PrimitiveShapes::Point2f> centre, std::vector<double> halfWidths)
{
    _outline.centre = std::move(centre);
    _outline.halfWidth = std::move(halfWidths);
    _outline.halfWidth.resize(_outline.centre.size(), PrimitiveShapes::DefaultHalfWidth);
    PrimitiveShapes::computeOutline(_outline);
    _listsStale = true;
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
    if (_lists.empty() && !_lists.generate(2))
        return;
    _listsStale = false;
    _lists.beginCompile(0);
    glColor4fv(FillColor);
    drawStrip();
    GLDisplayList::endCompile();
    _lists.beginCompile(1);
    drawStrip();
    GLDisplayList::endCompile();
}

void GeoStrokeLeafGL::specificRender()
{
    if (!pastHiddenFrames())
        return;
    if (_listsStale)
        compileShapeLists();
    _lists.call(0);
}

void GeoStrokeLeafGL::specificRenderForPicking()
{
    if (!acceptsContacts())
        return;
    if (_listsStale)
        compileShapeLists();
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
}
