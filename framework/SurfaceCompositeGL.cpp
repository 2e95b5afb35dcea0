// SurfaceCompositeGL: children in a local render list, border and overflow.
#include "SurfaceCompositeGL.h"

#include "TabletopVis.h"

#include <GL/gl.h>

#include <algorithm>

SurfaceCompositeGL::SurfaceCompositeGL(TabletopVis* scene, double x, double y, double width, double height,
                                       double angle, double border, double overflow, unsigned textureId)
    : VisComponentGL(scene, x, y, false, false, width, height, angle)
    , _border(std::max(border, 0.0))
    , _textureId(textureId)
{
    enableChildren();
    setBufferMargin(std::max(overflow, 0.0));
}

void SurfaceCompositeGL::moveBy(double dx, double dy)
{
    VisComponentGL::moveBy(dx, dy);
    for (auto& entry : getChildren())
        entry.second->moveBy(dx, dy);
}

int SurfaceCompositeGL::addChild(VisComponent* child) { return adoptChild(child, true); }
int SurfaceCompositeGL::removeChild(VisComponent* child) { return releaseChild(child); }
VisComponent* SurfaceCompositeGL::getComposite() { return this; }
bool SurfaceCompositeGL::hasStaticRenderOrder() const { return true; }
bool SurfaceCompositeGL::compositeManagesLocalRenderList() const { return true; }
double SurfaceCompositeGL::getOverflowSize() const { return getBufferMargin(); }
double SurfaceCompositeGL::getBorderSize() const { return _border; }
void SurfaceCompositeGL::specificRenderAdditional() {}
void SurfaceCompositeGL::renderDecoration() {}

double SurfaceCompositeGL::getTossingSlowdownFactor() const
{
    return getController() != nullptr ? getController()->getTossingSlowdownFactor() : 1.0;
}

void SurfaceCompositeGL::render()
{
    glPushMatrix();
    doCommonTransformations();
    specificRender();
    renderBorder();
    glPopMatrix();
    renderActive(*getLocalRenderList());
    glPushMatrix();
    doCommonTransformations();
    specificRenderAdditional();
    renderDecoration();
    glPopMatrix();
}

void SurfaceCompositeGL::specificRender()
{
    if (_textureId == 0)
        return;
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    drawTexturedQuad(getWidth(), getHeight(), _textureId);
}

void SurfaceCompositeGL::renderBorder()
{
    const double b = std::min(getBorderSize(), 0.5 * std::min(getWidth(), getHeight()));
    if (b <= 0.0 || getController() == nullptr)
        return;
    const SceneColor c = getController()->getBorderColor();
    const double hw = getHalfWidth();
    const double hh = getHalfHeight();
    glColor4f(c.r, c.g, c.b, 1.0f);
    // Outer and inner corners alternate round the frame.
    glBegin(GL_QUAD_STRIP);
    const double corners[5][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}, {-1, -1}};
    for (const auto& corner : corners) {
        glVertex2d(corner[0] * hw, corner[1] * hh);
        glVertex2d(corner[0] * (hw - b), corner[1] * (hh - b));
    }
    glEnd();
}
