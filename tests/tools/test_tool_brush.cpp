// The tool brush on a headless canvas: profile, mask and vector fields, each
// action code's writes above the threshold, clipping at the canvas edge,
// create counts, failure messages; between frames, the marks
// left behind and the rules' edges.
#include "BufferTag.h"
#include "CanvasCompositeGL.h"
#include "CanvasTestSupport.h"
#include "PointLeafGL.h"
#include "StrokeLeafGL.h"
#include "TabletopVisGL.h"
#include "TileLeafGL.h"
#include "ToolBrushLeafGL.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <tuple>
#include <utility>

namespace {

// 700 x 525 cells on a 1024 x 768 screen: 0.68359375 cells per pixel, so a
// 200-pixel brush is 137 cells wide with its centre on brush cell 68.
constexpr int Centre = 68;
constexpr float Threshold = 0.1f;

struct BrushScene : canvastest::ScreenCanvas
{
    BrushScene()
    {
        scene.setFixedFrameTime(1.0 / 60.0);
        brush = canvas->getToolBrush(0);
        action(ActionCode::Idle, 0.0f);
    }
    void action(ActionCode code, float amount)
    {
        ControlTable::setAction(canvas->getControlTable(), code);
        canvas->setControlValue(ControlCells::amountOf(code), amount);
    }
    // One frame with the brush centred on canvas cell (x, y).
    void frameAt(int x, int y)
    {
        canvas->setControlValue(ControlCells::BrushX, static_cast<float>(x));
        canvas->setControlValue(ControlCells::BrushY, static_cast<float>(y));
        scene.render(1, 40.0);
    }
    BufferTemplate<float>* own(int tag) const { return brush->getActiveBufferAs<float>(tag); }
    template <typename T>
    BufferTemplate<T>* canvasBuffer(int tag) const { return canvas->getActiveBufferAs<T>(tag); }
    // The profile value over canvas cell (x, y) for a brush centred on (cx, cy).
    float d(int x, int y, int cx, int cy) const { return own(DROPOFF_BUFFER)->getValue(Centre + x - cx, Centre + y - cy); }
    int count(int tag) const
    {
        const auto* b = canvasBuffer<bool>(tag);
        return static_cast<int>(std::count(b->cells(), b->cells() + b->getCellCount(), true));
    }
    template <typename T>
    int children() const
    {
        const auto& all = canvas->getChildren();
        return static_cast<int>(std::count_if(all.begin(), all.end(), [](const auto& e) { return dynamic_cast<T*>(e.second) != nullptr; }));
    }

    ToolBrushLeafGL* brush;
};

} // namespace

TEST(ToolBrushProfile, LensProfileMaskAndFieldsAgree)
{
    BrushScene s;
    const auto* profile = s.own(DROPOFF_BUFFER);
    ASSERT_EQ(profile->getWidth(), 137);
    EXPECT_FLOAT_EQ(profile->getValue(Centre, Centre), 1.0f);
    int active = 0;
    for (int y = 0; y < 137; ++y)
        for (int x = 0; x < 137; ++x) {
            const float d = profile->getValue(x, y);
            ASSERT_TRUE(d >= 0.0f && d <= 1.0f) << d;
            active += d > Threshold;
            EXPECT_EQ(s.own(STAMP_MASK_BUFFER)->getValue(x, y), d > Threshold ? 1.0f : 0.0f);
            float tx, ty, ax, ay, jx, jy;
            s.own(MOVE_FIELD_0_BUFFER)->get2DValues(x, y, tx, ty);
            s.own(MOVE_FIELD_1_BUFFER)->get2DValues(x, y, ax, ay);
            s.own(MOVE_FIELD_2_BUFFER)->get2DValues(x, y, jx, jy);
            const float length = (d > Threshold && (x != Centre || y != Centre)) ? d : 0.0f;
            EXPECT_NEAR(std::hypot(tx, ty), length, 1e-5f);
            EXPECT_NEAR(std::hypot(jx, jy), length, 1e-5f);
            EXPECT_TRUE(ax == -tx && ay == -ty);
            // Towards the focus; the jitter stays within 45 degrees of "away".
            EXPECT_LE(tx * static_cast<float>(x - Centre) + ty * static_cast<float>(y - Centre), 0.0f);
            if (length > 0.0f) {
                EXPECT_GE((jx * ax + jy * ay) / (d * d), std::cos(0.7854f) - 1e-4f);
            }
        }
    // The active region is most of the inscribed disc.
    EXPECT_GT(active, 137 * 137 / 2);
    EXPECT_LT(active, 3.1416 * 68.5 * 68.5);
}

