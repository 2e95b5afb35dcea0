// PrimitiveStore's tile pass: footprints, windows, the pushes from the
// DodgeFields and the moves they make, on two threads.
#include "PrimitiveStore.h"

#include "PrimitiveStoreCells.h"
#include "TileLeafGL.h"

#include <algorithm>
#include <array>
#include <span>

using namespace storecells;

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
    } else if (!same) {
        // The cells of the last frame were another buffer's: only their
        // owners are cleared.
        forget(_parts[0]);
        forget(_parts[1]);
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
    std::uint32_t& owner = _footprintOwners[c];
    if (owner != 0 && r.id[owner - 1] > r.id[i])
        return;
    if (owner == 0)
        own.ownedCells.push_back(c);
    owner = static_cast<std::uint32_t>(i + 1);
    _footprintCells[2 * std::size_t{c}] = cx;
    _footprintCells[2 * std::size_t{c} + 1] = cy;
}

inline PrimitiveStore::TileStep PrimitiveStore::moveByPush(const Cells& cells, std::size_t i, const double push[2],
                                                           const double step[2], const Grid& grid,
                                                           std::size_t& displaced)
{
    // The push moves the tile, its temporary colour is read where it was,
    // the common step runs where it is now. A move changes only the row's
    // place, so when the common step is idle at the new cell (findFull
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
    // VisComponent::moveBy on the row's position; the row is brought up to
    // date here, so nothing needs to mark it stale.
    r.position[i][0] += step[0];
    r.position[i][1] += step[1];
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
    _sumsFrom = sumsFrom(frame, footprints, count);
    const bool fields = _sumsFrom == SumsFrom::Fields;
    if (fields)
        orderWindows(static_cast<std::size_t>(frame.dodging->getHeight()));
    const bool blocks = _sumsFrom == SumsFrom::Blocks;
    // Each part writes the footprints the other found in its band, then
    // places its windows in the order of first rows or lists the
    // footprints of its band.
    if (fields || blocks || !_parts[0].strays.empty() || !_parts[1].strays.empty())
        splitRun(n, [&](int part) {
            Part& own = _parts[part];
            for (const std::uint32_t i : _parts[1 - part].strays)
                writeFootprint(own, i, grid, _rows[Tiles].centreX[i], _rows[Tiles].centreY[i]);
            if (fields)
                for (const TileWindow& t : std::span<const TileWindow>(own.windows.data(), own.windowCount))
                    _windowsByTop[own.tops[static_cast<std::size_t>(t.w.y0)]++] = t;
            if (blocks)
                own.listed = _blocks.build(part, *frame.dodging, own.ownedCells);
        });
    if (count == 0)
        return;
    if (blocks && !(_parts[0].listed && _parts[1].listed))
        _sumsFrom = SumsFrom::Scans;
    splitRun(n, [&](int part) { sumPushes(frame, cells, grid, part); });
    _displaced[Tiles] += _parts[0].displaced + _parts[1].displaced;
}

PrimitiveStore::SumsFrom PrimitiveStore::sumsFrom(const PrimitiveFrame& frame, bool footprints,
                                                  std::size_t windows) const
{
    if (frame.dodging == nullptr)
        return SumsFrom::Scans;
    const std::size_t cellCount = frame.dodging->getCellCount();
    // The blocks list the footprints the store wrote, so they serve only
    // while nothing else has written the buffer since it was last cleared
    // (a writer marks it, and the canvas clears it at the next frame). A
    // push costs them about the footprints round its window, the fields
    // a share of a table as large as the buffer: the blocks serve few
    // tiles, the tables many.
    const std::size_t written = _parts[0].ownedCells.size() + _parts[0].strays.size()
                              + _parts[1].ownedCells.size() + _parts[1].strays.size();
    if (footprints && frame.dodging->isValid() && std::max(written, windows) * CellsPerBlockTile < cellCount)
        return SumsFrom::Blocks;
    // Many tiles make the fields pay; a few scan their windows.
    return windows * CellsPerFieldTile >= cellCount ? SumsFrom::Fields : SumsFrom::Scans;
}

