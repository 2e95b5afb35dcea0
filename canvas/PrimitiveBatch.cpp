// PrimitiveBatch: runs of equal drawing state in order, their GPU buffers
// and array draws.
#include "PrimitiveBatch.h"

#include "StrokeAtlas.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <utility>

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

PrimitiveBatch::PrimitiveBatch() = default;

PrimitiveBatch::~PrimitiveBatch()
{
    if (_vertexBuffer != 0)
        glDeleteBuffers(1, &_vertexBuffer);
    if (_indexBuffer != 0)
        glDeleteBuffers(1, &_indexBuffer);
}

PrimitiveBatch::Run& PrimitiveBatch::runFor(Kind kind, unsigned texture)
{
    if (_runs.empty() || _runs.back().kind != kind || _runs.back().texture != texture)
        _runs.push_back({kind, texture, _vertices.size(), 0, _indices.size(), 0});
    return _runs.back();
}

BatchVertex* PrimitiveBatch::grow(Run& run, std::size_t count)
{
    const std::size_t first = _vertices.size();
    _vertices.resize(first + count);
    run.vertexCount += count;
    return _vertices.data() + first;
}

BatchVertex* PrimitiveBatch::append(Kind kind, unsigned texture, std::size_t count)
{
    // Quads are drawn as two triangles each, through indices as a compiled
    // display list draws them: software GL would otherwise cut every quad
    // into triangles again at every draw.
    return appendIndexed(kind, texture, count, 4, [](std::vector<unsigned>& out, unsigned first, unsigned n) {
        for (unsigned q = first; q + 3 < first + n; q += 4)
            out.insert(out.end(), {q, q + 1, q + 2, q, q + 2, q + 3});
    });
}

BatchVertex* PrimitiveBatch::appendIndexed(Kind kind, unsigned texture, std::size_t count, std::size_t least,
                                           void (*indices)(std::vector<unsigned>&, unsigned, unsigned))
{
    if (count < least)
        return nullptr;
    Run& run = runFor(kind, texture);
    const auto first = static_cast<unsigned>(_vertices.size());
    BatchVertex* v = grow(run, count);
    const std::size_t before = _indices.size();
    indices(_indices, first, static_cast<unsigned>(count));
    run.indexCount += _indices.size() - before;
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

std::span<const BatchVertex> PrimitiveBatch::bucketVertices(std::size_t i) const
{
    return {_vertices.data() + _runs[i].firstVertex, _runs[i].vertexCount};
}

std::vector<unsigned> PrimitiveBatch::bucketIndices(std::size_t i) const
{
    const Run& run = _runs[i];
    std::vector<unsigned> local(_indices.begin() + static_cast<std::ptrdiff_t>(run.firstIndex),
                                _indices.begin() + static_cast<std::ptrdiff_t>(run.firstIndex + run.indexCount));
    for (unsigned& index : local)
        index -= static_cast<unsigned>(run.firstVertex);
    return local;
}

void PrimitiveBatch::clear()
{
    _vertices.clear();
    _indices.clear();
    _runs.clear();
}

namespace {

// The first element from which `now` and `before` differ, comparing blocks
// of elements at a time; the common length when they agree that far.
template <typename T>
std::size_t firstDifference(const std::vector<T>& now, const std::vector<T>& before)
{
    constexpr std::size_t Block = 256;
    const std::size_t common = std::min(now.size(), before.size());
    std::size_t i = 0;
    while (i + Block <= common && std::memcmp(&now[i], &before[i], Block * sizeof(T)) == 0)
        i += Block;
    while (i < common && std::memcmp(&now[i], &before[i], sizeof(T)) == 0)
        ++i;
    return i;
}

// One past the last element that differs, for vectors of equal length.
template <typename T>
std::size_t lastDifference(const std::vector<T>& now, const std::vector<T>& before, std::size_t first)
{
    constexpr std::size_t Block = 256;
    std::size_t end = now.size();
    while (end >= first + Block && std::memcmp(&now[end - Block], &before[end - Block], Block * sizeof(T)) == 0)
        end -= Block;
    while (end > first && std::memcmp(&now[end - 1], &before[end - 1], sizeof(T)) == 0)
        --end;
    return end;
}

// Makes the buffer object hold `now`, sending only the span that differs
// from `before` (what it held) when the size allows; then `before` holds
// `now` and `now` the old contents (the caller clears it).
template <typename T>
void sync(GLenum target, unsigned& buffer, std::size_t& capacity, std::vector<T>& now, std::vector<T>& before)
{
    if (buffer == 0)
        glGenBuffers(1, &buffer);
    glBindBuffer(target, buffer);
    if (now.size() > capacity) {
        capacity = now.size() + now.size() / 2;
        glBufferData(target, static_cast<GLsizeiptr>(capacity * sizeof(T)), nullptr, GL_DYNAMIC_DRAW);
        glBufferSubData(target, 0, static_cast<GLsizeiptr>(now.size() * sizeof(T)), now.data());
    } else {
        const std::size_t first = firstDifference(now, before);
        const std::size_t end = now.size() == before.size() ? lastDifference(now, before, first) : now.size();
        if (first < end)
            glBufferSubData(target, static_cast<GLintptr>(first * sizeof(T)),
                            static_cast<GLsizeiptr>((end - first) * sizeof(T)), now.data() + first);
    }
    std::swap(now, before);
}

const void* offsetOf(std::size_t bytes) { return reinterpret_cast<const void*>(bytes); }

} // namespace

void PrimitiveBatch::moveOntoAtlas()
{
    for (Run& run : _runs) {
        if (run.kind != Kind::TexturedQuads)
            continue;
        if (!_atlas)
            _atlas = std::make_unique<StrokeAtlas>();
        const StrokeAtlas::Place* place = _atlas->placeOf(run.texture);
        if (place == nullptr)
            continue;
        BatchVertex* v = _vertices.data() + run.firstVertex;
        for (std::size_t i = 0; i < run.vertexCount; ++i) {
            v[i].s = place->s0 + v[i].s * place->width;
            v[i].t = place->t0 + v[i].t * place->height;
        }
        run.texture = _atlas->texture();
    }
    // Runs lie back to back in the vertex and index arrays: equal
    // neighbours become one by widening the first.
    std::size_t kept = 0;
    for (std::size_t i = 1; i < _runs.size(); ++i) {
        Run& last = _runs[kept];
        if (_runs[i].kind == last.kind && _runs[i].texture == last.texture) {
            last.vertexCount += _runs[i].vertexCount;
            last.indexCount += _runs[i].indexCount;
        } else {
            _runs[++kept] = _runs[i];
        }
    }
    _runs.resize(_runs.empty() ? 0 : kept + 1);
}

void PrimitiveBatch::upload()
{
    sync(GL_ARRAY_BUFFER, _vertexBuffer, _vertexCapacity, _vertices, _uploadedVertices);
    if (!_indices.empty() || _indexBuffer != 0)
        sync(GL_ELEMENT_ARRAY_BUFFER, _indexBuffer, _indexCapacity, _indices, _uploadedIndices);
}

void PrimitiveBatch::draw()
{
    if (!_runs.empty()) {
        // Enables, lighting, texture binding and the current colour come back
        // with the pops, as do the client arrays.
        glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT);
        glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
        moveOntoAtlas();
        upload();
        drawRuns();
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
        glPopClientAttrib();
        glPopAttrib();
    }
    _lastDrawCalls = _runs.size();
    clear();
}

