// DodgeField: summed-area tables of a frame's tile footprints, so a tile's
// push from its neighbours costs a few lookups instead of a window scan.
#pragma once

#include "BufferTemplate.h"

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
class DodgeField
{
public:
    // Tables of the dodging buffer's cells; false (and no tables) when a
    // cell breaks the footprint rule above.
    bool build(const BufferTemplate<float>& dodging);
    bool isBuilt() const { return _built; }
    // The push on a tile centred at (cx, cy) from the window [x0, x1) x
    // [y0, y1) of the buffer build() was given; false when the centre or
    // the window reaches below cell 1 (the caller scans instead).
    bool sum(const BufferTemplate<float>& dodging, float cx, float cy, int x0, int x1, int y0, int y1, double& sumX,
             double& sumY) const;

private:
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
};
