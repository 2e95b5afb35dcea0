// DodgeField: a frame's tile pushes from summed-area rows of the footprints,
// so a tile's push from its neighbours costs a few lookups instead of a
// window scan.
#pragma once

#include "BufferTemplate.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// The cells [x0, x1) x [y0, y1) a tile's neighbours push it from.
struct DodgeWindow
{
    int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
};

// The fixed point of the exact pushes (DodgeField, DodgeBlocks). A float
// from Finest up is a multiple of 2^-29: in units of 2^-29 it is an
// integer, and so is the difference of two of them, exact in a double.
// While a window's cells times its reach stay below 2^24, so is every
// partial sum of its differences: the push is the same to the bit in
// fixed point and in TileLeafGL::dodgeSum's doubles, whatever the order.
struct DodgeExact
{
    static constexpr double FineUnit = 536870912.0;   // 2^29: units per cell
    static constexpr float Finest = 0.015625f;        // 2^-6
    static constexpr float Largest = 1048576.0f;      // 2^20: values stay far inside 64 bits
    static bool representable(float v) { return v >= Finest && v < Largest; }
    static std::int64_t fine(float v) { return static_cast<std::int64_t>(static_cast<double>(v) * FineUnit); }
    // Whether the push on a centre (cx, cy) from the window [x0, x1) x
    // [y0, y1) is exact however its cells are added.
    static bool exact(float cx, float cy, int x0, int x1, int y0, int y1)
    {
        if (!representable(cx) || !representable(cy))
            return false;
        // Each cell's difference is below the window's reach from the
        // centre: at most a side plus 2 when the centre's cell is in the
        // window or next to it, and then sides up to 254 cells keep the
        // sums exact.
        const int column = static_cast<int>(cx);
        const int row = static_cast<int>(cy);
        if (static_cast<unsigned>(column - x0 + 1) <= static_cast<unsigned>(x1 - x0 + 1)
            && static_cast<unsigned>(row - y0 + 1) <= static_cast<unsigned>(y1 - y0 + 1) && x1 - x0 <= 254
            && y1 - y0 <= 254)
            return true;
        const double reach = std::max({cx - x0, x1 - cx, cy - y0, y1 - cy}) + 1.0;
        return static_cast<double>(x1 - x0) * (y1 - y0) * reach < 16777216.0;
    }
    // The push along one axis on a centre from `count` cells whose values
    // add up to `summed`, both in units; wrapping, as the result is far
    // inside 64 bits even where the terms are not.
    static double push(float centre, std::uint64_t count, std::uint64_t summed)
    {
        const std::uint64_t t = static_cast<std::uint64_t>(fine(centre)) * count - summed;
        return static_cast<double>(static_cast<std::int64_t>(t)) / FineUnit;
    }
};

// A tile's push (TileLeafGL::dodgeSum) is the sum of (cx - a, cy - b) over
// the footprint cells (a, b) of its window that are not empty and lie on
// neither its column nor its row (a != cx, b != cy). Footprints are written
// at cell (int a, int b), so from column and row 1 on a value is at least
// 1: the field sums it in fixed point (DodgeExact).
//
// The sums of the cells from column and row 1 on come from a table of
// rows of running sums over the dodging buffer, made one buffer row at a
// time as the windows ask for them and kept in a ring only as tall as the
// tallest window, so they stay in cache instead of filling a table the
// size of the buffer. A field sweeps down the buffer from a starting row,
// its table rows summing the cells from there down, or up, summing the
// cells from there up; either way a window's sums are four lookups.
// Windows are therefore asked for in order of their first row (down) or
// the reverse (up). Those cells hold values from 1 up, multiples of 2^-23,
// and the running sums count in those units. The first column and row,
// whose values may be finer, are scanned where a window reaches them.
//
// The table holds cells only while each of them holds values of its own
// cell; sum() declines windows that reach the first row breaking the rule,
// windows with a cell of the first column or row finer than
// DodgeExact::Finest, and centres finer than that. The caller then scans
// the window itself.
//
// A cell with a == cx lies on the tile's column and one with b == cy on its
// row. The field also keeps which exact values its cells may hold, and
// which more than once, so sum() looks along that column or row only when a
// cell other than the tile's own one may hold its value (two tiles with
// exactly the same x or y).
class DodgeField
{
public:
    enum class Sweep
    {
        Down,   // windows start at the starting row or below it
        Up,     // windows end at the starting row (y1) or above it
    };
    // Starts a frame's sums over dodging, which must stay unchanged until
    // the last sum() of the frame. tallest is the most rows (y1 - y0) a
    // window will have; expected is about how many cells are not empty.
    // Two fields may sum one buffer at once, each its own share of the
    // windows (one from the top down, one from the bottom up).
    void start(const BufferTemplate<float>& dodging, int tallest, std::size_t expected = 0, int from = 0,
               Sweep sweep = Sweep::Down);
    // The push on a tile centred at (cx, cy) from the window [x0, x1) x
    // [y0, y1) of the buffer; false (and no sum) when the field declines
    // the window, as above, or when the window is taller than tallest, lies
    // beyond the starting row or reaches rows the sweep has left behind.
    [[gnu::always_inline]] bool sum(float cx, float cy, int x0, int x1, int y0, int y1, double& sumX, double& sumY);

private:
    static constexpr double Unit = 8388608.0;   // 2^23: the running sums' units per cell
    static constexpr int RowsAhead = 4;         // buffer rows addRow starts loading ahead
    static bool occupied(float a, float b) { return a != 0.0f && b != 0.0f; }
    static std::int64_t fixed(float v) { return static_cast<std::int64_t>(static_cast<double>(v) * Unit); }
    // A window's cells that push: how many, and their a and b in units.
    struct Window
    {
        std::int64_t count, a, b;
        void drop(const float* cell)
        {
            --count;
            a -= fixed(cell[0]);
            b -= fixed(cell[1]);
        }
    };

