// PrimitiveStore: dense per-kind handle and state arrays, and the per-kind
// frame loops that run a primitive's full step only where its cells ask.
#include "PrimitiveStore.h"

#include "GeoStrokeLeafGL.h"
#include "PointLeafGL.h"
#include "PrimitiveStoreCells.h"
#include "StrokeLeafGL.h"
#include "TileLeafGL.h"

#include <algorithm>
#include <type_traits>

using namespace storecells;

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

} // namespace

// ---- Rows ----

void PrimitiveStore::Rows::push(PrimitiveLeafGL* p)
{
    forEachColumn([](auto& column) { column.emplace_back(); });
    handles.back() = p;
    id.back() = p->getId();
    flags.back() = Stale;
}

void PrimitiveStore::Rows::swapRemove(std::size_t i)
{
    forEachColumn([i](auto& column) {
        column[i] = column.back();
        column.pop_back();
    });
}

void PrimitiveStore::rebindPositions(Kind kind, std::size_t from, std::size_t to)
{
    Rows& r = _rows[kind];
    for (std::size_t i = from; i < to; ++i)
        r.handles[i]->keepPositionAt(r.position[i].data(), false);
}

void PrimitiveStore::refresh(Kind kind, std::size_t i, const Grid& grid)
{
    Rows& r = _rows[kind];
    const PrimitiveLeafGL& p = *r.handles[i];
    _displaced[kind] += refreshPlace(kind, i, grid);
    std::uint16_t flags = r.flags[i] & Inside;
    r.width[i] = p.getWidth();
    r.bufferColor[i] = packed(p._lastBufferColor);
    r.color[i] = packed(p.getColor().r, p.getColor().g, p.getColor().b);
    r.type[i] = p._primitiveType;
    if (p.getSizeProgress() == 1.0 && !p.hasPendingSizeTarget() && !p.isSizeAnimationEnding()
        && !p.isCurrentlyMagnified() && p.getUnscaledWidth() == p.getWidth()
        && p.getUnscaledHeight() == p.getHeight())
        flags |= Settled;
    const auto inRange = [](double s) {
        return s >= PrimitiveLeafGL::MinRelativeSize && s <= PrimitiveLeafGL::MaxRelativeSize;
    };
    if (inRange(p.getWidth()) && inRange(p.getHeight()))
        flags |= SizeInRange;
    if (p.turnAtRest())
        flags |= TurnAtRest;
    if (p._contextSelected)
        flags |= ContextSelected;
    if (p._changed)
        flags |= Changed;
    if (p._targetAngle == p._previousTargetAngle)
        flags |= TargetSettled;
    r.targetSourceX[i] = p._targetSource[0];
    r.targetSourceY[i] = p._targetSource[1];
    if (p._startLogged)
        flags |= StartLogged;
    if (p._life > PrimitiveLeafGL::EraseQueueLife)
        flags |= Alive;
    if (p.isAnimatingDirection())
        flags |= FollowsDirection;
    if (p.isAnimatingOrienation())
        flags |= FollowsOrientation;
    if (p.isAnimatingAbsoluteSize())
        flags |= FollowsAbsoluteSize;
    if (p.isAnimatingRelativeSize())
        flags |= FollowsRelativeSize;
    if (kind == Points)
        r.shape[i] = static_cast<const PointLeafGL&>(p).getShapeIndex();
    if (kind == Tiles && static_cast<const TileLeafGL&>(p).isDodging())
        flags |= Dodges;
    r.flags[i] = flags;
}

void PrimitiveStore::sortRows(Kind kind, const Grid& grid)
{
    // A counting sort by cell: rows outside the grid go last.
    Rows& r = _rows[kind];
    const std::size_t n = r.size();
    const std::size_t cells = static_cast<std::size_t>(grid.width) * static_cast<std::size_t>(grid.height);
    const auto key = [&](std::size_t i) { return (r.flags[i] & Inside) != 0 ? std::size_t{r.cell[i]} : cells; };
    std::vector<std::uint32_t> starts(cells + 2, 0);
    for (std::size_t i = 0; i < n; ++i)
        ++starts[key(i) + 1];
    for (std::size_t c = 1; c < starts.size(); ++c)
        starts[c] += starts[c - 1];
    std::vector<std::uint32_t> from(n);   // new row -> old row
    for (std::size_t i = 0; i < n; ++i)
        from[starts[key(i)]++] = static_cast<std::uint32_t>(i);
    r.forEachColumn([&from](auto& column) {
        std::remove_reference_t<decltype(column)> sorted;
        sorted.reserve(column.size());
        for (const std::uint32_t i : from)
            sorted.push_back(column[i]);
        column.swap(sorted);
    });
    for (std::size_t i = 0; i < n; ++i)
        r.handles[i]->_storeSlot.index = i;
    rebindPositions(kind, 0, n);
    if (kind == Tiles && n > 0)
        _bandSplit = static_cast<int>(std::clamp(r.centreY[n / 2], 0.0f, static_cast<float>(grid.height)));
    _displaced[kind] = 0;
    _sortedAt[kind] = _frame;
}

