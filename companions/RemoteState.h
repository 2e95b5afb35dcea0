// One Wii Remote's state as the companions send it, and the OSC datagrams of
// the three messages the program reads and the one it sends back.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Positions in window pixels with the origin at the bottom left; joystick
// axes in [-1, 1] with y positive towards the player; accelerations in g.
struct RemoteState
{
    // Remote buttons in message order (arguments 11 to 21).
    enum Button { Up, Down, Right, Left, A, B, Plus, Minus, Home, One, Two, ButtonCount };

    int remote = 0;
    float pointerX = 0.0f;
    float pointerY = 0.0f;
    std::array<float, 3> accel{};    // gx, gy, gz
    std::array<float, 3> extra{};    // see companions/README.md
    float roll = 0.0f;
    float pitch = 0.0f;
    std::array<bool, ButtonCount> buttons{};
    bool nunchuk = false;
    bool c = false;
    bool z = false;
    float joystickX = 0.0f;
    float joystickY = 0.0f;
    std::array<float, 3> nunchukAccel{};
    std::array<float, 3> nunchukExtra{};
    float nunchukRoll = 0.0f;
    float nunchukPitch = 0.0f;
    bool ignoreNunchuk = false;
};

namespace WiiOsc {

using Bytes = std::vector<char>;

// "/glovepie/wiidata" with the 36 arguments of the state layout.
Bytes stateMessage(const RemoteState& state);
Bytes createObjects(int remote, int amount);
Bytes eraseObjects(int remote, float amount);
// The bool of a "/wiidata/leftBorderRegion" datagram; nothing for any
// other or a malformed datagram.
std::optional<bool> leftBorderRegion(const char* data, std::size_t size);

// Button names of the scripts and recordings: up, down, right, left, a, b,
// plus, minus, home, one, two; -1 for others.
int buttonIndex(const std::string& name);

} // namespace WiiOsc
