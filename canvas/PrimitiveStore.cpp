// PrimitiveStore: dense per-kind handle arrays and the per-kind frame loops.
#include "PrimitiveStore.h"

#include "GeoStrokeLeafGL.h"
#include "PointLeafGL.h"
#include "StrokeLeafGL.h"
#include "TabletopVis.h"
#include "TileLeafGL.h"

#include <algorithm>

namespace {

PrimitiveStore::Kind kindOf(const PrimitiveLeafGL* p)
{
    if (dynamic_cast<const PointLeafGL*>(p) != nullptr)
        return PrimitiveStore::Points;
    if (dynamic_cast<const TileLeafGL*>(p) != nullptr)
        return PrimitiveStore::Tiles;
    if (dynamic_cast<const GeoStrokeLeafGL*>(p) != nullptr)
        return PrimitiveStore::Shapes;
    if (dynamic_cast<const StrokeLeafGL*>(p) != nullptr)
        return PrimitiveStore::Strokes;
    return PrimitiveStore::KindCount;   // another class: the scene steps it
}

// The primitive `Ahead` places on is fetched (its object) while this one
// is stepped; the one half as far on has its buffer cells fetched, its
// position being in cache by then.
template <typename Leaf, typename Step>
void loop(const std::vector<PrimitiveLeafGL*>& handles, const PrimitiveFrame& frame, const Step& step)
{
    constexpr std::size_t Ahead = 8;
    const std::size_t n = handles.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i + Ahead < n) {
            const char* object = reinterpret_cast<const char*>(handles[i + Ahead]);
            for (std::size_t line = 0; line < sizeof(Leaf); line += 64)
                __builtin_prefetch(object + line);
        }
        if (i + Ahead / 2 < n)
            handles[i + Ahead / 2]->prefetchCells(frame);
        step(static_cast<Leaf*>(handles[i]));
    }
}

} // namespace

PrimitiveStore::~PrimitiveStore()
{
    // Primitives that outlive the store are the scene's to step again.
    for (auto& handles : _kinds)
        for (PrimitiveLeafGL* p : handles) {
            p->_storeSlot = {};
            _scene.setSteppedByParent(p, false);
        }
    for (PrimitiveLeafGL* p : _pending)
        p->_storeSlot = {};
}

std::size_t PrimitiveStore::size() const
{
    std::size_t n = _pending.size();
    for (const auto& handles : _kinds)
        n += handles.size();
    return n;
}

bool PrimitiveStore::place(PrimitiveLeafGL* p)
{
    if (!_scene.setSteppedByParent(p, true))
        return false;
    const Kind kind = kindOf(p);
    p->_storeSlot = {kind, _kinds[kind].size()};
    _kinds[kind].push_back(p);
    return true;
}

void PrimitiveStore::add(PrimitiveLeafGL* p)
{
    if (p == nullptr || p->_storeSlot.kind != PrimitiveLeafGL::NotStored || kindOf(p) == KindCount)
        return;
    if (!place(p)) {
        p->_storeSlot = {PrimitiveLeafGL::Pending, _pending.size()};
        _pending.push_back(p);
    }
}

void PrimitiveStore::remove(PrimitiveLeafGL* p)
{
    if (p == nullptr || p->_storeSlot.kind == PrimitiveLeafGL::NotStored)
        return;
    const PrimitiveLeafGL::StoreSlot slot = p->_storeSlot;
    std::vector<PrimitiveLeafGL*>& handles = slot.kind == PrimitiveLeafGL::Pending ? _pending : _kinds[slot.kind];
    PrimitiveLeafGL* last = handles.back();
    handles[slot.index] = last;
    last->_storeSlot.index = slot.index;
    handles.pop_back();
    p->_storeSlot = {};
    if (slot.kind != PrimitiveLeafGL::Pending)
        _scene.setSteppedByParent(p, false);
}

void PrimitiveStore::placePending()
{
    for (std::size_t i = 0; i < _pending.size();) {
        PrimitiveLeafGL* p = _pending[i];
        if (!_scene.setSteppedByParent(p, true)) {
            ++i;
            continue;
        }
        remove(p);
        place(p);
    }
}

void PrimitiveStore::step(const PrimitiveFrame& frame, double dt)
{
    if (!_pending.empty())
        placePending();
    for (PrimitiveLeafGL* p : _kinds[Tiles])
        static_cast<TileLeafGL*>(p)->writeFootprint(frame);
    loop<PointLeafGL>(_kinds[Points], frame, [&](PointLeafGL* p) { p->step(frame, dt); });
    loop<StrokeLeafGL>(_kinds[Strokes], frame, [&](StrokeLeafGL* p) { p->stepCommon(frame, dt); });
    loop<TileLeafGL>(_kinds[Tiles], frame, [&](TileLeafGL* p) { p->step(frame, dt); });
}
