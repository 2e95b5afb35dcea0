// Tests of the stroke outline: vertex and index bookkeeping, radius changes of side vertices,
// hand-over copies, and what happens at the fixed capacity.
#include "Stroke2d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// A horizontal stroke of n control points 10 apart with radius r, outlined as the stroke
// builder does: the sides of point i at (x, y + r) and (x, y - r), indices 2i and 2i + 1.
std::unique_ptr<Stroke2d> horizontalStroke(int n, double r)
{
    auto stroke = std::make_unique<Stroke2d>();
    for (int i = 0; i < n; ++i) {
        stroke->addControlPoint(ControlPoint2D(i, 10.0 * i, 50.0, r, 1.0));
        const std::uint32_t left = stroke->addVertexAtControlPoint(i, 0.0, r);
        stroke->addVertexAtControlPoint(i, 0.0, -r);
        stroke->addIndex(left / 2);
        stroke->addIndex(left / 2 + 1);
    }
    return stroke;
}

void expectVertex(const Stroke2d& stroke, std::uint32_t vertex, float x, float y)
{
    EXPECT_FLOAT_EQ(stroke.getVertices()[2 * vertex], x) << "vertex " << vertex;
    EXPECT_FLOAT_EQ(stroke.getVertices()[2 * vertex + 1], y) << "vertex " << vertex;
}

} // namespace

TEST(Stroke2d, RadiusChangeMovesOnlyThatPointsSidesAlongTheirDirections)
{
    auto stroke = horizontalStroke(4, 5.0);
    stroke->setControlPointRadius(1, 2.0);
    expectVertex(*stroke, 2, 10.0f, 52.0f);
    expectVertex(*stroke, 3, 10.0f, 48.0f);
    expectVertex(*stroke, 0, 0.0f, 55.0f);
    expectVertex(*stroke, 4, 20.0f, 55.0f);
    EXPECT_DOUBLE_EQ(stroke->getControlPoints()[1].getDiameter(), 4.0);

    // Sides off the perpendicular (at a joint) keep their own directions: 3-4-5 triangles.
    // Sides at the centre have no direction and stay there, without NaN.
    Stroke2d joint;
    joint.addControlPoint(ControlPoint2D(0, 100.0, 100.0, 5.0, 1.0));
    joint.addVertexAtControlPoint(0, 3.0, 4.0);
    joint.addVertexAtControlPoint(0, -4.0, -3.0);
    joint.addControlPoint(ControlPoint2D(1, 7.0, 8.0, 0.0, 1.0));
    joint.addVertexAtControlPoint(1, 0.0, 0.0);
    joint.addVertexAtControlPoint(1, 0.0, 0.0);
    joint.setControlPointRadius(0, 10.0);
    joint.setControlPointRadius(1, 4.0);
    joint.setControlPointRadius(2, 6.0); // no such point
    expectVertex(joint, 0, 106.0f, 108.0f);
    expectVertex(joint, 1, 92.0f, 94.0f);
    expectVertex(joint, 2, 7.0f, 8.0f);
    expectVertex(joint, 3, 7.0f, 8.0f);
    EXPECT_EQ(joint.getMaxRadius(), 10.0f);
}

TEST(Stroke2d, ClearOutlineZeroesTheUsedPartAndKeepsTheControlPoints)
{
    auto stroke = horizontalStroke(5, 3.0);
    stroke->clearOutline();
    EXPECT_EQ(stroke->getVertexFloatCount() + stroke->getIndexCount(), 0u);
    EXPECT_TRUE(std::all_of(stroke->getVertices().begin(), stroke->getVertices().begin() + 20,
                            [](float v) { return v == 0.0f; }));
    EXPECT_TRUE(std::all_of(stroke->getIndices().begin(), stroke->getIndices().begin() + 10,
                            [](std::uint32_t i) { return i == 0; }));
    EXPECT_EQ(stroke->getNumControlPoints(), 5u);
    EXPECT_EQ(stroke->addVertexAtControlPoint(4, 0.0, 1.0), 0u);
    expectVertex(*stroke, 0, 40.0f, 51.0f);
}

