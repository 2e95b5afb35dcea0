// The hand postures told apart by contact size, and the simulated postures
// that stand in for them when input comes from the mouse.
#pragma once

#include <array>

// Posture numbers shared by every component that reacts to the hand's shape.
enum Posture : int
{
    POSTURE_PEN = 0,
    POSTURE_ONE_FINGER = 1,
    POSTURE_TWO_FINGERS = 2,
    POSTURE_FIST = 3,
    POSTURE_HAND = 4,
    POSTURE_UNKNOWN = 5, // the averaged contact area lies in none of the ranges
    POSTURE_NONE = 6     // not decided yet, or no contact
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
    {POSTURE_PEN, 3, 3},
    {POSTURE_ONE_FINGER, 10, 10},
    {POSTURE_TWO_FINGERS, 15, 15},
    {POSTURE_FIST, 50, 50},
    {POSTURE_HAND, 350, 350},
}};

// The simulated contact for a posture; unknown and none simulate no contact
// (0 x 0), which is also where the canvas starts.
constexpr FakePosture fakePosture(Posture posture)
{
    if (posture >= POSTURE_PEN && posture <= POSTURE_HAND)
        return FakePostures[posture];
    return {posture, 0, 0};
}
