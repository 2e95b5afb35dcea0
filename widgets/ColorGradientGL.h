// ColorGradientGL: the band that links a paint to the mixed paint made from
// it, shaded from one end's colour to the other's.
#pragma once

#include "Color.h"
#include "GLDisplayList.h"

class ColorGradientGL : public Color
{
public:
    // Ends in the palette's frame (pixels from its centre, y up); end 1 lies
    // on the source paint, end 2 on the mixed paint. Display colours RGB,
    // paint colours RYB.
    ColorGradientGL(float x1, float y1, float x2, float y2, float halfWidth, const Color& displayColor1,
                    const Color& paintColor1, const Color& displayColor2, const Color& paintColor2);
    ~ColorGradientGL();
    ColorGradientGL(const ColorGradientGL&) = delete;
    ColorGradientGL& operator=(const ColorGradientGL&) = delete;

    void setEnd2(float x, float y);
    void setDisplayColor2(const Color& c);
    void setPaintColor2(const Color& c);
    // Marks the band for recompiling at its next draw (lists are only made
    // while a context is current).
    void rebuildDisplayList() { _dirty = true; }
    void render();

    float getX1() const { return _x1; }
    float getY1() const { return _y1; }
    float getX2() const { return _x2; }
    float getY2() const { return _y2; }
    float getHalfWidth() const { return _halfWidth; }
    Color getDisplayColor1() const { return _displayColor1; }
    Color getPaintColor1() const { return _paintColor1; }
    Color getDisplayColor2() const { return _displayColor2; }
    Color getPaintColor2() const { return _paintColor2; }

    static unsigned liveCount() { return s_liveCount; }

private:
    float _x1, _y1, _x2, _y2, _halfWidth;
    Color _displayColor1, _paintColor1, _displayColor2, _paintColor2;
    GLDisplayList _displayList;
    bool _dirty = true;
    static unsigned s_liveCount;
};
