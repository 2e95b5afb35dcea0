// PrimitiveStore: the canvas's primitives by kind, in contiguous arrays of
// handles and of the state a frame reads, and the frame step that runs one
// loop per kind over them.
#pragma once

#include "DodgeBlocks.h"
#include "DodgeField.h"
#include "PartnerThread.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class PrimitiveLeafGL;
class TabletopVis;
class VisComponent;
struct PrimitiveFrame;

// Points, strokes, tiles and stroke shapes are stored (other classes are
// left to the scene). Each primitive knows its slot (kind, index). Removal
// moves the last primitive of the kind into the hole and updates its slot,
// so every other primitive keeps a valid slot and the arrays stay dense. A
// primitive the scene does not own yet waits in a pending list until it does.
//
// Primitives in the arrays are left out of the scene's own frame passes
// (TabletopVis::setSteppedByParent): step() runs their frame instead, with
// the buffers resolved once for all of them.
//
// A stored primitive's position lives in its row (VisComponent::
// keepPositionAt), so the frame moves tiles without touching their objects.
// From SplitFrom primitives of a kind on, the check of their cells runs on
// two threads, and so do the tiles' footprints, pushes and moves
// (pushTiles, in PrimitiveStoreTiles.cpp).
//
// Next to each handle the store keeps a row of what decides whether the
// primitive's frame changes anything: its buffer cell, width, colours, type,
// shape and a few flags (settled size, turn at rest, life, context
// selection, the animations it follows). The primitive stays the owner of
// that state; every change of it outside the frame step marks the row stale
// (markStale), and a stale row is read again before the next frame. The
// frame reads the buffers at each row's cell in one tight loop and runs the
// primitive's full step only where a cell asks for a change; a primitive
// under neutral buffers costs its row and its cells, not its object.
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

    PrimitiveStore(TabletopVis& scene, const VisComponent& canvas) : _scene(scene), _canvas(canvas) {}
    ~PrimitiveStore();
    PrimitiveStore(const PrimitiveStore&) = delete;
    PrimitiveStore& operator=(const PrimitiveStore&) = delete;

    void add(PrimitiveLeafGL* primitive);
    void remove(PrimitiveLeafGL* primitive);
    std::span<PrimitiveLeafGL* const> of(Kind kind) const { return _rows[kind].handles; }
    std::size_t size() const;
    std::size_t pendingCount() const { return _pending.size(); }
    // The row of the primitive in slot (kind, index) is read again before
    // the next frame uses it.
    void markStale(int kind, std::size_t index)
    {
        _rows[kind].flags[index] |= Stale;
        _staleMarked[kind] = true;
    }

    // One frame of every stored primitive, as the scene's passes would run
    // it: the animation of points, strokes and tiles (stroke shapes do not
    // animate), a loop per kind that prefetches the rows' cells ahead. The
    // tiles' footprints are written in their turn, as only tiles read them.
    void step(const PrimitiveFrame& frame, double dt);
    // How many primitives the last step ran the full step of (the others'
    // cells asked for no change).
    std::size_t lastFullSteps() const { return _lastFullSteps; }
    // Where the tiles' pushes came from in the last step: each tile's
    // window scan (TileLeafGL::dodgeSum), the tables of DodgeFields (many
    // tiles) or the lists of DodgeBlocks (few).
    enum class SumsFrom : std::uint8_t
    {
        Scans,
        Fields,
        Blocks,
    };
    SumsFrom lastSumsFrom() const { return _sumsFrom; }

    // The state of a row (flags).
    enum RowFlag : std::uint16_t
    {
        Stale = 1u << 0,
        Inside = 1u << 1,            // the cell lies in the canvas's grid
        Settled = 1u << 2,           // no size easing, no magnification
        SizeInRange = 1u << 3,       // relative resizing by 0 keeps the size
        TurnAtRest = 1u << 4,        // no turn towards the target angle left
        ContextSelected = 1u << 5,
        StartLogged = 1u << 6,
        Alive = 1u << 7,             // life above the deletion threshold
        FollowsDirection = 1u << 8,
        FollowsOrientation = 1u << 9,
        FollowsAbsoluteSize = 1u << 10,
        FollowsRelativeSize = 1u << 11,
        Dodges = 1u << 12,
        Changed = 1u << 13,          // hasChanged() is already set
        TargetSettled = 1u << 14,    // the target angle is the previous one
    };

