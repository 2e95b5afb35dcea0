// The tool brush between frames and at the edges of its rules: marks left
// behind where the brush was are cleared while it goes on stamping
// elsewhere, sizes never reach 4, and the follow style needs more than ten
// cells of motion on one axis.
#include "BufferTag.h"
#include "CanvasCompositeGL.h"
#include "ControlTable.h"
#include "TabletopVisGL.h"
#include "ToolBrushLeafGL.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

namespace {

// A 200-pixel brush (137 cells) on a 700 x 525 cell canvas of a 1024 x 768
// screen, sizes starting at 10.
struct MotionScene
{
    MotionScene() : scene(1, 700, 525, 1024, 768)
    {
        canvas = new CanvasCompositeGL(&scene, 512, 384, 1024, 768, 0, 10, 0, 0, 1, 768, 0, 10.0f, 0);
        scene.addComponent(canvas, true);
        scene.setFixedFrameTime(1.0 / 60.0);
        brush = canvas->getToolBrush(0);
        action(ActionCode::Idle, 0.0f);
    }
    BufferTemplate<float>* control() const { return canvas->getActiveBufferAs<float>(CONTROL_BUFFER); }
    void action(ActionCode code, float amount)
    {
        ControlTable::setAction(control(), code);
        ControlTable::set(control(), ControlCells::amountOf(code), amount);
    }
    // One frame with the brush centred on canvas cell (x, y).
    void frameAt(int x, int y)
    {
        ControlTable::set(control(), ControlCells::BrushX, static_cast<float>(x));
        ControlTable::set(control(), ControlCells::BrushY, static_cast<float>(y));
        scene.render(1, 40.0);
    }
    template <typename T>
    BufferTemplate<T>* buffer(int tag) const { return canvas->getActiveBufferAs<T>(tag); }

    TabletopVisGL scene;
    CanvasCompositeGL* canvas;
    ToolBrushLeafGL* brush;
};

constexpr int Ax = 150, Ay = 200;   // where the brush stamps first
constexpr int Bx = 450, By = 300;   // where it goes on: 300 cells away, no overlap

} // namespace

// Each buffer the brush writes, stamped at A and then at B on the following
// frames: A holds the mark as long as it must be seen (erase and selection
// one frame longer) and is back to its old value after that, everywhere
// outside B's footprint, while B is still being written.
TEST(ToolBrushMotion, MarksLeftBehindAreClearedWhileTheBrushStampsElsewhere)
{
    struct Case
    {
        std::string name;
        ActionCode code;
        float amount;
        int framesAtB;   // frames at B until A is clear
        // Whether canvas cell (x, y) differs from its value before any stamp.
        std::function<bool(const MotionScene&, int, int)> marked;
    };
    const auto differs2D = [](int tag) {
        return [tag](const MotionScene& s, int x, int y) {
            float a = 0.0f, b = 0.0f;
            s.buffer<float>(tag)->get2DValues(x, y, a, b);
            return a != 0.0f || b != 0.0f;
        };
    };
    const Case cases[] = {
        {"erase", ActionCode::CreateErase, -3.0f, 2,
         [](const MotionScene& s, int x, int y) { return s.buffer<float>(ERASE_BUFFER)->getValue(x, y) != 0.0f; }},
        {"selection", ActionCode::Idle, 0.0f, 2,
         [](const MotionScene& s, int x, int y) { return s.buffer<bool>(SELECTION_BUFFER)->getValue(x, y); }},
        {"orientation", ActionCode::Orientation, static_cast<float>(OrientationStyle::Radial), 1,
         differs2D(TEMP_ORIENTATION_BUFFER)},
        {"direction", ActionCode::Move, static_cast<float>(MoveStyle::Repulsion), 1, differs2D(DIRECTION_BUFFER)},
        {"size difference", ActionCode::SizeDifference, 4.0f, 1,
         [](const MotionScene& s, int x, int y) {
             return s.buffer<float>(SIZE_ABS_DIFF_BUFFER)->getValue(x, y) != 0.0f;
         }},
        {"working colour", ActionCode::Color, 0.0f, 1,
         [](const MotionScene& s, int x, int y) {
             unsigned char r = 0, g = 0, b = 0;
             s.buffer<unsigned char>(TEMP_COLOR_BUFFER)->get3DValues(x, y, r, g, b);
             return r != 127 || g != 127 || b != 127;
         }},
        {"drop-off", ActionCode::Color, 0.0f, 1,
         [](const MotionScene& s, int x, int y) { return s.buffer<float>(DROPOFF_BUFFER)->getValue(x, y) != 0.0f; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MotionScene s;
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
    MotionScene s;
    const auto* profile = s.brush->getActiveBufferAs<float>(DROPOFF_BUFFER);
    ASSERT_EQ(profile->getValue(68, 68), 1.0f);
    const auto* size = s.buffer<float>(SIZE_BUFFER);
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
        MotionScene s;
        auto* orientation = s.buffer<float>(TEMP_ORIENTATION_BUFFER);
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
        EXPECT_EQ(s.buffer<int>(SPEED_BUFFER)->getValue(300, 200), c.speed);
    }
}
