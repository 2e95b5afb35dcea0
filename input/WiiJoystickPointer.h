// The pointer the Nunchuk joystick drives: steps, the window bounds and the
// border zone along the window's edges.
#pragma once

// Positions are widget pixels, origin bottom left.
class WiiJoystickPointer
{
public:
    // Distance from the edges within which the pointer is in the border zone.
    static constexpr float BorderZone = 20.0f;

    enum class ZoneChange { None, Entered, Left };

    // Moves (x, y) by (dx, dy) within a widget of the given size and
    // reports whether the pointer entered or left the border zone since the
    // previous move. With W = width - 1 and H = height - 1 the zone is
    // x < 20 or x > W - 19, y < 20 or y > H - 19; the pointer is kept in
    // [0, W + 1] x [0, H + 1].
    ZoneChange move(float& x, float& y, float dx, float dy, int width, int height);
    bool inBorderZone() const { return _inZone; }

private:
    bool _inZone = false;
};
