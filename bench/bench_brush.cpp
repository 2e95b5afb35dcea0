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
double stampMicroseconds(Scene& s, ActionCode code, float amount)
{
    ToolBrushLeafGL* brush = s.canvas->getToolBrush(0);
    ControlTable::setAction(s.canvas->getControlTable(), code);
    s.canvas->setControlValue(ControlCells::amountOf(code), amount);
    s.canvas->setControlValue(ControlCells::BrushX, BufferW / 2.0f);
    s.canvas->setControlValue(ControlCells::BrushY, BufferH / 2.0f);
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
    ControlTable::setAction(s.canvas->getControlTable(), ActionCode::CreateErase);
    s.canvas->setControlValue(ControlCells::CreateEraseAmount, -10.0f);
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
        ActionCode code;
        float amount;
    };
    const Action actions[] = {{ActionCode::Size, 0.5f},  {ActionCode::Orientation, 0.0f},
                              {ActionCode::Color, 200.0f}, {ActionCode::CreateErase, -2.0f},
                              {ActionCode::Move, 0.0f},  {ActionCode::SizeDifference, 1.0f}};
    for (int diameter : {50, 200, 400}) {
        s.canvas->getToolBrush(0)->setSize(diameter, false);
        for (const Action& a : actions)
            std::printf("stamp_us_%d_%d %.2f\n", diameter, static_cast<int>(a.code),
                        stampMicroseconds(s, a.code, a.amount));
    }
    std::printf("press_to_buffer_frames %d\n", pressToBufferFrames());
    return 0;
}
