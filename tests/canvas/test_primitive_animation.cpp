// Primitives on a real canvas read its buffers at their own cell and erase,
// recolour, move, turn, resize and dodge; other types stand still.
#include "BufferTag.h"
#include "CanvasCompositeGL.h"
#include "CanvasTestSupport.h"
#include "PointLeafGL.h"
#include "PrimitiveLogger.h"
#include "StrokeLeafGL.h"
#include "TabletopVis.h"
#include "TaskRecord.h"
#include "TileLeafGL.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace {

constexpr int Type = 3;   // strokes

// A 1024 x 768 screen with 700 x 525 global cells; the canvas covers the
// screen with a 20 px overflow margin, has no tool brushes and works on Type.
class Animation : public testing::Test
{
protected:
    void SetUp() override
    {
        canvas = canvastest::addScreenCanvas(scene, {0.0, 20.0, 0, 0, 30.0f});
        canvas->setControlValue(ControlCells::PrimitiveType, Type);
    }
    template <class Primitive>
    Primitive* add(Primitive* primitive)
    {
        scene.addComponent(primitive, true);
        canvas->addChild(primitive);
        return primitive;
    }
    StrokeLeafGL* stroke(double x = 300, double y = 200, double angle = 0.0, int type = Type)
    {
        return add(new StrokeLeafGL(&scene, x, y, 0, 1, 0, 1, false, false, 40, 40, angle, 5, 0, 0, type, false));
    }
    std::pair<int, int> cellAt(double x, double y) const   // the canvas cell under a device point
    {
        double lx = 0.0, ly = 0.0;
        canvas->getLocalCoordinates(x, y, lx, ly);
        return {canvas->getBufferXCoordinateFromLocal(lx), canvas->getBufferYCoordinateFromLocal(ly)};
    }
    BufferTemplate<float>* floats(int tag) const { return canvas->getActiveBufferAs<float>(tag); }
    BufferTemplate<unsigned char>* bytes(int tag) const { return canvas->getActiveBufferAs<unsigned char>(tag); }
    static void run(VisComponent* c, int frames, double dt = 1.0)
    {
        for (int i = 0; i < frames; ++i)
            c->animateMyself(dt);
    }

    TabletopVis scene{1, 700, 525, 1024, 768};
    CanvasCompositeGL* canvas = nullptr;
};

auto stateOf(const StrokeLeafGL& s)
{
    return std::tuple(s.getXPos(), s.getYPos(), s.getWidth(), s.getRotation(), s.getLife(), s.getColor().r);
}

} // namespace

TEST_F(Animation, OnlyTheCurrentTypeFollowsTheBuffers)
{
    StrokeLeafGL* other = stroke(300, 200, 30.0, Type + 1);
    floats(DIRECTION_BUFFER)->fillEntireBufferWith2DValue(1.0f, 1.0f);
    floats(TEMP_ORIENTATION_BUFFER)->fillEntireBufferWith2DValue(1.0f, 0.0f);
    floats(SIZE_ABS_DIFF_BUFFER)->fillEntireBuffer(10.0f);
    floats(ERASE_BUFFER)->fillEntireBuffer(3.0f);
    bytes(COLOR_BUFFER)->fillEntireBufferWith3DValue(200, 10, 10);
    const auto before = stateOf(*other);
    run(other, 20);
    EXPECT_EQ(stateOf(*other), before);

    // Made current, the same primitive follows every buffer in one frame.
    canvas->setControlValue(ControlCells::PrimitiveType, Type + 1);
    run(other, 1);
    EXPECT_NE(other->getXPos(), 300.0);
    EXPECT_NE(other->getRotation(), 0.0);
    EXPECT_EQ(std::tuple(other->getWidth(), other->getLife(), other->getColor().r),
              std::tuple(50.0, StrokeLeafGL::FreshLife - 6, 200));
}

