// AbstractImageGL: picture hooks and interaction hints.
#include "AbstractImageGL.h"

#include "TabletopVis.h"

#include <GL/gl.h>

AbstractImageGL::AbstractImageGL(TabletopVis* scene, double x, double y, double width, double height, double angle)
    : BasicImageGL(scene, x, y, width, height, angle, 0, true, false)
{
}

void AbstractImageGL::specificRender()
{
    renderImage();
    renderInteractionHints();
}

void AbstractImageGL::specificRenderForPicking()
{
    renderPicking();
}

void AbstractImageGL::renderPicking()
{
    drawQuad(getWidth(), getHeight());
}

void AbstractImageGL::renderImage()
{
    renderBasic();
}

void AbstractImageGL::renderInteractionHints()
{
    if (!isGrabbed() || getController() == nullptr)
        return;
    const SceneColor c = getController()->getHighlightColor();
    const double hw = getHalfWidth();
    const double hh = getHalfHeight();
    const double corner = 0.125 * getWidth();
    glColor4f(c.r, c.g, c.b, 1.0f);
    glBegin(GL_LINE_LOOP);
    glVertex2d(-hw, -hh);
    glVertex2d(hw, -hh);
    glVertex2d(hw, hh);
    glVertex2d(-hw, hh);
    glEnd();
    glBegin(GL_TRIANGLES);
    glVertex2d(hw - corner, -hh);
    glVertex2d(hw, -hh);
    glVertex2d(hw, -hh + 0.125 * getHeight());
    glEnd();
}
