// What a Wii Remote reports, in a device-independent form: the bridge turns
// the kernel driver's events into these, and recorded sessions replay them.
#include "RemoteEvents.h"

#include "RemoteState.h"

#include <istream>
#include <sstream>

namespace {

bool readValues(std::istringstream& in, RemoteEvent& e, int count)
{
    for (int i = 0; i < count; ++i)
        if (!(in >> e.values[static_cast<std::size_t>(i)]))
            return false;
    return true;
}

bool readEvent(const std::string& line, RemoteEvent& e)
{
    std::istringstream in(line);
    std::string kind;
    if (!(in >> e.timeMs >> kind))
        return false;
    if (kind == "key") {
        int down = 0;
        e.kind = RemoteEvent::Key;
        if (!(in >> e.key >> down))
            return false;
        e.down = down != 0;
        return e.key == "c" || e.key == "z" || WiiOsc::buttonIndex(e.key) >= 0;
    }
    if (kind == "ext") {
        std::string name;
        e.kind = RemoteEvent::Extension;
        in >> name;
        e.nunchuk = name == "nunchuk";
        return name == "nunchuk" || name == "none";
    }
    if (kind == "accel" || kind == "naccel") {
        e.kind = kind == "accel" ? RemoteEvent::Accel : RemoteEvent::NunchukAccel;
        return readValues(in, e, 3);
    }
    if (kind == "stick") {
        e.kind = RemoteEvent::Stick;
        return readValues(in, e, 2);
    }
    if (kind == "ir") {
        e.kind = RemoteEvent::Infrared;
        return readValues(in, e, 8);
    }
    return false;
}

} // namespace

std::optional<std::vector<RemoteEvent>> readRemoteEvents(std::istream& in, std::string& error)
{
    std::vector<RemoteEvent> events;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        line = line.substr(0, line.find('#'));
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        RemoteEvent e;
        if (!readEvent(line, e)) {
            error = "line " + std::to_string(number) + ": cannot read \"" + line + "\"";
            return std::nullopt;
        }
        events.push_back(e);
    }
    return events;
}
