// BrushCanvas: what a tool brush needs of the canvas it stamps into: its
// touch-tracking state and one way to make primitives (PrimitiveParams).
#pragma once

#include <array>
#include <optional>

class VisComponent;

enum class PrimitiveKind
{
    Point,
    Stroke,
    Tile,
    GeoStroke
};

// Everything a rendering primitive is made from. Positions are device
// pixels (the centre), sizes pixels, angles degrees. The restored fields
// (rotation, colour, life) are for primitives brought back from a saved
// painting; left empty, a primitive starts as a new one does.
struct PrimitiveParams
{
    PrimitiveKind kind = PrimitiveKind::Stroke;
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
    // Strokes and tiles turn towards it from rotation 0; stroke shapes are
    // turned by it at once.
    double angle = 0.0;
    int type = 0;   // the primitive type (control table cell PrimitiveType)
    // Strokes: the texture names (the first is drawn) and the used rectangle.
    std::array<unsigned, 3> textures{0, 0, 0};
    float s0 = 0.0f, s1 = 1.0f, t0 = 0.0f, t1 = 1.0f;
    bool bumpMapping = false;
    bool dodging = false;   // tiles
    int segments = 32;      // stroke shapes: points of the centre line
    std::array<unsigned, 2> auxiliary{0, 0};   // stroke shapes: kept values

    std::optional<double> rotation;
    std::optional<std::array<unsigned char, 3>> color;   // RGB
    std::optional<int> life;
};

class BrushCanvas
{
public:
    // While set, the brush follows the control table's brush position.
    virtual bool isTrackingTouches() const = 0;
    // Makes a primitive, adds it to the scene and the canvas; null when
    // the canvas cannot. Makes no GL call (input handlers call it).
    virtual VisComponent* makePrimitive(const PrimitiveParams& params) = 0;

protected:
    ~BrushCanvas() = default;
};