    // Which exact values the cells may hold, and which they may hold more
    // than once: two blocked Bloom filters on the value's bits. Each value
    // sets three bits of one 64-bit word, so a lookup reads one word. A false
    // "may" only makes sum() look along the column or row, where the exact
    // values decide.
    class ValueFilter
    {
    public:
        void reset(std::size_t expected);
        void add(float v);
        // Whether a cell other than the tile's own one may hold v; ownAdded:
        // the own cell holds v and was added.
        [[gnu::always_inline]] bool mayHoldElsewhere(float v, bool ownAdded) const
        {
            if (ownAdded && !_repeated)
                return false;
            const std::uint64_t h = hashed(v);
            const std::uint64_t mask = maskOf(h);
            return ((ownAdded ? _twice : _once)[h >> _shift] & mask) == mask;
        }

    private:
        static std::uint64_t hashed(float v)
        {
            // The top bits of the product pick the word; folded down they
            // also pick the bits, which the key's low bits alone would not
            // spread.
            std::uint32_t bits = 0;
            std::memcpy(&bits, &v, sizeof bits);
            const std::uint64_t h = std::uint64_t{bits} * 0x9E3779B97F4A7C15u;
            return h ^ h >> 32;
        }
        static std::uint64_t maskOf(std::uint64_t h)
        {
            const auto bit = [h](unsigned from) { return std::uint64_t{1} << (h >> from & 63); };
            return bit(0) | bit(6) | bit(12);
        }

        std::vector<std::uint64_t> _once, _twice;
        unsigned _shift = 63;      // a hash's top bits pick the word
        bool _repeated = false;    // some value may be held twice
    };
    // Table row y holds, for each x from 0 to width, the sums of the cells
    // left of x on the buffer rows from the starting row to row y - 1
    // (down), or minus those on the rows from y to the one before the
    // starting row (up), so that in both a window's sums are row y1's minus
    // row y0's: how many cells, and their a and b values in units of 2^-23.
    // Its entries start at row(y) in the three arrays.
    std::size_t row(int y) const { return _rowStart[static_cast<std::size_t>(y)]; }
    // Whether table rows y0 and y1 are made, or can be, and are still in
    // the ring.
    [[gnu::always_inline]] bool reaches(int y0, int y1)
    {
        if (_sweep == Sweep::Down)
            return y0 >= _first && (y1 <= _edge || makeRows(y1)) && _edge - y0 < _ringRows;
        return y1 <= _first && (y0 >= _edge || makeRows(y0)) && y1 - _edge < _ringRows;
    }
    // Whether the table and the value filters hold the cells of buffer row
    // y: the rows from 1 on that the sweep has passed.
    bool summed(int y) const
    {
        return y >= 1 && (_sweep == Sweep::Down ? y >= _first && y < _edge : y >= _edge && y < _first);
    }
    // Makes the next table row of the sweep; false when its cells break the
    // rule.
    bool addRow();
    // Makes the table rows up to row y; false when a row breaks the rule
    // first.
    bool makeRows(int y);
    const float* cellAt(int x, int y) const
    {
        return _dodging->cells() + 2 * (static_cast<std::size_t>(y) * _width + x);
    }
    // Adds to edge, in units of 2^-29, the pushing cells of the window's
    // part of the first column and row; false when one is finer than
    // Finest or lies outside its own cell.
    bool scanEdges(float cx, float cy, int x0, int x1, int y0, int y1, Window& edge) const;
    // Drops from sums the cells other than (column, row) that hold cx, on
    // rows [y0, y1) of the column, or cy, on columns [x0, x1) of the row.
    void dropColumn(float cx, int column, int row, int y0, int y1, Window& sums) const;
    void dropRow(float cy, int column, int row, int x0, int x1, Window& sums) const;

