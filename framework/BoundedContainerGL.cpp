// BoundedContainerGL: outline and inside splines, their display lists and
// picking by the outline.
#include "BoundedContainerGL.h"

#include "BufferTag.h"
#include "PolygonContains.h"
#include "TabletopVis.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Unit normal at point i of a closed polygon, pointing towards its centre.
Vector2d inwardNormal(const std::vector<Vector2d>& points, std::size_t i)
{
    const std::size_t n = points.size();
    const Vector2d tangent = points[(i + 1) % n] - points[(i + n - 1) % n];
    Vector2d normal = tangent.perp().normalized();
    if (normal.dot(points[i]) > 0.0)
        normal = -normal;
    return normal;
}


} // namespace

BoundedContainerGL::BoundedContainerGL(TabletopVis* scene, double x, double y, bool rotateAndTranslate,
                                       bool tossing, double width, double height, double angle,
                                       unsigned numberOfControlPoints, bool rounded)
    : VisComponentGL(scene, x, y, rotateAndTranslate, tossing, width, height, angle)
    , _numberOfControlPoints(std::max(numberOfControlPoints, 3u))
    , _rounded(rounded)
{
    enableChildren();
    BoundedContainerGL::buildOrRebuildSplinesFromControlPoints();
}

int BoundedContainerGL::addChild(VisComponent* child) { return adoptChild(child, false); }
int BoundedContainerGL::removeChild(VisComponent* child) { return releaseChild(child); }
VisComponent* BoundedContainerGL::getComposite() { return this; }

void BoundedContainerGL::setSize(double width, double height)
{
    VisComponentGL::setSize(width, height);
    recomputeSizeAndRelocateSplines();
}

void BoundedContainerGL::placeControlPoints(Spline& spline, double halfWidth, double halfHeight,
                                            unsigned level) const
{
    const unsigned steps = std::min(level, Spline::maxLevel);
    std::vector<Vector2d> points;
    if (_rounded) {
        // A cubic B-spline through a regular polygon passes inside it: push
        // the control points out so the curve meets the ellipse at each one.
        const double step = 2.0 * std::numbers::pi / _numberOfControlPoints;
        const double push = 6.0 / (4.0 + 2.0 * std::cos(step));
        for (unsigned k = 0; k < _numberOfControlPoints; ++k)
            points.emplace_back(push * halfWidth * std::cos(k * step), push * halfHeight * std::sin(k * step));
    } else {
        // Tripled corners make the curve the exact rectangle.
        const double corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (const auto& corner : corners)
            points.insert(points.end(), 3, Vector2d(corner[0] * halfWidth, corner[1] * halfHeight));
    }
    spline.initializeAndSetParameters(points.size(), steps);
    spline.controlPoints() = points;
    spline.buildOrRebuildSpline();
}

void BoundedContainerGL::buildOrRebuildSplinesFromControlPoints()
{
    const TabletopVis* scene = getController();
    const double border = scene != nullptr ? scene->getContainerBorderWidth() : 0.0;
    const unsigned outside = scene != nullptr ? scene->getContainerOutsideSteps() : 3;
    const unsigned inside = scene != nullptr ? scene->getContainerInsideSteps() : 3;
    const double hw = getHalfWidth();
    const double hh = getHalfHeight();
    placeControlPoints(_outline, hw, hh, outside);
    placeControlPoints(_inside, std::max(hw - border, 0.0), std::max(hh - border, 0.0), inside);
    buildOrRebuildRenderDisplayLists();
}

void BoundedContainerGL::recomputeSizeAndRelocateSplines()
{
    buildOrRebuildSplinesFromControlPoints();
}

void BoundedContainerGL::buildOrRebuildRenderDisplayLists()
{
    _listsDirty = true;
}

void BoundedContainerGL::compileLists()
{
    _listsDirty = false;
    if (!_lists.generate(2))
        return;
    _lists.beginCompile(0);
    drawFan(_inside.splinePoints());
    GLDisplayList::endCompile();

    const double border = getController() != nullptr ? getController()->getContainerBorderWidth() : 0.0;
    const std::vector<Vector2d>& outline = _outline.splinePoints();
    _lists.beginCompile(1);
    glBegin(GL_QUAD_STRIP);
    for (std::size_t i = 0; i <= outline.size(); ++i) {
        const std::size_t k = i % outline.size();
        const Vector2d inner = outline[k] + border * inwardNormal(outline, k);
        glVertex2d(outline[k].x, outline[k].y);
        glVertex2d(inner.x, inner.y);
    }
    glEnd();
    GLDisplayList::endCompile();
}

void BoundedContainerGL::specificRender()
{
    if (_listsDirty)
        compileLists();
    renderInside();
    renderOutline();
}

void BoundedContainerGL::renderInside()
{
    if (getController() == nullptr)
        return;
    const SceneColor c = getController()->getInsideColor();
    glColor4f(c.r, c.g, c.b, static_cast<float>(getController()->getContainerOpacity()));
    _lists.call(0);
}

void BoundedContainerGL::renderOutline()
{
    if (getController() == nullptr)
        return;
    const SceneColor c = isGrabbed() ? getController()->getHighlightColor() : getController()->getBorderColor();
    glColor4f(c.r, c.g, c.b, 1.0f);
    _lists.call(1);
}

void BoundedContainerGL::specificRenderForPicking()
{
    renderOutlineForPicking();
}

void BoundedContainerGL::renderOutlineForPicking()
{
    drawFan(_outline.splinePoints());
}

bool BoundedContainerGL::containsLocalPoint(double localX, double localY) const
{
    if (getActiveBuffer(HIT_BUFFER) != nullptr)
        return VisComponentGL::containsLocalPoint(localX, localY);
    const std::vector<Vector2d>& outline = _outline.splinePoints();
    return polygonContains(outline, {localX - getHalfWidth(), localY - getHalfHeight()});
}
