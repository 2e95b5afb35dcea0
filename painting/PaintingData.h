// PaintingData: everything a saved painting holds, as plain values: the
// canvas size and property buffers, the primitives, the palette's mixed
// paints and links and the sketched element images. No scene, no GL.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

// The kind of a saved primitive; the numbers are the file's.
enum class RecordKind : int
{
    Point = 0,
    Stroke = 1,
    Tile = 2,
    StrokeShape = 3,
};

// One primitive, as its leaf class keeps it. Positions are device pixels,
// angles degrees.
struct PrimitiveRecord
{
    RecordKind kind = RecordKind::Point;
    double x = 0.0, y = 0.0;
    double width = 0.0, height = 0.0;
    double rotation = 0.0;
    double targetAngle = 0.0;
    std::array<std::uint8_t, 3> color{};
    int type = 0;               // the primitive type of the control table
    int life = 0;
    // Strokes: image-texture index of the first texture (-1: none) and the
    // part of it shown.
    int texture = -1;
    float s0 = 0.0f, s1 = 1.0f, t0 = 0.0f, t1 = 1.0f;
    float aux0 = 0.0f, aux1 = 0.0f;   // the auxiliary values
    int shape = 0;              // points: shape index; stroke shapes: segments
    bool flag = false;          // tiles: dodging; strokes: bump mapping

    bool operator==(const PrimitiveRecord&) const = default;
};

// One canvas buffer: its cells as stored in memory (row-major from the
// bottom row, machine byte order).
struct BufferRecord
{
    int tag = 0;
    int width = 0, height = 0;
    int dimension = 1;
    int valueSize = 1;          // bytes of one value of a cell
    std::vector<std::uint8_t> cells;

    bool operator==(const BufferRecord&) const = default;
};

// A mixed paint on the palette (palette frame: pixels from its centre, y up).
struct SwatchRecord
{
    float x = 0.0f, y = 0.0f, radius = 0.0f;
    std::array<std::uint8_t, 3> display{};   // RGB
    std::array<std::uint8_t, 3> paint{};     // RYB

    bool operator==(const SwatchRecord&) const = default;
};

// A link band from a paint to the mixed paint made from it.
struct LinkRecord
{
    float x1 = 0.0f, y1 = 0.0f, x2 = 0.0f, y2 = 0.0f, halfWidth = 0.0f;
    std::array<std::uint8_t, 3> display1{}, paint1{}, display2{}, paint2{};

    bool operator==(const LinkRecord&) const = default;
};

// A sketched element image and the image-texture index it had.
struct SketchRecord
{
    int index = 0;
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;   // rows from the bottom up

    bool operator==(const SketchRecord&) const = default;
};

struct PaintingData
{
    int screenWidth = 0, screenHeight = 0;
    int bufferWidth = 0, bufferHeight = 0;   // the canvas's buffer grid
    std::vector<BufferRecord> buffers;         // by tag
    std::vector<PrimitiveRecord> primitives;   // in render order, back first
    std::vector<SwatchRecord> swatches;        // mixed paints, wells left out
    std::vector<LinkRecord> links;
    std::vector<SketchRecord> sketches;        // by index

    bool operator==(const PaintingData&) const = default;
};