TEST(ToolBrushActions, SizeAndSizeDifferenceWriteOnlyAboveTheThreshold)
{
    BrushScene s;
    auto* profile = s.own(DROPOFF_BUFFER);
    // Cells exactly at the threshold are not active.
    profile->setValue(Centre + 5, Centre, Threshold);
    profile->setValue(Centre + 6, Centre, 0.1001f);
    s.action(ActionCode::Size, 5.0f);
    s.frameAt(300, 200);
    const auto* size = s.canvasBuffer<float>(SIZE_BUFFER);
    EXPECT_FLOAT_EQ(size->getValue(300, 200), 15.0f);
    EXPECT_FLOAT_EQ(size->getValue(305, 200), 10.0f);
    EXPECT_FLOAT_EQ(size->getValue(306, 200), 10.0f + 5.0f * 0.1001f);
    s.action(ActionCode::SizeDifference, -3.0f);
    s.frameAt(300, 200);
    const auto* diff = s.canvasBuffer<float>(SIZE_ABS_DIFF_BUFFER);
    EXPECT_FLOAT_EQ(diff->getValue(300, 200), -3.0f);
    EXPECT_FLOAT_EQ(diff->getValue(305, 200), 0.0f);
    EXPECT_FLOAT_EQ(diff->getValue(306, 200), -3.0f * 0.1001f);
}

TEST(ToolBrushActions, ColourBlendsActiveCellsAndWritesWorkingColourOverFootprint)
{
    BrushScene s;
    auto* profile = s.own(DROPOFF_BUFFER);
    profile->setValue(Centre + 10, Centre, 0.5f);
    profile->setValue(Centre + 11, Centre, Threshold);
    s.action(ActionCode::Color, 200.0f);   // the amount is the red channel
    s.canvas->setControlValue(ControlCells::PaintGreen, 40.0f);
    s.canvas->setControlValue(ControlCells::PaintBlue, 11.0f);
    s.frameAt(300, 200);
    const auto rgb = [&](int tag, int x, int y) {
        unsigned char r, g, b;
        s.canvasBuffer<unsigned char>(tag)->get3DValues(x, y, r, g, b);
        return std::array<int, 3>{r, g, b};
    };
    using RGB = std::array<int, 3>;
    EXPECT_EQ(rgb(COLOR_BUFFER, 300, 200), (RGB{200, 40, 11}));   // d = 1: the paint
    EXPECT_EQ(rgb(COLOR_BUFFER, 310, 200), (RGB{160, 70, 26}));   // d = 0.5: halves rounded up
    EXPECT_EQ(rgb(COLOR_BUFFER, 311, 200), (RGB{120, 100, 40}));  // d = 0.1: unchanged
    // Working colour and weights reach every footprint cell, active or not.
    EXPECT_EQ(rgb(TEMP_COLOR_BUFFER, 300 - Centre, 200 - Centre), (RGB{200, 40, 11}));
    EXPECT_EQ(rgb(TEMP_COLOR_BUFFER, 300 - Centre - 1, 200), (RGB{127, 127, 127}));
    EXPECT_FLOAT_EQ(s.canvasBuffer<float>(DROPOFF_BUFFER)->getValue(311, 200), Threshold);
    EXPECT_FLOAT_EQ(s.canvasBuffer<float>(DROPOFF_BUFFER)->getValue(300 - Centre, 200 - Centre), profile->getValue(0, 0));
}

