// PrimitiveStore: dense per-kind handle and state arrays, and the per-kind
// frame loops that run a primitive's full step only where its cells ask.
#include "PrimitiveStore.h"

#include "CellFrame.h"
#include "GeoStrokeLeafGL.h"
#include "PointLeafGL.h"
#include "PrimitiveLogger.h"
#include "StrokeLeafGL.h"
#include "TabletopVis.h"
#include "TileLeafGL.h"

#include <algorithm>
#include <type_traits>

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

std::uint32_t packed(unsigned char r, unsigned char g, unsigned char b)
{
    return static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b) << 16;
}

std::uint32_t packed(const unsigned char* rgb) { return packed(rgb[0], rgb[1], rgb[2]); }

template <typename T>
const T* cellsOf(const BufferTemplate<T>* buffer)
{
    return buffer != nullptr ? buffer->cells() : nullptr;
}

} // namespace

// The canvas's buffer grid the rows' cells are computed in, and the
// geometry that decides them: when any of it changes every row is stale.
struct PrimitiveStore::Grid
{
    int width = 0;
    int height = 0;
    CellFrame frame;
    std::array<double, 10> key;

    explicit Grid(const VisComponent& canvas)
        : width(canvas.getBufferWidth())
        , height(canvas.getBufferHeight())
        , frame(canvas)
        , key{frame.x,      frame.y,      frame.width,  frame.height, canvas.getRotation(), frame.margin,
              frame.cellsX, frame.cellsY, static_cast<double>(width), static_cast<double>(height)}
    {
    }
};

// The frame's buffers as raw cell arrays on the grid; usable is false when
// a buffer has another size than the grid (every row then takes the full
// step).
struct PrimitiveStore::Cells
{
    const PrimitiveFrame* frame;
    bool usable = true;
    bool hasControl = false;
    int currentType = 0;
    bool logsStarts = false;
    const float* erase = nullptr;
    const unsigned char* color = nullptr;   // only while drop-off weights exist
    const bool* contextSelection = nullptr;
    const float* direction = nullptr;
    const float* tempOrientation = nullptr;
    const float* size = nullptr;
    const float* sizeDiff = nullptr;
    const int* speed = nullptr;
    const unsigned char* tempColor = nullptr;

    Cells(const PrimitiveFrame& f, const Grid& grid)
        : frame(&f)
        , hasControl(f.hasControl)
        , currentType(f.currentType)
        , logsStarts(PrimitiveLogger::instance().isRecording())
        , erase(cellsOf(f.erase))
        , color(f.hasDropoff ? cellsOf(f.color) : nullptr)
        , contextSelection(cellsOf(f.contextSelection))
        , direction(cellsOf(f.direction))
        , tempOrientation(cellsOf(f.tempOrientation))
        , size(cellsOf(f.size))
        , sizeDiff(cellsOf(f.sizeDiff))
        , speed(cellsOf(f.speed))
        , tempColor(cellsOf(f.tempColor))
    {
        const auto fits = [&grid](const AbstractBuffer* b, int values) {
            return b == nullptr
                || (b->getWidth() == grid.width && b->getHeight() == grid.height && b->getDimension() == values);
        };
        usable = fits(f.erase, 1) && fits(f.color, 3) && fits(f.contextSelection, 1) && fits(f.direction, 2)
              && fits(f.tempOrientation, 2) && fits(f.size, 1) && fits(f.sizeDiff, 1) && fits(f.speed, 1)
              && fits(f.tempColor, 3);
    }

    // Starts loading the cells a primitive of kind K reads at cell c.
    template <PrimitiveStore::Kind K>
    void prefetch(std::uint32_t c) const
    {
        const auto at = [](const auto* cells, std::size_t i) {
            if (cells != nullptr)
                __builtin_prefetch(cells + i);
        };
        at(erase, c);
        at(color, 3 * std::size_t{c});
        at(contextSelection, c);
        at(direction, 2 * std::size_t{c});
        at(tempOrientation, 2 * std::size_t{c});
        at(size, c);
        at(sizeDiff, c);
        if constexpr (K == PrimitiveStore::Points)
            at(speed, c);
        if constexpr (K != PrimitiveStore::Strokes)
            at(tempColor, 3 * std::size_t{c});
    }
};

