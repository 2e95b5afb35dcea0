// The Wii companions against the program's own reading of their messages:
// recorded Remote sessions through the bridge's mapping, scripted sessions
// of the simulator, and the rumble that answers the border message.
#include "RemoteEvents.h"
#include "RemoteMapping.h"
#include "WiiFeedbackMessage.h"
#include "WiiMessageEvaluator.h"
#include "WiiSession.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

constexpr float Width = 700.0f;
constexpr float Height = 525.0f;

// Keeps the joystick steps the program would take.
class StepTarget : public WiiEventTarget
{
public:
    bool isReady() const override { return true; }
    void setNunchukIgnored(bool) override {}
    void wiiJoystickEvent(int dx, int dy, int, const std::vector<int>&, const WiiCommunicationData&, bool) override
    {
        steps.push_back({dx, dy});
    }
    void wiiButtonEvent(float, float, int, const std::vector<int>&, const WiiCommunicationData&) override {}
    void wiiBorderEvent(float, float, int, const std::vector<int>&, const WiiCommunicationData&) override {}
    void createObjectsAt(float amount) override { created.push_back(amount); }
    void eraseObjectsAt(float amount) override { erased.push_back(amount); }
    std::vector<std::pair<int, int>> steps;
    std::vector<float> created;
    std::vector<float> erased;
};

// The program's side: what the bridge's or simulator's datagrams become.
struct Program
{
    StepTarget target;
    std::ostringstream out;
    WiiMessageEvaluator evaluator{{1, 1, Width, Height, 10.0f}, target, out};
    bool receive(const std::vector<char>& d) { return evaluator.evaluateDatagram(d.data(), d.size()); }
    const WiiCommunicationData& record() const { return evaluator.wiiData(0); }
};

std::vector<RemoteEvent> recording(const std::string& name)
{
    std::ifstream in(std::string(PICTAVO_RECORDINGS) + "/" + name);
    std::string error;
    auto events = readRemoteEvents(in, error);
    EXPECT_TRUE(events.has_value()) << error;
    return events.value_or(std::vector<RemoteEvent>{});
}

TEST(WiiBridge, PointerFollowsTheSensorBarThenTheTilt)
{
    const std::vector<RemoteEvent> events = recording("sensor_bar.wiievents");
    ASSERT_EQ(events.size(), 6u);
    RemoteMapping mapping(0, Width, Height);
    Program program;
    std::vector<std::pair<float, float>> pointers;
    std::vector<std::vector<int>> pressed;
    for (const RemoteEvent& e : events) {
        mapping.apply(e);
        ASSERT_TRUE(program.receive(WiiOsc::stateMessage(mapping.state())));
        pointers.push_back({program.record().pointerX, program.record().pointerY});
        pressed.push_back(program.evaluator.lastPressed());
    }
    // Level: the centre. The bar's dots at camera (512, 300), seen mirrored.
    EXPECT_EQ(pointers[0], std::make_pair(Width / 2, Height / 2));
    EXPECT_NEAR(pointers[1].first, (1.0f - 512.0f / 1023.0f) * Width, 1e-3);
    EXPECT_NEAR(pointers[1].second, 300.0f / 767.0f * Height, 1e-3);
    EXPECT_EQ(pressed[2], (std::vector<int>{WiiCommunicationData::BUTTON_B}));
    EXPECT_TRUE(program.record().gz > 0.0f);
    // The bar out of view: the tilt again, level first, then rolled 45 degrees to the right edge.
    EXPECT_EQ(pointers[3], std::make_pair(Width / 2, Height / 2));
    EXPECT_FALSE(mapping.isPointingByInfrared());
    EXPECT_NEAR(pointers[4].first, Width, 1e-3);
    EXPECT_NEAR(program.record().roll, 45.0f, 1e-3);
    EXPECT_FALSE(program.record().b);
}

