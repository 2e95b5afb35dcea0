// The canvas's interaction modes without a display: dispatch of presses by
// input combination, posture and mode; posture settings and simulation;
// Nunchuk amounts and mode cycling; release; replay of first positions.
#include "BufferTag.h"
#include "CanvasCompositeGL.h"
#include "TabletopVisGL.h"
#include "ToolBrushLeafGL.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Canvas = CanvasCompositeGL;

// Contact areas of the fake postures: 9, 100, 225, 2500 and 122500.
const PostureRanges Ranges{0, 20, 21, 200, 201, 500, 501, 5000, 5001, 200000};
constexpr int ContactSide[5] = {3, 10, 15, 50, 350};

struct ModeScene
{
    ModeScene() : scene(1, 700, 525, 1024, 768)
    {
        canvas = new Canvas(&scene, 512, 384, 1024, 768, 0, 10, 0, 0, 1, 768, 0, 10.0f, 0);
        scene.addComponent(canvas, true);
        canvas->setPostureRanges(Ranges);
        canvas->setInputCombinationSource([this] { return combination; });
        brush = canvas->getToolBrush(0);
    }
    // One report of a contact of the posture's size: a press, or a move of
    // the contact already down.
    void report(int posture, int x = 500, int y = 400)
    {
        scene.setTouchBoundWidth(0, ContactSide[posture]);
        scene.setTouchBoundHeight(0, ContactSide[posture]);
        if (scene.isContactDown(0))
            scene.deviceMove(x, y, 0, 0);
        else
            scene.devicePress(x, y, 0, 0);
    }
    void reports(int posture, int n)
    {
        for (int i = 0; i < n; ++i)
            report(posture);
    }
    // A whole contact of n reports, lifted at the end.
    void contact(int posture, int n = 6)
    {
        reports(posture, n);
        lift();
    }
    void lift() { scene.deviceRelease(500, 400, 0, 0); }
    void nunchuk(bool c, bool z, float x, float y, bool pressButton = false, std::vector<int> buttons = {})
    {
        WiiCommunicationData data;
        data.pointerX = 300.0f;
        data.pointerY = 200.0f;
        data.b = pressButton;
        data.hasNunchuk(true);
        data.nunchuk().c = c;
        data.nunchuk().z = z;
        data.nunchuk().joystickX = x;
        data.nunchuk().joystickY = y;
        canvas->wiimoteEvent(buttons, data);
    }
    float cell(ControlCell c) const { return canvas->getControlValue(c); }
    ActionCode action() const { return ControlTable::action(canvas->getControlTable()); }
    // A press in the case's mode (or none) with its posture simulated and
    // the Nunchuk's C button as given, then the action it wrote and the
    // amount of code `amountOf`.
    struct Case
    {
        int mode, posture;
        bool c;
        ActionCode code;
        ActionCode amountOf;
        float amount;
    };
    void check(const Case& e)
    {
        canvas->setControlValue(ControlCells::CreateEraseAmount, 5.0f);
        if (e.mode >= 0)
            canvas->setInteractionMode(e.mode);
        nunchuk(e.c, false, 0, 0);
        canvas->setSimulatedPosture(e.posture);
        report(e.posture, 640, 300);
        const auto where = testing::Message() << "mode " << e.mode << " posture " << e.posture << " C " << e.c;
        EXPECT_EQ(action(), e.code) << where;
        EXPECT_EQ(cell(ControlCells::amountOf(e.amountOf)), e.amount) << where;
        lift();
    }

    TabletopVisGL scene;
    Canvas* canvas;
    ToolBrushLeafGL* brush;
    int combination = 0;
};

} // namespace

