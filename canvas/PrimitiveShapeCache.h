// PrimitiveShapeCache: the display lists the primitives of one scene share
// (dab fans, the tile, one quad per stroke texture), compiled the first time
// something draws them and freed with the scene.
#pragma once

#include "GLDisplayList.h"

#include <map>

class TabletopVis;

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

// Constructors and input handlers only read and enter CPU data here (the
// live point count, stroke rectangles); the list operations make GL calls
// and belong in drawing paths, with the scene's context current. The scene
// (TabletopVis::sharedResource) owns the cache and destroys it after its
// components, so the lists live exactly as long as the scene.
class PrimitiveShapeCache
{
public:
    // The cache of the scene.
    static PrimitiveShapeCache& of(TabletopVis& scene);

    // ---- Points ----
    // Live points of the scene (the first point takes shape 0).
    void addPoint() { ++_points; }
    void removePoint() { --_points; }
    int pointCount() const { return _points; }
    // The list of dab shape k (0 .. 15; render and picking alike). GL.
    unsigned pointList(int shape);

    // ---- Tiles ----
    unsigned tileList();   // GL

    // ---- Strokes ----
    // The rectangle strokes of this first texture use: the first stroke's
    // own, which later strokes of the texture take.
    const StrokeTextureRect& strokeRect(unsigned texture, const StrokeTextureRect& proposed);
    // The textured quad of a texture entered with strokeRect, and the
    // untextured picking quad. GL; 0 for a texture never entered.
    unsigned strokeList(unsigned texture);
    unsigned strokePickingList();

    // Lists compiled so far (0 until something has drawn).
    int listCount() const;

private:
    struct StrokeEntry
    {
        StrokeTextureRect rect;
        GLDisplayList list;
    };
    int _points = 0;
    GLDisplayList _pointLists;     // 16 consecutive lists
    GLDisplayList _tileList;
    GLDisplayList _strokePicking;
    std::map<unsigned, StrokeEntry> _strokes;
};
