// DodgeField: the footprint tables and the exact window sums.
#include "DodgeField.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr double Unit = 8388608.0;        // 2^23: fixed-point units per cell
constexpr float Largest = 1048576.0f;     // 2^20: values stay far inside 64 bits

bool occupied(float a, float b) { return a != 0.0f && b != 0.0f; }

std::int64_t fixed(float v) { return static_cast<std::int64_t>(static_cast<double>(v) * Unit); }

std::uint32_t bitsOf(float v)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

std::size_t hashed(std::uint32_t key, unsigned bits) { return (key * 0x9E3779B1u) >> (32 - bits); }

} // namespace

void DodgeField::ValueCounts::reset(std::size_t expected)
{
    // At most half full.
    _bits = std::max(10u, static_cast<unsigned>(std::bit_width(2 * expected)));
    _slots.assign(std::size_t{1} << _bits, 0);
    _used = 0;
}

void DodgeField::ValueCounts::prefetch(float v) const
{
    if (!_slots.empty())
        __builtin_prefetch(&_slots[hashed(bitsOf(v), _bits)]);
}

std::size_t DodgeField::ValueCounts::slotOf(std::uint32_t key) const
{
    const std::size_t mask = _slots.size() - 1;
    std::size_t slot = hashed(key, _bits);
    while (_slots[slot] != 0 && (_slots[slot] >> 32) != key)
        slot = (slot + 1) & mask;
    return slot;
}

void DodgeField::ValueCounts::grow()
{
    std::vector<std::uint64_t> old;
    old.swap(_slots);
    _slots.assign(2 * old.size(), 0);
    ++_bits;
    for (const std::uint64_t entry : old)
        if (entry != 0)
            _slots[slotOf(static_cast<std::uint32_t>(entry >> 32))] = entry;
}

void DodgeField::ValueCounts::add(float v)
{
    const std::uint32_t key = bitsOf(v);
    std::uint64_t& slot = _slots[slotOf(key)];
    if (slot == 0) {
        slot = std::uint64_t{key} << 32;
        if (2 * ++_used > _slots.size()) {
            ++slot;
            grow();
            return;
        }
    }
    ++slot;
}

std::uint32_t DodgeField::ValueCounts::count(float v) const
{
    return static_cast<std::uint32_t>(_slots[slotOf(bitsOf(v))]);
}

bool DodgeField::build(const BufferTemplate<float>& dodging, std::size_t expected)
{
    _built = false;
    _width = dodging.getWidth();
    _height = dodging.getHeight();
    if (dodging.getDimension() != 2)
        return false;
    const std::size_t rowLength = static_cast<std::size_t>(_width) + 1;
    _table.resize(rowLength * (static_cast<std::size_t>(_height) + 1));
    std::fill(_table.begin(), _table.begin() + static_cast<std::ptrdiff_t>(rowLength), Entry{});
    _xs.reset(expected);
    _ys.reset(expected);
    const float* cells = dodging.cells();
    for (int y = 0; y < _height; ++y) {
        Entry row;
        Entry* out = &_table[(static_cast<std::size_t>(y) + 1) * rowLength];
        const Entry* above = out - rowLength;
        out[0] = Entry{};
        const float* cell = cells + 2 * static_cast<std::size_t>(y) * _width;
        for (int x = 0; x < _width; ++x) {
            const float a = cell[2 * x];
            const float b = cell[2 * x + 1];
            // The first column and row are left out: their values may be
            // finer than the fixed point (sum() declines windows there).
            if (x >= 1 && y >= 1 && occupied(a, b)) {
                if (static_cast<int>(a) != x || static_cast<int>(b) != y || !(a < Largest) || !(b < Largest))
                    return false;
                ++row.count;
                row.a += fixed(a);
                row.b += fixed(b);
                _xs.add(a);
                _ys.add(b);
            }
            out[x + 1] = {above[x + 1].count + row.count, above[x + 1].a + row.a, above[x + 1].b + row.b};
        }
    }
    _built = true;
    return true;
}

bool DodgeField::sum(const BufferTemplate<float>& dodging, float cx, float cy, int x0, int x1, int y0, int y1,
                     double& sumX, double& sumY) const
{
    sumX = 0.0;
    sumY = 0.0;
    if (!_built || !(cx >= 1.0f && cy >= 1.0f && cx < Largest && cy < Largest) || x0 < 1 || y0 < 1)
        return false;
    if (x0 >= x1 || y0 >= y1)
        return true;
    const Entry& p = at(x1, y1);
    const Entry& q = at(x0, y1);
    const Entry& r = at(x1, y0);
    const Entry& s = at(x0, y0);
    std::int64_t count = p.count - q.count - r.count + s.count;
    std::int64_t a = p.a - q.a - r.a + s.a;
    std::int64_t b = p.b - q.b - r.b + s.b;
    // Cells that do not push: those with a == cx (on the centre's column) or
    // b == cy (on its row). The tile's own cell is looked at; the rest of
    // the column or row only when the value counts say another cell holds
    // the same value.
    const int column = static_cast<int>(cx);
    const int row = static_cast<int>(cy);
    const bool onColumn = column >= x0 && column < x1;
    const bool onRow = row >= y0 && row < y1;
    const float* cells = dodging.cells();
    const auto cellAt = [&](int x, int y) { return cells + 2 * (static_cast<std::size_t>(y) * _width + x); };
    const auto drop = [&](const float* cell) {
        --count;
        a -= fixed(cell[0]);
        b -= fixed(cell[1]);
    };
    const float* own = column < _width && row < _height ? cellAt(column, row) : nullptr;
    const bool ownX = own != nullptr && occupied(own[0], own[1]) && own[0] == cx;
    const bool ownY = own != nullptr && occupied(own[0], own[1]) && own[1] == cy;
    if (onColumn && onRow && (ownX || ownY))
        drop(own);
    if (onColumn && _xs.count(cx) > (ownX ? 1u : 0u))
        for (int y = y0; y < y1; ++y)
            if (const float* cell = cellAt(column, y); y != row && occupied(cell[0], cell[1]) && cell[0] == cx)
                drop(cell);
    if (onRow && _ys.count(cy) > (ownY ? 1u : 0u))
        for (int x = x0; x < x1; ++x)
            if (const float* cell = cellAt(x, row); x != column && occupied(cell[0], cell[1]) && cell[1] == cy)
                drop(cell);
    sumX = static_cast<double>(fixed(cx) * count - a) / Unit;
    sumY = static_cast<double>(fixed(cy) * count - b) / Unit;
    return true;
}