void PrimitiveStore::scanTiles(const PrimitiveFrame& frame, const Cells& cells, const Grid& grid, bool footprints,
                               bool windows, int part)
{
    const Rows& r = _rows[Tiles];
    Part& own = _parts[part];
    const std::size_t n = r.size();
    if (footprints)
        forget(own);
    own.strays.clear();
    if (own.windows.size() < n)
        own.windows.resize(n);
    own.tops.assign(frame.dodging != nullptr ? static_cast<std::size_t>(frame.dodging->getHeight()) + 1 : 0, 0);
    const float width = static_cast<float>(grid.width);
    const float height = static_cast<float>(grid.height);
    const float bandTop = part == 0 ? 0.0f : static_cast<float>(_bands);
    const float bandBottom = part == 0 ? static_cast<float>(_bands) : height;
    // What TileLeafGL::dodgeWindow reads, taken once (with windows, the
    // sizes are on the grid).
    const float* sizes = frame.dodging != nullptr ? cellsOf(frame.size) : nullptr;
    const int dodgingWidth = frame.dodging != nullptr ? frame.dodging->getWidth() : 0;
    const int dodgingHeight = frame.dodging != nullptr ? frame.dodging->getHeight() : 0;
    const double perPixelX = _scene.getCellsPerPixelX();
    const double perPixelY = _scene.getCellsPerPixelY();
    const std::size_t cellCount = static_cast<std::size_t>(grid.width) * static_cast<std::size_t>(grid.height);
    std::size_t count = 0;
    int tallest = 0;
    // The rows go out in chunks from either end (forChunks); the rows of
    // either part lie mostly in its band, as the rows are in cell order.
    forChunks(n, std::max<std::size_t>(MinScanChunk, (n + ScanChunks - 1) / ScanChunks), part,
              [&](std::size_t from, std::size_t to) {
        // The counts stay in locals, out of reach of the footprints' stores.
        std::size_t made = count;
        int tallestHere = tallest;
        TileWindow* out = own.windows.data();
        std::uint32_t* tops = own.tops.data();
        const std::uint16_t* flags = r.flags.data();
        for (std::size_t i = from; i < to; ++i) {
            // The cells a row further on reads start loading: its size,
            // and its footprint's owner and cell.
            if (const std::size_t ahead = i + ScanAhead; ahead < to) {
                const std::size_t c = r.cell[ahead];
                if (windows && sizes != nullptr && c < cellCount)
                    __builtin_prefetch(sizes + c);
                if (footprints && c < cellCount) {
                    __builtin_prefetch(_footprintOwners.data() + c);
                    __builtin_prefetch(_footprintCells + 2 * c);
                }
            }
            if (r.type[i] != cells.currentType)
                continue;
            const float cx = r.centreX[i];
            const float cy = r.centreY[i];
            // The footprint at the centre's cell, in this part's band or
            // the other's.
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
            TileWindow& t = out[made];
            if ((flags[i] & Dodges) == 0 || sizes == nullptr || cx < 0.0f || cy < 0.0f)
                continue;
            const int x = static_cast<int>(cx);
            const int y = static_cast<int>(cy);
            const float size = x < grid.width && y < grid.height ? sizes[static_cast<std::size_t>(y) * grid.width + x]
                                                                 : 0.0f;
            TileLeafGL::windowOf(cx, cy, size, perPixelX, perPixelY, dodgingWidth, dodgingHeight, t.w);
            if (t.w.x0 < t.w.x1 && t.w.y0 < t.w.y1) {
                t.row = static_cast<std::uint32_t>(i);
                tallestHere = std::max(tallestHere, t.w.y1 - t.w.y0);
                ++tops[static_cast<std::size_t>(t.w.y0)];
                ++made;
            }
        }
        count = made;
        tallest = tallestHere;
    });
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

void PrimitiveStore::sumPushes(const PrimitiveFrame& frame, const Cells& cells, const Grid& grid, int part)
{
    // With the fields, the windows are taken in order of their first row in
    // chunks: the first part sweeps its field down from the front chunks,
    // the second its field up from the back ones, each going on from chunk
    // to chunk until they meet. The pushes move their tiles a batch at a
    // time, in the pass that sums them: no sum reads another tile's row,
    // only the footprints, which stay as they are.
    const Rows& r = _rows[Tiles];
    Part& own = _parts[part];
    DodgeField& field = own.field;
    std::size_t displaced = 0;
    const std::size_t total = _parts[0].windowCount + _parts[1].windowCount;
    const int tallest = std::max(_parts[0].tallest, _parts[1].tallest);
    const auto window = [&](std::size_t k) -> const TileWindow& {
        return _sumsFrom == SumsFrom::Fields ? _windowsByTop[k] : windowAt(k);
    };
    const bool down = part == 0;
    const std::size_t chunk = std::max<std::size_t>(MinSumChunk, (total + SumChunks - 1) / SumChunks);
    bool started = false;
    forChunks(total, chunk, part, [&](std::size_t from, std::size_t to) {
        if (_sumsFrom == SumsFrom::Fields && !started) {
            // Up, the sweep starts below the last window's rows.
            const int first = down ? window(from).w.y0 : window(to - 1).w.y0 + tallest;
            field.start(*frame.dodging, tallest, _parts[0].ownedCells.size() + _parts[1].ownedCells.size(), first,
                        down ? DodgeField::Sweep::Down : DodgeField::Sweep::Up);
        }
        started = true;
        // A batch of sums, then their steps away, then the moves: the
        // divisions and square roots of the steps wait on no sum and go two
        // at a time.
        for (std::size_t done = 0; done < to - from; done += MoveBatch) {
            const std::size_t batch = std::min(MoveBatch, to - from - done);
            PushBatch& b = own.batch;
            for (std::size_t j = 0; j < batch; ++j) {
                const TileWindow& t = window(down ? from + done + j : to - 1 - done - j);
                const std::uint32_t i = t.row;
                const float cx = r.centreX[i];
                const float cy = r.centreY[i];
                // The move reads the temporary colour at the tile's cell.
                if (cells.tempColor != nullptr)
                    __builtin_prefetch(cells.tempColor + 3 * std::size_t{r.cell[i]});
                double push[2];
                const bool summed =
                    _sumsFrom == SumsFrom::Fields ? field.sum(cx, cy, t.w.x0, t.w.x1, t.w.y0, t.w.y1, push[0], push[1])
                    : _sumsFrom == SumsFrom::Blocks ? _blocks.sum(cx, cy, t.w, push[0], push[1])
                                                    : false;
                if (!summed)
                    TileLeafGL::dodgeSum(frame, cx, cy, _scene, push[0], push[1]);
                b.row[j] = i;
                b.push[0][j] = push[0];
                b.push[1][j] = push[1];
            }
            // Every push of the batch gets a step, so that no store waits on
            // the sum before it; a zero push's step (0 / 0) is not used: the
            // tile's cells decide its frame.
            TileLeafGL::awaySteps(grid.frame, batch, b.push[0].data(), b.push[1].data(), b.step[0].data(),
                                  b.step[1].data());
            for (std::size_t j = 0; j < batch; ++j) {
                if (b.push[0][j] == 0.0 && b.push[1][j] == 0.0)
                    continue;
                const std::uint32_t i = b.row[j];
                const double push[2] = {b.push[0][j], b.push[1][j]};
                const double step[2] = {b.step[0][j], b.step[1][j]};
                _tileSteps[i] = moveByPush(cells, i, push, step, grid, displaced);
            }
        }
    });
    own.displaced = displaced;
}