namespace {

using Flag = PrimitiveStore::RowFlag;

// Whether the common step would leave the primitive exactly as it is: no
// erasing, no new colour or selection, no move, turn or resize, no easing.
// Anything else (also a stale row) takes the full step.
template <typename Cells, typename Row>
[[gnu::always_inline]] inline bool commonStepIdle(const Cells& f, const Row& r, std::size_t i, std::uint32_t c)
{
    const std::uint16_t flags = r.flags[i];
    if ((flags & (Flag::Stale | Flag::Inside | Flag::Settled)) != (Flag::Inside | Flag::Settled))
        return false;
    if (f.erase != nullptr && ((flags & Flag::Alive) == 0 || static_cast<int>(2.0f * f.erase[c]) != 0))
        return false;
    if (f.color != nullptr && packed(f.color + 3 * std::size_t{c}) != r.bufferColor[i])
        return false;
    if (f.contextSelection != nullptr && f.contextSelection[c] != ((flags & Flag::ContextSelected) != 0))
        return false;
    if (f.direction != nullptr && (flags & Flag::FollowsDirection) != 0
        && (f.direction[2 * c] != 0.0f || f.direction[2 * c + 1] != 0.0f))
        return false;
    if (f.tempOrientation != nullptr && (flags & Flag::FollowsOrientation) != 0) {
        // A vector gives the target angle it gave last time, which is
        // already the previous one.
        const float ox = f.tempOrientation[2 * c];
        const float oy = f.tempOrientation[2 * c + 1];
        const double squared = static_cast<double>(ox) * ox + static_cast<double>(oy) * oy;
        if (squared > PrimitiveLeafGL::MinOrientationSquared
            && (ox != r.targetSourceX[i] || oy != r.targetSourceY[i] || (flags & Flag::TargetSettled) == 0))
            return false;
        if ((flags & Flag::TurnAtRest) == 0)
            return false;
    }
    // A relative size difference replaces an absolute size target; the
    // absolute one then only sets hasChanged, which may already be set.
    const bool relative = f.sizeDiff != nullptr && (flags & Flag::FollowsRelativeSize) != 0;
    if (relative && (f.sizeDiff[c] != 0.0f || (flags & Flag::SizeInRange) == 0))
        return false;
    if (f.size != nullptr && (flags & Flag::FollowsAbsoluteSize) != 0 && f.size[c] != r.width[i]
        && !(relative && (flags & Flag::Changed) != 0))
        return false;
    return true;
}

// The temporary colour changes nothing when neutral or already taken.
template <typename Cells>
[[gnu::always_inline]] inline bool tempColorIdle(const Cells& f, std::uint32_t c, std::uint32_t color)
{
    const unsigned char* t = f.tempColor != nullptr ? f.tempColor + 3 * std::size_t{c} : nullptr;
    return t == nullptr || t[0] == 127 || packed(t) == color;
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

inline bool PrimitiveStore::refreshPlace(Kind kind, std::size_t i, const Grid& grid)
{
    // A stored primitive is a child of the canvas: its cells are the
    // grid's (PrimitiveLeafGL::bufferCell, TileLeafGL::fractionalCell).
    Rows& r = _rows[kind];
    double lx = 0.0;
    double ly = 0.0;
    grid.frame.local(r.position[i][0], r.position[i][1], lx, ly);
    int bx = 0;
    int by = 0;
    grid.frame.cell(lx, ly, bx, by);
    r.flags[i] &= static_cast<std::uint16_t>(~(Stale | Inside));
    bool displaced = false;
    if (bx >= 0 && by >= 0 && bx < grid.width && by < grid.height) {
        r.flags[i] |= Inside;
        const auto cell = static_cast<std::uint32_t>(by * grid.width + bx);
        displaced = cell != r.cell[i];
        r.cell[i] = cell;
    }
    if (kind == Tiles)
        grid.frame.fraction(lx, ly, r.centreX[i], r.centreY[i]);
    return displaced;
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

float* PrimitiveStore::prepareFootprints(const PrimitiveFrame& frame, const Grid& grid)
{
    // The store clears the cells it wrote last frame instead of the canvas
    // the whole buffer: there are far fewer footprints than cells. Whoever
    // else writes the buffer marks it, and the canvas then clears it all.
    // It is the canvas's own buffer: a frame holds it read-only for
    // everyone else.
    auto* dodging = const_cast<BufferTemplate<float>*>(frame.dodging);
    const bool same = dodging != nullptr && dodging == _footprintBuffer && dodging->getDimension() == 2
                   && dodging->getCellCount() == _footprintOwners.size();
    _footprintCells = same ? dodging->cells() : nullptr;
    const Rows& r = _rows[Tiles];
    const bool fits = dodging != nullptr && dodging->getWidth() == grid.width && dodging->getHeight() == grid.height
                   && dodging->getDimension() == 2;
    if (!fits || !frame.hasControl) {
        forget(_parts[0]);
        forget(_parts[1]);
        _footprintCells = nullptr;
        if (dodging == nullptr || !frame.hasControl)
            return nullptr;
        // Where two tiles share a cell the newer one's footprint is the one
        // their neighbours see, whatever the order of the rows.
        std::vector<std::pair<unsigned long, std::size_t>> byAge;
        for (std::size_t i = 0; i < r.size(); ++i)
            if (r.type[i] == frame.currentType)
                byAge.emplace_back(r.id[i], i);
        std::sort(byAge.begin(), byAge.end());
        for (const auto& [id, i] : byAge)
            static_cast<TileLeafGL*>(r.handles[i])->writeFootprint(frame);
        return nullptr;
    }
    const std::size_t cellCount = static_cast<std::size_t>(grid.width) * static_cast<std::size_t>(grid.height);
    if (_footprintOwners.size() != cellCount) {
        _footprintOwners.assign(cellCount, 0);
        _parts[0].ownedCells.clear();
        _parts[1].ownedCells.clear();
    }
    _footprintBuffer = dodging;
    _footprintCells = dodging->cells();
    // Each part writes the cells of its band of the grid's rows, so every
    // cell has one writer; the bands part where the rows of the two halves
    // met when the rows were last put in cell order. A part clears its own
    // cells of the last frame itself, unless the bands have moved since.
    const int split = _bandSplit < 0 ? grid.height / 2 : std::min(_bandSplit, grid.height);
    if (split != _bands) {
        forget(_parts[0]);
        forget(_parts[1]);
        _bands = split;
    }
    return _footprintCells;
}

void PrimitiveStore::forget(Part& own)
{
    for (const std::uint32_t c : own.ownedCells) {
        _footprintOwners[c] = 0;
        if (_footprintCells != nullptr) {
            _footprintCells[2 * std::size_t{c}] = 0.0f;
            _footprintCells[2 * std::size_t{c} + 1] = 0.0f;
        }
    }
    own.ownedCells.clear();
}

inline void PrimitiveStore::writeFootprint(Part& own, std::size_t i, const Grid& grid, float cx, float cy)
{
    const Rows& r = _rows[Tiles];
    const auto c = static_cast<std::uint32_t>(static_cast<int>(cy) * grid.width + static_cast<int>(cx));
    unsigned long& owner = _footprintOwners[c];
    if (owner > r.id[i])
        return;
    if (owner == 0)
        own.ownedCells.push_back(c);
    owner = r.id[i];
    _footprintCells[2 * std::size_t{c}] = cx;
    _footprintCells[2 * std::size_t{c} + 1] = cy;
}

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

inline PrimitiveStore::TileStep PrimitiveStore::moveByPush(const Cells& cells, std::size_t i, const double push[2],
                                                           const Grid& grid, std::size_t& displaced)
{
    // The push moves the tile, its temporary colour is read where it was,
    // the common step runs where it is now. A move changes only the row's
    // place, so when the common step is idle at the new cell (pushTiles
    // looks) the move was the whole frame.
    Rows& r = _rows[Tiles];
    const std::uint16_t flags = r.flags[i];
    if ((flags & (Stale | Inside)) != Inside || (cells.logsStarts && (flags & StartLogged) == 0)
        || !tempColorIdle(cells, r.cell[i], r.color[i])) {
        // The step with the push runs it later.
        _pushes[2 * i] = push[0];
        _pushes[2 * i + 1] = push[1];
        return TileStep::Pushed;
    }
    double dx = 0.0;
    double dy = 0.0;
    TileLeafGL::awayStep(grid.frame, push[0], push[1], dx, dy);
    // VisComponent::moveBy on the row's position; the row is brought up to
    // date here, so nothing needs to mark it stale.
    r.position[i][0] += dx;
    r.position[i][1] += dy;
    displaced += refreshPlace(Tiles, i, grid);
    return TileStep::Moved;
}

void PrimitiveStore::pushTiles(const PrimitiveFrame& frame, const Cells& cells, const Grid& grid)
{
    // The sums read only the dodging buffer, which no step writes, and a
    // move changes only its own tile, so all of them run here before the
    // other steps: the footprints and windows, then the sums with the
    // moves. Each of these is split in two parts that share nothing they
    // write (splitRun).
    const std::size_t n = _rows[Tiles].size();
    // Only the rows with a window get a push.
    _pushes.resize(2 * n);
    _tileSteps.assign(n, TileStep::Own);
    const bool footprints = prepareFootprints(frame, grid) != nullptr;
    const bool windows = cells.usable && cells.hasControl;
    splitRun(n, [&](int part) { scanTiles(frame, cells, grid, footprints, windows, part); });
    const std::size_t count = _parts[0].windowCount + _parts[1].windowCount;
    // Many tiles make the fields pay; a few scan their windows.
    _fieldSums = frame.dodging != nullptr && count * CellsPerFieldTile >= frame.dodging->getCellCount();
    if (_fieldSums)
        orderWindows(static_cast<std::size_t>(frame.dodging->getHeight()));
    // Each part writes the footprints the other found in its band, and
    // places its windows in the order of first rows.
    if (_fieldSums || !_parts[0].strays.empty() || !_parts[1].strays.empty())
        splitRun(n, [&](int part) {
            Part& own = _parts[part];
            for (const std::uint32_t i : _parts[1 - part].strays)
                writeFootprint(own, i, grid, _rows[Tiles].centreX[i], _rows[Tiles].centreY[i]);
            if (_fieldSums)
                for (const TileWindow& t : std::span<const TileWindow>(own.windows.data(), own.windowCount))
                    _windowsByTop[own.tops[static_cast<std::size_t>(t.w.y0)]++] = t;
        });
    if (count == 0)
        return;
    splitRun(n, [&](int part) { sumPushes(frame, cells, grid, part); });
    _displaced[Tiles] += _parts[0].displaced + _parts[1].displaced;
}

void PrimitiveStore::scanTiles(const PrimitiveFrame& frame, const Cells& cells, const Grid& grid, bool footprints,
                               bool windows, int part)
{
    const Rows& r = _rows[Tiles];
    Part& own = _parts[part];
    const std::size_t n = r.size();
    const std::size_t from = part == 0 ? 0 : n / 2;
    const std::size_t to = part == 0 ? n / 2 : n;
    if (footprints)
        forget(own);
    own.strays.clear();
    if (own.windows.size() < to - from)
        own.windows.resize(to - from);
    own.tops.assign(frame.dodging != nullptr ? static_cast<std::size_t>(frame.dodging->getHeight()) + 1 : 0, 0);
    const float width = static_cast<float>(grid.width);
    const float height = static_cast<float>(grid.height);
    const float bandTop = part == 0 ? 0.0f : static_cast<float>(_bands);
    const float bandBottom = part == 0 ? static_cast<float>(_bands) : height;
    // The counts stay in locals: a footprint's owner is stored through an
    // unsigned long, which could otherwise be the part's count.
    std::size_t count = 0;
    int tallest = 0;
    TileWindow* out = own.windows.data();
    std::uint32_t* tops = own.tops.data();
    const std::uint16_t* flags = r.flags.data();
    for (std::size_t i = from; i < to; ++i) {
        if (r.type[i] != cells.currentType)
            continue;
        const float cx = r.centreX[i];
        const float cy = r.centreY[i];
        // The footprint at the centre's cell, in this part's band or the
        // other's.
        if (footprints && cx >= 0.0f && cy >= 0.0f && cx < width && cy < height) {
            if (cy >= bandTop && cy < bandBottom)
                writeFootprint(own, i, grid, cx, cy);
            else
                own.strays.push_back(static_cast<std::uint32_t>(i));
        }
        if (!windows || (flags[i] & Stale) != 0)
            continue;
        _tileSteps[i] = TileStep::Unpushed;
        // A window may be empty (a tile beyond the buffer): no push.
        TileWindow& t = out[count];
        if ((flags[i] & Dodges) != 0 && TileLeafGL::dodgeWindow(frame, cx, cy, _scene, t.w) && t.w.x0 < t.w.x1
            && t.w.y0 < t.w.y1) {
            t.row = static_cast<std::uint32_t>(i);
            tallest = std::max(tallest, t.w.y1 - t.w.y0);
            ++tops[static_cast<std::size_t>(t.w.y0)];
            ++count;
        }
    }
    own.windowCount = count;
    own.tallest = tallest;
}

void PrimitiveStore::orderWindows(std::size_t rows)
{
    // A counting sort by first row, stable: within a row the first part's
    // windows come first, each in row order. Each part then places its own
    // windows.
    std::vector<std::uint32_t>& first = _parts[0].tops;
    std::vector<std::uint32_t>& second = _parts[1].tops;
    std::uint32_t place = 0;
    for (std::size_t y = 0; y < rows; ++y) {
        const std::uint32_t a = first[y];
        const std::uint32_t b = second[y];
        first[y] = place;
        second[y] = place + a;
        place += a + b;
    }
    if (_windowsByTop.size() < place)
        _windowsByTop.resize(place);
}

const PrimitiveStore::TileWindow& PrimitiveStore::windowAt(std::size_t k) const
{
    const std::size_t firstCount = _parts[0].windowCount;
    return k < firstCount ? _parts[0].windows[k] : _parts[1].windows[k - firstCount];
}

template <typename F>
void PrimitiveStore::forChunks(std::size_t count, std::size_t size, const F& work)
{
    for (std::size_t c = 0; (c = _chunks.next.fetch_add(1, std::memory_order_relaxed)) * size < count;)
        work(c * size, std::min(count, (c + 1) * size));
}

void PrimitiveStore::sumPushes(const PrimitiveFrame& frame, const Cells& cells, const Grid& grid, int part)
{
    // With the fields, the windows are taken in order of their first row in
    // a few chunks; a part's field goes on at each chunk's first row. Each
    // push moves its tile as soon as it is summed: no sum reads another
    // tile's row, only the footprints, which stay as they are.
    const Rows& r = _rows[Tiles];
    Part& own = _parts[part];
    DodgeField& field = own.field;
    own.moved.clear();
    std::size_t displaced = 0;
    const std::size_t total = _parts[0].windowCount + _parts[1].windowCount;
    const int tallest = std::max(_parts[0].tallest, _parts[1].tallest);
    const auto window = [&](std::size_t k) -> const TileWindow& {
        return _fieldSums ? _windowsByTop[k] : windowAt(k);
    };
    const std::size_t chunk = std::max<std::size_t>(1024, (total + SumChunks - 1) / SumChunks);
    bool started = false;
    forChunks(total, chunk, [&](std::size_t from, std::size_t to) {
        // A part's chunks come in order of their first rows.
        if (_fieldSums && !started)
            field.start(*frame.dodging, tallest, _parts[0].ownedCells.size() + _parts[1].ownedCells.size(),
                        window(from).w.y0);
        else if (_fieldSums)
            field.resume(window(from).w.y0);
        started = true;
        const std::size_t firstMoved = own.moved.size();
        for (std::size_t k = from; k < to; ++k) {
            const TileWindow& t = window(k);
            const std::uint32_t i = t.row;
            const float cx = r.centreX[i];
            const float cy = r.centreY[i];
            double push[2];
            if (!_fieldSums || !field.sum(cx, cy, t.w.x0, t.w.x1, t.w.y0, t.w.y1, push[0], push[1]))
                TileLeafGL::dodgeSum(frame, cx, cy, _scene, push[0], push[1]);
            if (push[0] == 0.0 && push[1] == 0.0)
                continue;
            _tileSteps[i] = moveByPush(cells, i, push, grid, displaced);
            if (_tileSteps[i] == TileStep::Moved)
                own.moved.push_back(i);
        }
        checkMoved(cells, own.moved, firstMoved);
    });
    own.displaced = displaced;
}

void PrimitiveStore::checkMoved(const Cells& cells, const std::vector<std::uint32_t>& moved, std::size_t from)
{
    // Whether the common step is idle where each moved tile is now: its new
    // cell is known by then, so the cells of the tiles a few moves on start
    // loading while one is looked at.
    const Rows& r = _rows[Tiles];
    constexpr std::size_t Ahead = 16;
    for (std::size_t k = from; k < moved.size(); ++k) {
        if (k + Ahead < moved.size())
            cells.prefetch<Tiles>(r.cell[moved[k + Ahead]]);
        const std::uint32_t i = moved[k];
        if ((r.flags[i] & Inside) == 0 || !commonStepIdle(cells, r, i, r.cell[i]))
            _tileSteps[i] = TileStep::MovedThenStep;
    }
}

template <PrimitiveStore::Kind K>
void PrimitiveStore::findFull(const Cells& cells, std::size_t from, std::size_t to,
                              std::vector<std::uint32_t>& full) const
{
    constexpr std::size_t Ahead = 32;
    const Rows& r = _rows[K];
    // Whether row i's cells decide its frame (for a tile, unless its push
    // has decided it already).
    const auto checked = [this](std::size_t i) {
        return K != Tiles || _tileSteps[i] == TileStep::Own || _tileSteps[i] == TileStep::Unpushed;
    };
    for (std::size_t i = from; i < to; ++i) {
        if (const std::size_t ahead = i + Ahead; ahead < to && (r.flags[ahead] & Inside) != 0 && checked(ahead))
            cells.prefetch<K>(r.cell[ahead]);
        if (!checked(i)) {
            if constexpr (K == Tiles)
                if (_tileSteps[i] != TileStep::Moved)
                    full.push_back(static_cast<std::uint32_t>(i));
            continue;
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
    // The rows whose cells ask for the full step, each part of the split
    // checking half of the rows; their lists one after the other keep the
    // row order.
    splitRun(n, [&](int part) {
        std::vector<std::uint32_t>& full = _parts[part].full;
        full.clear();
        findFull<K>(cells, part == 0 ? 0 : n / 2, part == 0 ? n / 2 : n, full);
    });
    _full.assign(_parts[0].full.begin(), _parts[0].full.end());
    _full.insert(_full.end(), _parts[1].full.begin(), _parts[1].full.end());
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
