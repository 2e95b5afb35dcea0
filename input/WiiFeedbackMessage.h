// The one message the program sends back to the Wii bridge.
#pragma once

#include <cstddef>
#include <vector>

namespace WiiFeedbackMessage {

inline constexpr const char* BorderAddress = "/wiidata/leftBorderRegion";

// "/wiidata/leftBorderRegion" with one bool: false when the joystick
// pointer entered the border zone, true when it left it. The OSC bytes of
// one datagram.
std::vector<char> leftBorderRegion(bool left);

} // namespace WiiFeedbackMessage
