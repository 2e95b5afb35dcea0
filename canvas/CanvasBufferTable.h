// The canvas's property buffers in one table: tag, cell type, grid, initial
// value, raw dump file, image settings, whether a rebuild keeps the cells,
// whether primitives prefetch them, and the creation group. Creation, dumps,
// images, the rebuild and prefetching read it. GL-free.
#pragma once

#include "BufferTag.h"

#include <array>
#include <cstddef>

namespace CanvasBuffers {

// What a cell holds: value type and values per cell.
enum class CellType
{
    Bool,
    Int,
    Float,
    Float2,
    Double,
    Double2,
    Byte3,
};

// How a new buffer is filled. Zero is what a new buffer holds already; the
// last three are filled by the canvas from its state and the scene.
enum class Fill
{
    Zero,
    Constant,        // `value` (one, two or three of its entries)
    InitialSize,     // the canvas's initial primitive size
    RandomVertical,  // (0, +1) or (0, -1) at random per cell
    SlowdownRamp,    // the scene's slowdown factor, ramped to 0 at the border
    ControlDefaults, // the control table's initial cells
};

// createActiveBuffers makes the Canvas group first (createCanvasBuffers),
// then the Rest, each in table order.
enum class Group
{
    Canvas,
    Rest,
};

// Which grid a buffer has.
enum class Grid
{
    Canvas,    // the canvas's buffer width x height
    Control,   // ControlTable::Size x ControlTable::Size
};

// createBufferImage's picture of a buffer: byte = value x scale + offset,
// written as name + ".png". No name: no picture.
struct Image
{
    const char* name;
    double scale;
    double offset;
};

struct BufferRow
{
    BUFFERTAG tag;
    CellType cell;
    Grid grid;
    Fill fill;
    std::array<double, 3> value;   // of Fill::Constant
    const char* rawFile;           // saveBuffers' file after "buffers/<type>"; null: not dumped
    Image image;
    bool keptOnRebuild;            // cells copied into the grown grid
    bool prefetched;               // primitives prefetch their cell before animating
    Group group;
};

namespace detail {
inline constexpr Image NoImage{nullptr, 0.0, 0.0};
inline constexpr bool Kept = true, Renewed = false;
inline constexpr bool Prefetched = true, NotPrefetched = false;
} // namespace detail

// In creation order within each group.
inline constexpr std::array<BufferRow, 21> Table = [] {
    using namespace detail;
    using enum CellType;
    constexpr Grid G = Grid::Canvas;
    return std::array<BufferRow, 21>{{
        {SIZE_ABS_DIFF_BUFFER, Float, G, Fill::Zero, {}, "sizeAbsDiffBuffer.dat", NoImage, Renewed, Prefetched,
         Group::Canvas},
        {GRADIENT_ORIENTATION_BUFFER, Float2, G, Fill::Zero, {}, nullptr, NoImage, Renewed, NotPrefetched,
         Group::Canvas},
        {TEMP_ORIENTATION_BUFFER, Float2, G, Fill::Zero, {}, nullptr, {"tempOrientationBuffer", 255.0, 0.0}, Renewed,
         Prefetched, Group::Canvas},
        {TEMP_COLOR_BUFFER, Byte3, G, Fill::Constant, {127, 127, 127}, "tmpColorBuffer.dat",
         {"tempColorBuffer", 1.0, 0.0}, Renewed, Prefetched, Group::Canvas},
        {SELECTION_BUFFER, Bool, G, Fill::Zero, {}, nullptr, {"selectionBuffer", 255.0, 0.0}, Renewed, NotPrefetched,
         Group::Canvas},
        {CONTEXT_SELECTION_BUFFER, Bool, G, Fill::Zero, {}, nullptr, NoImage, Renewed, Prefetched, Group::Canvas},
        {TEMP_DIRECTION_BUFFER, Float2, G, Fill::Zero, {}, nullptr, NoImage, Renewed, NotPrefetched, Group::Canvas},
        {DROPOFF_BUFFER, Float, G, Fill::Zero, {}, nullptr, {"dropoffBuffer", 255.0, 0.0}, Renewed, NotPrefetched,
         Group::Canvas},
        {DEPTH_BUFFER, Double, G, Fill::Zero, {}, nullptr, {"depthBuffer", 255.0, 0.0}, Renewed, NotPrefetched,
         Group::Canvas},
        {GRADIENT_BUFFER, Double2, G, Fill::Zero, {}, nullptr, {"gradientBuffer", 127.0, 128.0}, Renewed,
         NotPrefetched, Group::Canvas},

        {STROKE_MASK_BUFFER, Bool, G, Fill::Constant, {1}, nullptr, NoImage, Renewed, NotPrefetched, Group::Rest},
        // The trailing blank is part of the target area's image file name.
        {TARGET_AREA_BUFFER, Bool, G, Fill::Zero, {}, nullptr, {"targetAreaBuffer ", 255.0, 0.0}, Renewed,
         NotPrefetched, Group::Rest},
        {SIZE_BUFFER, Float, G, Fill::InitialSize, {}, "sizeBuffer.dat", NoImage, Kept, Prefetched, Group::Rest},
        {ORIENTATION_BUFFER, Float2, G, Fill::RandomVertical, {}, "orientationBuffer.dat", NoImage, Kept,
         NotPrefetched, Group::Rest},
        {COLOR_BUFFER, Byte3, G, Fill::Constant, {120, 100, 40}, nullptr, {"colorBuffer", 1.0, 0.0}, Renewed,
         Prefetched, Group::Rest},
        {DIRECTION_BUFFER, Float2, G, Fill::Zero, {}, nullptr, NoImage, Renewed, Prefetched, Group::Rest},
        {ERASE_BUFFER, Float, G, Fill::Zero, {}, nullptr, NoImage, Renewed, Prefetched, Group::Rest},
        {DODGING_BUFFER, Float2, G, Fill::Zero, {}, nullptr, NoImage, Renewed, NotPrefetched, Group::Rest},
        {SPEED_BUFFER, Int, G, Fill::Zero, {}, "speedBuffer.dat", NoImage, Kept, Prefetched, Group::Rest},
        {SLOWDOWN_BUFFER, Float, G, Fill::SlowdownRamp, {}, nullptr, NoImage, Renewed, NotPrefetched, Group::Rest},
        {CONTROL_BUFFER, Float, Grid::Control, Fill::ControlDefaults, {}, nullptr, NoImage, Kept, NotPrefetched,
         Group::Rest},
    }};
}();

// The entry of a tag; null for a tag the canvas does not own.
constexpr const BufferRow* find(int tag)
{
    for (const BufferRow& row : Table)
        if (row.tag == tag)
            return &row;
    return nullptr;
}

// Calls f(T{}, dimension) with the value type T and values per cell of a
// cell type, and returns what f returns.
template <typename F>
constexpr decltype(auto) withCellType(CellType cell, F&& f)
{
    switch (cell) {
    case CellType::Bool: return f(bool{}, 1);
    case CellType::Int: return f(int{}, 1);
    case CellType::Float: return f(float{}, 1);
    case CellType::Float2: return f(float{}, 2);
    case CellType::Double: return f(double{}, 1);
    case CellType::Double2: return f(double{}, 2);
    case CellType::Byte3: break;
    }
    return f(static_cast<unsigned char>(0), 3);
}

// Bytes of one cell.
constexpr std::size_t cellBytes(CellType cell)
{
    return withCellType(cell,
                        [](auto value, int dimension) { return sizeof(value) * static_cast<std::size_t>(dimension); });
}

} // namespace CanvasBuffers