TEST(CanvasModes, MenuCombinationsRunTheCurrentModesHandler)
{
    using C = Canvas;
    constexpr ActionCode Stamp = ActionCode::CreateErase, Orient = ActionCode::Orientation, Move = ActionCode::Move,
                         Grow = ActionCode::SizeDifference, Color = ActionCode::Color, Idle = ActionCode::Idle;
    constexpr auto Follow = static_cast<float>(OrientationStyle::Follow);
    constexpr auto Circular = static_cast<float>(OrientationStyle::Circular);
    constexpr auto Radial = static_cast<float>(OrientationStyle::Radial);
    constexpr auto Attraction = static_cast<float>(MoveStyle::Attraction);
    const ModeScene::Case cases[] = {
        {C::MODE_CREATE, 1, false, Stamp, Stamp, 1},   {C::MODE_CREATE, 3, false, Stamp, Stamp, 30},
        {C::MODE_CREATE, 4, false, Stamp, Stamp, -30}, {C::MODE_ERASE, 2, false, Stamp, Stamp, -5},
        {C::MODE_ORIENT, 1, false, Orient, Orient, Follow}, {C::MODE_ORIENT, 2, false, Orient, Orient, Circular},
        {C::MODE_ORIENT, 3, false, Orient, Orient, Radial}, {C::MODE_MOVE, 2, false, Move, Move, Attraction},
        {C::MODE_MOVE, 4, false, Stamp, Stamp, -30},   {C::MODE_SIZE, 1, false, Grow, Grow, 5},
        {C::MODE_SIZE, 2, false, Grow, Grow, -1},      {C::MODE_SIZE, 4, false, Stamp, Stamp, -100},
        {C::MODE_COLOR, 0, false, Color, Stamp, 5},    {C::MODE_COLOR, 4, false, Stamp, Stamp, -100},
        // Modes chosen otherwise, and the pen in erase mode, do nothing:
        // the release's idle action and the reset amount stay.
        {C::MODE_CREATE_ERASE, 1, false, Idle, Stamp, 5}, {C::MODE_POSTURE, 1, false, Idle, Stamp, 5},
        {C::MODE_IDLE, 1, false, Idle, Stamp, 5},         {C::MODE_ERASE, 0, false, Idle, Stamp, 5},
    };
    for (int combination : {0, 2}) {
        ModeScene s;
        s.combination = combination;
        for (const auto& c : cases)
            s.check(c);
        s.report(1, 640, 300);
        int cx = 0, cy = 0;
        s.canvas->deviceToCell(640, 300, cx, cy);
        EXPECT_EQ(s.cell(ControlCells::BrushX), cx);
        EXPECT_EQ(s.cell(ControlCells::BrushY), cy);
    }
}

TEST(CanvasModes, NunchukTouchChoosesTheModeByPostureWithoutLabel)
{
    ModeScene s;
    s.combination = 5;
    constexpr ActionCode Stamp = ActionCode::CreateErase, Orient = ActionCode::Orientation, Move = ActionCode::Move,
                         Grow = ActionCode::SizeDifference;
    const ModeScene::Case cases[] = {
        {-1, 1, false, Stamp, Stamp, 5}, {-1, 1, true, Stamp, Stamp, -5}, {-1, 2, false, Orient, Orient, 3},
        {-1, 2, true, Orient, Orient, 1}, {-1, 3, false, Move, Move, 3},  {-1, 4, false, Grow, Grow, -2},
        {-1, 4, true, Grow, Grow, 2},
    };
    const int modes[] = {2, 2, 3, 3, 4, 5, 5};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        s.check(cases[i]);
        EXPECT_EQ(s.canvas->getInteractionMode(), modes[i]);
        EXPECT_FALSE(s.canvas->isModeChanged());
    }
    s.check({-1, 0, false, ActionCode::Idle, Stamp, 5});   // the pen changes nothing
    EXPECT_EQ(s.canvas->getInteractionMode(), Canvas::MODE_SIZE);
}

TEST(CanvasModes, PostureOnlySettingsApplyOncePerPostureChange)
{
    ModeScene s;
    s.combination = 7;
    s.contact(4);
    EXPECT_EQ(s.canvas->getInteractionMode(), Canvas::MODE_CREATE_ERASE);
    EXPECT_EQ(s.canvas->getExactStepAmount(), -10.0);
    EXPECT_EQ(s.brush->getWidth(), 200.0);
    EXPECT_EQ(s.cell(ControlCells::CreateEraseAmount), -10.0f);
    // A second hand keeps what the first one set.
    s.brush->setSize(120.0, false);
    s.contact(4);
    EXPECT_EQ(s.brush->getWidth(), 120.0);

    // posture, mode, step amount, brush size
    const double cases[][4] = {{1, 2, 2, 20}, {3, 2, 15, 130}, {2, 3, 15, 80}, {0, 7, 15, 80}};
    for (const auto& c : cases) {
        s.contact(static_cast<int>(c[0]));
        EXPECT_EQ(s.canvas->getInteractionMode(), c[1]) << c[0];
        EXPECT_EQ(s.canvas->getExactStepAmount(), c[2]) << c[0];
        EXPECT_EQ(s.brush->getWidth(), c[3]) << c[0];
        EXPECT_FALSE(s.canvas->isModeChanged());
    }
    EXPECT_EQ(s.cell(ControlCells::OrientationStyleCell), 3.0f);
}

