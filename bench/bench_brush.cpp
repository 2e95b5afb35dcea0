// Benchmark of the tool brush on a headless canvas of 700 x 525 cells:
// - stamp_us_<diameter>_<code>: median microseconds of one brush frame
//   (renderIntoBuffers: clears, footprint, selection and the stamp) for
//   brushes of 50, 200 and 400 pixels and the action codes 1 (size),
//   2 (radial orientation), 3 (colour), 4 (erase), 5 (move field), 9 (size
//   difference);
// - press_to_buffer_frames: frames from a press on the canvas until the
//   erase stamp is in eraseBuffer under the press (1 when the brush stamps
//   in the first frame after the press).
// Prints `name value` lines.
#include "BufferTag.h"
#include "CanvasCompositeGL.h"
#include "TabletopVisGL.h"
#include "ToolBrushLeafGL.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr unsigned ScreenW = 1024, ScreenH = 768, BufferW = 700, BufferH = 525;
constexpr int Repeats = 201;
constexpr int MaxFrames = 10;

struct Scene
{
    Scene() : vis(1, BufferW, BufferH, ScreenW, ScreenH)
    {
        canvas = new CanvasCompositeGL(&vis, ScreenW / 2.0, ScreenH / 2.0, ScreenW, ScreenH, 0, 10, 0, 0, 1, 768, 0,
                                       10.0f, 0);
        vis.addComponent(canvas, true);
        vis.setFixedFrameTime(1.0 / 60.0);
    }
    TabletopVisGL vis;
    CanvasCompositeGL* canvas;
};

double medianOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Median time of one brush frame with the given action, the brush centred
// on the canvas.
double stampMicroseconds(Scene& s, int code, float amount)
{
    ToolBrushLeafGL* brush = s.canvas->getToolBrush(0);
    s.canvas->setControlValue(0, 0, static_cast<float>(code));
    s.canvas->setControlValue(code, 1, amount);
    s.canvas->setControlValue(6, 0, BufferW / 2.0f);
    s.canvas->setControlValue(6, 1, BufferH / 2.0f);
    std::vector<double> times;
    for (int i = 0; i < Repeats; ++i) {
        const auto start = std::chrono::steady_clock::now();
        brush->renderIntoBuffers();
        times.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    return medianOf(times);
}

int pressToBufferFrames()
{
    Scene s;
    s.canvas->setControlValue(0, 0, 4.0f);
    s.canvas->setControlValue(4, 1, -10.0f);
    const int x = 400;
    const int y = 300;
    int cellX = 0;
    int cellY = 0;
    s.canvas->deviceToCell(x, y, cellX, cellY);
    s.vis.devicePress(x, y, 0, 0);
    const auto* erase = s.canvas->getActiveBufferAs<float>(ERASE_BUFFER);
    for (int frame = 1; frame <= MaxFrames; ++frame) {
        s.vis.render(1, 40.0);
        if (erase->getValue(cellX, cellY) != 0.0f)
            return frame;
    }
    return -1;
}

} // namespace

int main()
{
    Scene s;
    struct Action
    {
        int code;
        float amount;
    };
    const Action actions[] = {{1, 0.5f}, {2, 0.0f}, {3, 200.0f}, {4, -2.0f}, {5, 0.0f}, {9, 1.0f}};
    for (int diameter : {50, 200, 400}) {
        s.canvas->getToolBrush(0)->setSize(diameter, false);
        for (const Action& a : actions)
            std::printf("stamp_us_%d_%d %.2f\n", diameter, a.code, stampMicroseconds(s, a.code, a.amount));
    }
    std::printf("press_to_buffer_frames %d\n", pressToBufferFrames());
    return 0;
}
