// Benchmark of the palette's and the reference image's buffer work: redrawing
// the mixing-area paint map with 100 mixed paints and 100 links (every drop
// does it), and pressing a 1024 x 768 picture into the canvas's colorBuffer.
// Prints `name value` lines: medians of the thread's CPU time, so that a
// machine shared with other work still measures the work itself.
#include "CanvasCompositeGL.h"
#include "ImageIO.h"
#include "PaletteLeafGL.h"
#include "ReferenceImageLeafGL.h"
#include "TabletopVisGL.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <vector>

namespace {

double cpuMicroseconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

template <typename Work>
double medianMicroseconds(int runs, Work work)
{
    std::vector<double> us;
    for (int i = 0; i < runs; ++i) {
        const double start = cpuMicroseconds();
        work();
        us.push_back(cpuMicroseconds() - start);
    }
    std::sort(us.begin(), us.end());
    return us[us.size() / 2];
}

// A palette of the given side on a canvas of a 1024 x 768 screen whose
// buffers are bufferW x bufferH, with 100 mixed paints and 100 links spread
// over its mixing area; returns the median redraw of its paint map.
double clearWithHundredPaints(double side, int bufferW, int bufferH)
{
    TabletopVisGL scene(1, bufferW, bufferH, 1024, 768);
    auto* canvas = new CanvasCompositeGL(&scene, 512, 384, 1024, 768, 0, 10, 0, 0, 1, 768, 0, 10.0f, 0);
    scene.addComponent(canvas, true);
    auto* palette = new PaletteLeafGL(&scene, 300, 300, side, side, 1.0f, 1.0f, 150.0f, {});
    scene.addComponent(palette, true);
    canvas->addChild(palette);
    const double half = palette->getHalfWidth();
    for (int i = 0; i < 100; ++i) {
        const double a = i * 2.39996, r = 0.4 * std::sqrt(i / 100.0);
        palette->addMixedPaint({half * (-0.2 + 0.8 * r * std::cos(a)), half * (-0.1 + r * std::sin(a))},
                               static_cast<unsigned>(i % 6));
    }
    if (palette->getSwatches().size() != 106 || palette->getLinks().size() != 100)
        std::printf("bench_palette: expected 100 mixed paints and 100 links\n");
    return medianMicroseconds(51, [palette] { palette->clearMixingArea(); });
}

} // namespace

int main()
{
    // The shipped configuration: a 360 px palette, 700 x 525 buffers for a
    // 1024 x 768 window; and a large 500 px palette at one cell per pixel.
    std::printf("mixed_swatches 100\nlinks 100\n");
    std::printf("clear_mixing_area_us %.1f\n", clearWithHundredPaints(360.0, 700, 525));
    std::printf("clear_mixing_area_large_us %.1f\n", clearWithHundredPaints(500.0, 1024, 768));

    TabletopVisGL scene(1, 1024, 768, 1024, 768);
    auto* canvas = new CanvasCompositeGL(&scene, 512, 384, 1024, 768, 0, 10, 0, 0, 1, 768, 0, 10.0f, 0);
    scene.addComponent(canvas, true);

    // A 1024 x 768 picture covering the canvas.
    RGBAImage picture;
    picture.width = 1024;
    picture.height = 768;
    picture.pixels.resize(std::size_t(1024) * 768 * 4);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] = static_cast<unsigned char>((i * 2654435761u) >> 24);
    const std::string path = (std::filesystem::temp_directory_path() / "bench_reference.png").string();
    if (!ImageIO::save(path, picture)) {
        std::printf("bench_palette: cannot write %s\n", path.c_str());
        return 1;
    }
    auto* image = new ReferenceImageLeafGL(&scene, 512, 384, 1024, 768, 0, path);
    scene.addComponent(image, true);
    canvas->addChild(image);
    image->setSize(1024, 768);
    const double us = medianMicroseconds(11, [image] {
        image->requestApply();
        image->renderIntoBuffers();
    });
    std::printf("reference_press_ms %.2f\n", us / 1000.0);
    std::filesystem::remove(path);
    return 0;
}
