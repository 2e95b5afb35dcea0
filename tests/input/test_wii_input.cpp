// Wii Remote messages: the argument walk into the records, button edges,
// the Nunchuk rules, border and button events, dropped datagrams, the
// joystick pointer's border zone (the message sent back is read by the
// companions' test).
#include "TouchTestSupport.h"
#include "WiiJoystickPointer.h"
#include "WiiMessageEvaluator.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using osctest::Arg;
using osctest::Bytes;

struct Call
{
    std::string what;
    float x = 0.0f;
    float y = 0.0f;
    int device = 0;
    std::vector<int> pressed;
};

class RecordingTarget : public WiiEventTarget
{
public:
    bool isReady() const override { return true; }
    void setNunchukIgnored(bool on) override { ignored.push_back(on); }
    void wiiJoystickEvent(int dx, int dy, int device, const std::vector<int>& pressed, const WiiCommunicationData&,
                          bool zReleased) override
    {
        calls.push_back({zReleased ? "joystick" : "joystick z", static_cast<float>(dx), static_cast<float>(dy), device,
                         pressed});
    }
    void wiiButtonEvent(float x, float y, int device, const std::vector<int>& pressed,
                        const WiiCommunicationData&) override
    {
        calls.push_back({"button", x, y, device, pressed});
    }
    void wiiBorderEvent(float x, float y, int device, const std::vector<int>& pressed,
                        const WiiCommunicationData&) override
    {
        calls.push_back({"border", x, y, device, pressed});
    }
    void createObjectsAt(float amount) override { calls.push_back({"create", amount, 0.0f, 0, {}}); }
    void eraseObjectsAt(float amount) override { calls.push_back({"erase", amount, 0.0f, 0, {}}); }

    std::vector<Call> calls;
    std::vector<bool> ignored;
};

using osctest::WiiState;
using osctest::wiiState;
using osctest::wiiStateArgs;

constexpr std::size_t B = 5;      // positions of b and plus in WiiState::buttons
constexpr std::size_t Plus = 6;

class WiiInput : public ::testing::Test
{
protected:
    WiiInput() { evaluator.setClock([this] { return now; }); }

    bool send(const Bytes& bytes) { return evaluator.evaluateDatagram(bytes.data(), bytes.size()); }
    std::vector<std::string> calls() const
    {
        std::vector<std::string> names;
        for (const Call& c : target.calls)
            names.push_back(c.what);
        return names;
    }

    RecordingTarget target;
    std::ostringstream out;
    double now = 0.0;
    WiiMessageEvaluator evaluator{{2, 1, 700.0f, 500.0f, 10.0f}, target, out};
};

TEST_F(WiiInput, StateFillsTheRecordAndKeepsThePointerInTheWindow)
{
    ASSERT_TRUE(send(wiiState({.remote = 1, .x = -5.0f, .y = 600.0f})));
    const WiiCommunicationData& d = evaluator.wiiData(1);
    EXPECT_EQ(d.index, 1);
    EXPECT_EQ(d.pointerX, 0.0f);
    EXPECT_EQ(d.pointerY, 500.0f);
    EXPECT_EQ(d.gx, 3.0f);
    EXPECT_EQ(d.extra[2], 8.0f);
    EXPECT_EQ(d.roll, 9.0f);    // argument 9 is the roll,
    EXPECT_EQ(d.pitch, 10.0f);  // argument 10 the pitch
    send(wiiState({.remote = 1, .x = 1000.0f, .y = 20.0f}));
    EXPECT_EQ(evaluator.wiiData(1).pointerX, 700.0f);
    EXPECT_EQ(evaluator.previousWiiData(1).pointerX, 0.0f);
    EXPECT_EQ(evaluator.wiiData(0).pointerX, 0.0f) << "another Remote's record";

    // Missing trailing arguments leave their fields alone.
    std::vector<Arg> shortArgs = wiiStateArgs({.remote = 1, .x = 300.0f});
    shortArgs.resize(3);
    EXPECT_TRUE(send(osctest::message("/glovepie/wiidata", shortArgs)));
    EXPECT_EQ(evaluator.wiiData(1).pointerX, 300.0f);
    EXPECT_EQ(evaluator.wiiData(1).gx, 3.0f);
}

