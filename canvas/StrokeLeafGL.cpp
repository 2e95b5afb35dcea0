// StrokeLeafGL: per-texture shared lists, the stroke mask and translucent
// textured drawing.
#include "StrokeLeafGL.h"

#include "BufferTag.h"
#include "GLDisplayList.h"
#include "PrimitiveBatch.h"
#include "TabletopVis.h"

#include <GL/gl.h>

#include <algorithm>
#include <map>

using PrimitiveShapes::StrokeQuad;

namespace {

struct SharedEntry
{
    StrokeTextureRect rect;
    GLDisplayList lists;   // the render list, then the picking list
    GLuint renderList = 0;
    GLuint pickingList = 0;
    int users = 0;
};
// Keyed by the strokes' first texture id.
std::map<unsigned, SharedEntry> sharedEntries;

// Texture corner of quad vertex i: left or right, bottom or top by its signs.
float cornerS(const StrokeTextureRect& rect, int i) { return StrokeQuad[i].x < 0.0f ? rect.s0 : rect.s1; }
float cornerT(const StrokeTextureRect& rect, int i) { return StrokeQuad[i].y < 0.0f ? rect.t0 : rect.t1; }

void compileLists(SharedEntry& entry)
{
    if (!entry.lists.generate(2))
        return;
    entry.renderList = entry.lists.id(0);
    entry.pickingList = entry.lists.id(1);
    glNewList(entry.renderList, GL_COMPILE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(cornerS(entry.rect, i), cornerT(entry.rect, i));
        glVertex2f(StrokeQuad[i].x, StrokeQuad[i].y);
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glEndList();
    glNewList(entry.pickingList, GL_COMPILE);
    glBegin(GL_QUADS);
    for (const PrimitiveShapes::Point2f& p : StrokeQuad)
        glVertex2f(p.x, p.y);
    glEnd();
    glEndList();
}

const SharedEntry* findEntry(unsigned texture)
{
    const auto found = sharedEntries.find(texture);
    return found != sharedEntries.end() ? &found->second : nullptr;
}

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

StrokeLeafGL::~StrokeLeafGL()
{
    const auto found = sharedEntries.find(_textures[0]);
    if (!_registered || found == sharedEntries.end() || --found->second.users > 0)
        return;
    // A headless scene has no context to free lists in.
    if (!getController()->hasGL())
        found->second.lists.take();
    sharedEntries.erase(found);
}

std::size_t StrokeLeafGL::getSharedEntryCount() { return sharedEntries.size(); }

int StrokeLeafGL::getUseCount(unsigned texture)
{
    const SharedEntry* entry = findEntry(texture);
    return entry != nullptr ? entry->users : 0;
}

unsigned StrokeLeafGL::getSharedRenderList(unsigned texture)
{
    const SharedEntry* entry = findEntry(texture);
    return entry != nullptr ? entry->renderList : 0;
}

unsigned StrokeLeafGL::getSharedPickingList(unsigned texture)
{
    const SharedEntry* entry = findEntry(texture);
    return entry != nullptr ? entry->pickingList : 0;
}

void StrokeLeafGL::initialize()
{
    if (_registered)
        return;
    const auto [found, made] = sharedEntries.try_emplace(_textures[0]);
    SharedEntry& entry = found->second;
    if (made)
        entry.rect = _rect;
    if (entry.renderList == 0 && getController()->hasGL())
        compileLists(entry);
    ++entry.users;
    _registered = true;
    _rect = entry.rect;
    _renderList = entry.renderList;
    _pickingList = entry.pickingList;
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
    if (isMasked() || !pastHiddenFrames() || _renderList == 0)
        return;
    const Color& c = getColor();
    glBindTexture(GL_TEXTURE_2D, _textures[0]);
    glColor4ub(c.r, c.g, c.b, static_cast<GLubyte>(drawAlpha()));
    glScaled(getWidth(), getHeight(), 1.0);
    glCallList(_renderList);
}

void StrokeLeafGL::specificRenderForPicking()
{
    if (!acceptsContacts() || _pickingList == 0)
        return;
    glScaled(getWidth(), getHeight(), 1.0);
    glCallList(_pickingList);
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
