// The pointer the Nunchuk joystick drives: steps, the window bounds and the
// border zone along the window's edges.
#include "WiiJoystickPointer.h"

#include <algorithm>

WiiJoystickPointer::ZoneChange WiiJoystickPointer::move(float& x, float& y, float dx, float dy, int width, int height)
{
    const auto w = static_cast<float>(width - 1);
    const auto h = static_cast<float>(height - 1);
    x += dx;
    y += dy;
    const bool inZone = x < BorderZone || x > w - (BorderZone - 1.0f) || y < BorderZone || y > h - (BorderZone - 1.0f);
    x = std::clamp(x, 0.0f, w + 1.0f);
    y = std::clamp(y, 0.0f, h + 1.0f);
    const bool wasInZone = _inZone;
    _inZone = inZone;
    if (inZone && !wasInZone)
        return ZoneChange::Entered;
    if (!inZone && wasInZone)
        return ZoneChange::Left;
    return ZoneChange::None;
}
