// State of one Wii Remote and its Nunchuk as last received from the bridge
// program: plain records, copied freely (current and previous per Remote).
#pragma once

#include <array>

// The Nunchuk part of a Remote's state, as the bridge reports it.
struct NunchukCommunicationData
{
    float joystickX = 0.0f;
    float joystickY = 0.0f;
    float gx = 0.0f;
    float gy = 0.0f;
    float gz = 0.0f;
    // Three further values of the bridge's script, stored in message order.
    std::array<float, 3> extra{};
    float pitch = 0.0f;
    float roll = 0.0f;
    bool c = false;
    bool z = false;
};

// One Remote's state. Fields follow the order of the state message; the
// Nunchuk presence and record sit behind accessors.
struct WiiCommunicationData
{
    // Codes reported in the pressed and released button lists.
    enum WIIMOTE_BUTTON : int
    {
        BUTTON_A = 0,
        BUTTON_B = 1,
        BUTTON_C = 2, // Nunchuk
        BUTTON_Z = 3, // Nunchuk
        BUTTON_PLUS = 4,
        BUTTON_MINUS = 5,
        BUTTON_HOME = 6,
        BUTTON_ONE = 7,
        BUTTON_TWO = 8,
        BUTTON_UP = 9,
        BUTTON_DOWN = 10,
        BUTTON_LEFT = 11,
        BUTTON_RIGHT = 12
    };

    int index = 0;
    // Pointer position in window pixels, kept within the window.
    float pointerX = 0.0f;
    float pointerY = 0.0f;
    float gx = 0.0f;
    float gy = 0.0f;
    float gz = 0.0f;
    // Three further values of the bridge's script, stored in message order.
    std::array<float, 3> extra{};
    float pitch = 0.0f;
    float roll = 0.0f;
    bool up = false;
    bool down = false;
    bool right = false;
    bool left = false;
    bool a = false;
    bool b = false;
    bool plus = false;
    bool minus = false;
    bool home = false;
    bool one = false;
    bool two = false;

    bool hasNunchuk() const { return _hasNunchuk; }
    void hasNunchuk(bool present) { _hasNunchuk = present; }

    // The Nunchuk record; kept (and its c flag still written) while no
    // Nunchuk is reported.
    NunchukCommunicationData& nunchuk() { return _nunchuk; }
    const NunchukCommunicationData& nunchuk() const { return _nunchuk; }

private:
    bool _hasNunchuk = false;
    NunchukCommunicationData _nunchuk;
};