namespace {

void enterKind(PrimitiveBatch::Kind kind)
{
    using Kind = PrimitiveBatch::Kind;
    switch (kind) {
    case Kind::TexturedQuads:
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        break;
    case Kind::LitQuads:
        // The scene's renderer sets up light 0; the vertex colour is the
        // diffuse material.
        glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
        glEnable(GL_COLOR_MATERIAL);
        glEnable(GL_LIGHTING);
        glEnableClientState(GL_NORMAL_ARRAY);
        break;
    case Kind::FlatTriangles:
        break;
    case Kind::TranslucentTriangles:
    case Kind::Lines:
        glEnable(GL_BLEND);
        break;
    }
}

void leaveKind(PrimitiveBatch::Kind kind)
{
    using Kind = PrimitiveBatch::Kind;
    if (kind == Kind::TexturedQuads) {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisable(GL_TEXTURE_2D);
    } else if (kind == Kind::LitQuads) {
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisable(GL_LIGHTING);
        glDisable(GL_COLOR_MATERIAL);
    }
}

} // namespace

void PrimitiveBatch::drawRuns() const
{
    // Every array points into the bound buffers; each kind enables the ones it uses.
    const GLsizei stride = sizeof(BatchVertex);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, stride, offsetOf(offsetof(BatchVertex, x)));
    glColorPointer(4, GL_UNSIGNED_BYTE, stride, offsetOf(offsetof(BatchVertex, r)));
    glTexCoordPointer(2, GL_FLOAT, stride, offsetOf(offsetof(BatchVertex, s)));
    glNormalPointer(GL_BYTE, stride, offsetOf(offsetof(BatchVertex, nx)));
    glDisable(GL_TEXTURE_2D);
    const Run* previous = nullptr;
    for (const Run& run : _runs) {
        if (previous == nullptr || previous->kind != run.kind) {
            if (previous != nullptr)
                leaveKind(previous->kind);
            enterKind(run.kind);
        }
        if (run.kind == Kind::TexturedQuads && (previous == nullptr || previous->texture != run.texture
                                                || previous->kind != run.kind))
            glBindTexture(GL_TEXTURE_2D, run.texture);
        const auto first = static_cast<GLint>(run.firstVertex);
        const auto last = static_cast<GLuint>(run.firstVertex + run.vertexCount - 1);
        const auto indexCount = static_cast<GLsizei>(run.indexCount);
        const void* indices = offsetOf(run.firstIndex * sizeof(unsigned));
        switch (run.kind) {
        case Kind::TexturedQuads:
        case Kind::LitQuads:
        case Kind::FlatTriangles:
        case Kind::TranslucentTriangles:
            glDrawRangeElements(GL_TRIANGLES, static_cast<GLuint>(first), last, indexCount, GL_UNSIGNED_INT, indices);
            break;
        case Kind::Lines:
            glDrawRangeElements(GL_LINES, static_cast<GLuint>(first), last, indexCount, GL_UNSIGNED_INT, indices);
            break;
        }
        previous = &run;
    }
    if (previous != nullptr)
        leaveKind(previous->kind);
}
