// The hand postures told apart by contact size, and the simulated postures
// that stand in for them when input comes from the mouse.
#pragma once

#include <array>

// Posture numbers shared by every component that reacts to the hand's shape;
// the numbers are those of the logs and the fake-posture commands.
enum class Posture : int
{
    Pen = 0,
    OneFinger = 1,
    TwoFingers = 2,
    Fist = 3,
    Hand = 4,
    Unknown = 5, // the averaged contact area lies in none of the ranges
    None = 6     // not decided yet, or no contact
};

// A simulated posture and the contact size it pretends, in board units.
struct FakePosture
{
    Posture posture;
    unsigned width;
    unsigned height;
};

// The fake-posture commands' values, indexed by posture number (0 to 4).
inline constexpr std::array<FakePosture, 5> FakePostures{{
    {Posture::Pen, 3, 3},
    {Posture::OneFinger, 10, 10},
    {Posture::TwoFingers, 15, 15},
    {Posture::Fist, 50, 50},
    {Posture::Hand, 350, 350},
}};

// The simulated contact for a posture; unknown and none simulate no contact
// (0 x 0), which is also where the canvas starts.
constexpr FakePosture fakePosture(Posture posture)
{
    if (posture >= Posture::Pen && posture <= Posture::Hand)
        return FakePostures[static_cast<std::size_t>(posture)];
    return {posture, 0, 0};
}
