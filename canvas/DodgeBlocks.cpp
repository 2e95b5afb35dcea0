// DodgeBlocks: the footprints listed by blocks and the pushes summed from
// the blocks a window touches.
#include "DodgeBlocks.h"

#include <algorithm>

bool DodgeBlocks::build(int part, const BufferTemplate<float>& dodging, std::span<const std::uint32_t> footprints)
{
    List& l = _lists[static_cast<std::size_t>(part)];
    l.usable = false;
    l.width = dodging.getWidth();
    l.height = dodging.getHeight();
    if (dodging.getDimension() != 2 || l.width <= 0 || l.height <= 0)
        return false;
    l.blockColumns = static_cast<std::size_t>(((l.width - 1) >> ColumnShift) + 1);
    const std::size_t blocks = l.blockColumns * static_cast<std::size_t>(((l.height - 1) >> RowShift) + 1);
    l.starts.assign(blocks + 1, 0);
    l.fine.clear();
    l.unsorted.clear();
    l.top = l.height;
    l.bottom = -1;
    const float* cells = dodging.cells();
    for (const std::uint32_t c : footprints) {
        const float a = cells[2 * std::size_t{c}];
        const float b = cells[2 * std::size_t{c} + 1];
        // A cell holding a 0 is empty: it never pushes.
        if (a == 0.0f || b == 0.0f)
            continue;
        const int x = static_cast<int>(a);
        const int y = static_cast<int>(b);
        if (!(a > 0.0f && b > 0.0f) || x >= l.width || y >= l.height
            || static_cast<std::size_t>(y) * static_cast<std::size_t>(l.width) + static_cast<std::size_t>(x) != c)
            return false;
        l.top = std::min(l.top, y);
        l.bottom = std::max(l.bottom, y);
        if (!DodgeExact::representable(a) || !DodgeExact::representable(b)) {
            l.fine.emplace_back(a, b);
            continue;
        }
        const std::size_t block = static_cast<std::size_t>(y >> RowShift) * l.blockColumns
                                + static_cast<std::size_t>(x >> ColumnShift);
        ++l.starts[block];
        l.unsorted.push_back({static_cast<std::uint32_t>(block), {DodgeExact::fine(a), DodgeExact::fine(b)}});
    }
    // Each block's count becomes where the next block starts; placing the
    // footprints back to front from there leaves where each block starts.
    for (std::size_t k = 1; k < blocks; ++k)
        l.starts[k] += l.starts[k - 1];
    l.starts[blocks] = static_cast<std::uint32_t>(l.unsorted.size());
    l.entries.resize(l.unsorted.size());
    for (const auto& [block, entry] : l.unsorted)
        l.entries[--l.starts[block]] = entry;
    l.usable = true;
    return true;
}

bool DodgeBlocks::sum(float cx, float cy, const DodgeWindow& w, double& sumX, double& sumY) const
{
    sumX = 0.0;
    sumY = 0.0;
    const List& first = _lists[0];
    for (const List& l : _lists)
        if (!l.usable || l.width != first.width || l.height != first.height)
            return false;
    if (w.x0 < 0 || w.y0 < 0 || w.x1 > first.width || w.y1 > first.height)
        return false;
    if (w.x0 >= w.x1 || w.y0 >= w.y1)
        return true;
    if (!DodgeExact::exact(cx, cy, w.x0, w.x1, w.y0, w.y1))
        return false;
    for (const List& l : _lists)
        for (const auto& [a, b] : l.fine)
            if (static_cast<int>(a) >= w.x0 && static_cast<int>(a) < w.x1 && static_cast<int>(b) >= w.y0
                && static_cast<int>(b) < w.y1 && a != cx && b != cy)
                return false;
    // In units, a footprint lies in the window when its a is in [x0, x1)
    // cells and its b in [y0, y1): one unsigned comparison each.
    constexpr int Shift = 29;
    const std::int64_t left = std::int64_t{w.x0} << Shift;
    const std::int64_t top = std::int64_t{w.y0} << Shift;
    const auto wide = static_cast<std::uint64_t>(w.x1 - w.x0) << Shift;
    const auto tall = static_cast<std::uint64_t>(w.y1 - w.y0) << Shift;
    const std::int64_t ownA = DodgeExact::fine(cx);
    const std::int64_t ownB = DodgeExact::fine(cy);
    std::uint64_t count = 0;
    std::uint64_t sumA = 0;
    std::uint64_t sumB = 0;
    const auto firstColumn = static_cast<std::size_t>(w.x0 >> ColumnShift);
    const auto lastColumn = static_cast<std::size_t>((w.x1 - 1) >> ColumnShift);
    // Only the rows of the window that hold a list's footprints.
    for (const List& l : _lists)
        for (int blockRow = std::max(w.y0, l.top) >> RowShift; blockRow <= std::min(w.y1 - 1, l.bottom) >> RowShift;
             ++blockRow) {
            const std::size_t row = static_cast<std::size_t>(blockRow) * l.blockColumns;
            const std::uint32_t end = l.starts[row + lastColumn + 1];
            for (std::uint32_t k = l.starts[row + firstColumn]; k < end; ++k) {
                const Entry& e = l.entries[k];
                const std::uint64_t pushes = static_cast<std::uint64_t>(
                    (static_cast<std::uint64_t>(e.a - left) < wide) & (static_cast<std::uint64_t>(e.b - top) < tall)
                    & (e.a != ownA) & (e.b != ownB));
                count += pushes;
                sumA += static_cast<std::uint64_t>(e.a) & (0 - pushes);
                sumB += static_cast<std::uint64_t>(e.b) & (0 - pushes);
            }
        }
    sumX = DodgeExact::push(cx, count, sumA);
    sumY = DodgeExact::push(cy, count, sumB);
    return true;
}
