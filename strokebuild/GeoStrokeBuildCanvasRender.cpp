// GeoStrokeBuildCanvasCompositeGL: drawing of the panel, its handles and the
// sketched strokes (GL only; called inside the scene's frame).
#include "GeoStrokeBuildCanvasCompositeGL.h"

#include "SketchPen.h"
#include "TabletopVis.h"

#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The panel's inside: a cool white, apart from the paper.
constexpr GLfloat Inside[4] = {0.9f, 0.93f, 0.98f, 1.0f};

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
    if (!_decoration.generate(3))
        return;
    _decoration.beginCompile(0);
    renderDecorationBackground();
    GLDisplayList::endCompile();
    _decoration.beginCompile(1);
    renderDecorationHandles();
    GLDisplayList::endCompile();
    _decoration.beginCompile(2);
    const double b = std::min(_border, std::min(getHalfWidth(), getHalfHeight()));
    glDisable(GL_BLEND);
    glColor4fv(Inside);
    rect(-getHalfWidth() + b, -getHalfHeight() + b, getHalfWidth() - b, getHalfHeight() - b);
    glEnable(GL_BLEND);
    GLDisplayList::endCompile();
}

void GeoStrokeBuildCanvasCompositeGL::renderDecorationBackground() const
{
    const double hw = getHalfWidth(), hh = getHalfHeight();
    const double b = std::min(_border, std::min(hw, hh));
    // The frame; opaque and without overlap with the inside (list 2) or the
    // layer, so every pixel of the panel is filled once.
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glColor4f(0.25f, 0.25f, 0.3f, 1.0f);
    rect(-hw, -hh, hw, -hh + b);
    rect(-hw, hh - b, hw, hh);
    rect(-hw, -hh + b, -hw + b, hh - b);
    rect(hw - b, -hh + b, hw, hh - b);
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
    updateLayer();
    const std::size_t settled = settledStrokeCount();
    if (_layer) {
        // The layer holds the inside with the settled strokes on it.
        const double b = std::min(_border, std::min(getHalfWidth(), getHalfHeight()));
        const float s = static_cast<float>(b / _layer->width()), t = static_cast<float>(b / _layer->height());
        glDisable(GL_BLEND);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        drawTexturedQuad(getWidth() - 2.0 * b, getHeight() - 2.0 * b, _layer->texture(), s, t, 1.0f - s, 1.0f - t);
        glEnable(GL_BLEND);
    } else {
        _decoration.call(2);
    }
    glPushMatrix();
    // Strokes are kept in screen pixels.
    glTranslated(-getXPos(), -getYPos(), 0.0);
    drawStrokes(_layer ? settled : 0, _strokes.size());
    glPopMatrix();
    _decoration.call(1);
}

void GeoStrokeBuildCanvasCompositeGL::drawStrokes(std::size_t first, std::size_t end) const
{
    glColor4f(0.05f, 0.05f, 0.08f, 1.0f);
    if (_drawAsStroke)
        drawStrokesAsStrokes(first, end);
    else if (_drawAsPoints)
        drawStrokesAsPoints(first, end);
}

void GeoStrokeBuildCanvasCompositeGL::updateLayer()
{
    const int width = static_cast<int>(std::lround(getWidth()));
    const int height = static_cast<int>(std::lround(getHeight()));
    const std::size_t settled = settledStrokeCount();
    const bool sized = _layer && _layer->width() == width && _layer->height() == height;
    if (sized && _layerVersion == _strokesVersion && _layerStrokes == settled)
        return;
    // The surface or a test may draw into a framebuffer object: read it
    // before making the layer, which binds the context's default one.
    GLint target = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &target);
    QOpenGLFunctions* gl = QOpenGLContext::currentContext() ? QOpenGLContext::currentContext()->functions() : nullptr;
    if (!sized) {
        freeLayer();
        if (QOpenGLContext::currentContext() == nullptr || width <= 0 || height <= 0)
            return;
        _layer.reset(new QOpenGLFramebufferObject(width, height));
        if (!_layer->isValid()) {
            _layer.reset();
            gl->glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(target));
            return;   // the strokes are then drawn directly every frame
        }
        // Drawn texel for pixel: no filtering needed.
        glBindTexture(GL_TEXTURE_2D, _layer->texture());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    _layer->bind();
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    const double left = getXPos() - getHalfWidth(), bottom = getYPos() - getHalfHeight();
    glOrtho(left, left + width, bottom, bottom + height, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glPushAttrib(GL_COLOR_BUFFER_BIT);
    glClearColor(Inside[0], Inside[1], Inside[2], Inside[3]);
    glClear(GL_COLOR_BUFFER_BIT);
    glPopAttrib();
    drawStrokes(0, settled);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    gl->glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(target));
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    _layerVersion = _strokesVersion;
    _layerStrokes = settled;
}

void GeoStrokeBuildCanvasCompositeGL::freeLayer() { _layer.reset(); }

void GeoStrokeBuildCanvasCompositeGL::LayerDeleter::operator()(QOpenGLFramebufferObject* layer) const
{
    // Its GL objects can only go while a context is current; without one
    // (the context went first) they went with it.
    if (QOpenGLContext::currentContext() != nullptr)
        delete layer;
}

void GeoStrokeBuildCanvasCompositeGL::drawStrokesAsStrokes(std::size_t first, std::size_t end) const
{
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_BLEND);   // opaque strips
    glEnableClientState(GL_VERTEX_ARRAY);
    for (std::size_t s = first; s < std::min(end, _strokes.size()); ++s) {
        const Stroke2d* stroke = _strokes[s].get();
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

void GeoStrokeBuildCanvasCompositeGL::drawStrokesAsPoints(std::size_t first, std::size_t end) const
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
    for (std::size_t s = first; s < std::min(end, _strokes.size()); ++s)
        for (const ControlPoint2D& cp : _strokes[s]->getControlPoints()) {
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