TEST_F(Animation, ErasingReadsTheOwnCellNeedsWholeStepsAndQueuesOnceLifeIsSpent)
{
    // Cells are coarser than pixels: the device pixel's index is another cell.
    StrokeLeafGL* s = stroke(500, 300);
    const auto [cx, cy] = cellAt(500, 300);
    ASSERT_LT(cx, 500);
    floats(ERASE_BUFFER)->setValue(500, 300, 5.0f);
    run(s, 1);
    EXPECT_EQ(s->getLife(), StrokeLeafGL::FreshLife);
    floats(ERASE_BUFFER)->setValue(cx, cy, 5.0f);
    run(s, 1);
    EXPECT_EQ(s->getLife(), StrokeLeafGL::FreshLife - 10);
    // Outside the canvas the position is clamped to its edge cell.
    StrokeLeafGL* outside = stroke(2000, -50);
    const int edgeX = canvas->getBufferXCoordinateFromLocal(1024);
    floats(ERASE_BUFFER)->setValue(edgeX, canvas->getBufferYCoordinateFromLocal(0), 1.0f);
    run(outside, 1);
    EXPECT_EQ(outside->getLife(), StrokeLeafGL::FreshLife - 2);

    StrokeLeafGL* fresh = stroke(300, 200);
    floats(ERASE_BUFFER)->fillEntireBuffer(0.4f);
    run(fresh, 200);
    EXPECT_EQ(fresh->getLife(), StrokeLeafGL::FreshLife);
    floats(ERASE_BUFFER)->fillEntireBuffer(1.0f);
    run(fresh, 99);
    EXPECT_EQ(std::pair(fresh->getLife(), canvas->getDeletionQueueLength()), std::pair(12, std::size_t{0}));
    run(fresh, 1);
    EXPECT_EQ(std::pair(fresh->getLife(), canvas->getDeletionQueueLength()), std::pair(1, std::size_t{1}));
    run(fresh, 1);
    EXPECT_EQ(canvas->getDeletionQueueLength(), 2u) << "queued again every frame until deleted";
}

TEST_F(Animation, ColoursAreTakenOnlyWithDropOffWeightsAndOnlyWhenTheCellChanges)
{
    StrokeLeafGL* s = stroke();
    bytes(COLOR_BUFFER)->fillEntireBufferWith3DValue(200, 10, 10);
    s->setPassiveBuffer(DROPOFF_BUFFER, nullptr);
    run(s, 1);
    EXPECT_EQ(s->getColor().r, 65);
    canvas->connectBuffers(s);
    run(s, 1);
    EXPECT_EQ(s->getColor().r, 200);
    // An unchanged cell leaves a colour set meanwhile alone.
    s->setColor(1, 2, 3);
    run(s, 1);
    EXPECT_EQ(s->getColor().r, 1);
    bytes(COLOR_BUFFER)->fillEntireBufferWith3DValue(10, 200, 10);
    run(s, 1);
    EXPECT_EQ(s->getColor().g, 200);
}

