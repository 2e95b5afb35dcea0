// Scripted Remote sessions: a small text format of pointer paths, buttons
// and joystick positions, turned into the datagrams a bridge would send.
#include "WiiSession.h"

#include <istream>
#include <sstream>

namespace {

bool onOff(std::istringstream& in, bool& value)
{
    std::string word;
    in >> word;
    value = word == "on";
    return word == "on" || word == "off";
}

bool setButton(RemoteState& s, const std::string& name, bool held)
{
    if (name == "c")
        s.c = held;
    else if (name == "z")
        s.z = held;
    else if (const int i = WiiOsc::buttonIndex(name); i >= 0)
        s.buttons[static_cast<std::size_t>(i)] = held;
    else
        return false;
    return true;
}

// One command into steps; false for a command it does not know or bad values.
bool command(const std::string& text, RemoteState& s, double interval, std::vector<SessionStep>& steps)
{
    std::istringstream in(text);
    std::string verb;
    if (!(in >> verb))
        return true;   // blank
    const auto sendState = [&] { steps.push_back({WiiOsc::stateMessage(s), interval}); };
    if (verb == "nunchuk")
        return onOff(in, s.nunchuk);
    if (verb == "ignore")
        return onOff(in, s.ignoreNunchuk);
    if (verb == "pointer")
        return static_cast<bool>(in >> s.pointerX >> s.pointerY);
    if (verb == "joystick")
        return static_cast<bool>(in >> s.joystickX >> s.joystickY);
    if (verb == "press" || verb == "release") {
        std::string name;
        return in >> name && setButton(s, name, verb == "press");
    }
    if (verb == "send") {
        int n = 1;
        in >> n;
        for (int i = 0; i < n; ++i)
            sendState();
        return n >= 0;
    }
    if (verb == "move") {
        float x = 0.0f, y = 0.0f;
        int n = 0;
        if (!(in >> x >> y >> n) || n < 1)
            return false;
        const float x0 = s.pointerX, y0 = s.pointerY;
        for (int i = 1; i <= n; ++i) {
            const float t = static_cast<float>(i) / static_cast<float>(n);
            s.pointerX = x0 + t * (x - x0);
            s.pointerY = y0 + t * (y - y0);
            sendState();
        }
        return true;
    }
    if (verb == "create") {
        int amount = 5;
        in >> amount;
        steps.push_back({WiiOsc::createObjects(s.remote, amount), interval});
        return true;
    }
    if (verb == "erase") {
        float amount = 5.0f;
        in >> amount;
        steps.push_back({WiiOsc::eraseObjects(s.remote, amount), interval});
        return true;
    }
    if (verb == "wait") {
        double seconds = 0.0;
        if (!(in >> seconds) || seconds < 0.0)
            return false;
        steps.push_back({{}, seconds});
        return true;
    }
    return false;
}

} // namespace

std::optional<std::vector<SessionStep>> parseSession(std::istream& script, int remote, double interval,
                                                     std::string& error)
{
    RemoteState state;
    state.remote = remote;
    std::vector<SessionStep> steps;
    std::string line;
    for (int number = 1; std::getline(script, line); ++number) {
        line = line.substr(0, line.find('#'));
        std::istringstream commands(line);
        std::string text;
        while (std::getline(commands, text, ';')) {
            if (!command(text, state, interval, steps)) {
                error = "line " + std::to_string(number) + ": cannot read \"" + text + "\"";
                return std::nullopt;
            }
        }
    }
    return steps;
}
