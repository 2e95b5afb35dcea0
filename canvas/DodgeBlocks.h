// DodgeBlocks: a frame's tile pushes from a list of the footprints by
// blocks of cells, for canvases with few tiles: a push looks at the
// footprints of the blocks its window touches instead of at every cell.
#pragma once

#include "DodgeField.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

// The push is TileLeafGL::dodgeSum's: the sum of (cx - a, cy - b) over the
// footprints (a, b) of the window that are not empty and hold neither cx
// nor cy, summed in fixed point (DodgeExact), so it equals the window
// scan's to the bit.
//
// Blocks are 16 rows by 16 columns, numbered row by row, and their
// footprints are listed block after block: the blocks a window touches on
// one row of blocks are one run of a list.
class DodgeBlocks
{
public:
    // The footprints come in Parts lists, each listed by one thread
    // (build) before any sum is asked.
    static constexpr int Parts = 2;
    // Lists the footprints of `dodging` in the cells `footprints` names as
    // list `part`; every cell that is not empty must be named by exactly
    // one list. false (and every sum declined until the list is built
    // again) when a cell holds a value outside itself, which no footprint
    // does.
    bool build(int part, const BufferTemplate<float>& dodging, std::span<const std::uint32_t> footprints);
    // The push on a tile centred at (cx, cy) from the window w; false (and
    // no sum) when the fixed point may not be exact: a centre or a pushing
    // footprint finer than DodgeExact::Finest, or too wide a reach.
    bool sum(float cx, float cy, const DodgeWindow& w, double& sumX, double& sumY) const;

private:
    static constexpr int RowShift = 4;      // blocks of 16 rows
    static constexpr int ColumnShift = 4;   // by 16 columns
    // A footprint in units of 2^-29; its cell is (a >> 29, b >> 29).
    struct Entry
    {
        std::int64_t a, b;
    };
    struct List
    {
        int width = 0;
        int height = 0;
        std::size_t blockColumns = 0;
        bool usable = false;
        int top = 0;      // the first and last rows holding its footprints
        int bottom = -1;
        std::vector<std::uint32_t> starts;   // where each block's footprints start in entries, and the end
        std::vector<Entry> entries;
        // Footprints finer than the units (only in the first column or
        // row): a window they push in is declined.
        std::vector<std::pair<float, float>> fine;
        std::vector<std::pair<std::uint32_t, Entry>> unsorted;   // scratch: block and footprint
    };

    std::array<List, Parts> _lists;
};
