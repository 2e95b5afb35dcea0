// Stroke2d: a sketched stroke shape, its control points and a triangle outline held in
// fixed arrays inside the object, ready to draw as indexed triangles without allocation.
#pragma once

#include "ControlPoint2D.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Outline layout: the outline builder adds two vertices per control point, its left and
// right side, so vertices 2i and 2i + 1 belong to control point i (setControlPointRadius
// relies on this). Indices name vertices, three per triangle or one per strip vertex.
//
// Capacity: at most MaxVertexFloats floats (MaxVertexFloats / 2 vertices) and MaxIndices
// indices. Additions that do not fit are dropped whole and leave the outline as it was, so
// nothing is ever written past the arrays; an index is also dropped when it names a vertex
// that is not in the outline, so drawing never reads past the vertices in use. Control
// points have no such limit: points beyond a full outline simply have no vertices.
class Stroke2d
{
public:
    static constexpr std::uint32_t MaxVertexFloats = 20000;
    static constexpr std::uint32_t MaxIndices = 10000;
    using VertexArray = std::array<float, MaxVertexFloats>;
    using IndexArray = std::array<std::uint32_t, MaxIndices>;

    // An empty stroke, maxRadius 0.
    Stroke2d() = default;
    // Copies the control points, the first vertexFloatCount floats (cut to the capacity and
    // to whole vertices) and the indices up to the first one that does not fit or names no
    // copied vertex; maxRadius becomes the largest radius, 0 without points. vertices and
    // indices must hold at least the counts given.
    Stroke2d(const std::vector<ControlPoint2D>& controlPoints, const float* vertices,
             std::uint32_t vertexFloatCount, const std::uint32_t* indices,
             std::uint32_t indexCount);
    Stroke2d(const Stroke2d&) = default;
    Stroke2d& operator=(const Stroke2d&) = default;
    virtual ~Stroke2d() = default;

    // Appends the vertex (x + dx, y + dy) of control point i; like addVertex it returns the
    // float count before the call. Nothing is added when there is no control point i.
    virtual std::uint32_t addVertexAtControlPoint(std::size_t i, double dx, double dy);
    // Appends a vertex and returns the float count before the call (twice its index when it
    // was added; the count is unchanged when the outline is full).
    virtual std::uint32_t addVertex(float x, float y);
    // Appends a vertex index and returns the index count before the call (unchanged when
    // the index array is full or the vertex does not exist yet).
    virtual std::uint32_t addIndex(std::uint32_t i);
    // Appends cp and raises maxRadius to its radius when larger.
    virtual void addControlPoint(const ControlPoint2D& cp);
    // Gives control point i radius r and moves its two side vertices (2i, 2i + 1) along
    // their directions from the centre to distance r, assuming they lay at the old radius.
    // Side vertices at the centre stay there. maxRadius rises when r is larger. Out-of-range
    // i does nothing; a point without side vertices only changes its radius.
    virtual void setControlPointRadius(std::size_t i, double r);
    virtual const VertexArray& getVertices() const;
    virtual const IndexArray& getIndices() const;
    virtual const std::vector<ControlPoint2D>& getControlPoints() const;
    virtual std::uint32_t getVertexFloatCount() const;
    virtual std::uint32_t getIndexCount() const;
    virtual std::size_t getNumControlPoints() const;
    virtual float getMaxRadius() const;
    // Zeroes the used vertex floats and indices and empties the outline; the control points
    // and maxRadius stay.
    virtual void clearOutline();
    // Moves the control points and the outline by (dx, dy).
    virtual void translate(double dx, double dy);

private:
    // Appends i when there is room and it names a vertex in use; false otherwise.
    bool appendIndex(std::uint32_t i);

    std::vector<ControlPoint2D> _controlPoints;
    VertexArray _vertices{};
    std::uint32_t _vertexFloatCount = 0; // two per vertex
    IndexArray _indices{};
    std::uint32_t _indexCount = 0;
    float _maxRadius = 0.0f; // largest control-point radius seen
};
