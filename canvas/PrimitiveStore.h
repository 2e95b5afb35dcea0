// PrimitiveStore: the canvas's primitives by kind, in contiguous arrays of
// handles, and the frame step that runs one loop per kind over them.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <vector>

class PrimitiveLeafGL;
class TabletopVis;
struct PrimitiveFrame;

// Points, strokes, tiles and stroke shapes are stored (other classes are
// left to the scene). Each primitive knows its slot (kind, index). Removal moves the last
// primitive of the kind into the hole and updates its slot, so every other
// primitive keeps a valid slot and the arrays stay dense. A primitive the
// scene does not own yet waits in a pending list until it does.
//
// Primitives in the arrays are left out of the scene's own frame passes
// (TabletopVis::setSteppedByParent): step() runs their frame instead, with
// the buffers resolved once for all of them.
class PrimitiveStore
{
public:
    enum Kind
    {
        Points,
        Strokes,
        Tiles,
        Shapes,
        KindCount
    };

    explicit PrimitiveStore(TabletopVis& scene) : _scene(scene) {}
    ~PrimitiveStore();
    PrimitiveStore(const PrimitiveStore&) = delete;
    PrimitiveStore& operator=(const PrimitiveStore&) = delete;

    void add(PrimitiveLeafGL* primitive);
    void remove(PrimitiveLeafGL* primitive);
    std::span<PrimitiveLeafGL* const> of(Kind kind) const { return _kinds[kind]; }
    std::size_t size() const;
    std::size_t pendingCount() const { return _pending.size(); }

    // One frame of every stored primitive, as the scene's passes would run
    // it: the tiles' footprints, then the animation of points, strokes and
    // tiles (stroke shapes do not animate), a loop per kind that prefetches
    // the primitives ahead.
    void step(const PrimitiveFrame& frame, double dt);

private:
    // Into its kind's array when the scene owns it; false otherwise.
    bool place(PrimitiveLeafGL* primitive);
    void placePending();

    TabletopVis& _scene;
    std::array<std::vector<PrimitiveLeafGL*>, KindCount> _kinds;
    std::vector<PrimitiveLeafGL*> _pending;
};
