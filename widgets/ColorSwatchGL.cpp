// ColorSwatchGL: the blob outline shared by every swatch and its drawing.
#include "ColorSwatchGL.h"

#include "GLDisplayList.h"
#include "Spline.h"

unsigned ColorSwatchGL::s_liveCount = 0;

namespace {

// One list for all swatches: a fan of the unit blob, scaled per swatch.
GLDisplayList& sharedOutlineList()
{
    static GLDisplayList list;
    return list;
}

} // namespace

ColorSwatchGL::ColorSwatchGL(float x, float y, float radius, const Color& displayColor, const Color& paintColor)
    : _x(x), _y(y), _radius(radius), _displayColor(displayColor), _paintColor(paintColor)
{
    ++s_liveCount;
}

ColorSwatchGL::~ColorSwatchGL()
{
    if (--s_liveCount == 0)
        sharedOutlineList().release();
}

const std::vector<Vector2d>& ColorSwatchGL::unitOutline()
{
    // A lopsided blob, so paints look dabbed rather than stamped.
    static const std::vector<Vector2d> outline = [] {
        Spline spline;
        spline.initializeAndSetParameters(9, 2);
        spline.controlPoints() = {{0.16, 1},  {0.64, 0.5}, {1, -0.2},  {0.5, -0.6},  {-0.1, -1},
                                  {-0.8, -1}, {-1, 0.1},   {-0.8, 0.4}, {-0.48, 1}};
        spline.buildOrRebuildSpline();
        return spline.splinePoints();
    }();
    return outline;
}

void ColorSwatchGL::render()
{
    GLDisplayList& list = sharedOutlineList();
    if (list.empty() && list.generate(1)) {
        list.beginCompile();
        glBegin(GL_TRIANGLE_FAN);
        glVertex2d(0.0, 0.0);
        for (const Vector2d& p : unitOutline())
            glVertex2d(p.x, p.y);
        glVertex2d(unitOutline().front().x, unitOutline().front().y);
        glEnd();
        GLDisplayList::endCompile();
    }
    glColor3ub(_displayColor.r, _displayColor.g, _displayColor.b);
    glPushMatrix();
    glTranslatef(_x, _y, 0.0f);
    glScalef(_radius, _radius, 1.0f);
    list.call();
    glPopMatrix();
}