TEST(ToolBrushActions, EraseWritesTheMaskUnlessFrozenAndMarksTheBuffer)
{
    BrushScene s;
    auto* erase = s.canvasBuffer<float>(ERASE_BUFFER);
    s.brush->setFrozen(true);
    s.action(ActionCode::CreateErase, -2.0f);
    s.frameAt(300, 200);
    EXPECT_FLOAT_EQ(erase->getValue(300, 200), 0.0f);
    s.brush->setFrozen(false);
    s.action(ActionCode::CreateErase, 0.0f);   // zero neither erases nor creates
    s.frameAt(300, 200);
    EXPECT_FLOAT_EQ(erase->getValue(300, 200), 0.0f);
    EXPECT_EQ(s.children<StrokeLeafGL>(), 0);
    s.action(ActionCode::CreateErase, -2.0f);
    s.frameAt(300, 200);
    EXPECT_FALSE(erase->isValid());
    for (int x = 300 - Centre; x <= 300 + Centre; ++x)
        EXPECT_FLOAT_EQ(erase->getValue(x, 230), s.d(x, 230, 300, 200) > Threshold ? 2.0f : 0.0f);

    // The replay of a contact's start erases at once round a device point.
    BrushScene r;
    r.scene.render(1, 40.0);
    int cx = 0, cy = 0;
    r.canvas->deviceToCell(700.0, 300.0, cx, cy);
    auto* replayed = r.canvasBuffer<float>(ERASE_BUFFER);
    r.brush->stampErase(5.0f, 700.0, 300.0);
    EXPECT_FLOAT_EQ(replayed->getValue(cx, cy), 0.0f);
    r.brush->stampErase(-5.0f, 700.0, 300.0);
    EXPECT_FLOAT_EQ(replayed->getValue(cx, cy), 5.0f);
    EXPECT_FLOAT_EQ(replayed->getValue(cx + Centre, cy + Centre), 0.0f);
    EXPECT_TRUE(replayed->isInvalid());
}

TEST(ToolBrushActions, MoveStylesCopyTheFieldsOrFollowTheBrush)
{
    const int fields[] = {MOVE_FIELD_0_BUFFER, MOVE_FIELD_1_BUFFER, MOVE_FIELD_2_BUFFER};
    for (int style = 0; style <= 2; ++style) {
        BrushScene s;
        s.action(ActionCode::Move, static_cast<float>(style));
        s.frameAt(300, 200);
        for (int x = 300 - Centre; x <= 300 + Centre; x += 7) {
            float a, b, fa, fb;
            s.canvasBuffer<float>(DIRECTION_BUFFER)->get2DValues(x, 190, a, b);
            s.own(fields[style])->get2DValues(Centre + x - 300, Centre - 10, fa, fb);
            EXPECT_TRUE(a == fa && b == fb) << "style " << style << " x " << x;
        }
    }
    BrushScene s;
    s.frameAt(300, 200);
    s.action(ActionCode::Move, 3.0f);
    s.frameAt(330, 240);   // moved by (30, 40) cells
    for (int x = 330 - Centre; x <= 330 + Centre; ++x) {
        float a, b;
        s.canvasBuffer<float>(DIRECTION_BUFFER)->get2DValues(x, 240, a, b);
        const bool active = s.d(x, 240, 330, 240) > Threshold;
        EXPECT_FLOAT_EQ(a, active ? 0.6f : 0.0f);
        EXPECT_FLOAT_EQ(b, active ? 0.8f : 0.0f);
    }
}

