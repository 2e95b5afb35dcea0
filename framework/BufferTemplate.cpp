// Property buffer grids: clipped cell access, vectorisable fills, scanline
// polygon filling, image dumps. Instantiated here for every cell type.
#include "BufferTemplate.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <type_traits>
#include <vector>

namespace {

// Writes `count` cells of D values each; D known at compile time so the
// inner loop unrolls and the outer one vectorises.
template <int D, typename T>
void fillPattern(T* out, std::size_t count, const T* pattern)
{
    std::array<T, D> p;
    std::copy_n(pattern, D, p.begin());
    for (std::size_t i = 0; i < count; ++i)
        for (int k = 0; k < D; ++k)
            out[i * D + k] = p[k];
}

// value * scale + offset as an image byte: truncated, clamped, NaN as 0.
unsigned char toByte(double value, double scale, double offset)
{
    const double v = value * scale + offset;
    if (!(v > 0.0))
        return 0;
    return v >= 255.0 ? 255 : static_cast<unsigned char>(v);
}

// Coordinates are kept within this magnitude so crossing arithmetic stays
// finite and exact enough; anything that far out is off every grid anyway.
constexpr double coordinateLimit = 1e9;

struct Edge
{
    double yMin;
    double yMax;
    double xAtYMin;
    double dxPerDy;
    int winding; // +1 for an upward edge, -1 for a downward one
};

struct Crossing
{
    double x;
    int winding;
};

} // namespace

template <typename T>
BufferTemplate<T>::BufferTemplate(int width, int height, int dimension)
    : AbstractBuffer(width, height, dimension, sizeof(T))
{
    const std::size_t values = getCellCount() * static_cast<std::size_t>(getDimension());
    if (values > 0)
        _cells.reset(new T[values]());
}

template <typename T>
BufferTemplate<T>::~BufferTemplate() = default;

template <typename T>
void BufferTemplate<T>::setValue(int x, int y, T value)
{
    if (!isInside(x, y))
        return;
    std::fill_n(_cells.get() + index(x, y), getDimension(), value);
}

template <typename T>
void BufferTemplate<T>::get2DValues(int x, int y, T& a, T& b) const
{
    a = b = T();
    if (!isInside(x, y))
        return;
    const T* cell = _cells.get() + index(x, y);
    a = cell[0];
    if (getDimension() >= 2)
        b = cell[1];
}

template <typename T>
void BufferTemplate<T>::set2DValues(int x, int y, T a, T b)
{
    if (!isInside(x, y))
        return;
    T* cell = _cells.get() + index(x, y);
    cell[0] = a;
    if (getDimension() >= 2)
        cell[1] = b;
}

template <typename T>
void BufferTemplate<T>::get3DValues(int x, int y, T& a, T& b, T& c) const
{
    a = b = c = T();
    if (!isInside(x, y))
        return;
    const T* cell = _cells.get() + index(x, y);
    a = cell[0];
    if (getDimension() >= 2)
        b = cell[1];
    if (getDimension() >= 3)
        c = cell[2];
}

template <typename T>
void BufferTemplate<T>::set3DValues(int x, int y, T a, T b, T c)
{
    if (!isInside(x, y))
        return;
    T* cell = _cells.get() + index(x, y);
    cell[0] = a;
    if (getDimension() >= 2)
        cell[1] = b;
    if (getDimension() >= 3)
        cell[2] = c;
}

template <typename T>
void BufferTemplate<T>::fillCells(std::size_t first, std::size_t count, const T* pattern)
{
    const int dimension = getDimension();
    T* out = _cells.get() + first * static_cast<std::size_t>(dimension);
    if (std::all_of(pattern + 1, pattern + dimension, [&](T v) { return v == pattern[0]; })) {
        std::fill_n(out, count * static_cast<std::size_t>(dimension), pattern[0]);
        return;
    }
    if (dimension == 2)
        fillPattern<2>(out, count, pattern);
    else
        fillPattern<3>(out, count, pattern);
}

template <typename T>
void BufferTemplate<T>::fillSpan(int y, int x0, int x1, const T* pattern)
{
    const std::size_t rowStart = static_cast<std::size_t>(y) * static_cast<std::size_t>(getWidth());
    fillCells(rowStart + static_cast<std::size_t>(x0), static_cast<std::size_t>(x1 - x0 + 1), pattern);
}

template <typename T>
void BufferTemplate<T>::fillEntireBuffer(T value)
{
    const T pattern[3] = {value, value, value};
    fillCells(0, getCellCount(), pattern);
}

template <typename T>
void BufferTemplate<T>::fillEntireBufferWith2DValue(T a, T b)
{
    const T pattern[3] = {a, b, T()};
    fillCells(0, getCellCount(), pattern);
}

template <typename T>
void BufferTemplate<T>::fillEntireBufferWith3DValue(T a, T b, T c)
{
    const T pattern[3] = {a, b, c};
    fillCells(0, getCellCount(), pattern);
}

template <typename T>
void BufferTemplate<T>::fillRectWithValue(int x0, int y0, int x1, int y1, T value)
{
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, getWidth() - 1);
    y1 = std::min(y1, getHeight() - 1);
    const T pattern[3] = {value, value, value};
    if (x1 < x0)
        return;
    for (int y = y0; y <= y1; ++y)
        fillSpan(y, x0, x1, pattern);
}

