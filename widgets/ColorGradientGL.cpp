// ColorGradientGL: the link band's geometry and drawing.
#include "ColorGradientGL.h"

#include <cmath>

unsigned ColorGradientGL::s_liveCount = 0;

ColorGradientGL::ColorGradientGL(float x1, float y1, float x2, float y2, float halfWidth, const Color& displayColor1,
                                 const Color& paintColor1, const Color& displayColor2, const Color& paintColor2)
    : _x1(x1), _y1(y1), _x2(x2), _y2(y2), _halfWidth(halfWidth), _displayColor1(displayColor1),
      _paintColor1(paintColor1), _displayColor2(displayColor2), _paintColor2(paintColor2)
{
    ++s_liveCount;
}

ColorGradientGL::~ColorGradientGL() { --s_liveCount; }

void ColorGradientGL::setEnd2(float x, float y)
{
    _x2 = x;
    _y2 = y;
    _dirty = true;
}

void ColorGradientGL::setDisplayColor2(const Color& c)
{
    _displayColor2 = c;
    _dirty = true;
}

void ColorGradientGL::setPaintColor2(const Color& c) { _paintColor2 = c; }

void ColorGradientGL::render()
{
    if (_dirty || _displayList.empty()) {
        if (!_displayList.generate(1))
            return;
        const float dx = _x2 - _x1, dy = _y2 - _y1;
        const float length = std::sqrt(dx * dx + dy * dy);
        // Offset of the band's sides: halfWidth along the unit normal.
        const float ox = length > 0.0f ? -dy / length * _halfWidth : 0.0f;
        const float oy = length > 0.0f ? dx / length * _halfWidth : 0.0f;
        _displayList.beginCompile();
        glShadeModel(GL_SMOOTH);
        glBegin(GL_QUADS);
        glColor3ub(_displayColor1.r, _displayColor1.g, _displayColor1.b);
        glVertex2f(_x1 + ox, _y1 + oy);
        glVertex2f(_x1 - ox, _y1 - oy);
        glColor3ub(_displayColor2.r, _displayColor2.g, _displayColor2.b);
        glVertex2f(_x2 - ox, _y2 - oy);
        glVertex2f(_x2 + ox, _y2 + oy);
        glEnd();
        GLDisplayList::endCompile();
        _dirty = false;
    }
    _displayList.call();
}
