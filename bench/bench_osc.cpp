// Benchmark of the Wii Remote path:
// - wii_message_us: median microseconds to validate, parse and apply one
//   full "/glovepie/wiidata" datagram (36 arguments, a Nunchuk, a button
//   edge) to the Remote's records, the entry points doing nothing;
// - wii_to_buffer_frames: frames rendered from a "createobjects" datagram
//   until the strokes it stamped along the pointer's path stand in the
//   canvas (1 when the next frame has them).
// Prints `name value` lines.
#include "CanvasCompositeGL.h"
#include "TabletopVisGL.h"
#include "ToolBrushLeafGL.h"
#include "WiiMessageEvaluator.h"
#include "WiiPointerStamps.h"

#include <osc/OscOutboundPacketStream.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sstream>
#include <vector>

namespace {

constexpr unsigned ScreenW = 1024, ScreenH = 768, BufferW = 700, BufferH = 525;
constexpr int Repeats = 20001;
constexpr int MaxFrames = 10;

std::vector<char> stateDatagram(bool b)
{
    char buffer[1024];
    osc::OutboundPacketStream p(buffer, sizeof buffer);
    p << osc::BeginMessage("/glovepie/wiidata") << osc::int32(0) << 400.0f << 300.0f;
    for (int k = 3; k <= 10; ++k)
        p << 0.25f * static_cast<float>(k);
    for (int k = 11; k <= 21; ++k)
        p << (k == 16 && b);
    p << true << false << false << 0.5f << -0.25f;
    for (int k = 27; k <= 34; ++k)
        p << 0.1f * static_cast<float>(k);
    p << false << osc::EndMessage;
    return {p.Data(), p.Data() + p.Size()};
}

std::vector<char> createDatagram(int amount)
{
    char buffer[256];
    osc::OutboundPacketStream p(buffer, sizeof buffer);
    p << osc::BeginMessage("/glovepie/wiiaction/createobjects") << osc::int32(0) << osc::int32(amount)
      << osc::EndMessage;
    return {p.Data(), p.Data() + p.Size()};
}

// The entry points of a headless scene: create stamps along a fixed path.
class SceneTarget : public WiiEventTarget
{
public:
    explicit SceneTarget(ToolBrushLeafGL* brush) : _brush(brush) {}
    bool isReady() const override { return true; }
    void setNunchukIgnored(bool) override {}
    void wiiJoystickEvent(int, int, int, const std::vector<int>&, const WiiCommunicationData&, bool) override {}
    void wiiButtonEvent(float, float, int, const std::vector<int>&, const WiiCommunicationData&) override {}
    void wiiBorderEvent(float, float, int, const std::vector<int>&, const WiiCommunicationData&) override {}
    void createObjectsAt(float amount) override
    {
        if (_brush != nullptr)
            WiiPointerStamps::createAlong(*_brush, 400.0, 300.0, 460.0, 300.0, static_cast<int>(amount));
    }
    void eraseObjectsAt(float) override {}

private:
    ToolBrushLeafGL* _brush;
};

double messageMicroseconds()
{
    SceneTarget target(nullptr);
    std::ostringstream out;
    WiiMessageEvaluator evaluator({1, 1, 1024.0f, 768.0f, 10.0f}, target, out);
    const std::vector<char> datagrams[] = {stateDatagram(false), stateDatagram(true)};
    std::vector<double> times;
    for (int i = 0; i < Repeats; ++i) {
        const std::vector<char>& d = datagrams[i % 2];
        const auto start = std::chrono::steady_clock::now();
        evaluator.evaluateDatagram(d.data(), d.size());
        times.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int createToCanvasFrames()
{
    TabletopVisGL vis(2, BufferW, BufferH, ScreenW, ScreenH);
    auto* canvas = new CanvasCompositeGL(&vis, ScreenW / 2.0, ScreenH / 2.0, ScreenW, ScreenH, 0, 10, 0, 0, 1, 768, 0,
                                         10.0f, 0);
    vis.addComponent(canvas, true);
    vis.setFixedFrameTime(1.0 / 60.0);
    vis.render(2, 40.0);
    SceneTarget target(canvas->getToolBrush(0));
    std::ostringstream out;
    WiiMessageEvaluator evaluator({1, 1, 1024.0f, 768.0f, 10.0f}, target, out);
    const unsigned before = vis.countComponents();
    const std::vector<char> d = createDatagram(10);
    evaluator.evaluateDatagram(d.data(), d.size());
    for (int frame = 1; frame <= MaxFrames; ++frame) {
        vis.render(2, 40.0);
        if (vis.countComponents() > before)
            return frame;
    }
    return -1;
}

} // namespace

int main()
{
    std::printf("wii_message_us %.3f\n", messageMicroseconds());
    std::printf("wii_to_buffer_frames %d\n", createToCanvasFrames());
    return 0;
}
