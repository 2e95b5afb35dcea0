// DodgeField: the ring of prefix rows and the exact window sums.
#include "DodgeField.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr double Unit = 8388608.0;        // 2^23: fixed-point units per cell
constexpr float Largest = 1048576.0f;     // 2^20: values stay far inside 64 bits

bool occupied(float a, float b) { return a != 0.0f && b != 0.0f; }

std::int64_t fixed(float v) { return static_cast<std::int64_t>(static_cast<double>(v) * Unit); }

constexpr std::uint32_t SeenTwice = 1u << 31;

} // namespace

std::uint32_t DodgeField::ValueSet::keyOf(float v)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

void DodgeField::ValueSet::reset(std::size_t expected)
{
    // At most half full; the filter has eight bits per slot.
    _bits = std::max(10u, static_cast<unsigned>(std::bit_width(2 * expected)));
    _slots.assign(std::size_t{1} << _bits, 0);
    _filterBits = _bits + 3;
    _filter.assign((std::size_t{1} << _filterBits) / 64, 0);
    _used = 0;
    _repeated = false;
}

std::size_t DodgeField::ValueSet::slotOf(std::uint32_t key) const
{
    const std::size_t mask = _slots.size() - 1;
    std::size_t slot = hashed(key, _bits);
    while (_slots[slot] != 0 && (_slots[slot] & ~SeenTwice) != key)
        slot = (slot + 1) & mask;
    return slot;
}

void DodgeField::ValueSet::grow()
{
    std::vector<std::uint32_t> old;
    old.swap(_slots);
    _slots.assign(2 * old.size(), 0);
    ++_bits;
    for (const std::uint32_t entry : old)
        if (entry != 0)
            _slots[slotOf(entry & ~SeenTwice)] = entry;
}

void DodgeField::ValueSet::add(float v)
{
    const std::uint32_t key = keyOf(v);
    const std::size_t bit = hashed(key, _filterBits);
    _filter[bit / 64] |= std::uint64_t{1} << (bit % 64);
    std::uint32_t& slot = _slots[slotOf(key)];
    if (slot != 0) {
        slot |= SeenTwice;
        _repeated = true;
        return;
    }
    slot = key;
    if (2 * ++_used > _slots.size())
        grow();
}

unsigned DodgeField::ValueSet::count(float v) const
{
    const std::uint32_t slot = _slots[slotOf(keyOf(v))];
    return slot == 0 ? 0u : (slot & SeenTwice) != 0 ? 2u : 1u;
}

namespace {

// A prefix row in the making: the row above plus the sums of the row's
// cells so far. Most cells are empty, so the entries between two
// footprints are made in one plain loop.
struct Run
{
    std::int32_t* __restrict count;
    std::int64_t* __restrict a;
    std::int64_t* __restrict b;
    const std::int32_t* __restrict countAbove;
    const std::int64_t* __restrict aAbove;
    const std::int64_t* __restrict bAbove;
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
            count[x] = countAbove[x] + c;
            a[x] = aAbove[x] + sa;
            b[x] = bAbove[x] + sb;
        }
        made = upTo;
    }
    void add(std::int64_t va, std::int64_t vb)
    {
        ++runCount;
        runA += va;
        runB += vb;
    }
};

} // namespace

void DodgeField::start(const BufferTemplate<float>& dodging, int tallest, std::size_t expected)
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
    std::fill_n(_counts.begin(), _width + 1, 0);
    std::fill_n(_sumsA.begin(), _width + 1, 0);
    std::fill_n(_sumsB.begin(), _width + 1, 0);
    _rowsMade = 1;
    _lastTop = 0;
    _xs.reset(expected);
    _ys.reset(expected);
}