template <typename T>
void BufferTemplate<T>::fillQuadWithValue(const Vector2d& a, const Vector2d& b, const Vector2d& c, const Vector2d& d,
                                          T value)
{
    const Vector2d corners[4] = {a, b, c, d};
    fillComplexPolygonWithValue(corners, 4, value);
}

template <typename T>
void BufferTemplate<T>::fillComplexPolygonWithValue(const Vector2d* points, int count, T value)
{
    if (!points || count < 3 || getCellCount() == 0)
        return;
    std::vector<Edge> edges;
    edges.reserve(static_cast<std::size_t>(count));
    double minY = coordinateLimit;
    double maxY = -coordinateLimit;
    for (int i = 0; i < count; ++i) {
        Vector2d p = points[i];
        Vector2d q = points[(i + 1) % count];
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(q.x) || !std::isfinite(q.y))
            return;
        for (Vector2d* v : {&p, &q}) {
            v->x = std::clamp(v->x, -coordinateLimit, coordinateLimit);
            v->y = std::clamp(v->y, -coordinateLimit, coordinateLimit);
        }
        if (p.y == q.y)
            continue; // horizontal edges cross no scanline
        const int winding = q.y > p.y ? 1 : -1;
        if (winding < 0)
            std::swap(p, q);
        edges.push_back({p.y, q.y, p.x, (q.x - p.x) / (q.y - p.y), winding});
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, q.y);
    }
    if (edges.empty())
        return;

    // Rows whose centre y + 0.5 lies in [minY, maxY).
    const int firstRow = static_cast<int>(std::max(0.0, std::ceil(minY - 0.5)));
    const int lastRow = static_cast<int>(std::min(getHeight() - 1.0, std::ceil(maxY - 0.5) - 1.0));
    std::sort(edges.begin(), edges.end(), [](const Edge& l, const Edge& r) { return l.yMin < r.yMin; });

    const T pattern[3] = {value, value, value};
    const double lastColumn = getWidth() - 1.0;
    std::vector<const Edge*> active;
    std::vector<Crossing> crossings;
    std::size_t nextEdge = 0;
    for (int y = firstRow; y <= lastRow; ++y) {
        const double yc = y + 0.5;
        while (nextEdge < edges.size() && edges[nextEdge].yMin <= yc)
            active.push_back(&edges[nextEdge++]);
        std::erase_if(active, [yc](const Edge* e) { return e->yMax <= yc; });

        crossings.clear();
        for (const Edge* e : active)
            crossings.push_back({e->xAtYMin + (yc - e->yMin) * e->dxPerDy, e->winding});
        std::sort(crossings.begin(), crossings.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });

        int winding = 0;
        double spanStart = 0.0;
        for (const Crossing& c : crossings) {
            const int before = winding;
            winding += c.winding;
            if (before == 0 && winding != 0) {
                spanStart = c.x;
            } else if (before != 0 && winding == 0) {
                // Cells whose centre x + 0.5 lies in [spanStart, c.x).
                const double x0 = std::max(0.0, std::ceil(spanStart - 0.5));
                const double x1 = std::min(lastColumn, std::ceil(c.x - 0.5) - 1.0);
                if (x0 <= x1)
                    fillSpan(y, static_cast<int>(x0), static_cast<int>(x1), pattern);
            }
        }
    }
}

template <typename T>
bool BufferTemplate<T>::copyOverlapFrom(const BufferTemplate& source)
{
    if (source.getDimension() != getDimension())
        return false;
    const int columns = std::min(getWidth(), source.getWidth());
    const int rows = std::min(getHeight(), source.getHeight());
    const std::size_t rowValues = static_cast<std::size_t>(std::max(columns, 0)) * getDimension();
    for (int y = 0; y < rows; ++y)
        std::copy_n(source._cells.get() + source.index(0, y), rowValues, _cells.get() + index(0, y));
    return true;
}

template <typename T>
RGBAImage BufferTemplate<T>::toImage(double scale, double offset) const
{
    RGBAImage image;
    if (getCellCount() == 0)
        return image;
    image.width = getWidth();
    image.height = getHeight();
    image.pixels.assign(getCellCount() * 4, 0);
    // Image rows run bottom-up like the grid's, so cell (x, y) is pixel (x, y).
    const int dimension = getDimension();
    const std::size_t cellCount = getCellCount();
    for (std::size_t i = 0; i < cellCount; ++i) {
        const T* cell = _cells.get() + i * static_cast<std::size_t>(dimension);
        unsigned char* pixel = image.pixels.data() + i * 4;
        for (int k = 0; k < dimension; ++k)
            pixel[k] = toByte(static_cast<double>(cell[k]), scale, offset);
        if (dimension == 1)
            pixel[1] = pixel[2] = pixel[0];
        pixel[3] = 255;
    }
    return image;
}

template <typename T>
void BufferTemplate<T>::afterRawLoad()
{
    // A file may hold any byte where a bool is stored; only 0 and 1 are bools.
    if constexpr (std::is_same_v<T, bool>) {
        auto* bytes = reinterpret_cast<unsigned char*>(_cells.get());
        const std::size_t count = getAllocatedMemorySizeInBytes();
        for (std::size_t i = 0; i < count; ++i)
            bytes[i] = bytes[i] != 0 ? 1 : 0;
    }
}

template class BufferTemplate<bool>;
template class BufferTemplate<int>;
template class BufferTemplate<unsigned int>;
template class BufferTemplate<unsigned char>;
template class BufferTemplate<float>;
template class BufferTemplate<double>;
