// BasicImageGL: a picture on the table — one texture drawn over the
// component's rectangle; moved, turned and tossed by touch by default.
#pragma once

#include "VisComponentGL.h"

#include <cstddef>

class BasicImageGL : public VisComponentGL
{
public:
    // textureId 0 draws a grey rectangle. Texture coordinates default to the
    // whole texture.
    BasicImageGL(TabletopVis* scene, double x, double y, double width, double height, double angle = 0.0,
                 unsigned textureId = 0, bool rotateAndTranslate = true, bool tossing = true);

    // renderBasic().
    void specificRender() override;

    // ---- Own virtual operation ----
    // The texture over the rectangle in white (modulated), blended.
    virtual void renderBasic();

    unsigned getTextureID() const { return _textureId; }
    void setTextureID(unsigned id) { _textureId = id; }
    // (s0, t0) at the bottom-left corner, (s1, t1) at the top right.
    void setTextureCoordinates(float s0, float t0, float s1, float t1);
    // Wears the scene's image texture i, showing only its used rectangle.
    void useImageTexture(std::size_t i);

private:
    unsigned _textureId;
    float _s0 = 0.0f, _t0 = 0.0f, _s1 = 1.0f, _t1 = 1.0f;
};