TEST(ToolBrushActions, OrientationStylesPointRadiallyRoundOrRandomly)
{
    BrushScene s;
    s.scene.render(1, 40.0);   // parented, buffers linked
    ToolBrushLeafGL& brush = *s.brush;
    const auto at = [&](int x, int y) {
        float a, b;
        s.canvasBuffer<float>(TEMP_ORIENTATION_BUFFER)->get2DValues(x, y, a, b);
        return std::make_pair(a, b);
    };
    // Brush cell (i, j) sits at u = -1 + 2i / 137, v = -1 + 2j / 137.
    const float u = -1.0f + 2.0f * (Centre + 30) / 137.0f;
    const float v = -1.0f + 2.0f * (Centre + 20) / 137.0f;
    brush.writeOrientation(300, 200, 300, 200, 0, true);
    EXPECT_NEAR(at(330, 220).first, u / std::hypot(u, v), 1e-5f);
    EXPECT_NEAR(at(330, 220).second, v / std::hypot(u, v), 1e-5f);
    EXPECT_EQ(at(300 + Centre, 200 + Centre).first, 0.0f);   // inactive corner

    brush.writeOrientation(300, 200, 300, 200, 1, true);
    const float slope = -u / v;
    EXPECT_NEAR(at(330, 220).first, -1.0f / std::sqrt(slope * slope + 1.0f), 1e-5f);   // v > 0: negated
    EXPECT_NEAR(at(330, 220).second, -slope / std::sqrt(slope * slope + 1.0f), 1e-5f);

    brush.writeOrientation(300, 200, 300, 200, 2, true);
    int up = 0, down = 0;
    for (int x = 260; x <= 340; ++x) {
        const auto [a, b] = at(x, 200);
        EXPECT_EQ(a, 0.0f);
        up += b == 1.0f;
        down += b == -1.0f;
    }
    EXPECT_EQ(up + down, 81);
    EXPECT_GT(up, 10);
    EXPECT_GT(down, 10);

}

TEST(ToolBrushFootprint, ClippedAtTheCanvasEdgeAlignedWithTheProfile)
{
    BrushScene s;
    s.action(ActionCode::Size, 5.0f);
    s.frameAt(2, 523);   // near the top-left corner of the 700 x 525 grid
    const auto f = s.brush->footprintAt(s.brush->getXPos(), s.brush->getYPos());
    EXPECT_EQ(f.canvasX, 0);
    EXPECT_EQ(f.brushX, Centre - 2);
    EXPECT_EQ(f.width, Centre + 3);
    EXPECT_EQ(f.canvasY + f.height, 525);
    const auto* size = s.canvasBuffer<float>(SIZE_BUFFER);
    for (int y = 523 - Centre; y < 525; ++y)
        for (int x = 0; x <= 2 + Centre; ++x) {
            const float d = s.d(x, y, 2, 523);
            ASSERT_FLOAT_EQ(size->getValue(x, y), d > Threshold ? 10.0f + 5.0f * d : 10.0f) << x << "," << y;
        }
    // Nothing at all 10000 cells away.
    BrushScene far;
    far.action(ActionCode::Size, 5.0f);
    far.frameAt(20000, 200);
    EXPECT_TRUE(far.brush->footprintAt(far.brush->getXPos(), far.brush->getYPos()).empty());
    EXPECT_EQ(far.count(SELECTION_BUFFER), 0);
}

TEST(ToolBrushFrame, FollowsTheControlPositionOnlyWhileTrackingAndNotFrozen)
{
    BrushScene s;
    const double x = 100.5 / 0.68359375;
    s.frameAt(100, 50);
    EXPECT_DOUBLE_EQ(s.brush->getXPos(), x);
    EXPECT_DOUBLE_EQ(s.brush->getYPos(), 50.5 / 0.68359375);
    s.brush->setFrozen(true);
    s.frameAt(200, 50);
    EXPECT_DOUBLE_EQ(s.brush->getXPos(), x);
    s.brush->setFrozen(false);
    s.canvas->setTrackingTouches(false);
    s.frameAt(200, 50);
    EXPECT_DOUBLE_EQ(s.brush->getXPos(), x);
}

