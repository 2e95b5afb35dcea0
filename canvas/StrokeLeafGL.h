// StrokeLeafGL: a textured, translucent brush mark. Its alpha is the life
// counter, so erasing fades it; strokeMaskBuffer hides it while the canvas
// shows its frozen picture.
#pragma once

#include "PrimitiveLeafGL.h"
#include "PrimitiveShapeCache.h"

// Strokes share their geometry per first texture id: the first stroke of a
// texture in a scene enters its used rectangle in the scene's
// PrimitiveShapeCache, and later strokes of that texture take it; the
// cache's unit quad for the texture (drawn scaled by each stroke's size) is
// compiled at the first draw.
//
// The second and third texture ids name companion images of the same mark
// (a height map and a detail map); they are kept for the stroke's makers and
// not drawn. The bump-mapping flag is likewise kept: drawing is single
// textured, so it changes nothing on screen.
class StrokeLeafGL : public PrimitiveLeafGL
{
public:
    StrokeLeafGL(TabletopVis* scene, double x, double y, float s0, float s1, float t0, float t1,
                 bool rotateAndTranslate, bool tossing, double width, double height, double angle,
                 unsigned texture, unsigned secondTexture, unsigned thirdTexture, int type, bool bumpMapping);

    void specificRender() override;
    void specificRenderForPicking() override;
    // Takes (or enters) the used rectangle of the first texture.
    void initialize() override;
    void appendToBatch(PrimitiveBatch& batch) override;

    unsigned getTextureId(int i) const { return _textures[i < 0 || i > 2 ? 0 : i]; }
    bool isBumpMapping() const { return _bumpMapping; }
    const StrokeTextureRect& getTextureRect() const { return _rect; }
    // 120 when context-selected, 100 when dimmed by highlighting, else the
    // life counter.
    int drawAlpha() const;
    // strokeMaskBuffer exists and is false under the stroke.
    bool isMasked() const;

private:
    StrokeTextureRect _rect;
    unsigned _textures[3];
    bool _bumpMapping;
};
