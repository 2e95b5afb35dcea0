// PrimitiveBatch: collects the vertices of many primitives in drawing order
// and draws runs of equal drawing state with one array draw each, from GPU
// buffers that are updated only where the vertices changed since the last
// draw. On software GL a push/translate/rotate/callList per primitive costs
// several microseconds, so the canvas draws its primitives through one batch
// per frame.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

class StrokeAtlas;

// One interleaved vertex of 24 bytes: position in device pixels, texture
// coordinates, a normal and a colour in bytes. Vertex data is the cost of
// a frame with many primitives, so it is kept small; the constructor takes
// the normal's components and the colour's channels as 0 .. 1 floats.
struct BatchVertex
{
    BatchVertex() = default;
    BatchVertex(float x, float y, float s, float t, float nx, float ny, float nz, float r, float g, float b,
                float a);

    float x = 0.0f, y = 0.0f;
    float s = 0.0f, t = 0.0f;
    signed char nx = 0, ny = 0, nz = 127, pad = 0;
    unsigned char r = 0, g = 0, b = 0, a = 255;
};

// Shapes are drawn in the order they were appended, whatever their kind and
// texture: a shape appended later lies on top. Consecutive shapes of the
// same drawing state (kind, texture) form one run, drawn with one call, so
// the number of draws is the number of state changes along the order. At
// drawing, textured quads whose texture fits the batch's stroke atlas are
// moved onto it, so strokes of many images next to each other join one run
// (thousands of one-stroke draws would cost the driver time and memory).
//
// Vertices are in device coordinates: draw() under the modelview that the
// primitives' own render() would start from (the canvas's children frame).
// A batch that has drawn owns two GL buffer objects; destroy it while the
// context it drew in is current (or never let it draw without one).
class PrimitiveBatch
{
public:
    enum class Kind
    {
        TexturedQuads,        // strokes: textured, blended, RGBA per vertex
        LitQuads,             // tiles: lighting with the colour as diffuse material
        FlatTriangles,        // point dabs: untextured, indexed triangles
        TranslucentTriangles, // stroke shapes: untextured, blended, indexed triangles
        Lines                 // indexed line pairs, blended
    };

    PrimitiveBatch();
    ~PrimitiveBatch();
    PrimitiveBatch(const PrimitiveBatch&) = delete;
    PrimitiveBatch& operator=(const PrimitiveBatch&) = delete;

    // Room for count vertices of quads in state (kind, texture; the texture is
    // 0 for untextured kinds), four per quad, each quad drawn as two
    // triangles (0, 1, 2) and (0, 2, 3). The caller fills every vertex. The
    // pointer is valid until the next append, clear or draw; null for fewer
    // than four vertices.
    BatchVertex* append(Kind kind, unsigned texture, std::size_t count);
    // The same for shapes that share vertices, drawn through indices: a
    // triangle fan (vertex 0 the centre), a quad strip (vertices in pairs
    // across the strip, drawn as two triangles per quad) or a closed line
    // loop.
    BatchVertex* appendFan(Kind kind, unsigned texture, std::size_t count);
    BatchVertex* appendStrip(Kind kind, unsigned texture, std::size_t count);
    BatchVertex* appendLoop(Kind kind, unsigned texture, std::size_t count);

    void clear();            // empties the batch, keeps capacity
    void draw();             // GL: draws every run in order, then clear()
    std::size_t vertexCount() const { return _vertices.size(); }
    // Runs since the last clear, in drawing order; the kind, texture,
    // vertices and indices (counted from the run's first vertex) of the i-th.
    std::size_t bucketCount() const { return _runs.size(); }
    Kind bucketKind(std::size_t i) const { return _runs[i].kind; }
    unsigned bucketTexture(std::size_t i) const { return _runs[i].texture; }
    std::span<const BatchVertex> bucketVertices(std::size_t i) const;
    std::vector<unsigned> bucketIndices(std::size_t i) const;
    // Array draws made by the last draw().
    std::size_t lastDrawCalls() const { return _lastDrawCalls; }

private:
    struct Run
    {
        Kind kind;
        unsigned texture;
        std::size_t firstVertex;
        std::size_t vertexCount;
        std::size_t firstIndex;
        std::size_t indexCount;
    };
    // The run that the next `count` vertices of (kind, texture) join.
    Run& runFor(Kind kind, unsigned texture);
    BatchVertex* grow(Run& run, std::size_t count);
    // Room for count (at least `least`) vertices whose indices `indices`
    // appends, given the first vertex's index and the count.
    BatchVertex* appendIndexed(Kind kind, unsigned texture, std::size_t count, std::size_t least,
                               void (*indices)(std::vector<unsigned>&, unsigned, unsigned));
    // Textured runs onto the atlas (coordinates and texture), then equal
    // neighbours joined.
    void moveOntoAtlas();
    // Brings the GPU copies up to date with the vertices and indices.
    void upload();
    void drawRuns() const;

    std::vector<BatchVertex> _vertices;
    std::vector<unsigned> _indices;
    std::vector<Run> _runs;
    // What the GPU buffers hold, to send only the changed part.
    std::vector<BatchVertex> _uploadedVertices;
    std::vector<unsigned> _uploadedIndices;
    unsigned _vertexBuffer = 0;
    unsigned _indexBuffer = 0;
    std::size_t _vertexCapacity = 0;   // in the GPU buffer, vertices
    std::size_t _indexCapacity = 0;
    std::unique_ptr<StrokeAtlas> _atlas;   // made at the first textured draw
    std::size_t _lastDrawCalls = 0;
};