TEST(ToolBrushCreate, CountsFollowAmountAndDiameterForEachKind)
{
    BrushScene s;
    // Points of type 3.
    s.canvas->setControlValue(ControlCells::ElementKindCell, static_cast<float>(ElementKind::Point));
    s.canvas->setControlValue(ControlCells::PrimitiveType, 3.0f);
    s.action(ActionCode::CreateErase, 1.0f);
    s.frameAt(300, 200);
    EXPECT_EQ(s.children<PointLeafGL>(), 1);
    s.action(ActionCode::CreateErase, 30.0f);   // trunc(pi x 200^2 x 30 x 1e-5) = 37
    s.frameAt(300, 200);
    EXPECT_EQ(s.children<PointLeafGL>(), 38);
    for (const auto& entry : s.canvas->getChildren())
        if (auto* p = dynamic_cast<PointLeafGL*>(entry.second)) {
            EXPECT_EQ(p->getPrimitiveType(), 3);
            EXPECT_LT(std::hypot(p->getXPos() - s.brush->getXPos(), p->getYPos() - s.brush->getYPos()), 100.0);
        }
    EXPECT_EQ(s.brush->stampCreate(5, 500, 400), 6);     // trunc(6.28)
    s.canvas->setControlValue(ControlCells::BrushSize, 50.0f);
    EXPECT_EQ(s.brush->stampCreate(5, 500, 400), 0);     // trunc(0.39)

    // A lone stroke lands on the brush, and only on the screen; tiles go anywhere.
    s.canvas->setControlValue(ControlCells::BrushSize, 200.0f);
    s.canvas->setControlValue(ControlCells::ElementKindCell, static_cast<float>(ElementKind::Stroke));
    EXPECT_EQ(s.brush->stampCreate(1, 500, 400), 1);
    EXPECT_EQ(s.brush->stampCreate(1, -50, 400), 0);
    ASSERT_EQ(s.children<StrokeLeafGL>(), 1);
    for (const auto& entry : s.canvas->getChildren())
        if (auto* stroke = dynamic_cast<StrokeLeafGL*>(entry.second)) {
            EXPECT_DOUBLE_EQ(stroke->getXPos(), 500.0);
            EXPECT_DOUBLE_EQ(stroke->getWidth(), 64.0);
        }
    s.canvas->setControlValue(ControlCells::ElementKindCell, static_cast<float>(ElementKind::Tile));
    EXPECT_EQ(s.brush->stampCreate(1, -50, 400), 1);
    EXPECT_EQ(s.children<TileLeafGL>(), 1);
}

TEST(ToolBrushFailures, MissingBuffersPrintTheirMessageAndStopTheFrame)
{
    const std::tuple<ActionCode, int, const char*> cases[] = {
        {ActionCode::Move, DIRECTION_BUFFER, "parentDirectionBuffer does not exist!\n"},
        {ActionCode::SizeDifference, SIZE_ABS_DIFF_BUFFER, "parentSizeDiffBuffer does not exist!\n"},
        {ActionCode::Orientation, TEMP_ORIENTATION_BUFFER, "parentOrientationBuffer does not exist!\n"},
    };
    for (const auto& [code, tag, message] : cases) {
        BrushScene s;
        s.frameAt(300, 200);
        s.brush->setPassiveBuffer(tag, nullptr);
        s.action(code, 1.0f);
        testing::internal::CaptureStdout();
        s.frameAt(300, 200);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), message);
    }
    BrushScene s;
    s.brush->setActiveBuffer(DROPOFF_BUFFER, static_cast<AbstractBuffer*>(nullptr));
    s.action(ActionCode::Size, 5.0f);
    testing::internal::CaptureStdout();
    s.frameAt(300, 200);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "activeBuffer NOT valid\n");
    EXPECT_EQ(s.count(SELECTION_BUFFER), 0);
    EXPECT_FLOAT_EQ(s.canvasBuffer<float>(SIZE_BUFFER)->getValue(300, 200), 10.0f);
}

