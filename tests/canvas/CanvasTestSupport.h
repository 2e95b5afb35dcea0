// Headless canvases for the canvas and tool-brush tests: one constructor
// call with the construction values the tests vary, and the shipped layout.
#pragma once

#include "CanvasCompositeGL.h"
#include "TabletopVisGL.h"

namespace canvastest {

struct CanvasOptions
{
    double border = 10.0;
    double overflow = 0.0;
    unsigned brushes = 1;
    int elementKind = 0;
    float initialSize = 10.0f;
};

// A canvas centred at device (x, y), added to the scene, which owns it.
inline CanvasCompositeGL* addCanvas(TabletopVis& scene, double x, double y, double width, double height,
                                    const CanvasOptions& o = {})
{
    auto* canvas = new CanvasCompositeGL(&scene, x, y, width, height, 0.0, o.border, o.overflow, 0, o.brushes, 768,
                                         o.elementKind, o.initialSize, 0);
    scene.addComponent(canvas, true);
    return canvas;
}

// A canvas covering the scene's screen.
inline CanvasCompositeGL* addScreenCanvas(TabletopVis& scene, const CanvasOptions& o = {})
{
    const double w = scene.getScreenWidth();
    const double h = scene.getScreenHeight();
    return addCanvas(scene, w / 2.0, h / 2.0, w, h, o);
}

// The shipped layout: 700 x 525 buffer cells for a 1024 x 768 screen, so a
// device pixel is 0.68359375 cells.
struct ScreenCanvas
{
    static constexpr unsigned ScreenW = 1024, ScreenH = 768, BufferW = 700, BufferH = 525;
    explicit ScreenCanvas(const CanvasOptions& options = {}, unsigned users = 1)
        : scene(users, BufferW, BufferH, ScreenW, ScreenH)
        , canvas(addScreenCanvas(scene, options))
    {
    }
    TabletopVisGL scene;
    CanvasCompositeGL* canvas;
};

} // namespace canvastest