TEST(CanvasModes, SimulatedPostureWinsAndSixLetsTheDetectorDecide)
{
    ModeScene s;
    s.combination = 7;
    // A hand-sized contact simulated as one finger acts from its first report.
    s.canvas->setSimulatedPosture(1);
    s.report(4);
    EXPECT_EQ(s.canvas->getPreviousPosture(), 1);
    EXPECT_EQ(s.brush->getWidth(), 20.0);
    s.reports(4, 6);
    EXPECT_EQ(s.canvas->getCurrentPosture(), 1);
    s.lift();

    s.canvas->setSimulatedPosture(6);
    for (int i = 0; i < 5; ++i) {
        s.report(4);
        EXPECT_EQ(s.canvas->getPreviousPosture(), 1) << "report " << i + 1;
    }
    s.report(4);
    EXPECT_EQ(s.canvas->getPreviousPosture(), 4);
    EXPECT_EQ(s.brush->getWidth(), 200.0);
}

TEST(CanvasModes, NunchukAdjustmentsStayInBounds)
{
    ModeScene s;
    s.combination = 3;
    s.canvas->setSimulatedPosture(1);
    s.nunchuk(false, true, 0, -0.7f);   // Z held, joystick down: +1.4 per report
    s.reports(1, 30);
    EXPECT_EQ(s.canvas->getExactStepAmount(), 30.0);
    s.nunchuk(false, true, 0, 0.9f);
    s.reports(1, 30);
    EXPECT_EQ(s.canvas->getExactStepAmount(), 2.0);
    s.lift();

    s.canvas->setSimulatedPosture(4);
    s.nunchuk(false, true, 0, -1.0f);
    s.reports(4, 15);
    EXPECT_EQ(s.canvas->getSizeStep(), 10);
    s.nunchuk(false, true, 0, 1.0f);
    s.reports(4, 15);
    EXPECT_EQ(s.canvas->getSizeStep(), 1);
    s.lift();

    // While ignored, the Nunchuk changes nothing.
    s.canvas->setNunchukIgnored(true);
    s.nunchuk(false, true, 0, -1.0f);
    s.contact(4, 1);
    EXPECT_EQ(s.canvas->getSizeStep(), 1);
    s.canvas->setNunchukIgnored(false);

    // Wii pointing: C with the joystick pushed steps by 0.3 per report.
    s.combination = 6;
    for (float y : {-1.0f, 1.0f}) {
        for (int i = 0; i < 100; ++i)
            s.nunchuk(true, false, 0, y);
        EXPECT_EQ(s.canvas->getExactStepAmount(), y < 0 ? 30.0 : 2.0);
    }
}

TEST(CanvasModes, ModeButtonsCycleThroughTwoToFiveOnly)
{
    ModeScene s;
    s.combination = 4;
    const int f = Canvas::ModeForwardButton, b = Canvas::ModeBackwardButton;
    std::vector<int> visited;
    for (int button : {f, f, f, f, b, b, b, b}) {
        s.nunchuk(false, false, 0, 0, false, {button});
        visited.push_back(s.canvas->getInteractionMode());
    }
    EXPECT_EQ(visited, (std::vector<int>{3, 4, 5, 2, 5, 4, 3, 2}));
    EXPECT_FALSE(s.canvas->isModeChanged());
    // A menu mode outside the cycle enters it at 2.
    s.canvas->setInteractionMode(Canvas::MODE_COLOR);
    s.nunchuk(false, false, 0, 0, false, {b});
    EXPECT_EQ(s.canvas->getInteractionMode(), Canvas::MODE_CREATE_ERASE);
}

