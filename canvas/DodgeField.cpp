// DodgeField: the ring of table rows and the exact window sums.
#include "DodgeField.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

void DodgeField::ValueFilter::reset(std::size_t expected)
{
    // About eight values a word: up to 24 of its bits set, so a value not
    // added passes for one about once in thirty lookups, each then a look
    // along a column or row. With half the words of four values a word the
    // filters stay in the nearest cache, which more than pays for those.
    const unsigned bits = std::max(6u, static_cast<unsigned>(std::bit_width(expected / 8)));
    _once.assign(std::size_t{1} << bits, 0);
    _twice.assign(std::size_t{1} << bits, 0);
    _shift = 64 - bits;
    _repeated = false;
}

void DodgeField::ValueFilter::add(float v)
{
    const std::uint64_t h = hashed(v);
    const std::uint64_t mask = maskOf(h);
    std::uint64_t& once = _once[h >> _shift];
    if ((once & mask) == mask) {
        _twice[h >> _shift] |= mask;
        _repeated = true;
    }
    once |= mask;
}

namespace {

// Of the `count` cells (up to 32, two values each) at `cells`, bit 2k is
// set when cell k holds a footprint: both its values are not 0.
std::uint64_t occupiedPairs(const float* cells, int count)
{
    std::uint64_t nonZero = 0;   // bit i: value i is not 0
    int i = 0;
#if defined(__SSE2__)
    const __m128 zero = _mm_setzero_ps();
    for (; i + 4 <= 2 * count; i += 4)
        nonZero |= static_cast<std::uint64_t>(_mm_movemask_ps(_mm_cmpneq_ps(_mm_loadu_ps(cells + i), zero))) << i;
#endif
    for (; i < 2 * count; ++i)
        nonZero |= static_cast<std::uint64_t>(cells[i] != 0.0f) << i;
    return nonZero & nonZero >> 1 & 0x5555555555555555u;
}

// A table row in the making: the one it follows plus the sums of the
// buffer row's cells so far. Most cells are empty, so the entries between
// two footprints are made in one plain loop.
struct Run
{
    std::int32_t* __restrict count;
    std::int64_t* __restrict a;
    std::int64_t* __restrict b;
    const std::int32_t* __restrict countBefore;
    const std::int64_t* __restrict aBefore;
    const std::int64_t* __restrict bBefore;
    std::int32_t runCount = 0;
    std::int64_t runA = 0;
    std::int64_t runB = 0;
    int made = -1;   // entries 0 .. made are made

    // Makes the entries up to `upTo` with the cells added so far.
    void carry(int upTo)
    {
        const std::int32_t c = runCount;
        const std::int64_t sa = runA;
        const std::int64_t sb = runB;
        for (int x = made + 1; x <= upTo; ++x) {
            count[x] = countBefore[x] + c;
            a[x] = aBefore[x] + sa;
            b[x] = bBefore[x] + sb;
        }
        made = upTo;
    }
    // Adds a cell (sign 1) or subtracts it (-1).
    void add(std::int32_t sign, std::int64_t va, std::int64_t vb)
    {
        runCount += sign;
        runA += va;
        runB += vb;
    }
};

} // namespace

void DodgeField::start(const BufferTemplate<float>& dodging, int tallest, std::size_t expected, int from, Sweep sweep)
{
    _dodging = &dodging;
    _width = dodging.getWidth();
    _height = dodging.getHeight();
    _broken = dodging.getDimension() != 2 || tallest < 0;
    _ringRows = std::min(std::max(tallest, 0), _height) + 1;
    const std::size_t entries = static_cast<std::size_t>(_ringRows) * (static_cast<std::size_t>(_width) + 1);
    _counts.resize(entries);
    _sumsA.resize(entries);
    _sumsB.resize(entries);
    _rowStart.resize(static_cast<std::size_t>(_height) + 1);
    for (int y = 0; y <= _height; ++y)
        _rowStart[y] = static_cast<std::size_t>(y % _ringRows) * (_width + 1);
    _xs.reset(expected);
    _ys.reset(expected);
    // The starting row's table row sums nothing; the others add to it.
    _sweep = sweep;
    _first = std::clamp(from, 0, _height);
    _edge = _first;
    const std::size_t first = row(_first);
    std::fill_n(_counts.begin() + first, _width + 1, 0);
    std::fill_n(_sumsA.begin() + first, _width + 1, 0);
    std::fill_n(_sumsB.begin() + first, _width + 1, 0);
}