TEST_F(WiiInput, HeldButtonIsPressedOnceAndReleasedOnce)
{
    WiiState s;
    s.nunchuk = true;
    s.buttons[B] = true;
    s.z = true;
    send(wiiState(s));
    EXPECT_EQ(evaluator.lastPressed(), (std::vector<int>{WiiCommunicationData::BUTTON_B, WiiCommunicationData::BUTTON_Z}));
    EXPECT_FALSE(evaluator.isZReleased());
    send(wiiState(s));
    EXPECT_TRUE(evaluator.lastPressed().empty());
    EXPECT_TRUE(evaluator.lastReleased().empty());
    s.buttons[B] = false;
    s.z = false;
    send(wiiState(s));
    EXPECT_EQ(evaluator.lastReleased(), (std::vector<int>{WiiCommunicationData::BUTTON_B, WiiCommunicationData::BUTTON_Z}));
    EXPECT_TRUE(evaluator.isZReleased());
    send(wiiState(s));
    EXPECT_TRUE(evaluator.lastReleased().empty());
}

TEST_F(WiiInput, NunchukFieldsAndJoystickEventsOnlyWithANunchuk)
{
    // Without a Nunchuk: C is still stored, Z and the Nunchuk floats are not.
    send(wiiState({.c = true, .z = true, .jx = 0.5f}));
    const NunchukCommunicationData& n = evaluator.wiiData(0).nunchuk();
    EXPECT_TRUE(n.c);
    EXPECT_FALSE(n.z);
    EXPECT_EQ(n.joystickX, 0.0f);
    EXPECT_TRUE(evaluator.isZReleased());
    EXPECT_TRUE(calls().empty());

    // With one: the joystick step is the truncated reading times the speed factor.
    send(wiiState({.nunchuk = true, .jx = 0.25f, .jy = -0.35f}));
    EXPECT_EQ(n.joystickX, 0.25f);
    EXPECT_EQ(n.gx, 27.0f);
    EXPECT_EQ(n.roll, 33.0f);
    EXPECT_EQ(n.pitch, 34.0f);
    ASSERT_EQ(calls(), (std::vector<std::string>{"joystick"}));
    EXPECT_EQ(target.calls[0].x, 2.0f);
    EXPECT_EQ(target.calls[0].y, -3.0f);
    EXPECT_EQ(target.calls[0].device, 1) << "Remote 0 follows the one direct-touch user";
}

TEST_F(WiiInput, NunchukIgnoreInputClearsEveryTimeAndSetsOnItsRisingEdge)
{
    send(wiiState({}));
    send(wiiState({}));
    send(wiiState({.ignore = true}));
    send(wiiState({.ignore = true}));
    send(wiiState({}));
    EXPECT_EQ(target.ignored, (std::vector<bool>{false, false, true, false}));
}

TEST_F(WiiInput, BorderAndButtonEventsFollowThePointer)
{
    send(wiiState({.x = 100.0f, .y = 200.0f}));
    // Out through the left edge halfway up the path: the crossing point.
    send(wiiState({.x = -100.0f, .y = 300.0f}));
    ASSERT_EQ(calls(), (std::vector<std::string>{"border"}));
    EXPECT_EQ(target.calls[0].x, 0.0f);
    EXPECT_EQ(target.calls[0].y, 250.0f);
    EXPECT_EQ(evaluator.lastBorderY(), 250.0f);
    // Staying on the edge is no new crossing.
    send(wiiState({.x = -50.0f, .y = 300.0f}));
    EXPECT_EQ(target.calls.size(), 1u);

    // A Remote button press: the mean of the previous and current point, truncated.
    WiiState s{.x = 101.0f, .y = 300.0f};
    s.buttons[Plus] = true;
    send(wiiState(s));
    ASSERT_EQ(calls(), (std::vector<std::string>{"border", "button"}));
    EXPECT_EQ(target.calls[1].x, 50.0f);
    EXPECT_EQ(target.calls[1].y, 300.0f);
    EXPECT_EQ(target.calls[1].pressed, (std::vector<int>{WiiCommunicationData::BUTTON_PLUS}));
    // A Nunchuk button alone is no Remote button.
    send(wiiState({.x = 101.0f, .y = 300.0f, .c = true}));
    EXPECT_EQ(target.calls.size(), 2u);
}

TEST_F(WiiInput, ArgumentsBeyondTheLayoutArePrintedOnce)
{
    std::vector<Arg> args = wiiStateArgs({});
    args.emplace_back(1.5f);
    ASSERT_TRUE(send(osctest::message("/glovepie/wiidata", args)));
    EXPECT_EQ(out.str(), "ArgNum: 36\nMore args: implement in wii class and when interpreting UPD package.\n");
}

