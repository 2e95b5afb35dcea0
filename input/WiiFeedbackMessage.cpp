// The one message the program sends back to the Wii bridge.
#include "WiiFeedbackMessage.h"

#include <osc/OscOutboundPacketStream.h>

std::vector<char> WiiFeedbackMessage::leftBorderRegion(bool left)
{
    char buffer[1024];
    osc::OutboundPacketStream stream(buffer, sizeof buffer);
    stream << osc::BeginMessage(BorderAddress) << left << osc::EndMessage;
    return {stream.Data(), stream.Data() + stream.Size()};
}