TEST(ToolBrushSize, NeverBelowTheMinimumAndRebuiltWhileEasingOrAdjusting)
{
    BrushScene s;
    s.brush->setSize(3.0, false);
    EXPECT_DOUBLE_EQ(s.brush->getWidth(), ToolBrushLeafGL::MinimumSize);
    s.brush->setSize(300.0, true);
    EXPECT_EQ(s.canvas->getControlValue(ControlCells::BrushSize), 200.0f) << "the create stamp's diameter stays";
    for (int i = 0; i < 50; ++i)
        s.scene.render(1, 40.0);
    EXPECT_DOUBLE_EQ(s.brush->getWidth(), 300.0);
    ASSERT_EQ(s.own(DROPOFF_BUFFER)->getWidth(), 205);   // lround(300 x 0.68359375)
    EXPECT_FLOAT_EQ(s.own(DROPOFF_BUFFER)->getValue(102, 102), 1.0f);
    s.brush->adjust(-3.0);
    for (int i = 0; i < 10; ++i)
        s.scene.render(1, 40.0);
    s.brush->endAdjust();
    s.scene.render(1, 40.0);
    EXPECT_DOUBLE_EQ(s.brush->getWidth(), 270.0);
    EXPECT_EQ(s.own(STAMP_MASK_BUFFER)->getWidth(), 185);
}

