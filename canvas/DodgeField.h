// DodgeField: a frame's tile pushes from summed-area rows of the footprints,
// so a tile's push from its neighbours costs a few lookups instead of a
// window scan.
#pragma once

#include "BufferTemplate.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The cells [x0, x1) x [y0, y1) a tile's neighbours push it from.
struct DodgeWindow
{
    int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
};

// A tile's push (TileLeafGL::dodgeSum) is the sum of (cx - a, cy - b) over
// the footprint cells (a, b) of its window that are not empty and lie on
// neither its column nor its row (a != cx, b != cy). Footprints are written
// at cell (int a, int b), and every value from 1 up is a multiple of 2^-23,
// so the sum is exact in 64-bit fixed point and equals the window scan's
// exact double sum to the bit, in whatever order either adds.
//
// The sums come from rows of prefix sums over the dodging buffer, made
// front to back as the windows ask for them and kept in a ring only as tall
// as the tallest window, so they stay in cache instead of filling a table
// the size of the buffer. Windows are therefore asked for in order of their
// first row.
//
// Only cells from column and row 1 on are summed, and only while each of
// them holds values of its own cell; sum() declines centres and windows
// that reach below cell 1, and windows that reach the first row breaking
// the rule. The caller then scans the window itself.
//
// A cell with a == cx lies on the tile's column and one with b == cy on its
// row. The field also keeps which exact values its cells hold, and how
// often, so sum() scans that column or row only when a cell other than the
// tile's own one holds its value (two tiles with exactly the same x or y).
class DodgeField
{
public:
    // Starts a frame's sums over dodging, which must stay unchanged until
    // the last sum() of the frame. tallest is the most rows (y1 - y0) a
    // window will have; expected is about how many cells are not empty.
    void start(const BufferTemplate<float>& dodging, int tallest, std::size_t expected = 0);
    // The push on a tile centred at (cx, cy) from the window [x0, x1) x
    // [y0, y1) of the buffer; false (and no sum) when the field declines
    // the window, as above, or when the window is taller than tallest or
    // starts above one asked for before.
    bool sum(float cx, float cy, int x0, int x1, int y0, int y1, double& sumX, double& sumY);

private:
    // Which exact values the cells hold: none, one or more than one cell.
    // Open addressing on the value's bits; keys are positive floats, so the
    // sign bit marks a value seen twice and 0 an empty slot. A bit filter
    // small enough to stay in the first-level cache answers most lookups of
    // values no cell holds.
    class ValueSet
    {
    public:
        void reset(std::size_t expected);
        void add(float v);
        // Whether a cell other than the tile's own one holds v; ownAdded:
        // the own cell holds v and was added.
        bool heldElsewhere(float v, bool ownAdded) const
        {
            if (ownAdded ? !_repeated : !mayHold(v))
                return false;
            return count(v) > (ownAdded ? 1u : 0u);
        }

    private:
        static std::uint32_t keyOf(float v);
        static std::size_t hashed(std::uint32_t key, unsigned bits) { return (key * 0x9E3779B1u) >> (32 - bits); }
        bool mayHold(float v) const
        {
            const std::size_t bit = hashed(keyOf(v), _filterBits);
            return ((_filter[bit / 64] >> (bit % 64)) & 1u) != 0;
        }
        // 0, 1, or 2 for two or more.
        unsigned count(float v) const;
        std::size_t slotOf(std::uint32_t key) const;
        void grow();

        std::vector<std::uint32_t> _slots;
        std::size_t _used = 0;
        unsigned _bits = 0;
        std::vector<std::uint64_t> _filter;
        unsigned _filterBits = 0;
        bool _repeated = false;   // some value is held twice
    };
    // Prefix row y holds, for each x from 0 to width, the sums of the cells
    // above row y and left of x: how many, and their a and b values in
    // units of 2^-23. Its entries start at row(y) in the three arrays.
    std::size_t row(int y) const { return static_cast<std::size_t>(y % _ringRows) * (_width + 1); }
    // Makes the next prefix row; false when its cells break the rule.
    bool addRow();

    const BufferTemplate<float>* _dodging = nullptr;
    int _width = 0;
    int _height = 0;
    int _ringRows = 0;
    // The ring: _ringRows prefix rows of width + 1 entries.
    std::vector<std::int32_t> _counts;
    std::vector<std::int64_t> _sumsA, _sumsB;
    int _rowsMade = 0;          // prefix rows 0 .. _rowsMade - 1 are made
    int _lastTop = 0;           // the first row of the last window asked for
    bool _broken = false;       // a row broke the footprint rule
    ValueSet _xs, _ys;          // the a and the b values of the rows summed
};
