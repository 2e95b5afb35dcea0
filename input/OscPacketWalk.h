// Reads every element and argument of an OSC packet the way a receiver
// would, so that the parser meets all of it. Used where our validation is
// checked against the parser (tests, the datagram fuzzer).
#pragma once

#include <osc/OscException.h>
#include <osc/OscReceivedElements.h>

#include <cstddef>

namespace OscPacketWalk {

inline void walk(const osc::ReceivedBundle& bundle);

inline void walk(const osc::ReceivedMessage& message)
{
    for (auto arg = message.ArgumentsBegin(); arg != message.ArgumentsEnd(); ++arg) {
        if (arg->IsString()) {
            volatile char first = *arg->AsString();
            (void)first;
        } else if (arg->IsBlob()) {
            const void* data = nullptr;
            osc::osc_bundle_element_size_t size = 0;
            arg->AsBlob(data, size);
        }
    }
}

inline void walk(const osc::ReceivedBundle& bundle)
{
    for (auto e = bundle.ElementsBegin(); e != bundle.ElementsEnd(); ++e) {
        if (e->IsBundle())
            walk(osc::ReceivedBundle(*e));
        else
            walk(osc::ReceivedMessage(*e));
    }
}

// True when the parser reads the whole packet without an exception.
inline bool parserAccepts(const char* data, std::size_t size)
{
    try {
        const osc::ReceivedPacket packet(data, static_cast<osc::osc_bundle_element_size_t>(size));
        if (packet.IsBundle())
            walk(osc::ReceivedBundle(packet));
        else
            walk(osc::ReceivedMessage(packet));
        return true;
    } catch (const osc::Exception&) {
        return false;
    }
}

} // namespace OscPacketWalk
