// ColorIndicatorGL: the ring's colour rule and drawing.
#include "ColorIndicatorGL.h"

#include <GL/glu.h>

ColorIndicatorGL::ColorIndicatorGL(double x, double y, float radius, const Color& color) : _radius(radius)
{
    setPositionAndColor(x, y, color);
}

void ColorIndicatorGL::setPositionAndColor(double x, double y, const Color& color)
{
    _x = static_cast<float>(x);
    _y = static_cast<float>(y);
    _ringColor.setRGB(static_cast<unsigned char>(255 - color.r), static_cast<unsigned char>(255 - color.g),
                      static_cast<unsigned char>(255 - color.b));
}

void ColorIndicatorGL::render()
{
    if (_displayList.empty()) {
        if (!_displayList.generate(1))
            return;
        GLUquadric* quadric = gluNewQuadric();
        _displayList.beginCompile();
        gluDisk(quadric, 0.6 * _radius, _radius, 8, 1);
        GLDisplayList::endCompile();
        gluDeleteQuadric(quadric);
    }
    glColor3ub(_ringColor.r, _ringColor.g, _ringColor.b);
    glPushMatrix();
    glTranslatef(_x, _y, 0.0f);
    _displayList.call();
    glPopMatrix();
}
