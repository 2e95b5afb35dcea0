// The board callbacks' logic: board units to device pixels, the pointer
// index, the jump filter, crosswise contact sizes and touch log records; the
// fake postures' contact sizes.
#include "BoardTouchHandler.h"
#include "FakeContactSize.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::string>;

// Records the scene and log calls as text.
class RecordingTarget : public BoardTouchTarget
{
public:
    void resizeTouchIndicator(int user, double w, double h) override
    {
        add("indicator", user, static_cast<int>(w), static_cast<int>(h));
    }
    void setTouchBoundWidth(int user, double w) override { add("boundWidth", user, static_cast<int>(w)); }
    void setTouchBoundHeight(int user, double h) override { add("boundHeight", user, static_cast<int>(h)); }
    void devicePress(int x, int y, int value, int device) override { add("press", x, y, value, device); }
    void deviceMove(int x, int y, int value, int device) override { add("move", x, y, value, device); }
    void deviceRelease(int x, int y, int value, int device) override { add("release", x, y, value, device); }
    void logTouch(int event, int x, int y, int w, int h) override { add("log", event, x, y, w, h); }

    Calls take()
    {
        Calls taken;
        taken.swap(calls);
        return taken;
    }

    Calls calls;

private:
    template <typename... Ints>
    void add(const char* what, Ints... values)
    {
        std::string text = what;
        ((text += " " + std::to_string(values)), ...);
        calls.push_back(text);
    }
};

PostureRanges shippedRanges()
{
    const double f = 4000.0 * 4000.0 / (57.5 * 43.3);
    return {0.0, 0.05 * f, 0.05 * f, 0.6 * f, 0.6 * f, 1.5 * f, 1.5 * f, 6.0 * f, 6.0 * f, 100.0 * f};
}

} // namespace

TEST(BoardGeometry, BoardCornersLandInSurfaceCornersAndPixelsRoundTrip)
{
    const BoardGeometry g{4000, 3000, 800, 600};
    EXPECT_EQ(g.toDevice(0, 0), (DevicePoint{0, 599})) << "board top left is the top device row";
    EXPECT_EQ(g.toDevice(3999, 2999), (DevicePoint{799, 0}));
    EXPECT_EQ(g.toDevice(1000, 1500), (DevicePoint{200, 299}));
    EXPECT_EQ(g.toDevice(-3, -1), (DevicePoint{-1, 600})) << "outside the board stays outside";
    EXPECT_EQ(g.fromWindow(0.0, 0.0), (BoardPoint{0, 0}));
    EXPECT_EQ(g.fromWindow(799.9, 599.9), (BoardPoint{3999, 2999}));
    EXPECT_EQ(g.widthToBoard(10.0), 50);

    // A replayed log converts device pixels back to board units: the same
    // surface must give the same pixels.
    const BoardGeometry table{4000, 4000, 1024, 768};
    for (int x = 0; x < 1024; ++x)
        for (int y = 0; y < 768; y += 7) {
            const BoardPoint b = table.fromDevice(x, y);
            ASSERT_EQ(table.toDevice(b.x, b.y), (DevicePoint{x, y})) << x << ", " << y;
        }
    EXPECT_EQ((BoardGeometry{4000, 4000, 0, 0}.fromDevice(5, 5)), (BoardPoint{0, 0})) << "no surface yet";
}

TEST(BoardTouchHandler, ContactsReachTheSceneInDevicePixelsWithTheirPointerIndex)
{
    RecordingTarget target;
    BoardTouchHandler handler(target);
    handler.setGeometry({4000, 4000, 1000, 500});
    handler.OnDViTRawWidthHeight(30, 40, 256);
    handler.OnXYDown(2000, 0, 7, 256);
    handler.OnXYUp(0, 3999, 0, 256);
    EXPECT_EQ(target.take(), (Calls{
                                 "boundHeight 1 30", "boundWidth 1 40", // crosswise
                                 "indicator 1 0 0", "press 500 499 7 1", "log 0 500 499 30 40",
                                 "indicator 1 0 0", "release 0 0 0 1", "log 1 0 0 30 40",
                             }));
}

TEST(BoardTouchHandler, MovesPassTheJumpFilterAndTheFilteredPositionIsLogged)
{
    RecordingTarget target;
    BoardTouchHandler handler(target);
    handler.setGeometry({4000, 4000, 4000, 4000}); // one pixel per unit
    handler.OnXYDown(100, 100, 0, 0);
    handler.OnXYDown(3000, 3000, 0, 256); // the other pointer keeps its own track
    target.take();
    handler.OnXYMove(220, 260, 0, 0); // exactly 200 units
    handler.OnXYMove(340, 421, 0, 0); // 120, 161: too far, reported at the last position
    EXPECT_EQ(target.take(), (Calls{
                                 "indicator 0 0 0", "move 220 3739 0 0", "log 2 220 3739 0 0",
                                 "indicator 0 0 0", "move 220 3739 0 0", "log 2 220 3739 0 0",
                             }));
    EXPECT_EQ(handler.lastTouch(0), (BoardPoint{220, 260}));
    EXPECT_EQ(handler.lastTouch(1), (BoardPoint{3000, 3000}));
    // A down restarts the track wherever it lands.
    handler.OnXYDown(2000, 2000, 0, 0);
    handler.OnXYMove(2100, 2100, 0, 0);
    EXPECT_EQ(handler.lastTouch(0), (BoardPoint{2100, 2100}));
}

TEST(FakeContactSize, TheDetectorAgreesWithEveryFakePostureInAndOutOfCornerZones)
{
    const PostureRanges ranges = shippedRanges();
    for (Posture posture : {Posture::Pen, Posture::OneFinger, Posture::TwoFingers, Posture::Fist, Posture::Hand}) {
        const auto side = static_cast<unsigned>(fakeContactSide(ranges, posture));
        // (600, 500) lies in the middle band; (1200, 800) in a corner zone, where the area counts twice.
        for (unsigned x : {600u, 1200u}) {
            PostureDetector detector(ranges);
            for (int report = 0; report < 6; ++report)
                detector.addSample(x, x == 600u ? 500u : 800u, side, side);
            EXPECT_EQ(detector.getPosture(), posture) << "side " << side << " at x " << x;
        }
    }
    EXPECT_EQ(fakeContactSide(ranges, Posture::Unknown), 0.0);
    EXPECT_EQ(fakeContactSide(ranges, Posture::None), 0.0);
    // A range too narrow to hold an area and its double: its middle.
    const PostureRanges narrow{0.0, 0.0, 100.0, 150.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    EXPECT_EQ(fakeContactSide(narrow, Posture::OneFinger), 11.0);
}
