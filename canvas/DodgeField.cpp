// DodgeField: the footprint tables and the exact window sums.
#include "DodgeField.h"

#include <algorithm>

namespace {

constexpr double Unit = 8388608.0;        // 2^23: fixed-point units per cell
constexpr float Largest = 1048576.0f;     // 2^20: values stay far inside 64 bits

bool occupied(float a, float b) { return a != 0.0f && b != 0.0f; }

std::int64_t fixed(float v) { return static_cast<std::int64_t>(static_cast<double>(v) * Unit); }

} // namespace

bool DodgeField::build(const BufferTemplate<float>& dodging)
{
    _built = false;
    _width = dodging.getWidth();
    _height = dodging.getHeight();
    if (dodging.getDimension() != 2)
        return false;
    const std::size_t rowLength = static_cast<std::size_t>(_width) + 1;
    _table.resize(rowLength * (static_cast<std::size_t>(_height) + 1));
    std::fill(_table.begin(), _table.begin() + static_cast<std::ptrdiff_t>(rowLength), Entry{});
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
    // Cells that do not push: a == cx only in the centre's column, b == cy
    // only in its row.
    const int column = static_cast<int>(cx);
    const int row = static_cast<int>(cy);
    const auto drop = [&](int x, int y) {
        const float* cell = dodging.cells() + 2 * (static_cast<std::size_t>(y) * _width + x);
        if (occupied(cell[0], cell[1]) && (cell[0] == cx || cell[1] == cy)) {
            --count;
            a -= fixed(cell[0]);
            b -= fixed(cell[1]);
        }
    };
    if (column >= x0 && column < x1)
        for (int y = y0; y < y1; ++y)
            drop(column, y);
    if (row >= y0 && row < y1)
        for (int x = x0; x < x1; ++x)
            if (x != column)
                drop(x, row);
    sumX = static_cast<double>(fixed(cx) * count - a) / Unit;
    sumY = static_cast<double>(fixed(cy) * count - b) / Unit;
    return true;
}
