// GeoStrokeBuildCanvasCompositeGL: drawing of the panel, its handles and the
// sketched strokes (GL only; called inside the scene's frame).
#include "GeoStrokeBuildCanvasCompositeGL.h"

#include "SketchPen.h"
#include "TabletopVis.h"

#include <GL/gl.h>

namespace {

void rect(double x0, double y0, double x1, double y1)
{
    glBegin(GL_QUADS);
    glVertex2d(x0, y0);
    glVertex2d(x1, y0);
    glVertex2d(x1, y1);
    glVertex2d(x0, y1);
    glEnd();
}

} // namespace

void GeoStrokeBuildCanvasCompositeGL::rebuildDecoration()
{
    if (!getController()->hasGL())
        return;
    if (!_decoration.generate(2))
        return;
    _decoration.beginCompile(0);
    renderDecorationBackground();
    GLDisplayList::endCompile();
    _decoration.beginCompile(1);
    renderDecorationHandles();
    GLDisplayList::endCompile();
}

void GeoStrokeBuildCanvasCompositeGL::renderDecorationBackground() const
{
    const double hw = getHalfWidth(), hh = getHalfHeight();
    const double b = std::min(_border, std::min(hw, hh));
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.25f, 0.25f, 0.3f, 0.9f);
    rect(-hw, -hh, hw, hh);
    glColor4f(0.9f, 0.93f, 0.98f, 1.0f);   // cool white, apart from the paper
    rect(-hw + b, -hh + b, hw - b, hh - b);
}

void GeoStrokeBuildCanvasCompositeGL::renderDecorationHandles() const
{
    const double hw = getHalfWidth(), hh = getHalfHeight();
    const double stripLeft = hw - getWidth() * HandleFraction;
    const double cornerTop = -hh + getHeight() * HandleFraction;
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.35f, 0.55f, 0.85f, 0.9f);
    rect(stripLeft, cornerTop, hw, hh);
    glColor4f(0.85f, 0.45f, 0.2f, 0.95f);
    rect(stripLeft, -hh, hw, cornerTop);
}

void GeoStrokeBuildCanvasCompositeGL::specificRender()
{
    if (_decoration.empty())
        rebuildDecoration();
    _decoration.call(0);
    glPushMatrix();
    // Strokes are kept in screen pixels.
    glTranslated(-getXPos(), -getYPos(), 0.0);
    glColor4f(0.05f, 0.05f, 0.08f, 1.0f);
    if (_drawAsStroke)
        drawStrokesAsStrokes();
    else if (_drawAsPoints)
        drawStrokesAsPoints();
    glPopMatrix();
    _decoration.call(1);
}

void GeoStrokeBuildCanvasCompositeGL::drawStrokesAsStrokes() const
{
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    for (const auto& stroke : _strokes) {
        const std::uint32_t count = stroke->getIndexCount();
        if (stroke->getNumControlPoints() < SketchPen::MinStripPoints || count < 3)
            continue;
        glVertexPointer(2, GL_FLOAT, 0, stroke->getVertices().data());
        const GLuint last = stroke->getVertexFloatCount() / 2 - 1;
        if (_canUseDrawRangeElements)
            glDrawRangeElements(GL_TRIANGLE_STRIP, 0, last, static_cast<GLsizei>(count), GL_UNSIGNED_INT,
                                stroke->getIndices().data());
        else
            glDrawElements(GL_TRIANGLE_STRIP, static_cast<GLsizei>(count), GL_UNSIGNED_INT,
                           stroke->getIndices().data());
    }
    glPopClientAttrib();
}

void GeoStrokeBuildCanvasCompositeGL::drawStrokesAsPoints() const
{
    const double left = getXPos() - getHalfWidth(), right = getXPos() + getHalfWidth();
    const double bottom = getYPos() - getHalfHeight(), top = getYPos() + getHalfHeight();
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_POINT_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_POINT_SMOOTH);
    for (const auto& stroke : _strokes)
        for (const ControlPoint2D& cp : stroke->getControlPoints()) {
            if (cp.getX() < left || cp.getX() > right || cp.getY() < bottom || cp.getY() > top)
                continue;
            glPointSize(static_cast<GLfloat>(cp.getDiameter()));
            glBegin(GL_POINTS);
            glVertex2d(cp.getX(), cp.getY());
            glEnd();
        }
    glPopAttrib();   // also the point size
}
