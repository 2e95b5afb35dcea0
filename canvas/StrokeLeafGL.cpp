// StrokeLeafGL: per-texture shared lists, the stroke mask and translucent
// textured drawing.
#include "StrokeLeafGL.h"

#include "BufferTag.h"
#include "PrimitiveBatch.h"
#include "TabletopVis.h"

#include <GL/gl.h>

#include <algorithm>

using PrimitiveShapes::StrokeQuad;

namespace {

// Texture corner of quad vertex i: left or right, bottom or top by its signs.
float cornerS(const StrokeTextureRect& rect, int i) { return StrokeQuad[i].x < 0.0f ? rect.s0 : rect.s1; }
float cornerT(const StrokeTextureRect& rect, int i) { return StrokeQuad[i].y < 0.0f ? rect.t0 : rect.t1; }

} // namespace

StrokeLeafGL::StrokeLeafGL(TabletopVis* scene, double x, double y, float s0, float s1, float t0, float t1,
                           bool rotateAndTranslate, bool tossing, double width, double height, double angle,
                           unsigned texture, unsigned secondTexture, unsigned thirdTexture, int type,
                           bool bumpMapping)
    : PrimitiveLeafGL(scene, x, y, rotateAndTranslate, tossing, width, height, angle, type)
    , _rect{s0, s1, t0, t1}
    , _textures{texture, secondTexture, thirdTexture}
    , _bumpMapping(bumpMapping)
{
    initializePassiveBuffers();
    initialize();
}

void StrokeLeafGL::initialize()
{
    _rect = PrimitiveShapeCache::of(*getController()).strokeRect(_textures[0], _rect);
}

int StrokeLeafGL::drawAlpha() const
{
    if (isContextSelected())
        return 120;
    if (isHighlightDimmed())
        return 100;
    return std::clamp(getLife(), 0, 255);
}

bool StrokeLeafGL::isMasked() const
{
    const BufferTemplate<bool>* mask = getPassiveBufferAs<bool>(STROKE_MASK_BUFFER);
    int bx = 0;
    int by = 0;
    return mask != nullptr && bufferCell(bx, by) && !mask->getValue(bx, by);
}

void StrokeLeafGL::specificRender()
{
    if (isMasked() || !pastHiddenFrames())
        return;
    const Color& c = getColor();
    glBindTexture(GL_TEXTURE_2D, _textures[0]);
    glColor4ub(c.r, c.g, c.b, static_cast<GLubyte>(drawAlpha()));
    glScaled(getWidth(), getHeight(), 1.0);
    glCallList(PrimitiveShapeCache::of(*getController()).strokeList(_textures[0]));
}

void StrokeLeafGL::specificRenderForPicking()
{
    if (!acceptsContacts())
        return;
    glScaled(getWidth(), getHeight(), 1.0);
    glCallList(PrimitiveShapeCache::of(*getController()).strokePickingList());
}

void StrokeLeafGL::appendToBatch(PrimitiveBatch& batch)
{
    if (isMasked() || !pastHiddenFrames())
        return;
    const Color& c = getColor();
    const float r = c.r / 255.0f;
    const float g = c.g / 255.0f;
    const float b = c.b / 255.0f;
    const float a = drawAlpha() / 255.0f;
    const PrimitiveShapes::Placement place = placement(getWidth(), getHeight());
    BatchVertex* v = batch.append(PrimitiveBatch::Kind::TexturedQuads, _textures[0], 4);
    for (int i = 0; i < 4; ++i) {
        const PrimitiveShapes::Point2f p = place.apply(StrokeQuad[i]);
        v[i] = {p.x, p.y, cornerS(_rect, i), cornerT(_rect, i), 0.0f, 0.0f, 1.0f, r, g, b, a};
    }
}
