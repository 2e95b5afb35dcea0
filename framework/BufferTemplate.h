// A property buffer: a grid of cells of 1, 2 or 3 values of T in one contiguous
// row-major array, with clipped reads, writes and fills in cell coordinates.
#pragma once

#include "AbstractBuffer.h"
#include "Vector2d.h"

#include <cstddef>
#include <memory>

// Cell (x, y) covers the square [x, x + 1) x [y, y + 1) of buffer coordinates;
// row 0 is the bottom row. Reads outside the grid give zeros (false), writes
// outside are dropped. A single-value write or fill sets every value of a cell.
template <typename T>
class BufferTemplate final : public AbstractBuffer
{
public:
    using ValueType = T;

    // All values start as T() (0, false). Negative sizes give an empty grid.
    BufferTemplate(int width, int height, int dimension = 1);
    ~BufferTemplate() override;

    T* cells() { return _cells.get(); }
    const T* cells() const { return _cells.get(); }
    void* getBufferArray() override { return _cells.get(); }
    const void* getBufferArray() const override { return _cells.get(); }

    // First value of the cell.
    T getValue(int x, int y) const { return isInside(x, y) ? _cells[index(x, y)] : T(); }
    void setValue(int x, int y, T value);
    // Missing values of a narrower cell read as T(); surplus ones are not written.
    void get2DValues(int x, int y, T& a, T& b) const;
    void set2DValues(int x, int y, T a, T b);
    void get3DValues(int x, int y, T& a, T& b, T& c) const;
    void set3DValues(int x, int y, T a, T b, T c);

    void fillEntireBuffer(T value);
    void fillEntireBufferWith2DValue(T a, T b);
    void fillEntireBufferWith3DValue(T a, T b, T c);

    // Cells x0..x1, y0..y1, both ends included, clipped to the grid; an empty
    // range (x1 < x0 or y1 < y0) fills nothing.
    void fillRectWithValue(int x0, int y0, int x1, int y1, T value);

    // Any quad, axis-aligned or rotated, given by its corners in order round
    // its edge (either sense), in buffer coordinates. Same rule as polygons.
    void fillQuadWithValue(const Vector2d& a, const Vector2d& b, const Vector2d& c, const Vector2d& d, T value);

    // Scanline fill of a closed polygon of count points (the last joins the
    // first) in buffer coordinates, possibly concave or self-intersecting.
    // Non-zero winding rule: a cell is filled when its centre (x + 0.5, y + 0.5)
    // has a nonzero winding number. A centre exactly on an edge counts as inside
    // on the left and bottom edges and outside on the right and top ones, so
    // polygons sharing an edge neither overlap nor leave a gap. Fewer than three
    // points or a non-finite coordinate fill nothing.
    void fillComplexPolygonWithValue(const Vector2d* points, int count, T value);

    // Copies the cells both grids have, (x, y) to (x, y), from a grid of the
    // same dimension; false (nothing copied) when the dimensions differ.
    bool copyOverlapFrom(const BufferTemplate& source);

    RGBAImage toImage(double scale, double offset) const override;

protected:
    void afterRawLoad() override;

private:
    std::size_t index(int x, int y) const
    {
        return (static_cast<std::size_t>(y) * static_cast<std::size_t>(getWidth()) + static_cast<std::size_t>(x))
             * static_cast<std::size_t>(getDimension());
    }
    // Sets cells x0..x1 (inclusive, already clipped) of row y to the cell value
    // pattern (getDimension() values).
    void fillSpan(int y, int x0, int x1, const T* pattern);
    void fillCells(std::size_t first, std::size_t count, const T* pattern);

    std::unique_ptr<T[]> _cells;
};

// Instantiated once in BufferTemplate.cpp for every cell type the system uses.
extern template class BufferTemplate<bool>;
extern template class BufferTemplate<int>;
extern template class BufferTemplate<unsigned int>;
extern template class BufferTemplate<unsigned char>;
extern template class BufferTemplate<float>;
extern template class BufferTemplate<double>;
