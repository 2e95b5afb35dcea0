// Primitives without a display: shared shape data, what a primitive appends
// to a batch (hidden frames, highlighting, mask, alpha, placement), buckets.
#include "BufferTag.h"
#include "ControlTable.h"
#include "GeoStrokeLeafGL.h"
#include "PointLeafGL.h"
#include "PrimitiveBatch.h"
#include "StrokeLeafGL.h"
#include "SurfaceCompositeGL.h"
#include "TabletopVis.h"
#include "TileLeafGL.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <tuple>

using namespace PrimitiveShapes;

namespace {

constexpr int Type = 1;

// Vertices a primitive appends in one call.
std::size_t appended(PrimitiveLeafGL& primitive)
{
    PrimitiveBatch batch;
    primitive.appendToBatch(batch);
    return batch.vertexCount();
}

// A control table with highlighting on for `highlighted`.
std::unique_ptr<BufferTemplate<float>> highlighting(TabletopVis& scene, int highlighted)
{
    auto control = scene.createNewFloatImageBuffer(ControlTable::Size, ControlTable::Size);
    ControlTable::set(control.get(), ControlCells::HighlightSwitch, 1.0f);
    ControlTable::set(control.get(), ControlCells::HighlightType, static_cast<float>(highlighted));
    return control;
}

class Primitives : public testing::Test
{
protected:
    template <class Primitive>
    Primitive* make(Primitive* primitive)
    {
        scene.addComponent(primitive, true);
        return primitive;
    }
    StrokeLeafGL* stroke(unsigned texture, int type = Type)
    {
        return make(new StrokeLeafGL(&scene, 100, 50, 0, 1, 0, 1, false, false, 40, 20, 0, texture, 0, 0, type, false));
    }
    // Past the three hidden frames.
    static void reveal(PrimitiveLeafGL& primitive)
    {
        for (int i = 0; i < PrimitiveLeafGL::HiddenFrames; ++i)
            appended(primitive);
    }

    TabletopVis scene{1, 700, 525, 1024, 768};
};

} // namespace

TEST(PrimitiveShapes, DabFansGrowToJustBelowTwoAndAHalfAndTilesBevelByFifteenPercent)
{
    const auto& factors = pointShapeFactors();
    EXPECT_EQ(factors[0], 1.0f);
    EXPECT_TRUE(factors[15] < 2.5f && factors[15] > 2.4999f) << factors[15];
    EXPECT_NEAR(pointShapes()[15][11].x, pointShapes()[15][1].x, 1e-5) << "the fan closes";
    EXPECT_NEAR(tileFaces()[2].x, 0.5 - 0.15 * 0.5, 1e-6) << "bevel of 0.15 x half size";
}

TEST(PrimitiveShapes, StrokeShapeOutlinesRunAHalfWidthEitherSideOfTheCentreLine)
{
    for (auto [asked, got] : {std::pair{0, 32}, {40, 32}, {-1, 32}, {1, 1}, {32, 32}})
        EXPECT_EQ(validSegmentCount(asked), got) << asked;
    const Outline outline = defaultOutline(6);
    const float expectedY[] = {0, 1, 2, 2, 1, 0};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(std::pair(outline.centre[i].x, outline.centre[i].y), std::pair(4.0f * i, expectedY[i]));
        const double dx = outline.left[i].x - outline.right[i].x;
        const double dy = outline.left[i].y - outline.right[i].y;
        EXPECT_NEAR(std::hypot(dx, dy), 20.0, 1e-4) << i;
        EXPECT_GT(dy, 0.0) << "left of the direction of travel";
    }
}

TEST_F(Primitives, EveryLeafDrawsNothingForItsFirstThreeFrames)
{
    PrimitiveLeafGL* leaves[] = {
        make(new PointLeafGL(&scene, 10, 10, false, false, 20, 20, Type)),
        stroke(3),
        make(new TileLeafGL(&scene, 10, 10, false, false, 20, 20, 0, Type, false)),
        make(new GeoStrokeLeafGL(&scene, 10, 10, false, false, 20, 20, 7, 8, Type, 0)),
    };
    // Dabs share their fan's 12 vertices; stroke shapes have 32 pairs of
    // band vertices.
    const std::size_t expected[] = {12, 4, 20, 2 * 32};
    for (int i = 0; i < 4; ++i) {
        for (int frame = 0; frame < 3; ++frame)
            EXPECT_EQ(appended(*leaves[i]), 0u) << "leaf " << i << " frame " << frame;
        EXPECT_EQ(appended(*leaves[i]), expected[i]) << "leaf " << i;
    }
    EXPECT_EQ(leaves[3]->getAuxiliaryValue(1), 8.0f);
}

