// PrimitiveShapeCache: compiling the shared primitive shapes on first use.
#include "PrimitiveShapeCache.h"

#include "PrimitiveShapes.h"
#include "TabletopVis.h"

#include <GL/gl.h>

using PrimitiveShapes::StrokeQuad;

PrimitiveShapeCache& PrimitiveShapeCache::of(TabletopVis& scene)
{
    return scene.sharedResource<PrimitiveShapeCache>();
}

unsigned PrimitiveShapeCache::pointList(int shape)
{
    if (shape < 0 || shape >= PrimitiveShapes::PointShapeCount)
        return 0;
    if (_pointLists.empty()) {
        if (!_pointLists.generate(PrimitiveShapes::PointShapeCount))
            return 0;
        for (int k = 0; k < PrimitiveShapes::PointShapeCount; ++k) {
            _pointLists.beginCompile(k);
            glBegin(GL_TRIANGLE_FAN);
            for (const PrimitiveShapes::Point2f& p : PrimitiveShapes::pointShapes()[k])
                glVertex2f(p.x, p.y);
            glEnd();
            GLDisplayList::endCompile();
        }
    }
    return _pointLists.id(shape);
}

unsigned PrimitiveShapeCache::tileList()
{
    if (_tileList.empty()) {
        if (!_tileList.generate(1))
            return 0;
        _tileList.beginCompile();
        glEnable(GL_LIGHTING);
        glBegin(GL_QUADS);
        for (const PrimitiveShapes::LitVertex& v : PrimitiveShapes::tileFaces()) {
            glNormal3f(v.nx, v.ny, v.nz);
            glVertex2f(v.x, v.y);
        }
        glEnd();
        glDisable(GL_LIGHTING);
        GLDisplayList::endCompile();
    }
    return _tileList.id();
}

const StrokeTextureRect& PrimitiveShapeCache::strokeRect(unsigned texture, const StrokeTextureRect& proposed)
{
    const auto [entry, made] = _strokes.try_emplace(texture);
    if (made)
        entry->second.rect = proposed;
    return entry->second.rect;
}

unsigned PrimitiveShapeCache::strokeList(unsigned texture)
{
    const auto found = _strokes.find(texture);
    if (found == _strokes.end())
        return 0;
    StrokeEntry& entry = found->second;
    if (entry.list.empty()) {
        if (!entry.list.generate(1))
            return 0;
        const StrokeTextureRect& r = entry.rect;
        entry.list.beginCompile();
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glBegin(GL_QUADS);
        for (const PrimitiveShapes::Point2f& p : StrokeQuad) {
            glTexCoord2f(p.x < 0.0f ? r.s0 : r.s1, p.y < 0.0f ? r.t0 : r.t1);
            glVertex2f(p.x, p.y);
        }
        glEnd();
        glDisable(GL_TEXTURE_2D);
        GLDisplayList::endCompile();
    }
    return entry.list.id();
}

unsigned PrimitiveShapeCache::strokePickingList()
{
    if (_strokePicking.empty()) {
        if (!_strokePicking.generate(1))
            return 0;
        _strokePicking.beginCompile();
        glBegin(GL_QUADS);
        for (const PrimitiveShapes::Point2f& p : StrokeQuad)
            glVertex2f(p.x, p.y);
        glEnd();
        GLDisplayList::endCompile();
    }
    return _strokePicking.id();
}

int PrimitiveShapeCache::listCount() const
{
    int count = _pointLists.count() + _tileList.count() + _strokePicking.count();
    for (const auto& [texture, entry] : _strokes)
        count += entry.list.count();
    return count;
}