TEST(Stroke2d, HandOverCopyTakesOutlineAndWidestRadiusWithinCapacity)
{
    const auto source = horizontalStroke(6, 2.0);
    std::vector<ControlPoint2D> points = source->getControlPoints();
    points[3].setRadius(7.5);
    const auto copy = std::make_unique<Stroke2d>(points, source->getVertices().data(), 24,
                                                 source->getIndices().data(), 12);
    EXPECT_EQ(copy->getMaxRadius(), 7.5f);
    EXPECT_EQ(copy->getVertices(), source->getVertices());
    EXPECT_EQ(copy->getIndices(), source->getIndices());
    EXPECT_EQ(copy->getVertexFloatCount() + copy->getIndexCount(), 36u);
    EXPECT_EQ(Stroke2d({}, nullptr, 0, nullptr, 0).getMaxRadius(), 0.0f);

    // Counts are cut to the capacity and to whole vertices; indices are kept up to the
    // first that names no copied vertex.
    const std::vector<float> vertices(Stroke2d::MaxVertexFloats + 7, 3.0f);
    const std::vector<std::uint32_t> indices = {0, 1, 2, Stroke2d::MaxVertexFloats / 2, 3};
    const auto tooMuch = std::make_unique<Stroke2d>(points, vertices.data(), Stroke2d::MaxVertexFloats + 7,
                                                    indices.data(), 5);
    EXPECT_EQ(tooMuch->getVertexFloatCount(), Stroke2d::MaxVertexFloats);
    EXPECT_EQ(tooMuch->getIndexCount(), 3u);
    const auto odd = std::make_unique<Stroke2d>(points, vertices.data(), 5, indices.data(), 3);
    EXPECT_EQ(odd->getVertexFloatCount(), 4u);
    EXPECT_EQ(odd->getIndexCount(), 2u);
}

TEST(Stroke2d, FullOutlineDropsFurtherAdditionsAndStaysConsistent)
{
    // 5000 control points fill both arrays exactly: 10 000 vertices, 10 000 indices.
    const int full = static_cast<int>(Stroke2d::MaxIndices / 2);
    auto stroke = horizontalStroke(full, 2.0);
    ASSERT_EQ(stroke->getVertexFloatCount(), Stroke2d::MaxVertexFloats);
    ASSERT_EQ(stroke->getIndexCount(), Stroke2d::MaxIndices);

    // One more point keeps its place among the control points but gets no outline.
    stroke->addControlPoint(ControlPoint2D(full, 10.0 * full, 50.0, 2.0, 1.0));
    EXPECT_EQ(stroke->addVertexAtControlPoint(full, 0.0, 2.0), Stroke2d::MaxVertexFloats);
    EXPECT_EQ(stroke->addVertex(1.0f, 1.0f), Stroke2d::MaxVertexFloats);
    EXPECT_EQ(stroke->addIndex(0), Stroke2d::MaxIndices);
    EXPECT_EQ(stroke->getVertexFloatCount(), Stroke2d::MaxVertexFloats);
    EXPECT_EQ(stroke->getIndexCount(), Stroke2d::MaxIndices);
    EXPECT_EQ(stroke->getNumControlPoints(), static_cast<std::size_t>(full + 1));
    stroke->setControlPointRadius(full, 1.0); // the tapered end of an over-long stroke
    EXPECT_DOUBLE_EQ(stroke->getControlPoints()[full].getRadius(), 1.0);
    EXPECT_EQ(stroke->getVertexFloatCount(), Stroke2d::MaxVertexFloats);
    EXPECT_EQ(stroke->getIndices()[0], 0u);
    EXPECT_EQ(stroke->getIndices()[1], 1u);
    // The last outlined point is intact, and still adjustable.
    const std::uint32_t last = Stroke2d::MaxVertexFloats / 2 - 1;
    expectVertex(*stroke, last, 10.0f * (full - 1), 48.0f);
    EXPECT_EQ(stroke->getIndices()[Stroke2d::MaxIndices - 1], last);
    stroke->setControlPointRadius(full - 1, 1.0);
    expectVertex(*stroke, last, 10.0f * (full - 1), 49.0f);

    // An index must name a vertex already in the outline.
    Stroke2d fresh;
    EXPECT_EQ(fresh.addIndex(0), 0u);
    fresh.addVertex(1.0f, 1.0f);
    fresh.addIndex(1);
    fresh.addIndex(0);
    EXPECT_EQ(fresh.getIndexCount(), 1u);
}
