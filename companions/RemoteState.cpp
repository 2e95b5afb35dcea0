// One Wii Remote's state as the companions send it, and the OSC datagrams of
// the three messages the program reads and the one it sends back.
#include "RemoteState.h"

#include "OscPacketValidator.h"

#include <osc/OscException.h>
#include <osc/OscOutboundPacketStream.h>
#include <osc/OscReceivedElements.h>

#include <cstring>

namespace {

constexpr std::size_t BufferSize = 1024;

WiiOsc::Bytes bytesOf(const osc::OutboundPacketStream& stream)
{
    return {stream.Data(), stream.Data() + stream.Size()};
}

} // namespace

WiiOsc::Bytes WiiOsc::stateMessage(const RemoteState& s)
{
    char buffer[BufferSize];
    osc::OutboundPacketStream p(buffer, sizeof buffer);
    p << osc::BeginMessage("/glovepie/wiidata") << static_cast<osc::int32>(s.remote) << s.pointerX << s.pointerY;
    for (float v : s.accel)
        p << v;
    for (float v : s.extra)
        p << v;
    p << s.roll << s.pitch;
    for (bool b : s.buttons)
        p << b;
    p << s.nunchuk << s.c << s.z << s.joystickX << s.joystickY;
    for (float v : s.nunchukAccel)
        p << v;
    for (float v : s.nunchukExtra)
        p << v;
    p << s.nunchukRoll << s.nunchukPitch << s.ignoreNunchuk << osc::EndMessage;
    return bytesOf(p);
}

WiiOsc::Bytes WiiOsc::createObjects(int remote, int amount)
{
    char buffer[BufferSize];
    osc::OutboundPacketStream p(buffer, sizeof buffer);
    p << osc::BeginMessage("/glovepie/wiiaction/createobjects") << static_cast<osc::int32>(remote)
      << static_cast<osc::int32>(amount) << osc::EndMessage;
    return bytesOf(p);
}

WiiOsc::Bytes WiiOsc::eraseObjects(int remote, float amount)
{
    char buffer[BufferSize];
    osc::OutboundPacketStream p(buffer, sizeof buffer);
    p << osc::BeginMessage("/glovepie/wiiaction/eraseobjects") << static_cast<osc::int32>(remote) << amount
      << osc::EndMessage;
    return bytesOf(p);
}

std::optional<bool> WiiOsc::leftBorderRegion(const char* data, std::size_t size)
{
    // Anyone on the host may send to the port: oscpack reads only what our
    // own validation passed.
    if (!OscPacketValidator::isValid(data, size) || data[0] != '/')
        return std::nullopt;
    try {
        const osc::ReceivedMessage m(osc::ReceivedPacket(data, static_cast<osc::osc_bundle_element_size_t>(size)));
        if (std::strcmp(m.AddressPattern(), "/wiidata/leftBorderRegion") != 0 || m.ArgumentCount() != 1)
            return std::nullopt;
        return m.ArgumentsBegin()->AsBool();
    } catch (const osc::Exception&) {
        return std::nullopt;
    }
}

int WiiOsc::buttonIndex(const std::string& name)
{
    static const char* const names[] = {"up", "down", "right", "left", "a", "b", "plus", "minus", "home", "one", "two"};
    for (int i = 0; i < RemoteState::ButtonCount; ++i)
        if (name == names[i])
            return i;
    return -1;
}
