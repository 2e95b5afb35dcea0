// Shared by the touch and Wii input tests: a sink that records board callbacks
// as text, and a small OSC encoder for building datagrams and Remote states.
#pragma once

#include "TouchSink.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <variant>
#include <vector>

// Records each callback as "down 10 20 #0", "move ...", "up ...", "size 3x4 #256".
class RecordingSink : public TouchSink
{
public:
    void OnXYDown(int x, int y, int, int id) override { add("down", x, y, id); }
    void OnXYMove(int x, int y, int, int id) override { add("move", x, y, id); }
    void OnXYUp(int x, int y, int, int id) override { add("up", x, y, id); }
    void OnDViTRawWidthHeight(int w, int h, int id) override
    {
        calls.push_back("size " + std::to_string(w) + "x" + std::to_string(h) + " #" + std::to_string(id));
    }

    // The calls so far, which are then forgotten.
    std::vector<std::string> take()
    {
        std::vector<std::string> taken;
        taken.swap(calls);
        return taken;
    }

    std::vector<std::string> calls;

private:
    void add(const char* what, int x, int y, int id)
    {
        calls.push_back(std::string(what) + " " + std::to_string(x) + " " + std::to_string(y) + " #"
                        + std::to_string(id));
    }
};

// OSC 1.0 encoding of int32, float32 and string arguments, messages and bundles.
namespace osctest {

using Bytes = std::vector<char>;
using Arg = std::variant<std::int32_t, float, std::string, bool>;

inline void putUInt32(Bytes& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

inline void putString(Bytes& out, const std::string& s)
{
    out.insert(out.end(), s.begin(), s.end());
    do
        out.push_back('\0');
    while (out.size() % 4 != 0);
}

inline Bytes message(const std::string& address, const std::vector<Arg>& args)
{
    Bytes out;
    putString(out, address);
    std::string tags = ",";
    for (const Arg& a : args)
        tags += a.index() == 0 ? 'i' : a.index() == 1 ? 'f' : a.index() == 2 ? 's' : std::get<bool>(a) ? 'T' : 'F';
    putString(out, tags);
    for (const Arg& a : args) {
        if (const auto* i = std::get_if<std::int32_t>(&a)) {
            putUInt32(out, static_cast<std::uint32_t>(*i));
        } else if (const auto* f = std::get_if<float>(&a)) {
            std::uint32_t bits;
            std::memcpy(&bits, f, sizeof bits);
            putUInt32(out, bits);
        } else if (const auto* text = std::get_if<std::string>(&a)) {
            putString(out, *text);
        }
    }
    return out;
}

inline Bytes bundle(const std::vector<Bytes>& elements)
{
    Bytes out;
    putString(out, "#bundle");
    putUInt32(out, 0);
    putUInt32(out, 1); // time tag "immediately"
    for (const Bytes& e : elements) {
        putUInt32(out, static_cast<std::uint32_t>(e.size()));
        out.insert(out.end(), e.begin(), e.end());
    }
    return out;
}

// One Wii Remote state as the bridge sends it; buttons in message order (up,
// down, right, left, a, b, plus, minus, home, one, two). The motion values
// gx .. pitch and the Nunchuk's are their argument positions.
struct WiiState
{
    int remote = 0;
    float x = 100.0f;
    float y = 100.0f;
    std::array<bool, 11> buttons{};
    bool nunchuk = false;
    bool c = false;
    bool z = false;
    float jx = 0.0f;
    float jy = 0.0f;
    bool ignore = false;
};

inline std::vector<Arg> wiiStateArgs(const WiiState& s)
{
    std::vector<Arg> args{s.remote, s.x, s.y};
    for (int k = 3; k <= 10; ++k)
        args.emplace_back(static_cast<float>(k));
    for (bool b : s.buttons)
        args.emplace_back(b);
    args.insert(args.end(), {s.nunchuk, s.c, s.z, s.jx, s.jy});
    for (int k = 27; k <= 34; ++k)
        args.emplace_back(static_cast<float>(k));
    args.emplace_back(s.ignore);
    return args;
}

inline Bytes wiiState(const WiiState& s) { return message("/glovepie/wiidata", wiiStateArgs(s)); }

} // namespace osctest