    const BufferTemplate<float>* _dodging = nullptr;
    int _width = 0;
    int _height = 0;
    int _ringRows = 0;
    // The ring: _ringRows table rows of width + 1 entries; where row y's
    // entries start (a division per lookup cost more than this table).
    std::vector<std::size_t> _rowStart;
    std::vector<std::int32_t> _counts;
    std::vector<std::int64_t> _sumsA, _sumsB;
    Sweep _sweep = Sweep::Down;
    int _first = 0;             // the starting row: its table row sums nothing
    int _edge = 0;              // the last table row made
    bool _broken = false;       // a row broke the footprint rule
    ValueFilter _xs, _ys;       // the a and the b values of the rows summed
};

inline bool DodgeField::sum(float cx, float cy, int x0, int x1, int y0, int y1, double& sumX, double& sumY)
{
    sumX = 0.0;
    sumY = 0.0;
    if (_dodging == nullptr || x0 < 0 || y0 < 0 || x1 > _width || y1 > _height)
        return false;
    if (x0 >= x1 || y0 >= y1)
        return true;
    if (!DodgeExact::exact(cx, cy, x0, x1, y0, y1))
        return false;
    const int column = static_cast<int>(cx);
    const int cellRow = static_cast<int>(cy);
    // The table sums the cells from column and row 1 on.
    const int fx0 = std::max(x0, 1);
    const int fy0 = std::max(y0, 1);
    Window sums{0, 0, 0};
    if (fx0 < x1 && fy0 < y1) {
        if (y1 - fy0 >= _ringRows || !reaches(fy0, y1))
            return false;
        const std::size_t top = row(fy0);
        const std::size_t bottom = row(y1);
        const auto window = [&](const auto& table) [[gnu::always_inline]] -> std::int64_t {
            return table[bottom + x1] - table[bottom + fx0] - table[top + x1] + table[top + fx0];
        };
        sums = {window(_counts), window(_sumsA), window(_sumsB)};
        // Cells that do not push: those with a == cx (on the centre's
        // column) or b == cy (on its row). The tile's own cell is looked at;
        // the rest of the column or row only when the value filters say
        // another cell may hold the same value.
        const bool onColumn = column >= fx0 && column < x1;
        const bool onRow = cellRow >= fy0 && cellRow < y1;
        const float* own = column < _width && cellRow < _height ? cellAt(column, cellRow) : nullptr;
        const bool ownX = own != nullptr && occupied(own[0], own[1]) && own[0] == cx;
        const bool ownY = own != nullptr && occupied(own[0], own[1]) && own[1] == cy;
        // The value filters hold the cells the table sums so far, which may
        // not include the tile's own (never those of the first column or
        // row).
        const bool ownSummed = column >= 1 && summed(cellRow);
        if (onColumn && onRow && (ownX || ownY))
            sums.drop(own);
        if (onColumn && _xs.mayHoldElsewhere(cx, ownX && ownSummed))
            dropColumn(cx, column, cellRow, fy0, y1, sums);
        if (onRow && _ys.mayHoldElsewhere(cy, ownY && ownSummed))
            dropRow(cy, column, cellRow, fx0, x1, sums);
    }
    Window edge{0, 0, 0};
    if ((x0 == 0 || y0 == 0) && !scanEdges(cx, cy, x0, x1, y0, y1, edge))
        return false;
    // The table's units are 2^6 of the edges'.
    const auto total = [&](float centre, std::int64_t summed, std::int64_t edgeSummed) {
        return DodgeExact::push(centre, static_cast<std::uint64_t>(sums.count + edge.count),
                                (static_cast<std::uint64_t>(summed) << 6) + static_cast<std::uint64_t>(edgeSummed));
    };
    sumX = total(cx, sums.a, edge.a);
    sumY = total(cy, sums.b, edge.b);
    return true;
}
