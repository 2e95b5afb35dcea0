// The canvas's interaction modes without a display: dispatch of presses by
// input combination, posture and mode; posture settings and simulation;
// Nunchuk amounts and mode cycling; release; replay of first positions.
#include "BufferTag.h"
#include "CanvasCompositeGL.h"
#include "CanvasTestSupport.h"
#include "TabletopVisGL.h"
#include "ToolBrushLeafGL.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using Canvas = CanvasCompositeGL;

// Contact areas of the fake postures: 9, 100, 225, 2500 and 122500.
const PostureRanges Ranges{0, 20, 21, 200, 201, 500, 501, 5000, 5001, 200000};
constexpr int ContactSide[5] = {3, 10, 15, 50, 350};
using P = Posture;
using M = InteractionMode;

struct ModeScene : canvastest::ScreenCanvas
{
    ModeScene()
    {
        canvas->setPostureRanges(Ranges);
        canvas->setInputCombinationSource([this] { return combination; });
        brush = canvas->getToolBrush(0);
    }
    // One report of a contact of the posture's size: a press, or a move of
    // the contact already down.
    void report(Posture posture, int x = 500, int y = 400)
    {
        const int side = ContactSide[static_cast<std::size_t>(posture)];
        scene.setTouchBoundWidth(0, side);
        scene.setTouchBoundHeight(0, side);
        if (scene.isContactDown(0))
            scene.deviceMove(x, y, 0, 0);
        else
            scene.devicePress(x, y, 0, 0);
    }
    void reports(Posture posture, int n)
    {
        for (int i = 0; i < n; ++i)
            report(posture);
    }
    // A whole contact of n reports, lifted at the end.
    void contact(Posture posture, int n = 6)
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
        std::optional<InteractionMode> mode;   // none: the mode stays
        Posture posture;
        bool c;
        ActionCode code;
        ActionCode amountOf;
        float amount;
    };
    void check(const Case& e)
    {
        canvas->setControlValue(ControlCells::CreateEraseAmount, 5.0f);
        if (e.mode)
            canvas->setInteractionMode(*e.mode);
        nunchuk(e.c, false, 0, 0);
        canvas->setSimulatedPosture(e.posture);
        report(e.posture, 640, 300);
        const auto where = testing::Message() << "mode " << (e.mode ? static_cast<int>(*e.mode) : -1) << " posture "
                                              << static_cast<int>(e.posture) << " C " << e.c;
        EXPECT_EQ(action(), e.code) << where;
        EXPECT_EQ(cell(ControlCells::amountOf(e.amountOf)), e.amount) << where;
        lift();
    }

    ToolBrushLeafGL* brush;
    int combination = 0;
};

} // namespace

TEST(CanvasModes, MenuCombinationsRunTheCurrentModesHandler)
{
    constexpr ActionCode Stamp = ActionCode::CreateErase, Orient = ActionCode::Orientation, Move = ActionCode::Move,
                         Grow = ActionCode::SizeDifference, Color = ActionCode::Color, Idle = ActionCode::Idle;
    constexpr auto Follow = static_cast<float>(OrientationStyle::Follow);
    constexpr auto Circular = static_cast<float>(OrientationStyle::Circular);
    constexpr auto Radial = static_cast<float>(OrientationStyle::Radial);
    constexpr auto Attraction = static_cast<float>(MoveStyle::Attraction);
    const ModeScene::Case cases[] = {
        {M::Create, P::OneFinger, false, Stamp, Stamp, 1},   {M::Create, P::Fist, false, Stamp, Stamp, 30},
        {M::Create, P::Hand, false, Stamp, Stamp, -30}, {M::Erase, P::TwoFingers, false, Stamp, Stamp, -5},
        {M::Orient, P::OneFinger, false, Orient, Orient, Follow}, {M::Orient, P::TwoFingers, false, Orient, Orient, Circular},
        {M::Orient, P::Fist, false, Orient, Orient, Radial}, {M::Move, P::TwoFingers, false, Move, Move, Attraction},
        {M::Move, P::Hand, false, Stamp, Stamp, -30},   {M::Size, P::OneFinger, false, Grow, Grow, 5},
        {M::Size, P::TwoFingers, false, Grow, Grow, -1},      {M::Size, P::Hand, false, Stamp, Stamp, -100},
        {M::Color, P::Pen, false, Color, Stamp, 5},    {M::Color, P::Hand, false, Stamp, Stamp, -100},
        // Modes chosen otherwise, and the pen in erase mode, do nothing:
        // the release's idle action and the reset amount stay.
        {M::CreateErase, P::OneFinger, false, Idle, Stamp, 5}, {M::Posture, P::OneFinger, false, Idle, Stamp, 5},
        {M::Idle, P::OneFinger, false, Idle, Stamp, 5},         {M::Erase, P::Pen, false, Idle, Stamp, 5},
    };
    for (int combination : {0, 2}) {
        ModeScene s;
        s.combination = combination;
        for (const auto& c : cases)
            s.check(c);
        s.report(P::OneFinger, 640, 300);
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
        {std::nullopt, P::OneFinger, false, Stamp, Stamp, 5}, {std::nullopt, P::OneFinger, true, Stamp, Stamp, -5}, {std::nullopt, P::TwoFingers, false, Orient, Orient, 3},
        {std::nullopt, P::TwoFingers, true, Orient, Orient, 1}, {std::nullopt, P::Fist, false, Move, Move, 3},  {std::nullopt, P::Hand, false, Grow, Grow, -2},
        {std::nullopt, P::Hand, true, Grow, Grow, 2},
    };
    const M modes[] = {M::CreateErase, M::CreateErase, M::Orient, M::Orient, M::Move, M::Size, M::Size};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        s.check(cases[i]);
        EXPECT_EQ(s.canvas->getInteractionMode(), modes[i]);
        EXPECT_FALSE(s.canvas->isModeChanged());
    }
    s.check({std::nullopt, P::Pen, false, ActionCode::Idle, Stamp, 5});   // the pen changes nothing
    EXPECT_EQ(s.canvas->getInteractionMode(), M::Size);
    // Ignoring the Nunchuk ignores Z only: C held still erases.
    s.canvas->setNunchukIgnored(true);
    s.check({std::nullopt, P::OneFinger, true, Stamp, Stamp, -5});
}