bool DodgeField::addRow()
{
    const int y = _rowsMade - 1;   // the cells of row y make prefix row y + 1
    const std::size_t above = row(y);
    const std::size_t out = row(y + 1);
    Run run{&_counts[out], &_sumsA[out], &_sumsB[out], &_counts[above], &_sumsA[above], &_sumsB[above]};
    // The first column and row are left out: their values may be finer than
    // the fixed point (sum() declines windows there).
    const float* cell = _dodging->cells() + 2 * static_cast<std::size_t>(y) * _width;
    for (int x = 1; y >= 1 && x < _width; ++x) {
        const float a = cell[2 * x];
        const float b = cell[2 * x + 1];
        if (!occupied(a, b))
            continue;
        if (static_cast<int>(a) != x || static_cast<int>(b) != y || !(a < Largest) || !(b < Largest))
            return false;
        run.carry(x);
        run.add(fixed(a), fixed(b));
        _xs.add(a);
        _ys.add(b);
    }
    run.carry(_width);
    ++_rowsMade;
    return true;
}

bool DodgeField::sum(float cx, float cy, int x0, int x1, int y0, int y1, double& sumX, double& sumY)
{
    sumX = 0.0;
    sumY = 0.0;
    if (_dodging == nullptr || !(cx >= 1.0f && cy >= 1.0f && cx < Largest && cy < Largest) || x0 < 1 || y0 < 1
        || y0 < _lastTop || x1 > _width || y1 > _height || y1 - y0 >= _ringRows)
        return false;
    if (x0 >= x1 || y0 >= y1)
        return true;
    while (!_broken && _rowsMade <= y1)
        _broken = !addRow();
    // Prefix row y0 may have left the ring for a later window's rows.
    if (_rowsMade <= y1 || _rowsMade - 1 - y0 >= _ringRows)
        return false;
    _lastTop = y0;
    const std::size_t top = row(y0);
    const std::size_t bottom = row(y1);
    const auto window = [&](const auto& sums) -> std::int64_t {
        return sums[bottom + x1] - sums[bottom + x0] - sums[top + x1] + sums[top + x0];
    };
    std::int64_t count = window(_counts);
    std::int64_t a = window(_sumsA);
    std::int64_t b = window(_sumsB);
    // Cells that do not push: those with a == cx (on the centre's column) or
    // b == cy (on its row). The tile's own cell is looked at; the rest of
    // the column or row only when the value sets say another cell holds
    // the same value.
    const int column = static_cast<int>(cx);
    const int row = static_cast<int>(cy);
    const bool onColumn = column >= x0 && column < x1;
    const bool onRow = row >= y0 && row < y1;
    const float* cells = _dodging->cells();
    const auto cellAt = [&](int x, int y) { return cells + 2 * (static_cast<std::size_t>(y) * _width + x); };
    const auto drop = [&](const float* cell) {
        --count;
        a -= fixed(cell[0]);
        b -= fixed(cell[1]);
    };
    const float* own = column < _width && row < _height ? cellAt(column, row) : nullptr;
    const bool ownX = own != nullptr && occupied(own[0], own[1]) && own[0] == cx;
    const bool ownY = own != nullptr && occupied(own[0], own[1]) && own[1] == cy;
    // The value sets hold the rows summed so far, which may not reach the
    // tile's own row.
    const bool ownSummed = row < _rowsMade - 1;
    if (onColumn && onRow && (ownX || ownY))
        drop(own);
    if (onColumn && _xs.heldElsewhere(cx, ownX && ownSummed))
        for (int y = y0; y < y1; ++y)
            if (const float* cell = cellAt(column, y); y != row && occupied(cell[0], cell[1]) && cell[0] == cx)
                drop(cell);
    if (onRow && _ys.heldElsewhere(cy, ownY && ownSummed))
        for (int x = x0; x < x1; ++x)
            if (const float* cell = cellAt(x, row); x != column && occupied(cell[0], cell[1]) && cell[1] == cy)
                drop(cell);
    sumX = static_cast<double>(fixed(cx) * count - a) / Unit;
    sumY = static_cast<double>(fixed(cy) * count - b) / Unit;
    return true;
}
