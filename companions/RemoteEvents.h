// What a Wii Remote reports, in a device-independent form: the bridge turns
// the kernel driver's events into these, and recorded sessions replay them.
#pragma once

#include <array>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// One report. Raw units of the kernel driver: accelerations about 100 per
// g, infrared dots in camera pixels (1024 x 768, 1023 1023: no dot), the
// Nunchuk's stick about -100 .. 100 (y up).
struct RemoteEvent
{
    enum Kind { Key, Accel, Infrared, Extension, Stick, NunchukAccel };
    Kind kind = Key;
    double timeMs = 0.0;
    std::string key;              // Key: a button name, c or z
    bool down = false;            // Key
    bool nunchuk = false;         // Extension: a Nunchuk is plugged in
    std::array<int, 8> values{};  // Accel, NunchukAccel: x y z; Stick: x y; Infrared: four dots x y
};

// Recorded sessions, one event per line ('#' starts a comment):
//   TIME key NAME 0|1       TIME accel X Y Z        TIME ir X0 Y0 X1 Y1 X2 Y2 X3 Y3
//   TIME ext nunchuk|none   TIME stick X Y          TIME naccel X Y Z
// TIME in milliseconds. Sets `error` ("line N: ...") and returns nothing
// for a line it cannot read.
std::optional<std::vector<RemoteEvent>> readRemoteEvents(std::istream& in, std::string& error);
