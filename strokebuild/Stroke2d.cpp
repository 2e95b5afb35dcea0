// Stroke2d: control points and the fixed-capacity triangle outline of a sketched stroke.
#include "Stroke2d.h"

#include "Vector2d.h"

#include <algorithm>

namespace {

// Moves the vertex at xy (two floats) from distance r0 to distance r from centre c, along
// its own direction from c. A vertex at the centre has no direction and stays put.
void moveSideVertex(float* xy, const Vector2d& centre, double r0, double r)
{
    const Vector2d v(xy[0], xy[1]);
    const Vector2d u = (v - centre).normalized();
    const Vector2d moved = v - r0 * u + r * u;
    xy[0] = static_cast<float>(moved.x);
    xy[1] = static_cast<float>(moved.y);
}

} // namespace

Stroke2d::Stroke2d(const std::vector<ControlPoint2D>& controlPoints, const float* vertices,
                   std::uint32_t vertexFloatCount, const std::uint32_t* indices,
                   std::uint32_t indexCount)
    : _controlPoints(controlPoints)
{
    if (!_controlPoints.empty()) {
        const auto widest = std::max_element(
            _controlPoints.begin(), _controlPoints.end(),
            [](const ControlPoint2D& a, const ControlPoint2D& b) { return a.getRadius() < b.getRadius(); });
        _maxRadius = static_cast<float>(widest->getRadius());
    }
    _vertexFloatCount = std::min(vertexFloatCount, MaxVertexFloats) & ~1u;
    std::copy_n(vertices, _vertexFloatCount, _vertices.begin());
    for (std::uint32_t n = 0; n < indexCount; ++n) {
        if (!appendIndex(indices[n]))
            break;
    }
}

std::uint32_t Stroke2d::addVertexAtControlPoint(std::size_t i, double dx, double dy)
{
    if (i >= _controlPoints.size())
        return _vertexFloatCount;
    const ControlPoint2D& cp = _controlPoints[i];
    return addVertex(static_cast<float>(cp.getX() + dx), static_cast<float>(cp.getY() + dy));
}

std::uint32_t Stroke2d::addVertex(float x, float y)
{
    const std::uint32_t before = _vertexFloatCount;
    if (before + 2 <= MaxVertexFloats) {
        _vertices[before] = x;
        _vertices[before + 1] = y;
        _vertexFloatCount = before + 2;
    }
    return before;
}

std::uint32_t Stroke2d::addIndex(std::uint32_t i)
{
    const std::uint32_t before = _indexCount;
    appendIndex(i);
    return before;
}

bool Stroke2d::appendIndex(std::uint32_t i)
{
    if (_indexCount >= MaxIndices || i >= _vertexFloatCount / 2)
        return false;
    _indices[_indexCount++] = i;
    return true;
}

void Stroke2d::addControlPoint(const ControlPoint2D& cp)
{
    _controlPoints.push_back(cp);
    _maxRadius = std::max(_maxRadius, static_cast<float>(cp.getRadius()));
}

void Stroke2d::setControlPointRadius(std::size_t i, double r)
{
    if (i >= _controlPoints.size())
        return;
    ControlPoint2D& cp = _controlPoints[i];
    const std::size_t left = 4 * i; // first float of vertex 2i; vertex 2i + 1 follows
    if (left + 4 <= _vertexFloatCount) {
        const Vector2d centre(cp.getX(), cp.getY());
        const double r0 = cp.getRadius();
        moveSideVertex(&_vertices[left], centre, r0, r);
        moveSideVertex(&_vertices[left + 2], centre, r0, r);
    }
    cp.setRadius(r);
    _maxRadius = std::max(_maxRadius, static_cast<float>(r));
}

const Stroke2d::VertexArray& Stroke2d::getVertices() const { return _vertices; }
const Stroke2d::IndexArray& Stroke2d::getIndices() const { return _indices; }
const std::vector<ControlPoint2D>& Stroke2d::getControlPoints() const { return _controlPoints; }
std::uint32_t Stroke2d::getVertexFloatCount() const { return _vertexFloatCount; }
std::uint32_t Stroke2d::getIndexCount() const { return _indexCount; }
std::size_t Stroke2d::getNumControlPoints() const { return _controlPoints.size(); }
float Stroke2d::getMaxRadius() const { return _maxRadius; }

void Stroke2d::clearOutline()
{
    std::fill_n(_vertices.begin(), _vertexFloatCount, 0.0f);
    std::fill_n(_indices.begin(), _indexCount, 0u);
    _vertexFloatCount = 0;
    _indexCount = 0;
}

void Stroke2d::translate(double dx, double dy)
{
    for (ControlPoint2D& cp : _controlPoints)
        cp.setXY(cp.getX() + dx, cp.getY() + dy);
    for (std::uint32_t i = 0; i + 1 < _vertexFloatCount; i += 2) {
        _vertices[i] += static_cast<float>(dx);
        _vertices[i + 1] += static_cast<float>(dy);
    }
}
