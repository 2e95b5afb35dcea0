// ColorIndicatorGL: the ring that marks the current paint, drawn in the
// inverse of that paint's display colour so it stands out on it.
#pragma once

#include "Color.h"
#include "GLDisplayList.h"

class ColorIndicatorGL : public Color
{
public:
    // (x, y) in the palette's frame (pixels from its centre, y up); color is
    // the display colour of the marked paint.
    ColorIndicatorGL(double x, double y, float radius, const Color& color);

    // Moves the ring and takes the inverse (255 - value) of color.
    void setPositionAndColor(double x, double y, const Color& color);
    // A flat ring from 0.6 x radius to radius.
    void render();

    float getX() const { return _x; }
    float getY() const { return _y; }
    float getRadius() const { return _radius; }
    Color getRingColor() const { return _ringColor; }

private:
    float _x, _y, _radius;
    Color _ringColor;
    GLDisplayList _displayList;
};