TEST(WiiBridge, NunchukStickAndButtonsReachTheProgram)
{
    RemoteMapping mapping(0, Width, Height);
    Program program;
    std::vector<std::vector<int>> pressed;
    for (const RemoteEvent& e : recording("nunchuk.wiievents")) {
        mapping.apply(e);
        ASSERT_TRUE(program.receive(WiiOsc::stateMessage(mapping.state())));
        pressed.push_back(program.evaluator.lastPressed());
    }
    // Right, then up (away from the player: negative y), then still while the buttons go down.
    ASSERT_EQ(program.target.steps.size(), 6u) << "one step per message while the Nunchuk is in";
    EXPECT_EQ(program.target.steps[1], std::make_pair(10, 0));
    EXPECT_EQ(program.target.steps[2], std::make_pair(0, -10));
    EXPECT_EQ(pressed[3], (std::vector<int>{WiiCommunicationData::BUTTON_Z}));
    EXPECT_EQ(pressed[4], (std::vector<int>{WiiCommunicationData::BUTTON_C}));
    EXPECT_FALSE(program.evaluator.isZReleased());
    // Unplugged: no Nunchuk, C let go; Z is not read without a Nunchuk.
    EXPECT_FALSE(program.record().hasNunchuk());
    EXPECT_FALSE(program.record().nunchuk().c);
    EXPECT_NEAR(mapping.state().nunchukPitch, 90.0f, 1e-3);
}

TEST(WiiBridge, RecordingErrorsNameTheirLine)
{
    std::istringstream in("0 key a 1\n# fine\n5 key q 1\n");
    std::string error;
    EXPECT_FALSE(readRemoteEvents(in, error).has_value());
    EXPECT_EQ(error, "line 3: cannot read \"5 key q 1\"");
}

TEST(WiiBridge, EnteringTheBorderZoneRumblesBriefly)
{
    RemoteMapping mapping(0, Width, Height);
    EXPECT_EQ(WiiOsc::leftBorderRegion(nullptr, 0), std::nullopt);
    for (bool left : {false, true}) {
        const std::vector<char> message = WiiFeedbackMessage::leftBorderRegion(left);
        EXPECT_EQ(WiiOsc::leftBorderRegion(message.data(), message.size()), left);
    }
    mapping.borderMessage(false, 1000.0);
    EXPECT_TRUE(mapping.wantsRumble(1000.0 + RemoteMapping::RumbleMs - 1.0));
    EXPECT_FALSE(mapping.wantsRumble(1000.0 + RemoteMapping::RumbleMs));
    mapping.borderMessage(false, 2000.0);
    mapping.borderMessage(true, 2010.0);
    EXPECT_FALSE(mapping.wantsRumble(2020.0)) << "leaving the zone stops the rumble";
}

TEST(WiiSimulator, ScriptsBecomeTheMessagesTheProgramReads)
{
    std::istringstream script("nunchuk on; joystick 0.5 0   # half right\n"
                              "pointer 100 100\n"
                              "move 200 300 2; press b; send\n"
                              "create 7; erase; wait 0.5\n");
    std::string error;
    const auto steps = parseSession(script, 0, 0.01, error);
    ASSERT_TRUE(steps.has_value()) << error;
    ASSERT_EQ(steps->size(), 6u);
    EXPECT_EQ(steps->back().datagram.size(), 0u);
    EXPECT_EQ(steps->back().waitSeconds, 0.5);
    Program program;
    std::vector<float> xs;
    for (const SessionStep& s : *steps)
        if (!s.datagram.empty()) {
            ASSERT_TRUE(program.receive(s.datagram));
            xs.push_back(program.record().pointerX);
        }
    EXPECT_EQ(xs, (std::vector<float>{150.0f, 200.0f, 200.0f, 200.0f, 200.0f}));
    EXPECT_EQ(program.record().pointerY, 300.0f);
    EXPECT_TRUE(program.record().b);
    EXPECT_EQ(program.target.steps.size(), 3u);
    EXPECT_EQ(program.target.steps[0], std::make_pair(5, 0));
    EXPECT_EQ(program.target.created, (std::vector<float>{7.0f}));
    EXPECT_EQ(program.target.erased, (std::vector<float>{5.0f}));

    std::istringstream bad("send\njump 3\n");
    EXPECT_FALSE(parseSession(bad, 0, 0.01, error).has_value());
    EXPECT_EQ(error, "line 2: cannot read \"jump 3\"");
}

} // namespace