void PrimitiveStore::refreshStale(const Grid& grid)
{
    const bool moved = grid.key != _gridKey;
    if (moved)
        _gridKey = grid.key;
    for (int kind = 0; kind < KindCount; ++kind) {
        if (!moved && !_staleMarked[kind])
            continue;
        _staleMarked[kind] = false;
        Rows& r = _rows[kind];
        for (std::size_t i = 0; i < r.size(); ++i)
            if (moved || (r.flags[i] & Stale) != 0)
                refresh(static_cast<Kind>(kind), i, grid);
    }
}

// ---- Membership ----

PrimitiveStore::~PrimitiveStore()
{
    // Primitives that outlive the store are the scene's to step again.
    for (Rows& rows : _rows)
        for (PrimitiveLeafGL* p : rows.handles) {
            p->_storeSlot = {};
            p->keepPositionAt(nullptr);
            _scene.setSteppedByParent(p, false);
        }
    for (PrimitiveLeafGL* p : _pending)
        p->_storeSlot = {};
}

std::size_t PrimitiveStore::size() const
{
    std::size_t n = _pending.size();
    for (const Rows& rows : _rows)
        n += rows.size();
    return n;
}

bool PrimitiveStore::place(PrimitiveLeafGL* p)
{
    if (!_scene.setSteppedByParent(p, true))
        return false;
    const Kind kind = kindOf(p);
    Rows& r = _rows[kind];
    p->_storeSlot = {kind, r.size(), this};
    const bool grows = r.position.size() == r.position.capacity();
    r.push(p);
    _staleMarked[kind] = true;
    // The other primitives' positions moved with the array.
    if (grows)
        rebindPositions(kind, 0, r.size() - 1);
    p->keepPositionAt(r.position.back().data());
    ++_displaced[kind];
    return true;
}

void PrimitiveStore::add(PrimitiveLeafGL* p)
{
    if (p == nullptr || p->_storeSlot.kind != PrimitiveLeafGL::NotStored || kindOf(p) == KindCount)
        return;
    if (!place(p)) {
        p->_storeSlot = {PrimitiveLeafGL::Pending, _pending.size(), this};
        _pending.push_back(p);
    }
}

