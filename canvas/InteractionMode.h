// The canvas's interaction modes and the groups of the scene's input
// combinations (0 to 7) that decide how presses reach them. GL-free.
#pragma once

// Interaction modes; the numbers are those of the menu commands and logs.
enum class InteractionMode : int
{
    Create = 0,
    Erase = 1,
    CreateErase = 2,   // at start; chosen by posture or the Nunchuk
    Orient = 3,
    Move = 4,
    Size = 5,
    Color = 6,
    Posture = 7,       // the pen's mode of the posture-only combination
    Idle = 8,
};

// How an input combination drives the canvas.
enum class InputGroup
{
    Menu,          // 0 to 2: direct touch, mode chosen by menu
    NunchukTouch,  // 3 to 5: direct touch, mode by posture, amounts by Nunchuk
    Pointing,      // 6: Wii pointing, mode chosen by the Nunchuk
    PostureOnly,   // 7: direct touch, mode chosen by posture alone
};

// The group of an input combination; numbers outside 0 to 7 count as menu.
constexpr InputGroup inputGroup(int combination)
{
    if (combination >= 3 && combination <= 5)
        return InputGroup::NunchukTouch;
    if (combination == 6)
        return InputGroup::Pointing;
    if (combination == 7)
        return InputGroup::PostureOnly;
    return InputGroup::Menu;
}
