// StrokeLeafGL: a textured, translucent brush mark. Its alpha is the life
// counter, so erasing fades it; strokeMaskBuffer hides it while the canvas
// shows its frozen picture.
#pragma once

#include "PrimitiveLeafGL.h"

#include <cstddef>

// The part of a texture a stroke shows: s0 .. s1 across, t0 .. t1 up (the
// texture's used rectangle; textures padded to a power of two use less than
// 0 .. 1).
struct StrokeTextureRect
{
    float s0 = 0.0f;
    float s1 = 1.0f;
    float t0 = 0.0f;
    float t1 = 1.0f;
};

// Strokes share their geometry per first texture id: the first stroke of a
// texture enters its used rectangle and, in a GL scene, a render and a
// picking display list (a unit quad drawn scaled by each stroke's size);
// later strokes of that texture take them and count as users; the last user
// frees them.
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
    ~StrokeLeafGL() override;

    void specificRender() override;
    void specificRenderForPicking() override;
    // Takes (or makes) the shared entry of the first texture.
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

    // Live shared entries (one per first texture id in use), the users of
    // one, and its lists (0 when absent or headless).
    static std::size_t getSharedEntryCount();
    static int getUseCount(unsigned texture);
    static unsigned getSharedRenderList(unsigned texture);
    static unsigned getSharedPickingList(unsigned texture);

private:
    StrokeTextureRect _rect;
    unsigned _textures[3];
    bool _bumpMapping;
    bool _registered = false;
    unsigned _renderList = 0;
    unsigned _pickingList = 0;
};
