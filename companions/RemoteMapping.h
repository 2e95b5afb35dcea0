// The bridge's mapping from a Remote's reports to the state it sends: the
// pointer from the infrared camera or, without a sensor bar in view, from
// the tilt; buttons; the Nunchuk; and the rumble that answers the border.
#pragma once

#include "RemoteEvents.h"
#include "RemoteState.h"

class RemoteMapping
{
public:
    static constexpr double AccelPerG = 100.0;
    static constexpr double StickRange = 100.0;
    // Tilt that moves the pointer from the window's centre to its edge.
    static constexpr double TiltToEdgeDegrees = 45.0;
    // Rumble on entering the border zone, in milliseconds.
    static constexpr double RumbleMs = 150.0;

    // `width` and `height`: the program's window, in pixels.
    RemoteMapping(int remote, float width, float height);

    void apply(const RemoteEvent& event);
    const RemoteState& state() const { return _state; }
    // Whether the pointer follows the infrared camera (a dot in view).
    bool isPointingByInfrared() const { return _infrared; }

    // The program's answer "/wiidata/leftBorderRegion": entering the zone
    // (false) starts a short rumble, leaving it (true) stops it.
    void borderMessage(bool left, double nowMs);
    bool wantsRumble(double nowMs) const { return nowMs < _rumbleUntilMs; }

private:
    void updatePointerFromTilt();

    RemoteState _state;
    float _width;
    float _height;
    bool _infrared = false;
    double _rumbleUntilMs = -1.0;
};
