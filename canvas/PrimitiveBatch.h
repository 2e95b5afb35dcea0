// PrimitiveBatch: collects the vertices of many primitives per drawing state
// and draws each state with one client-side array draw. On software GL a
// push/translate/rotate/callList per primitive costs several microseconds,
// so the canvas draws its primitives through one batch per frame.
#pragma once

#include <cstddef>
#include <vector>

// One interleaved vertex: position in device pixels, texture coordinates,
// normal, colour (0 .. 1 each channel).
struct BatchVertex
{
    float x, y;
    float s, t;
    float nx, ny, nz;
    float r, g, b, a;
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
        TexturedQuads,    // strokes: textured, blended, RGBA per vertex
        FlatTriangles,    // point dabs: untextured, colour per vertex
        LitQuads,         // tiles: lighting with the colour as diffuse material
        TranslucentQuads, // stroke shapes: untextured, blended
        Lines             // outlines: pairs of end points, blended
    };

    // Room for count vertices at the end of the bucket (kind, texture; the
    // texture is 0 for untextured kinds). The caller fills every field. The
    // pointer is valid until the next append, clear or draw;
    // null for count 0.
    BatchVertex* append(Kind kind, unsigned texture, std::size_t count);

    void clear();            // empties every bucket, keeps capacity
    void draw();             // GL: draws every bucket, then clear()
    std::size_t vertexCount() const;
    // Buckets used since the last clear, and the kind, texture and vertices
    // of the i-th of them in drawing order.
    std::size_t bucketCount() const { return _order.size(); }
    Kind bucketKind(std::size_t i) const { return _buckets[_order[i]].kind; }
    unsigned bucketTexture(std::size_t i) const { return _buckets[_order[i]].texture; }
    const std::vector<BatchVertex>& bucketVertices(std::size_t i) const { return _buckets[_order[i]].vertices; }

private:
    struct Bucket
    {
        Kind kind;
        unsigned texture;
        std::vector<BatchVertex> vertices;
    };
    std::size_t bucketFor(Kind kind, unsigned texture);
    static void drawBucket(const Bucket& bucket);

    std::vector<Bucket> _buckets;     // every state seen; kept for capacity
    std::vector<std::size_t> _order;  // buckets used since clear, first use first
    std::size_t _lastBucket = 0;      // consecutive appends mostly hit the same one
};