bool DodgeField::addRow()
{
    // Down, the cells of row y = _edge make table row y + 1 from row y; up,
    // those of row y = _edge - 1 make row y from row y + 1, subtracted.
    const bool down = _sweep == Sweep::Down;
    const int y = down ? _edge : _edge - 1;
    const std::size_t from = row(down ? y : y + 1);
    const std::size_t out = row(down ? y + 1 : y);
    const std::int32_t sign = down ? 1 : -1;
    Run run{&_counts[out], &_sumsA[out], &_sumsB[out], &_counts[from], &_sumsA[from], &_sumsB[from]};
    // The first column and row are left out: their values may be finer than
    // the running sums' units (sum() scans them).
    const float* cell = _dodging->cells() + 2 * static_cast<std::size_t>(y) * _width;
    // Adds cell x, which holds a footprint; false when it breaks the rule.
    const auto visit = [&](int x) {
        const float a = cell[2 * x];
        const float b = cell[2 * x + 1];
        if (static_cast<int>(a) != x || static_cast<int>(b) != y || !(a < DodgeExact::Largest)
            || !(b < DodgeExact::Largest))
            return false;
        run.carry(x);
        run.add(sign, sign * fixed(a), sign * fixed(b));
        _xs.add(a);
        _ys.add(b);
        return true;
    };
    // Most cells are empty: the footprints are found from a mask of 32
    // cells at a time, with no test per empty cell. The same cells a few
    // rows on in the sweep start loading.
    const int ahead = down ? y + RowsAhead : y - RowsAhead;
    const float* later = ahead >= 0 && ahead < _height ? cellAt(0, ahead) : nullptr;
    for (int x = 1; y >= 1 && x < _width; x += 32) {
        if (later != nullptr)
            for (int line = 0; line < 4 && 2 * x + 16 * line < 2 * _width; ++line)
                __builtin_prefetch(later + 2 * x + 16 * line);
        for (std::uint64_t both = occupiedPairs(cell + 2 * x, std::min(32, _width - x)); both != 0;
             both &= both - 1)
            if (!visit(x + std::countr_zero(both) / 2))
                return false;
    }
    run.carry(_width);
    _edge += sign;
    return true;
}

bool DodgeField::makeRows(int y)
{
    const bool down = _sweep == Sweep::Down;
    while (!_broken && (down ? _edge < y : _edge > y))
        _broken = !addRow();
    return down ? _edge >= y : _edge <= y;
}

bool DodgeField::scanEdges(float cx, float cy, int x0, int x1, int y0, int y1, Window& edge) const
{
    const auto visit = [&](int x, int y) {
        const float* cell = cellAt(x, y);
        const float a = cell[0];
        const float b = cell[1];
        if (!occupied(a, b) || a == cx || b == cy)
            return true;
        if (!DodgeExact::representable(a) || !DodgeExact::representable(b) || static_cast<int>(a) != x
            || static_cast<int>(b) != y)
            return false;
        ++edge.count;
        edge.a += DodgeExact::fine(a);
        edge.b += DodgeExact::fine(b);
        return true;
    };
    for (int y = y0; x0 == 0 && y < y1; ++y)
        if (!visit(0, y))
            return false;
    for (int x = std::max(x0, 1); y0 == 0 && x < x1; ++x)
        if (!visit(x, 0))
            return false;
    return true;
}

void DodgeField::dropColumn(float cx, int column, int row, int y0, int y1, Window& sums) const
{
    for (int y = y0; y < y1; ++y)
        if (const float* cell = cellAt(column, y); y != row && occupied(cell[0], cell[1]) && cell[0] == cx)
            sums.drop(cell);
}

void DodgeField::dropRow(float cy, int column, int row, int x0, int x1, Window& sums) const
{
    for (int x = x0; x < x1; ++x)
        if (const float* cell = cellAt(x, row); x != column && occupied(cell[0], cell[1]) && cell[1] == cy)
            sums.drop(cell);
}