TEST(CanvasModes, PostureOnlySettingsApplyOncePerPostureChange)
{
    ModeScene s;
    s.combination = 7;
    s.contact(P::Hand);
    EXPECT_EQ(s.canvas->getInteractionMode(), M::CreateErase);
    EXPECT_EQ(s.canvas->getExactStepAmount(), -10.0);
    EXPECT_EQ(s.brush->getWidth(), 200.0);
    EXPECT_EQ(s.cell(ControlCells::CreateEraseAmount), -10.0f);
    // A second hand keeps what the first one set.
    s.brush->setSize(120.0, false);
    s.contact(P::Hand);
    EXPECT_EQ(s.brush->getWidth(), 120.0);

    struct Case
    {
        Posture posture;
        InteractionMode mode;
        double step, brushSize;
    };
    const Case cases[] = {{P::OneFinger, M::CreateErase, 2, 20},
                          {P::Fist, M::CreateErase, 15, 130},
                          {P::TwoFingers, M::Orient, 15, 80},
                          {P::Pen, M::Posture, 15, 80}};
    for (const Case& c : cases) {
        const int posture = static_cast<int>(c.posture);
        s.contact(c.posture);
        EXPECT_EQ(s.canvas->getInteractionMode(), c.mode) << posture;
        EXPECT_EQ(s.canvas->getExactStepAmount(), c.step) << posture;
        EXPECT_EQ(s.brush->getWidth(), c.brushSize) << posture;
        EXPECT_EQ(s.cell(ControlCells::BrushSize), 200.0f) << "the create stamp keeps its diameter";
        EXPECT_FALSE(s.canvas->isModeChanged());
    }
    EXPECT_EQ(s.cell(ControlCells::OrientationStyleCell), 3.0f);
}

TEST(CanvasModes, SimulatedPostureWinsAndSixLetsTheDetectorDecide)
{
    ModeScene s;
    s.combination = 7;
    // A hand-sized contact simulated as one finger acts from its first report.
    s.canvas->setSimulatedPosture(P::OneFinger);
    s.report(P::Hand);
    EXPECT_EQ(s.canvas->getPreviousPosture(), P::OneFinger);
    EXPECT_EQ(s.brush->getWidth(), 20.0);
    s.reports(P::Hand, 6);
    EXPECT_EQ(s.canvas->getCurrentPosture(), P::OneFinger);
    s.lift();

    s.canvas->setSimulatedPosture(P::None);
    for (int i = 0; i < 5; ++i) {
        s.report(P::Hand);
        EXPECT_EQ(s.canvas->getPreviousPosture(), P::OneFinger) << "report " << i + 1;
    }
    s.report(P::Hand);
    EXPECT_EQ(s.canvas->getPreviousPosture(), P::Hand);
    EXPECT_EQ(s.brush->getWidth(), 200.0);
}

