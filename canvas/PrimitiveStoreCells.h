// PrimitiveStoreCells: what the store's frame passes share, in the store's
// sources only: the grid the rows' cells are on, the frame's buffers as raw
// cell arrays, and the tests of whether a row's cells ask for a change.
#pragma once

#include "CellFrame.h"
#include "PrimitiveLeafGL.h"
#include "PrimitiveLogger.h"
#include "PrimitiveStore.h"
#include "TabletopVis.h"

#include <array>
#include <cstdint>

// Helpers of the store's sources only.
namespace storecells {

inline std::uint32_t packed(unsigned char r, unsigned char g, unsigned char b)
{
    return static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b) << 16;
}

inline std::uint32_t packed(const unsigned char* rgb) { return packed(rgb[0], rgb[1], rgb[2]); }

template <typename T>
const T* cellsOf(const BufferTemplate<T>* buffer)
{
    return buffer != nullptr ? buffer->cells() : nullptr;
}

} // namespace storecells

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
        , erase(storecells::cellsOf(f.erase))
        , color(f.hasDropoff ? storecells::cellsOf(f.color) : nullptr)
        , contextSelection(storecells::cellsOf(f.contextSelection))
        , direction(storecells::cellsOf(f.direction))
        , tempOrientation(storecells::cellsOf(f.tempOrientation))
        , size(storecells::cellsOf(f.size))
        , sizeDiff(storecells::cellsOf(f.sizeDiff))
        , speed(storecells::cellsOf(f.speed))
        , tempColor(storecells::cellsOf(f.tempColor))
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

template <typename F>
void PrimitiveStore::forChunks(std::size_t count, std::size_t size, int part, const F& work)
{
    // The first part takes chunks from the front, the second from the back,
    // until they meet: the first part's chunks follow one another.
    const std::size_t chunks = (count + size - 1) / size;
    for (std::size_t taken = 0; _chunks.next.fetch_add(1, std::memory_order_relaxed) < chunks; ++taken) {
        const std::size_t c = part == 0 ? taken : chunks - 1 - taken;
        work(c * size, std::min(count, (c + 1) * size));
    }
}

namespace storecells {

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

} // namespace storecells

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
