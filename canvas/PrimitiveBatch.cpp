// PrimitiveBatch: per-state vertex buckets and their array draws.
#include "PrimitiveBatch.h"

#include <GL/gl.h>

BatchVertex* PrimitiveBatch::append(Kind kind, unsigned texture, std::size_t count)
{
    if (count == 0)
        return nullptr;
    std::vector<BatchVertex>& vertices = _buckets[bucketFor(kind, texture)].vertices;
    const std::size_t first = vertices.size();
    vertices.resize(first + count);
    return vertices.data() + first;
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
            _buckets.push_back({kind, texture, {}});
    }
    if (_buckets[index].vertices.empty())
        _order.push_back(index);
    _lastBucket = index;
    return index;
}

void PrimitiveBatch::clear()
{
    for (Bucket& bucket : _buckets)
        bucket.vertices.clear();
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
    glVertexPointer(2, GL_FLOAT, stride, &v->x);
    glColorPointer(4, GL_FLOAT, stride, &v->r);
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
        glDrawArrays(GL_TRIANGLES, 0, count);
        break;
    case Kind::LitQuads:
        // The scene's renderer sets up light 0; the vertex colour is the
        // diffuse material.
        glDisable(GL_TEXTURE_2D);
        glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
        glEnable(GL_COLOR_MATERIAL);
        glEnable(GL_LIGHTING);
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, stride, &v->nx);
        glDrawArrays(GL_QUADS, 0, count);
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisable(GL_LIGHTING);
        glDisable(GL_COLOR_MATERIAL);
        break;
    case Kind::TranslucentQuads:
        glDisable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glDrawArrays(GL_QUADS, 0, count);
        break;
    case Kind::Lines:
        glDisable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glDrawArrays(GL_LINES, 0, count);
        break;
    }
}
