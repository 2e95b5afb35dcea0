// GeoStrokeBuildCanvasCompositeGL: drawing of the panel, its handles and the
// sketched strokes (GL only; called inside the scene's frame).
#include "GeoStrokeBuildCanvasCompositeGL.h"

#include "SketchPen.h"
#include "TabletopVis.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

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
    // Opaque and without overlap: every pixel of the panel is filled once.
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glColor4f(0.25f, 0.25f, 0.3f, 1.0f);
    rect(-hw, -hh, hw, -hh + b);
    rect(-hw, hh - b, hw, hh);
    rect(-hw, -hh + b, -hw + b, hh - b);
    rect(hw - b, -hh + b, hw, hh - b);
    glColor4f(0.9f, 0.93f, 0.98f, 1.0f);   // cool white, apart from the paper
    rect(-hw + b, -hh + b, hw - b, hh - b);
    glEnable(GL_BLEND);
}

void GeoStrokeBuildCanvasCompositeGL::renderDecorationHandles() const
{
    const double hw = getHalfWidth(), hh = getHalfHeight();
    const double stripLeft = hw - getWidth() * HandleFraction;
    const double cornerTop = -hh + getHeight() * HandleFraction;
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.35f, 0.55f, 0.85f, 1.0f);
    rect(stripLeft, cornerTop, hw, hh);
    glColor4f(0.85f, 0.45f, 0.2f, 1.0f);
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
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_BLEND);   // opaque strips
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
    glPopAttrib();
    glPopClientAttrib();
}

void GeoStrokeBuildCanvasCompositeGL::drawStrokesAsPoints() const
{
    const double left = getXPos() - getHalfWidth(), right = getXPos() + getHalfWidth();
    const double bottom = getYPos() - getHalfHeight(), top = getYPos() + getHalfHeight();
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_POINT_BIT);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_POINT_SMOOTH);
    glEnableClientState(GL_VERTEX_ARRAY);
    // Runs of points of one size (in half pixels) go in one draw call.
    std::vector<float>& run = _pointRun;
    float runSize = 0.0f;
    const auto flush = [&run, &runSize] {
        if (run.empty())
            return;
        glPointSize(runSize);
        glVertexPointer(2, GL_FLOAT, 0, run.data());
        glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(run.size() / 2));
        run.clear();
    };
    for (const auto& stroke : _strokes)
        for (const ControlPoint2D& cp : stroke->getControlPoints()) {
            if (cp.getX() < left || cp.getX() > right || cp.getY() < bottom || cp.getY() > top)
                continue;
            const float size = std::max(1.0f, std::round(static_cast<float>(cp.getDiameter()) * 2.0f) * 0.5f);
            if (size != runSize) {
                flush();
                runSize = size;
            }
            run.push_back(static_cast<float>(cp.getX()));
            run.push_back(static_cast<float>(cp.getY()));
        }
    flush();
    glPopClientAttrib();
    glPopAttrib();   // also the point size
}