TEST_F(Animation, MovingAndTurning)
{
    // Movement is taken in the primitive's frame: +x of a quarter-turned
    // stroke is device +y; 2.5 x dt pixels per unit.
    StrokeLeafGL* s = stroke(300, 200, 90.0);
    s->setRotation(90.0);
    floats(DIRECTION_BUFFER)->fillEntireBufferWith2DValue(1.0f, 0.0f);
    run(s, 1, 0.5);
    EXPECT_NEAR(s->getXPos(), 300.0, 1e-6);
    EXPECT_NEAR(s->getYPos(), 201.25, 1e-6);
    floats(DIRECTION_BUFFER)->fillEntireBufferWith2DValue(0.0f, 0.0f);

    // Targets are degrees from straight up, negative towards +x.
    auto* orientation = floats(TEMP_ORIENTATION_BUFFER);
    for (auto [x, y, target] : {std::tuple{1.0f, 0.0f, -90.0}, {-1.0f, 0.0f, 90.0}, {0.0f, -1.0f, -180.0},
                                {-0.5f, 0.5f, 45.0}}) {
        orientation->fillEntireBufferWith2DValue(x, y);
        run(s, 1);
        EXPECT_NEAR(s->getTargetAngle(), target, 1e-9) << x << ", " << y;
    }
    orientation->fillEntireBufferWith2DValue(0.002f, 0.002f);   // squared length up to 1e-05: kept
    run(s, 1);
    EXPECT_NEAR(s->getTargetAngle(), 45.0, 1e-9);

    // 10 degrees off: a fifth of it in the first frame, and on until less
    // than a degree is left (after 11 frames); half a degree: never.
    StrokeLeafGL* ten = stroke(300, 300, 10.0);
    run(ten, 1);
    EXPECT_NEAR(ten->getRotation(), 2.0, 1e-9);
    run(ten, 49);
    EXPECT_NEAR(ten->getRotation(), 10.0 - 10.0 * std::pow(0.8, 11), 1e-6);
    StrokeLeafGL* half = stroke(300, 400, 0.5);
    run(half, 50);
    EXPECT_EQ(half->getRotation(), 0.0);
    // The short way round, both ways: 170 and -170 are 20 degrees apart.
    for (double from : {170.0, -170.0}) {
        StrokeLeafGL* wrap = stroke(300, 500, -from);
        wrap->setRotation(from);
        run(wrap, 1);
        EXPECT_NEAR(wrap->getRotation(), from + (from > 0 ? 4.0 : -4.0), 1e-9);
    }
}

TEST_F(Animation, RelativeSizesAreClampedAbsoluteSizesAreNot)
{
    StrokeLeafGL* s = stroke();
    auto* diff = floats(SIZE_ABS_DIFF_BUFFER);
    diff->fillEntireBuffer(500.0f);
    run(s, 1);
    EXPECT_EQ(s->getWidth(), StrokeLeafGL::MaxRelativeSize);
    diff->fillEntireBuffer(-500.0f);
    run(s, 1);
    EXPECT_EQ(s->getWidth(), StrokeLeafGL::MinRelativeSize);
    // A relative buffer replaces the absolute size, even with a difference of 0.
    floats(SIZE_BUFFER)->fillEntireBuffer(300.0f);
    diff->fillEntireBuffer(0.0f);
    run(s, 1);
    EXPECT_EQ(s->getWidth(), StrokeLeafGL::MinRelativeSize);
    s->setPassiveBuffer(SIZE_ABS_DIFF_BUFFER, nullptr);
    run(s, 1);
    EXPECT_EQ(std::pair(s->getWidth(), s->getHeight()), std::pair(300.0, 300.0));
}

TEST_F(Animation, PointsTakeTheirShapeFromSpeedAndTheirColourFromNonNeutralTemporaryColour)
{
    PointLeafGL* p = add(new PointLeafGL(&scene, 300, 200, false, false, 20, 20, Type));
    auto* speed = canvas->getActiveBufferAs<int>(SPEED_BUFFER);
    for (auto [value, shape] : {std::pair{7, 7}, {99, 15}, {-3, 0}}) {
        speed->fillEntireBuffer(value);
        run(p, 1);
        EXPECT_EQ(p->getShapeIndex(), shape) << value;
    }
    bytes(TEMP_COLOR_BUFFER)->fillEntireBufferWith3DValue(127, 5, 5);
    run(p, 1);
    EXPECT_NE(p->getColor().g, 5) << "(127, 5, 5) counts as neutral";
    bytes(TEMP_COLOR_BUFFER)->fillEntireBufferWith3DValue(128, 5, 5);
    run(p, 1);
    EXPECT_EQ(std::pair(+p->getColor().r, +p->getColor().g), std::pair(128, 5));
}

