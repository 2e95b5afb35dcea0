// PrimitiveBatch: per-state vertex buckets and their array draws.
#include "PrimitiveBatch.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

// Rounded to the nearest byte without a library call: hundreds of
// thousands of vertices are made per frame.
unsigned char channel(float c)
{
    return static_cast<unsigned char>(std::clamp(c, 0.0f, 1.0f) * 255.0f + 0.5f);
}

signed char component(float n)
{
    const float scaled = std::clamp(n, -1.0f, 1.0f) * 127.0f;
    return static_cast<signed char>(scaled + (scaled < 0.0f ? -0.5f : 0.5f));
}

} // namespace

BatchVertex::BatchVertex(float x_, float y_, float s_, float t_, float nx_, float ny_, float nz_, float r_, float g_,
                         float b_, float a_)
    : x(x_), y(y_), s(s_), t(t_), nx(component(nx_)), ny(component(ny_)), nz(component(nz_)), r(channel(r_)),
      g(channel(g_)), b(channel(b_)), a(channel(a_))
{
}

BatchVertex* PrimitiveBatch::grow(Bucket& bucket, std::size_t count, unsigned& first)
{
    first = static_cast<unsigned>(bucket.vertices.size());
    bucket.vertices.resize(bucket.vertices.size() + count);
    return bucket.vertices.data() + first;
}

BatchVertex* PrimitiveBatch::append(Kind kind, unsigned texture, std::size_t count)
{
    if (count == 0)
        return nullptr;
    unsigned first = 0;
    return grow(_buckets[bucketFor(kind, texture)], count, first);
}

BatchVertex* PrimitiveBatch::appendIndexed(Kind kind, unsigned texture, std::size_t count, std::size_t least,
                                           void (*indices)(std::vector<unsigned>&, unsigned, unsigned))
{
    if (count < least)
        return nullptr;
    Bucket& bucket = _buckets[bucketFor(kind, texture)];
    unsigned first = 0;
    BatchVertex* v = grow(bucket, count, first);
    indices(bucket.indices, first, static_cast<unsigned>(count));
    return v;
}

BatchVertex* PrimitiveBatch::appendFan(Kind kind, unsigned texture, std::size_t count)
{
    return appendIndexed(kind, texture, count, 3, [](std::vector<unsigned>& out, unsigned first, unsigned n) {
        for (unsigned i = 1; i + 1 < n; ++i)
            out.insert(out.end(), {first, first + i, first + i + 1});
    });
}

BatchVertex* PrimitiveBatch::appendStrip(Kind kind, unsigned texture, std::size_t count)
{
    // Pair i is (2i, 2i + 1); quad i joins pair i and pair i + 1.
    return appendIndexed(kind, texture, count, 4, [](std::vector<unsigned>& out, unsigned first, unsigned n) {
        for (unsigned i = first; i + 3 < first + n; i += 2)
            out.insert(out.end(), {i, i + 1, i + 3, i, i + 3, i + 2});
    });
}

BatchVertex* PrimitiveBatch::appendLoop(Kind kind, unsigned texture, std::size_t count)
{
    return appendIndexed(kind, texture, count, 2, [](std::vector<unsigned>& out, unsigned first, unsigned n) {
        for (unsigned i = 0; i < n; ++i)
            out.insert(out.end(), {first + i, first + (i + 1) % n});
    });
}

std::size_t PrimitiveBatch::bucketFor(Kind kind, unsigned texture)
{
    auto matches = [&](std::size_t i) { return _buckets[i].kind == kind && _buckets[i].texture == texture; };
    std::size_t index = _lastBucket;
    if (index >= _buckets.size() || !matches(index)) {
        index = 0;
        while (index < _buckets.size() && !matches(index))
            ++index;
        if (index == _buckets.size())
            _buckets.push_back({kind, texture, {}, {}});
    }
    if (_buckets[index].vertices.empty())
        _order.push_back(index);
    _lastBucket = index;
    return index;
}

void PrimitiveBatch::clear()
{
    for (Bucket& bucket : _buckets) {
        bucket.vertices.clear();
        bucket.indices.clear();
    }
    _order.clear();
}

std::size_t PrimitiveBatch::vertexCount() const
{
    std::size_t count = 0;
    for (const Bucket& bucket : _buckets)
        count += bucket.vertices.size();
    return count;
}

void PrimitiveBatch::draw()
{
    if (!_order.empty()) {
        // Enables, lighting, texture binding and the current colour come back
        // with the pops, as do the client arrays.
        glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT);
        glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        for (std::size_t index : _order)
            drawBucket(_buckets[index]);
        glPopClientAttrib();
        glPopAttrib();
    }
    clear();
}

void PrimitiveBatch::drawBucket(const Bucket& bucket)
{
    const BatchVertex* v = bucket.vertices.data();
    const GLsizei stride = sizeof(BatchVertex);
    const GLsizei count = static_cast<GLsizei>(bucket.vertices.size());
    const GLsizei indexCount = static_cast<GLsizei>(bucket.indices.size());
    const unsigned* indices = bucket.indices.data();
    // The index range is known: the driver need not scan the indices for it.
    const GLuint last = count > 0 ? static_cast<GLuint>(count - 1) : 0u;
    glVertexPointer(2, GL_FLOAT, stride, &v->x);
    glColorPointer(4, GL_UNSIGNED_BYTE, stride, &v->r);
    switch (bucket.kind) {
    case Kind::TexturedQuads:
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, bucket.texture);
        glEnable(GL_BLEND);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, stride, &v->s);
        glDrawArrays(GL_QUADS, 0, count);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisable(GL_TEXTURE_2D);
        break;
    case Kind::FlatTriangles:
        glDisable(GL_TEXTURE_2D);
        glDrawRangeElements(GL_TRIANGLES, 0, last, indexCount, GL_UNSIGNED_INT, indices);
        break;
    case Kind::LitQuads:
        // The scene's renderer sets up light 0; the vertex colour is the
        // diffuse material.
        glDisable(GL_TEXTURE_2D);
        glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
        glEnable(GL_COLOR_MATERIAL);
        glEnable(GL_LIGHTING);
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_BYTE, stride, &v->nx);
        glDrawArrays(GL_QUADS, 0, count);
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisable(GL_LIGHTING);
        glDisable(GL_COLOR_MATERIAL);
        break;
    case Kind::TranslucentTriangles:
        glDisable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glDrawRangeElements(GL_TRIANGLES, 0, last, indexCount, GL_UNSIGNED_INT, indices);
        break;
    case Kind::Lines:
        glDisable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glDrawRangeElements(GL_LINES, 0, last, indexCount, GL_UNSIGNED_INT, indices);
        break;
    }
}
