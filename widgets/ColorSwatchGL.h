// ColorSwatchGL: a blob of paint on the palette (a well or a mixed paint):
// centre, radius, the display colour it is drawn in and the paint it holds.
#pragma once

#include "Color.h"
#include "Vector2d.h"

#include <vector>

class ColorSwatchGL : public Color
{
public:
    // (x, y): centre in the palette's frame, pixels from the palette's centre,
    // y up. displayColor is RGB, paintColor RYB.
    ColorSwatchGL(float x, float y, float radius, const Color& displayColor, const Color& paintColor);
    ~ColorSwatchGL();
    ColorSwatchGL(const ColorSwatchGL&) = delete;
    ColorSwatchGL& operator=(const ColorSwatchGL&) = delete;

    Color getDisplayColor() const { return _displayColor; }
    Color getPaintColor() const { return _paintColor; }
    void setPosition(float x, float y)
    {
        _x = x;
        _y = y;
    }
    void setDisplayColor(const Color& c) { _displayColor = c; }
    void setPaintColor(const Color& c) { _paintColor = c; }
    float getX() const { return _x; }
    float getY() const { return _y; }
    float getRadius() const { return _radius; }

    // The blob in its display colour at its centre (context current). The
    // shared outline list is compiled on the first draw.
    void render();

    // Swatches alive now; the shared outline list lives as long as one does.
    static unsigned liveCount() { return s_liveCount; }
    // The blob outline of a unit radius swatch, round its centre.
    static const std::vector<Vector2d>& unitOutline();

private:
    float _x, _y, _radius;
    Color _displayColor;
    Color _paintColor;
    static unsigned s_liveCount;
};
