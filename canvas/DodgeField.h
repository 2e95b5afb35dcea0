// DodgeField: summed-area tables of a frame's tile footprints, so a tile's
// push from its neighbours costs a few lookups instead of a window scan.
#pragma once

#include "BufferTemplate.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A tile's push (TileLeafGL::dodgeSum) is the sum of (cx - a, cy - b) over
// the footprint cells (a, b) of its window that are not empty and lie on
// neither its column nor its row (a != cx, b != cy). Footprints are written
// at cell (int a, int b), and every value from 1 up is a multiple of 2^-23,
// so the sum is exact in 64-bit fixed point and equals the window scan's
// exact double sum to the bit, in whatever order either adds.
//
// build() accepts a buffer only when every non-empty cell from column and
// row 1 on holds values of its own cell; sum() answers only for centres
// and windows from cell 1 on. Otherwise the caller scans the window itself.
//
// A cell with a == cx lies on the tile's column and one with b == cy on its
// row. build() also counts how many cells hold each exact value, so sum()
// scans that column or row only when a cell other than the tile's own one
// holds its value (two tiles with exactly the same x or y).
class DodgeField
{
public:
    // Tables of the dodging buffer's cells; false (and no tables) when a
    // cell breaks the footprint rule above. expected is about how many
    // cells are not empty (it sizes the value counts).
    bool build(const BufferTemplate<float>& dodging, std::size_t expected = 0);
    bool isBuilt() const { return _built; }
    // The push on a tile centred at (cx, cy) from the window [x0, x1) x
    // [y0, y1) of the buffer build() was given; false when the centre or
    // the window reaches below cell 1 (the caller scans instead).
    bool sum(const BufferTemplate<float>& dodging, float cx, float cy, int x0, int x1, int y0, int y1, double& sumX,
             double& sumY) const;

    // Starts loading what sum() reads for a tile centred at (cx, cy).
    void prefetch(float cx, float cy) const
    {
        _xs.prefetch(cx);
        _ys.prefetch(cy);
    }

private:
    // How many cells hold each exact value: open addressing on the value's
    // bits (never those of 0, which marks an empty slot).
    class ValueCounts
    {
    public:
        void reset(std::size_t expected);
        void add(float v);
        std::uint32_t count(float v) const;
        void prefetch(float v) const;

    private:
        std::size_t slotOf(std::uint32_t key) const;
        void grow();

        std::vector<std::uint64_t> _slots;   // key << 32 | count
        std::size_t _used = 0;
        unsigned _bits = 0;
    };
    struct Entry
    {
        std::int64_t count = 0;
        std::int64_t a = 0;   // sums in units of 2^-23
        std::int64_t b = 0;
    };
    const Entry& at(int x, int y) const { return _table[static_cast<std::size_t>(y) * (_width + 1) + x]; }

    bool _built = false;
    int _width = 0;
    int _height = 0;
    std::vector<Entry> _table;   // (width + 1) x (height + 1), exclusive prefix sums
    ValueCounts _xs, _ys;        // the a and the b values of the cells in the tables
};
