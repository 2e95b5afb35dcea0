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

std::uint32_t bitsOf(float v)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

std::size_t hashed(std::uint32_t key, unsigned bits) { return (key * 0x9E3779B1u) >> (32 - bits); }

constexpr std::uint32_t SeenTwice = 1u << 31;

} // namespace

void DodgeField::ValueSet::reset(std::size_t expected)
{
    // At most half full.
    _bits = std::max(10u, static_cast<unsigned>(std::bit_width(2 * expected)));
    _slots.assign(std::size_t{1} << _bits, 0);
    _used = 0;
}

void DodgeField::ValueSet::prefetch(float v) const
{
    if (!_slots.empty())
        __builtin_prefetch(&_slots[hashed(bitsOf(v), _bits)]);
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
    const std::uint32_t key = bitsOf(v);
    std::uint32_t& slot = _slots[slotOf(key)];
    if (slot != 0) {
        slot |= SeenTwice;
        return;
    }
    slot = key;
    if (2 * ++_used > _slots.size())
        grow();
}

unsigned DodgeField::ValueSet::count(float v) const
{
    const std::uint32_t slot = _slots[slotOf(bitsOf(v))];
    return slot == 0 ? 0u : (slot & SeenTwice) != 0 ? 2u : 1u;
}

void DodgeField::start(const BufferTemplate<float>& dodging, int tallest, std::size_t expected)
{
    _dodging = &dodging;
    _width = dodging.getWidth();
    _height = dodging.getHeight();
    _broken = dodging.getDimension() != 2 || tallest < 0;
    _ringRows = std::min(std::max(tallest, 0), _height) + 1;
    _ring.resize(static_cast<std::size_t>(_ringRows) * (static_cast<std::size_t>(_width) + 1));
    std::fill_n(prefixRow(0), _width + 1, Entry{});
    _rowsMade = 1;
    _lastTop = 0;
    _xs.reset(expected);
    _ys.reset(expected);
}

bool DodgeField::addRow()
{
    const int y = _rowsMade - 1;   // the cells of row y make prefix row y + 1
    const Entry* above = prefixRow(y);
    Entry* out = prefixRow(y + 1);
    Entry row;
    out[0] = Entry{};
    const float* cell = _dodging->cells() + 2 * static_cast<std::size_t>(y) * _width;
    for (int x = 0; x < _width; ++x) {
        const float a = cell[2 * x];
        const float b = cell[2 * x + 1];
        // The first column and row are left out: their values may be finer
        // than the fixed point (sum() declines windows there).
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
    const Entry* top = prefixRow(y0);
    const Entry* bottom = prefixRow(y1);
    std::int64_t count = bottom[x1].count - bottom[x0].count - top[x1].count + top[x0].count;
    std::int64_t a = bottom[x1].a - bottom[x0].a - top[x1].a + top[x0].a;
    std::int64_t b = bottom[x1].b - bottom[x0].b - top[x1].b + top[x0].b;
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
    if (onColumn && _xs.count(cx) > (ownX && ownSummed ? 1u : 0u))
        for (int y = y0; y < y1; ++y)
            if (const float* cell = cellAt(column, y); y != row && occupied(cell[0], cell[1]) && cell[0] == cx)
                drop(cell);
    if (onRow && _ys.count(cy) > (ownY && ownSummed ? 1u : 0u))
        for (int x = x0; x < x1; ++x)
            if (const float* cell = cellAt(x, row); x != column && occupied(cell[0], cell[1]) && cell[1] == cy)
                drop(cell);
    sumX = static_cast<double>(fixed(cx) * count - a) / Unit;
    sumY = static_cast<double>(fixed(cy) * count - b) / Unit;
    return true;
}
