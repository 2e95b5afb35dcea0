// Benchmark of the stroke build canvas under a GL context: one drawn frame of
// the panel with 100 sketched strokes of 300 control points as outline strips
// (and as points), and turning those strokes into an element image texture.
// Prints `name value` lines.
#include "BenchGL.h"
#include "GeoStrokeBuildCanvasCompositeGL.h"
#include "TabletopVisGL.h"

#include <QGuiApplication>

#include <GL/gl.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr unsigned ScreenW = 1024, ScreenH = 768;
constexpr int Strokes = 100, PointsPerStroke = 300;

// Processor time of this process (all its threads, the renderer's included), ms.
double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec * 1e-3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Prints the median wall time of runs calls of work as `name`, and the mean
// processor time as `name`_cpu: on a busy machine the wall time also counts
// the waits for a processor.
void measure(const char* name, int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    const double cpuStart = cpuMs();
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    const double cpu = (cpuMs() - cpuStart) / runs;
    std::sort(times.begin(), times.end());
    std::printf("%s %.2f\n%s_cpu %.2f\n", name, times[times.size() / 2], name, cpu);
}

// Wavy strokes across the panel, sampled as a finger would drive the pen.
void sketch(GeoStrokeBuildCanvasCompositeGL& panel)
{
    for (int s = 0; s < Strokes; ++s) {
        const double y = 100.0 + 5.6 * s;
        panel.startStroke(200.0, y);
        for (int i = 0; i < PointsPerStroke; ++i) {
            const double t = i / static_cast<double>(PointsPerStroke);
            panel.addPenSample(200.0 + 600.0 * t, y + 40.0 * std::sin(12.0 * t + s), false);
            panel.keepPenUp();
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    BenchGL gl;
    if (!gl.begin("bench_sketch", ScreenW, ScreenH))
        return 1;

    {
        TabletopVisGL scene(1, 700, 525, ScreenW, ScreenH);
        scene.initializeRenderer();
        auto* panel = new GeoStrokeBuildCanvasCompositeGL(&scene, 512, 384, 738, 738, 0.0, 10.0, 50.0);
        scene.addComponent(panel, true);
        panel->show();
        sketch(*panel);
        std::size_t points = 0;
        for (const auto& s : panel->getStrokes())
            points += s->getNumControlPoints();
        std::printf("sketch_control_points %zu\n", points);

        const auto frame = [&] {
            glClear(GL_COLOR_BUFFER_BIT);
            panel->render();
            glFinish();
        };
        for (int i = 0; i < 3; ++i)
            frame();
        measure("sketch_frame_ms", 31, frame);
        panel->drawSegmentsAsPoints();
        measure("sketch_points_frame_ms", 11, frame);
        panel->drawSegmentsAsStroke();
        int index = -1;
        measure("strokes_to_texture_ms", 7, [&] {
            index = panel->useStrokesAsRenderingElements();
            glFinish();
        });
        if (index < 0 || scene.getImageTextureIDAt(static_cast<std::size_t>(index)) == 0)
            std::fprintf(stderr, "bench_sketch: no element image texture was made\n");
        // The panel alone: what the strokes add to a frame is the difference.
        panel->deleteStrokes();
        measure("sketch_empty_frame_ms", 31, frame);
    }
    gl.end();
    return 0;
}