// Each buffer the brush writes, stamped at A and then at B on the following
// frames: A holds the mark as long as it must be seen (erase and selection
// one frame longer) and is back to its old value after that, everywhere
// outside B's footprint, while B is still being written.
TEST(ToolBrushMotion, MarksLeftBehindAreClearedWhileTheBrushStampsElsewhere)
{
    constexpr int Ax = 150, Ay = 200;   // where the brush stamps first
    constexpr int Bx = 450, By = 300;   // where it goes on: 300 cells away, no overlap
    struct Case
    {
        std::string name;
        ActionCode code;
        float amount;
        int framesAtB;   // frames at B until A is clear
        // Whether canvas cell (x, y) differs from its value before any stamp.
        std::function<bool(const BrushScene&, int, int)> marked;
    };
    const auto differs2D = [](int tag) {
        return [tag](const BrushScene& s, int x, int y) {
            float a = 0.0f, b = 0.0f;
            s.canvasBuffer<float>(tag)->get2DValues(x, y, a, b);
            return a != 0.0f || b != 0.0f;
        };
    };
    const Case cases[] = {
        {"erase", ActionCode::CreateErase, -3.0f, 2,
         [](const BrushScene& s, int x, int y) { return s.canvasBuffer<float>(ERASE_BUFFER)->getValue(x, y) != 0.0f; }},
        {"selection", ActionCode::Idle, 0.0f, 2,
         [](const BrushScene& s, int x, int y) { return s.canvasBuffer<bool>(SELECTION_BUFFER)->getValue(x, y); }},
        {"orientation", ActionCode::Orientation, static_cast<float>(OrientationStyle::Radial), 1,
         differs2D(TEMP_ORIENTATION_BUFFER)},
        {"direction", ActionCode::Move, static_cast<float>(MoveStyle::Repulsion), 1, differs2D(DIRECTION_BUFFER)},
        {"size difference", ActionCode::SizeDifference, 4.0f, 1,
         [](const BrushScene& s, int x, int y) {
             return s.canvasBuffer<float>(SIZE_ABS_DIFF_BUFFER)->getValue(x, y) != 0.0f;
         }},
        {"working colour", ActionCode::Color, 0.0f, 1,
         [](const BrushScene& s, int x, int y) {
             unsigned char r = 0, g = 0, b = 0;
             s.canvasBuffer<unsigned char>(TEMP_COLOR_BUFFER)->get3DValues(x, y, r, g, b);
             return r != 127 || g != 127 || b != 127;
         }},
        {"drop-off", ActionCode::Color, 0.0f, 1,
         [](const BrushScene& s, int x, int y) { return s.canvasBuffer<float>(DROPOFF_BUFFER)->getValue(x, y) != 0.0f; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BrushScene s;
        const ToolBrushLeafGL::Footprint b = s.brush->footprintAtCell(Bx + 0.5, By + 0.5);
        ASSERT_FALSE(b.empty());
        const auto outsideB = [&] {
            int n = 0;
            for (int y = 0; y < 525; ++y)
                for (int x = 0; x < 700; ++x) {
                    const bool inB = x >= b.canvasX && x < b.canvasX + b.width && y >= b.canvasY
                                  && y < b.canvasY + b.height;
                    n += !inB && c.marked(s, x, y);
                }
            return n;
        };
        s.action(c.code, c.amount);
        // A cell off the centre, where every mark (even a radial vector) is nonzero.
        s.frameAt(Ax, Ay);
        ASSERT_TRUE(c.marked(s, Ax + 10, Ay + 5));
        for (int frame = 1; frame <= c.framesAtB; ++frame) {
            s.frameAt(Bx, By);
            EXPECT_TRUE(c.marked(s, Bx + 10, By + 5)) << "frame " << frame;
            if (frame < c.framesAtB) {
                EXPECT_TRUE(c.marked(s, Ax + 10, Ay + 5)) << "frame " << frame;
            }
        }
        EXPECT_EQ(outsideB(), 0);
    }
}

// Sizes are stored only when they end above 4: on the flat top (d = 1)
// shrinking 10 by 6 would give exactly 4 and leaves 10; by 5.5 gives 4.5.
TEST(ToolBrushMotion, SizeStampStopsShortOfFour)
{
    BrushScene s;
    const auto* profile = s.brush->getActiveBufferAs<float>(DROPOFF_BUFFER);
    ASSERT_EQ(profile->getValue(Centre, Centre), 1.0f);
    const auto* size = s.canvasBuffer<float>(SIZE_BUFFER);
    s.action(ActionCode::Size, -6.0f);
    s.frameAt(300, 200);
    EXPECT_EQ(size->getValue(300, 200), 10.0f);
    s.action(ActionCode::Size, -5.5f);
    s.frameAt(300, 200);
    EXPECT_EQ(size->getValue(300, 200), 4.5f);
    // And from 4.5 no shrink at all gets through (4.5 - 0.5 is 4 again).
    s.action(ActionCode::Size, -0.5f);
    s.frameAt(300, 200);
    EXPECT_EQ(size->getValue(300, 200), 4.5f);
}

// The follow style stamps only for more than 10 cells of motion along x or
// along y, in either direction; it then writes the unit motion vector and a
// speed of one step per 10 cells, at most 14.
TEST(ToolBrushMotion, FollowStyleNeedsMoreThanTenCellsOnOneAxis)
{
    struct Case
    {
        int dx, dy;
        bool stamps;
        int speed;
    };
    const Case cases[] = {
        {10, 10, false, 0}, {-10, -10, false, 0}, {10, -10, false, 0}, {11, 0, true, 1},
        {0, -11, true, 1},  {-11, 3, true, 1},    {3, 11, true, 1},    {139, 0, true, 13},
        {0, 150, true, 14}, {-200, 0, true, 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.dx) + ", " + std::to_string(c.dy));
        BrushScene s;
        auto* orientation = s.canvasBuffer<float>(TEMP_ORIENTATION_BUFFER);
        s.brush->writeOrientation(300, 200, 300 - c.dx, 200 - c.dy, static_cast<int>(OrientationStyle::Follow), true);
        float ox = 0.0f, oy = 0.0f;
        orientation->get2DValues(300, 200, ox, oy);
        if (!c.stamps) {
            EXPECT_EQ(ox, 0.0f);
            EXPECT_EQ(oy, 0.0f);
            continue;
        }
        const float length = std::hypot(static_cast<float>(c.dx), static_cast<float>(c.dy));
        EXPECT_FLOAT_EQ(ox, static_cast<float>(c.dx) / length);
        EXPECT_FLOAT_EQ(oy, static_cast<float>(c.dy) / length);
        EXPECT_EQ(s.canvasBuffer<int>(SPEED_BUFFER)->getValue(300, 200), c.speed);
    }
}