TEST(CanvasModes, ReleaseParksTheBrushOrAsksForTheEraseClear)
{
    for (int combination : {0, 5, 6, 7}) {
        ModeScene s;
        s.combination = combination;
        s.canvas->setSimulatedPosture(1);
        auto* erase = s.canvas->getActiveBufferAs<float>(ERASE_BUFFER);
        erase->setValue(10, 10, 1.0f);
        s.contact(1, 2);
        EXPECT_EQ(s.action(), ActionCode::Idle) << combination;
        const bool parked = combination == 5 || combination == 6;
        EXPECT_EQ(s.brush->isShown(), !parked) << combination;
        if (parked) {
            EXPECT_EQ(s.cell(ControlCells::BrushX), 82.0f);
            EXPECT_EQ(s.cell(ControlCells::BrushY), 374.0f);
        }
        EXPECT_EQ(s.canvas->wasTouched(), combination != 0) << combination;
        s.canvas->renderIntoBuffers();
        s.canvas->renderIntoBuffers();
        EXPECT_EQ(erase->getValue(10, 10), combination == 7 ? 0.0f : 1.0f) << combination;
    }
}

TEST(CanvasModes, NunchukModeGestureStopsPaintingUntilTheNextContact)
{
    ModeScene s;
    s.combination = 6;
    s.nunchuk(false, false, 1.0f, 0);   // joystick right: move mode
    EXPECT_EQ(s.canvas->getInteractionMode(), Canvas::MODE_MOVE);
    EXPECT_EQ(s.brush->getHint(), 6);
    s.nunchuk(false, false, 0, 0);      // centred: create-erase again
    EXPECT_EQ(s.canvas->getInteractionMode(), Canvas::MODE_CREATE_ERASE);
    // The first report of the next contact only ends the gesture; then it paints.
    s.report(1);
    EXPECT_EQ(s.action(), ActionCode::Idle);
    s.report(1);
    EXPECT_EQ(s.action(), ActionCode::CreateErase);
    EXPECT_EQ(s.cell(ControlCells::CreateEraseAmount), 5.0f);

    // A gesture during the contact stops it.
    s.nunchuk(false, false, -1.0f, 0);
    EXPECT_EQ(s.brush->getHint(), 3);
    s.nunchuk(false, false, 0, 0);
    s.report(1);
    EXPECT_EQ(s.canvas->getInteractionMode(), Canvas::MODE_IDLE);
    EXPECT_EQ(s.action(), ActionCode::Idle);
    s.lift();

    // The press button presses at the pointer in the mode the joystick holds.
    s.nunchuk(false, false, 0.6f, 0.6f, true);   // move mode, repulsion
    EXPECT_EQ(s.action(), ActionCode::Move);
    EXPECT_EQ(s.cell(ControlCells::MoveStyleCell), 1.0f);
    int cx = 0, cy = 0;
    s.canvas->deviceToCell(300, 200, cx, cy);
    EXPECT_EQ(s.cell(ControlCells::BrushX), cx);
    s.nunchuk(false, false, 0, 0);
    EXPECT_EQ(s.action(), ActionCode::Idle);
}

TEST(CanvasModes, DecidingReportReplaysTheFirstPositions)
{
    // Positions 250 pixels apart: one stamp does not reach the next.
    const int xs[6] = {100, 350, 600, 850, 850, 850};
    for (bool simulated : {false, true}) {
        ModeScene s;
        s.canvas->setInteractionMode(Canvas::MODE_ERASE);
        if (simulated)
            s.canvas->setSimulatedPosture(1);
        auto* erase = s.canvas->getActiveBufferAs<float>(ERASE_BUFFER);
        const auto erasedAt = [&](int x) {
            int cx = 0, cy = 0;
            s.canvas->deviceToCell(x, 400, cx, cy);
            return erase->getValue(cx, cy);
        };
        for (int i = 0; i < 5; ++i)
            s.report(1, xs[i], 400);
        EXPECT_EQ(erasedAt(xs[0]), 0.0f);
        s.report(1, xs[5], 400);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(erasedAt(xs[i]) > 0.0f, !simulated) << "position " << i + 1;
        EXPECT_EQ(erasedAt(xs[3]), 0.0f);
        EXPECT_EQ(s.cell(ControlCells::CreateEraseAmount), -2.0f);
    }
}
