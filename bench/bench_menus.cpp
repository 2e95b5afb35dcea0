// Benchmark of the context menu's lasso erase: a 400-point concave lasso
// filled into the erase buffer of a canvas of the default size (1024 x 768
// screen, 700 x 525 buffers), headless. Prints `name value` lines.
#include "CanvasCompositeGL.h"
#include "TabletopVis.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <vector>

int main()
{
    // The canvas warns of its missing label font and eraseInsideCurve prints
    // one line per call: keep the output to the numbers.
    std::ostringstream sink;
    std::streambuf* out = std::cout.rdbuf(sink.rdbuf());
    TabletopVis scene(1, 700, 525, 1024, 768);
    auto* canvas = new CanvasCompositeGL(&scene, 512, 384, 1024, 768, 0.0, 10.0, 50.0, 0, 0, 768, 0, 30.0f, 0);
    scene.addComponent(canvas, true);

    // A star of 400 points round the screen centre: radius 150 to 350 px.
    Curve2D& lasso = canvas->getLassoCurve();
    constexpr int Points = 400;
    for (int i = 0; i < Points; ++i) {
        const double a = 2.0 * M_PI * i / Points;
        const double r = 250.0 + 100.0 * std::sin(8.0 * a);
        lasso.addPoint(Point2D(512.0 + r * std::cos(a), 384.0 + r * std::sin(a)));
    }

    std::vector<double> times;
    for (int run = 0; run < 51; ++run) {
        const auto start = std::chrono::steady_clock::now();
        canvas->eraseInsideCurve();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::cout.rdbuf(out);
    std::sort(times.begin(), times.end());
    std::printf("lasso_erase_ms %.3f\n", times[times.size() / 2]);
    return 0;
}