TEST_F(Animation, TilesStepAwayFromNeighbourCentresButNotFromTheirOwnRowOrColumn)
{
    TileLeafGL* tile = add(new TileLeafGL(&scene, 400, 300, false, false, 30, 30, 0.0, Type, true));
    auto* dodging = floats(DODGING_BUFFER);
    float cx = 0.0f, cy = 0.0f;
    ASSERT_TRUE(tile->fractionalCell(cx, cy));
    const auto [x, y] = cellAt(400, 300);
    EXPECT_EQ(std::pair(static_cast<int>(cx), static_cast<int>(cy)), std::pair(x, y));

    // The footprint lands in the tile's own cell and does not push it;
    // neither do centres on its row or column.
    tile->renderIntoBuffers();
    float a = 0.0f, b = 0.0f;
    dodging->get2DValues(x, y, a, b);
    EXPECT_EQ(std::pair(a, b), std::pair(cx, cy));
    EXPECT_FALSE(dodging->isValid()) << "the canvas clears only marked buffers";
    dodging->set2DValues(x + 3, y, cx + 3.0f, cy);
    dodging->set2DValues(x, y - 2, cx, cy - 2.0f);
    run(tile, 1);
    EXPECT_EQ(std::pair(tile->getXPos(), tile->getYPos()), std::pair(400.0, 300.0));

    // A neighbour up and right pushes one pixel down and left.
    dodging->set2DValues(x + 4, y + 3, cx + 4.0f, cy + 3.0f);
    run(tile, 1);
    EXPECT_NEAR(tile->getXPos(), 400.0 - 0.8, 1e-4);
    EXPECT_NEAR(tile->getYPos(), 300.0 - 0.6, 1e-4);
    // Beyond the sizeBuffer radius (30 px, about 20 cells) nothing pushes.
    dodging->fillEntireBufferWith2DValue(0.0f, 0.0f);
    dodging->set2DValues(x + 25, y + 25, cx + 25.0f, cy + 25.0f);
    run(tile, 1);
    EXPECT_NEAR(tile->getXPos(), 400.0 - 0.8, 1e-4);
}

TEST_F(Animation, PrimitivesTakeContactsOnlyOfTheirTypeAndWhileTheCanvasIsNotTrackingTouches)
{
    StrokeLeafGL* current = stroke(300, 200);
    StrokeLeafGL* other = stroke(600, 200, 0.0, Type + 1);
    EXPECT_NE(scene.pickComponent(300, 200), current) << "the canvas tracks touches at first";
    canvas->setTrackingTouches(false);
    EXPECT_EQ(scene.pickComponent(300, 200), current);
    EXPECT_NE(scene.pickComponent(600, 200), other);
    auto* loose = new StrokeLeafGL(&scene, 100, 100, 0, 1, 0, 1, false, false, 40, 40, 0, 5, 0, 0, Type, false);
    scene.addComponent(loose, true);
    EXPECT_FALSE(loose->containsLocalPoint(20, 20)) << "no canvas parent, no contact";
}

TEST_F(Animation, WhileATaskIsRecordedPrimitivesLogTheirFirstStepTheirErasureAndTheirState)
{
    PrimitiveLogger& log = PrimitiveLogger::instance();
    log.reset();
    StrokeLeafGL* s = stroke(300, 200);
    run(s, 1);
    EXPECT_TRUE(log.records().empty()) << "nothing without a task";
    TaskRecord task{};
    log.setTask(&task);
    const auto [x, y] = cellAt(300, 200);
    canvas->getActiveBufferAs<bool>(TARGET_AREA_BUFFER)->setValue(x, y, true);
    floats(ERASE_BUFFER)->fillEntireBuffer(50.0f);
    run(s, 3);
    s->logState();
    const auto& records = log.records().at(static_cast<int>(s->getId()));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(std::tuple(records[0].erased, records[0].inTargetArea, records[0].x, records[0].width),
              std::tuple(false, true, 300, 40));
    EXPECT_TRUE(records[1].erased && records[2].erased);
    EXPECT_EQ(log.erasedCount(), 2u);
    log.reset();
}