void PrimitiveStore::remove(PrimitiveLeafGL* p)
{
    if (p == nullptr || p->_storeSlot.kind == PrimitiveLeafGL::NotStored)
        return;
    const PrimitiveLeafGL::StoreSlot slot = p->_storeSlot;
    p->_storeSlot = {};
    if (slot.kind == PrimitiveLeafGL::Pending) {
        _pending[slot.index] = _pending.back();
        _pending[slot.index]->_storeSlot.index = slot.index;
        _pending.pop_back();
        return;
    }
    Rows& rows = _rows[slot.kind];
    p->keepPositionAt(nullptr);
    rows.swapRemove(slot.index);
    if (slot.index < rows.size()) {
        rows.handles[slot.index]->_storeSlot.index = slot.index;
        rebindPositions(static_cast<Kind>(slot.kind), slot.index, slot.index + 1);
    }
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

// ---- The frame ----

void PrimitiveStore::splitRun(std::size_t rows, const std::function<void(int)>& part)
{
    _chunks.next.store(0, std::memory_order_relaxed);
    if (rows >= SplitFrom) {
        _partner.run(part);
    } else {
        part(0);
        part(1);
    }
}

template <PrimitiveStore::Kind K>
void PrimitiveStore::findFull(const Cells& cells, std::size_t from, std::size_t to, std::vector<std::uint32_t>& full)
{
    constexpr std::size_t Ahead = 32;
    const Rows& r = _rows[K];
    // Whether row i's cells decide its frame (for a tile, unless it takes
    // the step with its push).
    const auto checked = [this](std::size_t i) { return K != Tiles || _tileSteps[i] != TileStep::Pushed; };
    for (std::size_t i = from; i < to; ++i) {
        if (const std::size_t ahead = i + Ahead; ahead < to && (r.flags[ahead] & Inside) != 0 && checked(ahead))
            cells.prefetch<K>(r.cell[ahead]);
        if (!checked(i)) {
            full.push_back(static_cast<std::uint32_t>(i));
            continue;
        }
        if constexpr (K == Tiles) {
            // Its move is all its push asked, and its temporary colour was
            // read where it was: the common step follows where it is now
            // unless idle there.
            if (_tileSteps[i] == TileStep::Moved) {
                if (!commonStepIdle(cells, r, i, r.cell[i])) {
                    _tileSteps[i] = TileStep::MovedThenStep;
                    full.push_back(static_cast<std::uint32_t>(i));
                }
                continue;
            }
        }
        const std::uint16_t flags = r.flags[i];
        bool idle = cells.usable;
        if (idle && cells.logsStarts && (flags & StartLogged) == 0)
            idle = false;
        const bool current = cells.hasControl && r.type[i] == cells.currentType;
        if (idle && current) {
            const std::uint32_t c = r.cell[i];
            idle = commonStepIdle(cells, r, i, c);
            if constexpr (K == Points)
                idle = idle && (cells.speed == nullptr || cells.speed[c] == r.shape[i])
                    && tempColorIdle(cells, c, r.color[i]);
            if constexpr (K == Tiles)
                idle = idle && tempColorIdle(cells, c, r.color[i]);
        }
        if (!idle)
            full.push_back(static_cast<std::uint32_t>(i));
    }
}

template <PrimitiveStore::Kind K>
void PrimitiveStore::stepKind(const PrimitiveFrame& frame, const Cells& cells, const Grid& grid, double dt)
{
    Rows& r = _rows[K];
    const std::size_t n = r.size();
    if constexpr (K == Tiles)
        pushTiles(frame, cells, grid);
    // The rows whose cells ask for the full step, found chunk by chunk: the
    // parts take chunks from either end (forChunks), so neither waits on the
    // other where one end holds more of the rows that are looked at. The
    // lists put together in the chunks' order keep the row order.
    const std::size_t chunk = std::max<std::size_t>(1024, (n + FullChunks - 1) / FullChunks);
    splitRun(n, [&](int part) {
        Part& own = _parts[part];
        own.full.clear();
        own.fullStarts.clear();
        forChunks(n, chunk, part, [&](std::size_t from, std::size_t to) {
            own.fullStarts.push_back(own.full.size());
            findFull<K>(cells, from, to, own.full);
        });
    });
    // The first part's chunks came front to back, the second's back to front.
    _full.assign(_parts[0].full.begin(), _parts[0].full.end());
    const Part& back = _parts[1];
    for (std::size_t c = back.fullStarts.size(); c-- > 0;) {
        const std::size_t end = c + 1 < back.fullStarts.size() ? back.fullStarts[c + 1] : back.full.size();
        _full.insert(_full.end(), back.full.begin() + static_cast<std::ptrdiff_t>(back.fullStarts[c]),
                     back.full.begin() + static_cast<std::ptrdiff_t>(end));
    }
    // The full steps run in row order, as a loop over every row would.
    constexpr std::size_t FullAhead = 8;
    for (std::size_t k = 0; k < _full.size(); ++k) {
        // The primitive a few full steps on and its cells start loading.
        if (k + FullAhead < _full.size()) {
            const std::uint32_t next = _full[k + FullAhead];
            const char* object = reinterpret_cast<const char*>(r.handles[next]);
            for (std::size_t line = 0; line < 256; line += 64)
                __builtin_prefetch(object + line);
            if ((r.flags[next] & Inside) != 0)
                cells.prefetch<K>(r.cell[next]);
        }
        const std::uint32_t i = _full[k];
        PrimitiveLeafGL* p = r.handles[i];
        if constexpr (K == Points) {
            static_cast<PointLeafGL*>(p)->step(frame, dt);
        } else if constexpr (K == Strokes) {
            p->stepCommon(frame, dt);
        } else {
            auto* tile = static_cast<TileLeafGL*>(p);
            switch (_tileSteps[i]) {
            case TileStep::Own:
                tile->step(frame, dt);
                break;
            case TileStep::MovedThenStep:
                tile->stepCommon(frame, dt);
                break;
            case TileStep::Unpushed:
                tile->stepPushed(frame, dt, 0.0, 0.0);
                break;
            default:
                tile->stepPushed(frame, dt, _pushes[2 * i], _pushes[2 * i + 1]);
                break;
            }
        }
        refresh(K, i, grid);
    }
    _lastFullSteps += _full.size();
}

void PrimitiveStore::step(const PrimitiveFrame& frame, double dt)
{
    if (!_pending.empty())
        placePending();
    const Grid grid(_canvas);
    refreshStale(grid);
    ++_frame;
    for (Kind kind : {Points, Strokes, Tiles})
        if (_rows[kind].size() >= SortedRowsFrom && _displaced[kind] * 8 > _rows[kind].size()
            && (_sortedAt[kind] == 0 || _frame - _sortedAt[kind] >= FramesBetweenSorts))
            sortRows(kind, grid);
    const Cells cells(frame, grid);
    _lastFullSteps = 0;
    stepKind<Points>(frame, cells, grid, dt);
    stepKind<Strokes>(frame, cells, grid, dt);
    stepKind<Tiles>(frame, cells, grid, dt);
}