TEST_F(Primitives, HighlightingDimsEveryTypeButTheHighlightedOne)
{
    const auto control = highlighting(scene, Type);
    PointLeafGL* shown = make(new PointLeafGL(&scene, 10, 10, false, false, 20, 20, Type));
    PointLeafGL* dimmed = make(new PointLeafGL(&scene, 10, 10, false, false, 20, 20, Type + 1));
    StrokeLeafGL* stroke2 = stroke(3, Type + 1);
    TileLeafGL* tile = make(new TileLeafGL(&scene, 10, 10, false, false, 20, 20, 0, Type + 1, false));
    for (PrimitiveLeafGL* p : std::initializer_list<PrimitiveLeafGL*>{shown, dimmed, stroke2, tile}) {
        p->setPassiveBuffer(CONTROL_BUFFER, control.get());
        p->setColor(200, 101, 7);
        reveal(*p);
    }
    PrimitiveBatch batch;
    shown->appendToBatch(batch);
    dimmed->appendToBatch(batch);
    const auto& points = batch.bucketVertices(0);
    EXPECT_EQ(points.front().r, 200);
    EXPECT_EQ(std::tuple(+points.back().r, +points.back().g, +points.back().b), std::tuple(100, 50, 3));
    EXPECT_EQ(stroke2->drawAlpha(), 100);
    float diffuse[4];
    tile->diffuseColor(diffuse);
    EXPECT_FLOAT_EQ(diffuse[0], 100.0f / 256.0f);

    // Highlighting off: full strength for every type.
    control->setValue(5, 0, 0.0f);
    EXPECT_EQ(stroke2->drawAlpha(), StrokeLeafGL::FreshLife);
    tile->diffuseColor(diffuse);
    EXPECT_FLOAT_EQ(diffuse[0], 200.0f / 256.0f);
    EXPECT_EQ(dimmed->drawColor().r, 200);
}

TEST_F(Primitives, StrokesHideWhereTheMaskIsOffAndShowTheirLifeAsAlpha)
{
    // A bare surface parent with a stroke mask, context selection and control table.
    auto* surface = make(new SurfaceCompositeGL(&scene, 512, 384, 1024, 768, 0, 0, 0));
    surface->setActiveBuffer(STROKE_MASK_BUFFER, scene.createNewBoolImageBuffer(700, 525));
    surface->setActiveBuffer(CONTEXT_SELECTION_BUFFER, scene.createNewBoolImageBuffer(700, 525));
    auto control = scene.createNewFloatImageBuffer(ControlTable::Size, ControlTable::Size);
    control->setValue(3, 0, static_cast<float>(Type));
    surface->setActiveBuffer(CONTROL_BUFFER, std::move(control));
    StrokeLeafGL* s = stroke(3);
    surface->addChild(s);
    ASSERT_TRUE(s->isMasked());
    for (int frame = 0; frame < 10; ++frame)
        EXPECT_EQ(appended(*s), 0u);

    surface->getActiveBufferAs<bool>(STROKE_MASK_BUFFER)->fillEntireBuffer(true);
    reveal(*s);
    PrimitiveBatch batch;
    s->appendToBatch(batch);
    ASSERT_EQ(batch.vertexCount(), 4u);
    EXPECT_EQ(batch.bucketVertices(0)[0].a, 210);

    surface->getActiveBufferAs<bool>(CONTEXT_SELECTION_BUFFER)->fillEntireBuffer(true);
    s->animateMyself(1.0);
    EXPECT_EQ(s->drawAlpha(), 120);
}

TEST_F(Primitives, BatchVerticesArePlacedTurnedAndTexturedOnTheCpu)
{
    StrokeLeafGL* s = make(new StrokeLeafGL(&scene, 100, 50, 0.1f, 0.9f, 0.2f, 0.8f, false, false, 40, 20, 0, 4, 0,
                                            0, Type, false));
    TileLeafGL* tile = make(new TileLeafGL(&scene, 300, 200, false, false, 10, 10, 0, Type, false));
    PrimitiveBatch batch;
    for (PrimitiveLeafGL* p : std::initializer_list<PrimitiveLeafGL*>{s, tile}) {
        p->setRotation(90.0);
        reveal(*p);
        p->appendToBatch(batch);
    }
    // The stroke's corners (-20, -10) and (20, 10) turned a quarter, with
    // the used rectangle's corners.
    const BatchVertex& low = batch.bucketVertices(0)[0];
    const BatchVertex& high = batch.bucketVertices(0)[2];
    EXPECT_EQ(std::tuple(std::lround(low.x), std::lround(low.y), low.s, low.t), std::tuple(110L, 30L, 0.1f, 0.2f));
    EXPECT_EQ(std::tuple(std::lround(high.x), std::lround(high.y), high.s, high.t), std::tuple(90L, 70L, 0.9f, 0.8f));
    // The tile's right bevel (normal +x) faces +y once turned.
    const BatchVertex& bevel = batch.bucketVertices(1)[4];
    EXPECT_EQ(std::tuple(+bevel.nx, +bevel.ny, +bevel.nz), std::tuple(0, 90, 90));
}

