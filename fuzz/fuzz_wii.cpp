// Fuzz target: arbitrary bytes as UDP datagrams through the OSC validation
// and the Wii message evaluation into the surface's entry points.
//
// The input is used twice, like fuzz_datagram: whole, and split into a
// session of datagrams (each a 2-byte big-endian length and its bytes), so
// records, button edges and the Z state carry across messages. What the
// entry points are handed must stay within the window and the Remotes.
#include "WiiMessageEvaluator.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <streambuf>

namespace {

constexpr unsigned Remotes = 2;
constexpr unsigned FirstDevice = 1;
constexpr float Width = 700.0f;
constexpr float Height = 525.0f;

class NullBuffer : public std::streambuf
{
protected:
    int overflow(int c) override { return c; }
};

class CheckingTarget : public WiiEventTarget
{
public:
    bool isReady() const override { return true; }
    void setNunchukIgnored(bool) override {}
    void wiiJoystickEvent(int, int, int device, const std::vector<int>& pressed, const WiiCommunicationData& record,
                          bool) override
    {
        check(device, pressed, record);
    }
    void wiiButtonEvent(float x, float y, int device, const std::vector<int>& pressed,
                        const WiiCommunicationData& record) override
    {
        checkPoint(x, y);
        check(device, pressed, record);
    }
    void wiiBorderEvent(float x, float y, int device, const std::vector<int>& pressed,
                        const WiiCommunicationData& record) override
    {
        checkPoint(x, y);
        check(device, pressed, record);
    }
    void createObjectsAt(float) override {}
    void eraseObjectsAt(float) override {}

private:
    static void checkPoint(float x, float y)
    {
        // NaN pointers compare false everywhere: only real points are checked.
        if (x < 0.0f || x > Width || y < 0.0f || y > Height)
            __builtin_trap();
    }
    static void check(int device, const std::vector<int>& pressed, const WiiCommunicationData& record)
    {
        if (device < static_cast<int>(FirstDevice) || device >= static_cast<int>(FirstDevice + Remotes))
            __builtin_trap();
        if (record.index != device - static_cast<int>(FirstDevice) || pressed.size() > 13)
            __builtin_trap();
        for (int code : pressed)
            if (code < 0 || code > 12)
                __builtin_trap();
        checkPoint(record.pointerX, record.pointerY);
    }
};

struct Session
{
    NullBuffer buffer;
    std::ostream out{&buffer};
    CheckingTarget target;
    WiiMessageEvaluator evaluator{{Remotes, FirstDevice, Width, Height, 10.0f}, target, out};
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    Session whole;
    whole.evaluator.evaluateDatagram(bytes, size);

    Session split;
    std::size_t at = 0;
    while (size - at >= 2) {
        const std::size_t length = std::size_t{data[at]} << 8 | data[at + 1];
        at += 2;
        const std::size_t take = length < size - at ? length : size - at;
        split.evaluator.evaluateDatagram(bytes + at, take);
        at += take;
    }
    return 0;
}
