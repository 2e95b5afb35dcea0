// PrimitiveBatch: collects the vertices of many primitives per drawing state
// and draws each state with one client-side array draw. On software GL a
// push/translate/rotate/callList per primitive costs several microseconds,
// so the canvas draws its primitives through one batch per frame.
#pragma once

#include <cstddef>
#include <vector>

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

// Buckets are kept per drawing state and drawn in the order in which they
// received their first vertex since the last clear(); within a bucket the
// order of appending is kept. So all primitives of one texture are drawn
// together, which may put a later stroke of texture A under an earlier
// stroke of texture B: the accepted price of drawing in few calls.
//
// Vertices are in device coordinates: draw() under the modelview that the
// primitives' own render() would start from (the canvas's children frame).
class PrimitiveBatch
{
public:
    enum class Kind
    {
        TexturedQuads,        // strokes: textured, blended, RGBA per vertex
        LitQuads,             // tiles: lighting with the colour as diffuse material
        FlatTriangles,        // point dabs: untextured, indexed triangles
        TranslucentTriangles, // stroke shapes: untextured, blended, indexed triangles
        Lines                 // outlines: indexed line pairs, blended
    };

    // Room for count vertices at the end of the bucket (kind, texture; the
    // texture is 0 for untextured kinds), drawn as they come: four per quad
    // for the quad kinds. The caller fills every vertex. The pointer is valid
    // until the next append, clear or draw; null for count 0.
    BatchVertex* append(Kind kind, unsigned texture, std::size_t count);
    // The same for shapes that share vertices, drawn through indices: a
    // triangle fan (vertex 0 the centre), a quad strip (vertices in pairs
    // across the strip, drawn as two triangles per quad) or a closed line
    // loop.
    BatchVertex* appendFan(Kind kind, unsigned texture, std::size_t count);
    BatchVertex* appendStrip(Kind kind, unsigned texture, std::size_t count);
    BatchVertex* appendLoop(Kind kind, unsigned texture, std::size_t count);

    void clear();            // empties every bucket, keeps capacity
    void draw();             // GL: draws every bucket, then clear()
    std::size_t vertexCount() const;
    // Buckets used since the last clear, and the kind, texture, vertices and
    // indices (empty for the quad kinds) of the i-th of them in drawing order.
    std::size_t bucketCount() const { return _order.size(); }
    Kind bucketKind(std::size_t i) const { return _buckets[_order[i]].kind; }
    unsigned bucketTexture(std::size_t i) const { return _buckets[_order[i]].texture; }
    const std::vector<BatchVertex>& bucketVertices(std::size_t i) const { return _buckets[_order[i]].vertices; }
    const std::vector<unsigned>& bucketIndices(std::size_t i) const { return _buckets[_order[i]].indices; }

private:
    struct Bucket
    {
        Kind kind;
        unsigned texture;
        std::vector<BatchVertex> vertices;
        std::vector<unsigned> indices;
    };
    std::size_t bucketFor(Kind kind, unsigned texture);
    // Room for count vertices; first receives the index of the first one.
    BatchVertex* grow(Bucket& bucket, std::size_t count, unsigned& first);
    // Room for count (at least `least`) vertices whose indices `indices`
    // appends, given the first vertex's index and the count.
    BatchVertex* appendIndexed(Kind kind, unsigned texture, std::size_t count, std::size_t least,
                               void (*indices)(std::vector<unsigned>&, unsigned, unsigned));
    static void drawBucket(const Bucket& bucket);

    std::vector<Bucket> _buckets;     // every state seen; kept for capacity
    std::vector<std::size_t> _order;  // buckets used since clear, first use first
    std::size_t _lastBucket = 0;      // consecutive appends mostly hit the same one
};