TEST_F(Primitives, RunsKeepTheOrderOfAppendingAndJoinOnlyNeighboursOfOneState)
{
    StrokeLeafGL* a1 = stroke(11);
    PointLeafGL* point = make(new PointLeafGL(&scene, 10, 10, false, false, 20, 20, Type));
    StrokeLeafGL* b = stroke(12);
    StrokeLeafGL* a2 = stroke(11);
    StrokeLeafGL* a3 = stroke(11);
    PrimitiveBatch batch;
    for (PrimitiveLeafGL* p : std::initializer_list<PrimitiveLeafGL*>{a1, point, b, a2, a3}) {
        reveal(*p);
        p->appendToBatch(batch);
    }
    // A later stroke of texture 11 is drawn after (over) the dab and stroke 12.
    ASSERT_EQ(batch.bucketCount(), 4u);
    EXPECT_EQ(std::pair(batch.bucketTexture(0), batch.bucketVertices(0).size()), std::pair(11u, std::size_t{4}));
    EXPECT_EQ(batch.bucketKind(1), PrimitiveBatch::Kind::FlatTriangles);
    EXPECT_EQ(batch.bucketTexture(2), 12u);
    EXPECT_EQ(std::pair(batch.bucketTexture(3), batch.bucketVertices(3).size()), std::pair(11u, std::size_t{8}));
    // The dab's fan as ten triangles round its centre vertex.
    const std::vector<unsigned>& fan = batch.bucketIndices(1);
    ASSERT_EQ(fan.size(), 30u);
    EXPECT_EQ((std::vector<unsigned>(fan.begin(), fan.begin() + 6)), (std::vector<unsigned>{0, 1, 2, 0, 2, 3}));
    EXPECT_EQ(batch.bucketIndices(0), (std::vector<unsigned>{0, 1, 2, 0, 2, 3}));

    batch.clear();   // and the order starts afresh
    point->appendToBatch(batch);
    a1->appendToBatch(batch);
    EXPECT_EQ(batch.bucketKind(0), PrimitiveBatch::Kind::FlatTriangles);
    EXPECT_EQ(batch.bucketTexture(1), 11u);
}

TEST_F(Primitives, StrokeShapesAreTheDefaultLineFromTheirPositionInOneYellowStrip)
{
    auto* shape = make(new GeoStrokeLeafGL(&scene, 10, 10, false, false, 40, 14, 0, 0, Type, 5));
    const PrimitiveShapes::Outline& outline = shape->getOutline();
    const std::vector<std::pair<float, float>> line{{0, 0}, {4, 1}, {8, 2}, {12, 1}, {16, 0}};
    ASSERT_EQ(outline.centre.size(), line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        EXPECT_EQ(std::pair(outline.centre[i].x, outline.centre[i].y), line[i]) << i;
        EXPECT_EQ(outline.halfWidth[i], 10.0) << "not scaled by the width";
    }
    PrimitiveBatch batch;
    for (int i = 0; i <= PrimitiveLeafGL::HiddenFrames; ++i)
        shape->appendToBatch(batch);
    ASSERT_EQ(batch.bucketCount(), 1u) << "no outline";
    EXPECT_EQ(batch.bucketKind(0), PrimitiveBatch::Kind::TranslucentTriangles);
    const auto v = batch.bucketVertices(0);
    ASSERT_EQ(v.size(), 2 * line.size());
    // The first pair lies across the position, 10 px either side of the line.
    EXPECT_NEAR(0.5f * (v[0].x + v[1].x), 10.0f, 1e-4);
    EXPECT_NEAR(0.5f * (v[0].y + v[1].y), 10.0f, 1e-4);
    EXPECT_NEAR(std::hypot(v[0].x - v[1].x, v[0].y - v[1].y), 20.0f, 1e-3);
    EXPECT_EQ(std::vector<int>({v[3].r, v[3].g, v[3].b, v[3].a}), (std::vector<int>{255, 255, 0, 153}));
}

TEST(PrimitiveBatchIndices, StripsAndLoopsIndexTheirOwnVertices)
{
    PrimitiveBatch batch;
    EXPECT_EQ(batch.appendStrip(PrimitiveBatch::Kind::TranslucentTriangles, 0, 2), nullptr);   // too short
    batch.appendLoop(PrimitiveBatch::Kind::Lines, 0, 3);
    // A strip of three pairs after a loop of two already in its bucket.
    batch.appendLoop(PrimitiveBatch::Kind::TranslucentTriangles, 0, 2);
    batch.appendStrip(PrimitiveBatch::Kind::TranslucentTriangles, 0, 6);
    ASSERT_EQ(batch.bucketCount(), 2u);
    EXPECT_EQ(batch.bucketIndices(0), (std::vector<unsigned>{0, 1, 1, 2, 2, 0}));
    EXPECT_EQ(batch.bucketIndices(1),
              (std::vector<unsigned>{0, 1, 1, 0, 2, 3, 5, 2, 5, 4, 4, 5, 7, 4, 7, 6}));
    // Colours and normals are stored as bytes, clamped.
    const BatchVertex v(1, 2, 0, 0, -1.0f, 0.5f, 2.0f, 1.0f, 0.5f, -0.2f, 0.0f);
    EXPECT_EQ(std::vector<int>({v.nx, v.ny, v.nz, v.r, v.g, v.b, v.a}),
              (std::vector<int>{-127, 64, 127, 255, 128, 0, 0}));
}
