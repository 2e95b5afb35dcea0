// A recorded touch log played through the replay, the board pointers and
// the board callbacks into a headless scene with a canvas and its brush, one
// entry per frame: a finger paints strokes along its path, a flat hand
// wipes them away, and the brush's temporary marks are gone afterwards.
#include "BoardPointers.h"
#include "BoardTouchHandler.h"
#include "BufferTag.h"
#include "CanvasTestSupport.h"
#include "StrokeLeafGL.h"
#include "TabletopVisGL.h"
#include "ToolBrushLeafGL.h"
#include "TouchLogReplay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The callbacks' scene operations, as the GL surface forwards them.
class SceneTarget : public BoardTouchTarget
{
public:
    explicit SceneTarget(TabletopVis& scene) : _scene(scene) {}
    void resizeTouchIndicator(int user, double w, double h) override { _scene.resizeTouchIndicator(user, w, h); }
    void setTouchBoundWidth(int user, double w) override { _scene.setTouchBoundWidth(user, w); }
    void setTouchBoundHeight(int user, double h) override { _scene.setTouchBoundHeight(user, h); }
    void devicePress(int x, int y, int value, int device) override { _scene.devicePress(x, y, value, device); }
    void deviceMove(int x, int y, int value, int device) override { _scene.deviceMove(x, y, value, device); }
    void deviceRelease(int x, int y, int value, int device) override { _scene.deviceRelease(x, y, value, device); }
    void logTouch(int, int, int, int, int) override {}

private:
    TabletopVis& _scene;
};

// Contact areas (board units squared) of pen, one finger, two fingers,
// fist and hand: the log's 40 x 40 is one finger, its 200 x 200 a hand.
constexpr PostureRanges ReplayRanges{1, 400, 401, 4000, 4001, 9000, 9001, 20000, 20001, 100000};

// A 1024 x 768 screen with a 700 x 525 cell canvas, no GL context, posture
// mode (the canvas's default input combination) and a fixed frame time.
struct ReplayScene : canvastest::ScreenCanvas
{
    ReplayScene()
    {
        scene.setFixedFrameTime(1.0 / 60.0);
        canvas->setPostureRanges(ReplayRanges);
        geometry.surfaceWidth = 1024;
        geometry.surfaceHeight = 768;
        handler.setGeometry(geometry);
    }

    // Plays entries first .. last - 1, one per frame.
    void play(TouchLogReplay& replay, std::size_t first, std::size_t last)
    {
        for (std::size_t i = first; i < last; ++i) {
            replay.advance(entries[i].time - entries.front().time);
            ASSERT_EQ(replay.played(), i + 1);
            scene.render(1, 40.0);
        }
    }

    std::vector<StrokeLeafGL*> strokes() const
    {
        std::vector<StrokeLeafGL*> found;
        for (const auto& child : canvas->getChildren())
            if (auto* s = dynamic_cast<StrokeLeafGL*>(child.second))
                found.push_back(s);
        return found;
    }

    BoardGeometry geometry;
    SceneTarget target{scene};
    BoardTouchHandler handler{target};
    BoardPointers pointers{handler};
    std::vector<TouchLogEntry> entries;
};

} // namespace

TEST(ReplayPainting, AFingerPaintsAlongItsPathAndAHandWipesItAway)
{
    std::srand(7);   // before the canvas draws its orientations
    ReplayScene s;
    const char* source = std::getenv("PICTAVO_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    const auto loaded = loadTouchLog(std::string(source) + "/tests/data/finger_then_hand.txt");
    ASSERT_TRUE(loaded.has_value());
    s.entries = *loaded;
    // The finger: down, nine moves 12 pixels apart, up; the hand: down,
    // fifteen moves of 4 pixels either side of x = 354, up.
    ASSERT_EQ(s.entries.size(), 28u);
    TouchLogReplay replay(s.entries, s.pointers, s.geometry);

    s.play(replay, 0, 11);
    // The posture is decided on the contact's sixth report (its fifth move,
    // at x = 360): the first three positions (x = 300, 312, 324) are stamped
    // then, and every later frame with the contact down stamps under the
    // brush (moves 5 to 9, x = 360 to 408); the up stops it. Each stamp of
    // amount 2 over the 200-pixel create diameter makes
    // trunc(2 pi 200^2 1e-5) = 2 strokes within 100 pixels of its centre.
    const std::vector<StrokeLeafGL*> painted = s.strokes();
    ASSERT_EQ(painted.size(), 16u);
    for (const StrokeLeafGL* stroke : painted) {
        EXPECT_GT(stroke->getXPos(), 300.0 - 100.0);
        EXPECT_LT(stroke->getXPos(), 408.0 + 100.0);
        EXPECT_NEAR(stroke->getYPos(), 400.0, 100.0);
    }
    const auto [left, right] = std::minmax_element(painted.begin(), painted.end(), [](auto* a, auto* b) {
        return a->getXPos() < b->getXPos();
    });
    EXPECT_GT((*right)->getXPos() - (*left)->getXPos(), 100.0) << "spread over the diameter, not piled up";

    // Pinned from a run with the seed above: the sum of the strokes'
    // rotations, which the create stamp draws from rand(). It guards the
    // order of the stamp's random draws (a replay must paint the same
    // picture again); a deliberate change there updates this number.
    double rotations = 0.0;
    for (const StrokeLeafGL* stroke : painted)
        rotations += stroke->getRotation();
    EXPECT_NEAR(rotations, 231.66820760887481, 1e-9);

    // The hand, centred on the path at (354, 400) with its 200-pixel brush:
    // on its flat top the erase stamp writes 10 a frame and a stroke loses
    // twice that from its 210 of life; at 10 or less it is deleted, so the
    // 11 frames of the decided hand (its reports 6 to 16) take every stroke
    // within its reach, and those beyond it keep all their life.
    std::vector<StrokeLeafGL*> beyond;
    for (StrokeLeafGL* stroke : painted)
        if (std::hypot(stroke->getXPos() - 354.0, stroke->getYPos() - 400.0) > 104.0)
            beyond.push_back(stroke);
    s.play(replay, 11, s.entries.size());
    EXPECT_EQ(s.strokes(), beyond);
    for (const StrokeLeafGL* stroke : beyond)
        EXPECT_EQ(stroke->getLife(), PrimitiveLeafGL::FreshLife);
    EXPECT_TRUE(replay.finished());

    // Two frames after the up the wipe's marks are gone, and the selection
    // covers only the footprint of the brush where the up parked it.
    s.scene.render(1, 40.0);
    s.scene.render(1, 40.0);
    const auto* erase = s.canvas->getActiveBufferAs<float>(ERASE_BUFFER);
    const auto* selection = s.canvas->getActiveBufferAs<bool>(SELECTION_BUFFER);
    ASSERT_NE(erase, nullptr);
    ASSERT_NE(selection, nullptr);
    EXPECT_EQ(std::count_if(erase->cells(), erase->cells() + erase->getCellCount(), [](float v) { return v != 0.0f; }), 0);
    const ToolBrushLeafGL* brush = s.canvas->getToolBrush(0);
    const ToolBrushLeafGL::Footprint parked = brush->footprintAt(brush->getXPos(), brush->getYPos());
    int inside = 0;
    for (int y = parked.canvasY; y < parked.canvasY + parked.height; ++y)
        for (int x = parked.canvasX; x < parked.canvasX + parked.width; ++x)
            inside += selection->getValue(x, y);
    EXPECT_EQ(inside, parked.width * parked.height);
    EXPECT_EQ(std::count(selection->cells(), selection->cells() + selection->getCellCount(), true), inside);
}