TEST(CanvasModes, NunchukAdjustmentsStayInBounds)
{
    ModeScene s;
    s.combination = 3;
    s.canvas->setSimulatedPosture(P::OneFinger);
    s.nunchuk(false, true, 0, -0.7f);   // Z held, joystick down: +1.4 per report
    s.reports(P::OneFinger, 30);
    EXPECT_EQ(s.canvas->getExactStepAmount(), 30.0);
    s.nunchuk(false, true, 0, 0.9f);
    s.reports(P::OneFinger, 30);
    EXPECT_EQ(s.canvas->getExactStepAmount(), 2.0);
    s.lift();

    s.canvas->setSimulatedPosture(P::Hand);
    s.nunchuk(false, true, 0, -1.0f);
    s.reports(P::Hand, 15);
    EXPECT_EQ(s.canvas->getSizeStep(), 10);
    s.nunchuk(false, true, 0, 1.0f);
    s.reports(P::Hand, 15);
    EXPECT_EQ(s.canvas->getSizeStep(), 1);
    s.lift();

    // While ignored, the Nunchuk changes nothing.
    s.canvas->setNunchukIgnored(true);
    s.nunchuk(false, true, 0, -1.0f);
    s.contact(P::Hand, 1);
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
    std::vector<M> visited;
    for (int button : {f, f, f, f, b, b, b, b}) {
        s.nunchuk(false, false, 0, 0, false, {button});
        visited.push_back(s.canvas->getInteractionMode());
    }
    EXPECT_EQ(visited,
              (std::vector<M>{M::Orient, M::Move, M::Size, M::CreateErase, M::Size, M::Move, M::Orient, M::CreateErase}));
    EXPECT_FALSE(s.canvas->isModeChanged());
    // A menu mode outside the cycle enters it at 2.
    s.canvas->setInteractionMode(M::Color);
    s.nunchuk(false, false, 0, 0, false, {b});
    EXPECT_EQ(s.canvas->getInteractionMode(), M::CreateErase);
}

TEST(CanvasModes, ReleaseParksTheBrushOrAsksForTheEraseClear)
{
    for (int combination : {0, 5, 6, 7}) {
        ModeScene s;
        s.combination = combination;
        s.canvas->setSimulatedPosture(P::OneFinger);
        auto* erase = s.canvas->getActiveBufferAs<float>(ERASE_BUFFER);
        erase->setValue(10, 10, 1.0f);
        s.contact(P::OneFinger, 2);
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
    EXPECT_EQ(s.canvas->getInteractionMode(), M::Move);
    EXPECT_EQ(s.brush->getHint(), 6);
    s.nunchuk(false, false, 0, 0);      // centred: create-erase again
    EXPECT_EQ(s.canvas->getInteractionMode(), M::CreateErase);
    // The first report of the next contact only ends the gesture; then it paints.
    s.report(P::OneFinger);
    EXPECT_EQ(s.action(), ActionCode::Idle);
    s.report(P::OneFinger);
    EXPECT_EQ(s.action(), ActionCode::CreateErase);
    EXPECT_EQ(s.cell(ControlCells::CreateEraseAmount), 5.0f);

    // A gesture during the contact stops it.
    s.nunchuk(false, false, -1.0f, 0);
    EXPECT_EQ(s.brush->getHint(), 3);
    s.nunchuk(false, false, 0, 0);
    s.report(P::OneFinger);
    EXPECT_EQ(s.canvas->getInteractionMode(), M::Idle);
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

    // Every report without the press button idles the brush, even while a touch holds it.
    s.nunchuk(false, false, -1.0f, 0);   // orient mode
    s.report(P::TwoFingers);
    EXPECT_EQ(s.action(), ActionCode::Orientation);
    s.nunchuk(false, false, -1.0f, 0);
    EXPECT_EQ(s.action(), ActionCode::Idle);
    s.lift();
}

TEST(CanvasModes, DecidingReportReplaysTheFirstPositions)
{
    // Positions 250 pixels apart: one stamp does not reach the next.
    const int xs[6] = {100, 350, 600, 850, 850, 850};
    for (bool simulated : {false, true}) {
        ModeScene s;
        s.canvas->setInteractionMode(M::Erase);
        if (simulated)
            s.canvas->setSimulatedPosture(P::OneFinger);
        auto* erase = s.canvas->getActiveBufferAs<float>(ERASE_BUFFER);
        const auto erasedAt = [&](int x) {
            int cx = 0, cy = 0;
            s.canvas->deviceToCell(x, 400, cx, cy);
            return erase->getValue(cx, cy);
        };
        for (int i = 0; i < 5; ++i)
            s.report(P::OneFinger, xs[i], 400);
        EXPECT_EQ(erasedAt(xs[0]), 0.0f);
        s.report(P::OneFinger, xs[5], 400);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(erasedAt(xs[i]) > 0.0f, !simulated) << "position " << i + 1;
        EXPECT_EQ(erasedAt(xs[3]), 0.0f);
        EXPECT_EQ(s.cell(ControlCells::CreateEraseAmount), -2.0f);
    }
}