TEST_F(WiiInput, UnconfiguredRemotesAndRemoteCountZeroChangeNothing)
{
    RecordingTarget lone;
    std::ostringstream loneOut;
    WiiMessageEvaluator one({1, 1, 700.0f, 500.0f, 10.0f}, lone, loneOut);
    std::vector<Arg> args = wiiStateArgs({.remote = 1, .x = 300.0f, .nunchuk = true, .jx = 1.0f});
    args.emplace_back(0.0f);
    const Bytes message = osctest::message("/glovepie/wiidata", args);
    one.evaluateDatagram(message.data(), message.size());
    const Bytes create = osctest::message("/glovepie/wiiaction/createobjects", {1, 7});
    one.evaluateDatagram(create.data(), create.size());
    EXPECT_EQ(one.wiiData(0).pointerX, 0.0f);
    EXPECT_TRUE(lone.calls.empty());
    EXPECT_TRUE(lone.ignored.empty());
    EXPECT_EQ(loneOut.str(), "") << "extra arguments of an unknown Remote are not walked";

    WiiMessageEvaluator none({0, 1, 700.0f, 500.0f, 10.0f}, lone, loneOut);
    const Bytes garbage{'x', 'y'};
    EXPECT_FALSE(none.evaluateDatagram(garbage.data(), garbage.size()));
    EXPECT_FALSE(none.evaluateDatagram(create.data(), create.size()));
    EXPECT_TRUE(lone.calls.empty());
    EXPECT_EQ(loneOut.str(), "");
}

TEST_F(WiiInput, ActionMessagesCarryTheirAmountOrTheDefault)
{
    send(osctest::message("/glovepie/wiiaction/createobjects", {0, 12}));
    send(osctest::message("/glovepie/wiiaction/createobjects", {1}));
    send(osctest::message("/glovepie/wiiaction/eraseobjects", {0, 2.5f}));
    send(osctest::message("/glovepie/wiiaction/eraseobjects", {0}));
    send(osctest::message("/glovepie/wiiaction/eraseobjects", {2, 1.0f}));   // no Remote 2
    ASSERT_EQ(calls(), (std::vector<std::string>{"create", "create", "erase", "erase"}));
    EXPECT_EQ(target.calls[0].x, 12.0f);
    EXPECT_EQ(target.calls[1].x, 5.0f);
    EXPECT_EQ(target.calls[2].x, 2.5f);
    EXPECT_EQ(target.calls[3].x, 5.0f);
}

TEST_F(WiiInput, MalformedDatagramsAreDroppedWholeAndReportedOncePerSecond)
{
    std::vector<Arg> args = wiiStateArgs({.x = 300.0f});
    args[5] = std::string("five");   // gz as a string
    for (int i = 0; i < 50; ++i)
        EXPECT_FALSE(send(osctest::message("/glovepie/wiidata", args)));
    EXPECT_FALSE(send(osctest::message("/glovepie/wiiaction/createobjects", {0, 2.5f})));
    EXPECT_FALSE(send(osctest::message("/glovepie/wiiaction/eraseobjects", {})));
    const Bytes whole = wiiState({});
    const Bytes truncated(whole.begin(), whole.begin() + 30);
    EXPECT_FALSE(send(truncated));
    EXPECT_EQ(evaluator.wiiData(0).pointerX, 0.0f) << "nothing of a dropped message is applied";
    EXPECT_TRUE(target.calls.empty());
    EXPECT_EQ(evaluator.droppedCount(), 53u);
    EXPECT_EQ(out.str(), "WiiMessageEvaluator: dropped a datagram (wrong argument type at position 5)\n");

    EXPECT_TRUE(send(wiiState({.x = 300.0f})));
    EXPECT_EQ(evaluator.wiiData(0).pointerX, 300.0f);
    now = 1.5;
    send(truncated);
    EXPECT_NE(out.str().find("; 53 dropped since the last report\n"), std::string::npos) << out.str();
}

TEST(WiiJoystickPointer, BorderZoneIsEnteredAndLeftOnceAndThePointerStaysInside)
{
    WiiJoystickPointer pointer;
    float x = 30.0f;
    float y = 200.0f;
    using Z = WiiJoystickPointer::ZoneChange;
    EXPECT_EQ(pointer.move(x, y, 0.0f, 0.0f, 640, 480), Z::None);
    EXPECT_EQ(pointer.move(x, y, -15.0f, 0.0f, 640, 480), Z::Entered);
    EXPECT_EQ(x, 15.0f);
    EXPECT_EQ(pointer.move(x, y, -1.0f, 0.0f, 640, 480), Z::None);
    EXPECT_EQ(pointer.move(x, y, 16.0f, 0.0f, 640, 480), Z::Left);
    // Right edge: W = 639, the zone starts beyond 620; the pointer stops at 640.
    x = 620.0f;
    EXPECT_EQ(pointer.move(x, y, 0.0f, 0.0f, 640, 480), Z::None);
    EXPECT_EQ(pointer.move(x, y, 100.0f, -500.0f, 640, 480), Z::Entered);
    EXPECT_EQ(x, 640.0f);
    EXPECT_EQ(y, 0.0f);
}

} // namespace