private:
    struct Rows
    {
        std::vector<PrimitiveLeafGL*> handles;
        std::vector<unsigned long> id;          // the component's id: higher is newer
        std::vector<std::uint32_t> cell;        // y * grid width + x
        std::vector<double> width;
        std::vector<std::uint32_t> bufferColor;   // the colour last taken from colorBuffer
        std::vector<std::uint32_t> color;
        std::vector<std::int32_t> type;
        std::vector<std::uint16_t> flags;
        std::vector<std::int32_t> shape;         // points: the shape index
        std::vector<float> targetSourceX, targetSourceY;   // the vector the target angle came from
        std::vector<float> centreX, centreY;     // tiles: the centre as a fractional cell
        // The primitive's position itself (VisComponent::keepPositionAt):
        // the frame moves a tile here without touching its object.
        std::vector<std::array<double, 2>> position;

        std::size_t size() const { return handles.size(); }
        template <typename F>
        void forEachColumn(const F& f)
        {
            f(handles), f(id), f(cell), f(width), f(bufferColor), f(color), f(type), f(flags), f(shape);
            f(targetSourceX), f(targetSourceY), f(centreX), f(centreY), f(position);
        }
        void push(PrimitiveLeafGL* primitive);
        // Moves the last row into row i and drops the last.
        void swapRemove(std::size_t i);
    };
    // Points the primitives of rows [from, to) at their rows' positions,
    // which hold them already (after the position array moved).
    void rebindPositions(Kind kind, std::size_t from, std::size_t to);
    struct Grid;
    struct Cells;

    // Into its kind's array when the scene owns it; false otherwise.
    bool place(PrimitiveLeafGL* primitive);
    void placePending();
    // Reads row i of a kind from its primitive; refreshPlace only its cell
    // and a tile's centre (after a move).
    void refresh(Kind kind, std::size_t i, const Grid& grid);
    // True when the row's cell changed.
    [[gnu::always_inline]] bool refreshPlace(Kind kind, std::size_t i, const Grid& grid);
    // How a tile row's frame goes, once the pushes are summed.
    enum class TileStep : std::uint8_t
    {
        Own,             // the tile's own step (no push summed for it)
        Unpushed,        // no push: its cells decide, as for the other kinds
        Moved,           // its push moved it and that was all
        MovedThenStep,   // its push moved it; the common step follows
        Pushed,          // the step with the push, in row order
    };
    // Moves tile row i by the step away from its push (TileLeafGL::awayStep)
    // when the move is all the push changes besides the common step (Moved;
    // the row is then up to date), or keeps the push for the step with it
    // (Pushed). displaced counts a move to another cell.
    [[gnu::always_inline]] TileStep moveByPush(const Cells& cells, std::size_t i, const double push[2],
                                               const double step[2], const Grid& grid, std::size_t& displaced);
    void refreshStale(const Grid& grid);
    // Orders the rows of a kind by their cell, so the frame reads each
    // buffer from front to back instead of at random. Done when an eighth
    // of the rows are new or on another cell since the last time, at most
    // every FramesBetweenSorts frames. No result depends on the order: the
    // steps only read the buffers, log records are grouped by primitive,
    // and where tiles share a cell the newest one's footprint wins.
    void sortRows(Kind kind, const Grid& grid);
    // Runs part(0) and part(1) of a step over `rows` rows, on two threads
    // from SplitFrom rows on (the parts write nothing the other reads).
    void splitRun(std::size_t rows, const std::function<void(int)>& part);
    // Every current tile's footprint, and its push from its neighbours
    // (TileLeafGL::dodgeSum) from its row's centre, and the moves that need
    // no more (moveByPush).
    void pushTiles(const PrimitiveFrame& frame, const Cells& cells, const Grid& grid);
    struct Part;
    // The dodging buffer's cells for the footprints the parts write, after
    // clearing those of the last frame when the bands moved; null when they
    // are written already (a buffer of another size) or there are none.
    float* prepareFootprints(const PrimitiveFrame& frame, const Grid& grid);
    // Clears the footprints the part wrote.
    void forget(Part& own);
    // Tile row i's footprint at its centre (cx, cy), unless a newer tile's
    // is there.
    [[gnu::always_inline]] void writeFootprint(Part& own, std::size_t i, const Grid& grid, float cx, float cy);
    // Part `part`'s share of the rows, in chunks from its end of them
    // (forChunks): their footprints in its band (the others it leaves to
    // the other part) and their windows.
    void scanTiles(const PrimitiveFrame& frame, const Cells& cells, const Grid& grid, bool footprints, bool windows,
                   int part);
    // Hands each part's windows their places in the order of first rows.
    void orderWindows(std::size_t rows);
    // The sums, with their tiles' moves a batch at a time, go out in
    // chunks to whichever part asks first (forChunks), so neither waits
    // long for the other; `part` picks the part's own scratch (Part), the
    // end of the windows its chunks come from and the way its field sweeps.
    void sumPushes(const PrimitiveFrame& frame, const Cells& cells, const Grid& grid, int part);
    // Runs work(from, to) on chunks of `size` of [0, count) for one part of
    // a split run, the first part from the front, the second from the back,
    // until every chunk is taken.
    template <typename F>
    void forChunks(std::size_t count, std::size_t size, int part, const F& work);
    // Appends to full the rows in [from, to) of kind K whose cells ask for
    // the full step (or whose tile push left it to the step); a tile its
    // push moved is MovedThenStep when the common step is not idle where
    // it is now.
    template <Kind K>
    void findFull(const Cells& cells, std::size_t from, std::size_t to, std::vector<std::uint32_t>& full);
    template <Kind K>
    void stepKind(const PrimitiveFrame& frame, const Cells& cells, const Grid& grid, double dt);

    TabletopVis& _scene;
    const VisComponent& _canvas;
    std::array<Rows, KindCount> _rows;
    std::array<bool, KindCount> _staleMarked{};   // a row of the kind may be stale
    std::vector<PrimitiveLeafGL*> _pending;
    // What the rows' cells were computed against (Grid::key).
    std::array<double, 10> _gridKey{};
    // Scratch of the frame: rows that take the full step, tiles' pushes.
    std::vector<std::uint32_t> _full;
    std::vector<TileStep> _tileSteps;          // per tile row
    std::vector<double> _pushes;               // per tile row: x, y, kept for the step with the push
    struct TileWindow
    {
        std::uint32_t row;
        DodgeWindow w;
    };
    // What each of the two parts of a split step writes, on cache lines of
    // its own (sharing one with the other part's fields cost more than the
    // second thread saved).
    // A batch of pushes between their sums and their moves: the rows, the
    // pushes and the steps away (TileLeafGL::awayStep), x then y.
    static constexpr std::size_t MoveBatch = 128;
    struct PushBatch
    {
        std::array<std::uint32_t, MoveBatch> row;
        std::array<std::array<double, MoveBatch>, 2> push, step;
    };
    struct alignas(64) Part
    {
        std::vector<std::uint32_t> full;          // rows for the full step, in row order
        std::vector<std::size_t> fullStarts;      // where each chunk's rows start in full
        std::vector<TileWindow> windows;          // its half of the rows' windows, in row order
        std::size_t windowCount = 0;              // how many of windows this frame has
        int tallest = 0;                          // the most rows of a window
        std::vector<std::uint32_t> tops;          // windows per first row, then their places
        std::vector<std::uint32_t> ownedCells;    // the cells whose footprint it wrote
        std::vector<std::uint32_t> strays;        // its rows whose footprint lies in the other band
        DodgeField field;                         // its sums
        bool listed = false;                      // the blocks list its band's footprints
        PushBatch batch;                          // its sums on their way to moves
        std::size_t displaced = 0;                // of them, those now on another cell
    };
    std::array<Part, 2> _parts;
    // Window k of the parts' windows taken one after the other.
    const TileWindow& windowAt(std::size_t k) const;
    SumsFrom _sumsFrom = SumsFrom::Scans;      // this frame's pushes come from
    DodgeBlocks _blocks;
    // The pushes' source for a frame with `windows` windows, once the
    // parts have written the footprints they own (footprints: the store
    // writes them all).
    SumsFrom sumsFrom(const PrimitiveFrame& frame, bool footprints, std::size_t windows) const;
    std::vector<TileWindow> _windowsByTop;     // every window, by first row
    PartnerThread _partner;
    struct alignas(64) ChunkCounter
    {
        std::atomic<std::size_t> next{0};
    };
    ChunkCounter _chunks;                      // how many chunks forChunks has handed out
    static constexpr std::size_t SplitFrom = 2048;
    static constexpr std::size_t SumChunks = 64;
    static constexpr std::size_t MinSumChunk = 512;
    static constexpr std::size_t ScanChunks = 32;
    static constexpr std::size_t MinScanChunk = 1024;
    static constexpr std::size_t ScanAhead = 32;   // rows the scan's loads start ahead
    static constexpr std::size_t FullChunks = 16;
    // Per cell: 1 + the tile row whose footprint it holds this frame, or 0.
    // The last frame's cells are cleared before any is written, so a row
    // number never outlives the frame's order of the rows.
    std::vector<std::uint32_t> _footprintOwners;
    const BufferTemplate<float>* _footprintBuffer = nullptr;   // the dodging buffer they are in
    float* _footprintCells = nullptr;              // its cells this frame, or null
    int _bandSplit = -1;   // the grid row the second part's band starts at, or -1: half the grid
    int _bands = -1;       // that row as the parts' footprints of the last frame have it
    // The blocks serve while there are more than CellsPerBlockTile cells
    // for every tile and every footprint; otherwise the tables are built
    // when there is a dodging tile for every CellsPerFieldTile cells or
    // fewer.
    static constexpr std::size_t CellsPerBlockTile = 48;
    static constexpr std::size_t CellsPerFieldTile = 256;
    std::size_t _lastFullSteps = 0;
    std::uint64_t _frame = 0;
    std::array<std::uint64_t, KindCount> _sortedAt{};
    std::array<std::size_t, KindCount> _displaced{};   // rows added or moved to another cell
    static constexpr std::size_t SortedRowsFrom = 4096;
    static constexpr std::uint64_t FramesBetweenSorts = 64;
};
