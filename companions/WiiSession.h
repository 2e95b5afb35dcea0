// Scripted Remote sessions: a small text format of pointer paths, buttons
// and joystick positions, turned into the datagrams a bridge would send.
#pragma once

#include "RemoteState.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// One thing the simulator does: send a datagram, or wait.
struct SessionStep
{
    WiiOsc::Bytes datagram;   // empty: a pause
    double waitSeconds = 0.0; // after the datagram (the state interval) or alone
};

// Script lines (';' also ends a command, '#' starts a comment):
//   nunchuk on|off      ignore on|off        pointer X Y       joystick X Y
//   press NAME          release NAME         (NAME: a button, c or z)
//   send [N]            N state messages (1)
//   move X Y N          N state messages with the pointer going to (X, Y)
//   create [AMOUNT]     erase [AMOUNT]       wait SECONDS
// Every state message is followed by `interval` seconds of waiting.
// Returns nothing and sets `error` ("line N: ...") for a bad script.
std::optional<std::vector<SessionStep>> parseSession(std::istream& script, int remote, double interval,
                                                     std::string& error);
