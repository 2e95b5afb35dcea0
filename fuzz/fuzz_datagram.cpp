// Fuzz target: arbitrary bytes as UDP datagrams through the OSC validation
// and the TUIO receiver into the board callbacks.
//
// The input is used twice: whole, as one datagram, and split into a session
// of datagrams (each a 2-byte big-endian length and its bytes). Whatever the
// validator accepts must parse completely, and no more than two contacts
// may ever be down.
#include "BoardPointers.h"
#include "BoardTouchHandler.h"
#include "OscPacketValidator.h"
#include "OscPacketWalk.h"
#include "TuioReceiver.h"

#include <osc/OscException.h>
#include <osc/OscReceivedElements.h>

#include <cstddef>
#include <cstdint>

namespace {

// Counts contacts down, and checks what the scene would be handed.
class CheckingTarget : public BoardTouchTarget
{
public:
    void resizeTouchIndicator(int user, double, double) override { checkUser(user); }
    void setTouchBoundWidth(int user, double) override { checkUser(user); }
    void setTouchBoundHeight(int user, double) override { checkUser(user); }
    void devicePress(int, int, int, int device) override { checkUser(device); }
    void deviceMove(int, int, int, int device) override { checkUser(device); }
    void deviceRelease(int, int, int, int device) override { checkUser(device); }
    void logTouch(int event, int, int, int, int) override
    {
        if (event < 0 || event > 2)
            __builtin_trap();
    }

private:
    static void checkUser(int user)
    {
        if (user != 0 && user != 1)
            __builtin_trap();
    }
};

void checkParserAgrees(const char* data, std::size_t size)
{
    // The validator must not let through what the parser refuses.
    if (OscPacketValidator::isValid(data, size) && !OscPacketWalk::parserAccepts(data, size))
        __builtin_trap();
}

struct Session
{
    CheckingTarget target;
    BoardTouchHandler handler{target};
    BoardPointers pointers{handler};
    TuioReceiver tuio{pointers, 4000, 4000};

    Session() { handler.setGeometry({4000, 4000, 1024, 768}); }

    void receive(const char* data, std::size_t size)
    {
        checkParserAgrees(data, size);
        tuio.receive(data, size);
        if (pointers.heldCount() > 2 || tuio.cursorSessions().size() + tuio.blobSessions().size() != pointers.heldCount())
            __builtin_trap();
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    Session whole;
    whole.receive(bytes, size);

    Session split;
    std::size_t at = 0;
    while (size - at >= 2) {
        const std::size_t length = std::size_t{data[at]} << 8 | data[at + 1];
        at += 2;
        const std::size_t take = length < size - at ? length : size - at;
        split.receive(bytes + at, take);
        at += take;
    }
    split.tuio.releaseAll();
    if (split.pointers.heldCount() != 0)
        __builtin_trap();
    return 0;
}
