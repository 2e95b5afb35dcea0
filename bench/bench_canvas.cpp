// Benchmark of the canvas with many primitives on 700 x 525 buffers:
// - the simulation of a frame (the canvas's renderIntoBuffers and the
//   store's step of every primitive, headless) per primitive once the demo
//   has come to rest, against a minimal loop reading seven buffer cells at
//   each primitive's position (the kind's roofline; the strokes' one is the
//   reference line), and how many primitives the last frame stepped fully;
// - a full drawn frame under Xvfb, against the same vertices drawn from one
//   display list (the drawing bound).
// Prints `name value` lines.
#include "AllocationTuning.h"
#include "BenchGL.h"
#include "BufferTag.h"
#include "CanvasCompositeGL.h"
#include "GLDisplayList.h"
#include "PictavoBuilderGL.h"
#include "PictavoVisGL.h"
#include "PrimitiveBatch.h"
#include "PrimitiveLeafGL.h"
#include "PrimitiveStore.h"

#include <QDir>
#include <QGuiApplication>

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr unsigned ScreenW = 1024, ScreenH = 768, BufferW = 700, BufferH = 525;
const char* const Kinds[] = {"points", "strokes", "tiles", "geostrokes"};
constexpr unsigned Counts[] = {1000, 10000, 50000, 100000};
constexpr int SettleFrames = 240;

double medianOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Median seconds of runs calls of work.
double medianSeconds(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return medianOf(times);
}

// A scene with the run directory's stroke images, a canvas and n primitives
// of one kind, built as the demos build them.
std::unique_ptr<PictavoVisGL> buildScene(PictavoBuilderGL& builder, const std::string& kind, unsigned n)
{
    srand(3);
    builder.setVis(nullptr);
    builder.buildVis(1, BufferW, BufferH, ScreenW, ScreenH);
    std::unique_ptr<PictavoVisGL> vis(builder.getPictavoVis());
    vis->initializeRenderer();
    vis->setFixedFrameTime(1.0 / 60.0);
    // The canvas's mode labels are made with this font.
    vis->loadFont("fonts/arial.ttf", 72);
    builder.buildTextures(63, "textures/strokes/stroke%d.png");
    builder.buildCanvas(10.0, 50.0, "textures/paper.png", 1, 768, 16.0f, 0);
    if (kind == "points")
        builder.buildPoints(14, 14, n);
    else if (kind == "strokes")
        builder.buildStrokes(48, 16, n, false);
    else if (kind == "tiles")
        builder.buildTiles(20, 20, n, true);
    else
        builder.buildGeoStrokes(40, 14, n, 32);
    return vis;
}

// The cells the common animation step reads, for every primitive.
struct CellReads
{
    std::vector<int> x, y;
};

CellReads primitiveCells(const CanvasCompositeGL& canvas)
{
    CellReads cells;
    for (const auto& entry : canvas.getChildren()) {
        if (dynamic_cast<const PrimitiveLeafGL*>(entry.second) == nullptr)
            continue;
        double lx = 0.0, ly = 0.0;
        canvas.getLocalCoordinates(entry.second->getXPos(), entry.second->getYPos(), lx, ly);
        lx = std::clamp(lx, 0.0, canvas.getWidth());
        ly = std::clamp(ly, 0.0, canvas.getHeight());
        cells.x.push_back(canvas.getBufferXCoordinateFromLocal(lx));
        cells.y.push_back(canvas.getBufferYCoordinateFromLocal(ly));
    }
    return cells;
}

// Reads erase, colour, context selection, direction, temporary orientation,
// size and size difference at every cell: the loads no design avoids.
double rooflineSeconds(const CanvasCompositeGL& canvas, const CellReads& cells)
{
    const auto* erase = canvas.getActiveBufferAs<float>(ERASE_BUFFER);
    const auto* color = canvas.getActiveBufferAs<unsigned char>(COLOR_BUFFER);
    const auto* context = canvas.getActiveBufferAs<bool>(CONTEXT_SELECTION_BUFFER);
    const auto* direction = canvas.getActiveBufferAs<float>(DIRECTION_BUFFER);
    const auto* orientation = canvas.getActiveBufferAs<float>(TEMP_ORIENTATION_BUFFER);
    const auto* size = canvas.getActiveBufferAs<float>(SIZE_BUFFER);
    const auto* sizeDiff = canvas.getActiveBufferAs<float>(SIZE_ABS_DIFF_BUFFER);
    const int w = erase->getWidth();
    volatile float sink = 0.0f;
    return medianSeconds(31, [&] {
        float sum = 0.0f;
        for (std::size_t i = 0; i < cells.x.size(); ++i) {
            const std::size_t c = static_cast<std::size_t>(cells.y[i]) * w + cells.x[i];
            sum += erase->cells()[c] + color->cells()[3 * c] + color->cells()[3 * c + 1]
                 + color->cells()[3 * c + 2] + (context->cells()[c] ? 1.0f : 0.0f) + direction->cells()[2 * c]
                 + direction->cells()[2 * c + 1] + orientation->cells()[2 * c] + orientation->cells()[2 * c + 1]
                 + size->cells()[c] + sizeDiff->cells()[c];
        }
        sink = sink + sum;
    });
}

// Only the kind and count named by PICTAVO_BENCH_KIND and PICTAVO_BENCH_N
// when they are set (profiling).
bool selected(const char* kind)
{
    const char* only = std::getenv("PICTAVO_BENCH_KIND");
    return only == nullptr || std::string(only) == kind;
}

bool selected(unsigned n)
{
    const char* only = std::getenv("PICTAVO_BENCH_N");
    return only == nullptr || std::to_string(n) == only;
}

void simulation(PictavoBuilderGL& builder)
{
    for (unsigned n : Counts) {
        if (!selected(n))
            continue;
        double roofline = 0.0;
        for (const char* kind : Kinds) {
            if (!selected(kind))
                continue;
            std::unique_ptr<PictavoVisGL> vis = buildScene(builder, kind, n);
            CanvasCompositeGL* canvas = vis->findCanvas();
            // Sizes settle and turns come to rest (a turn closes a fifth of
            // what is left each frame, about 170 frames for half a turn).
            for (int i = 0; i < SettleFrames; ++i)
                vis->render(1, 40.0);
            const double frame = medianSeconds(21, [&] { vis->render(1, 40.0); });
            std::printf("sim_ns_per_primitive_%s_%u %.1f\n", kind, n, frame * 1e9 / n);
            std::printf("full_steps_%s_%u %zu\n", kind, n, canvas->getPrimitiveStore().lastFullSteps());
            // The roofline of this kind's own cells; the strokes' one is
            // the reference line.
            const double own = rooflineSeconds(*canvas, primitiveCells(*canvas)) * 1e9 / n;
            std::printf("roofline_ns_per_primitive_%s_%u %.1f\n", kind, n, own);
            if (std::string(kind) == "strokes")
                roofline = own;
            builder.setVis(nullptr);
        }
        std::printf("roofline_ns_per_primitive_%u %.1f\n", n, roofline);
        std::fflush(stdout);
    }
}

void drawing(PictavoBuilderGL& builder)
{
    for (unsigned n : Counts) {
        if (!selected(n))
            continue;
        const int runs = n >= 50000 ? 7 : 15;
        for (const char* kind : Kinds) {
            if (!selected(kind))
                continue;
            std::unique_ptr<PictavoVisGL> vis = buildScene(builder, kind, n);
            CanvasCompositeGL* canvas = vis->findCanvas();
            auto frame = [&] {
                glClear(GL_COLOR_BUFFER_BIT);
                vis->render(1, 40.0);
                glFinish();
            };
            for (int i = 0; i < 5; ++i)
                frame();
            const double full = medianSeconds(runs, frame);

            // The same vertices, compiled once: background and every bucket.
            PrimitiveBatch batch;
            for (const auto& entry : canvas->getChildren())
                if (auto* primitive = dynamic_cast<PrimitiveLeafGL*>(entry.second))
                    primitive->appendToBatch(batch);
            GLDisplayList list;
            list.generate(1);
            list.beginCompile();
            glPushMatrix();
            canvas->doCommonTransformations();
            canvas->specificRender();
            glPopMatrix();
            batch.draw();
            GLDisplayList::endCompile();
            const double bound = medianSeconds(runs, [&] {
                glClear(GL_COLOR_BUFFER_BIT);
                list.call();
                glFinish();
            });
            list.release();
            std::printf("frame_ms_%s_%u %.2f\n", kind, n, full * 1e3);
            std::printf("draw_bound_ms_%s_%u %.2f\n", kind, n, bound * 1e3);
            std::fflush(stdout);
            builder.setVis(nullptr);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    keepLargeAllocationsInHeap();   // as the program does
    if (!QDir::setCurrent(QStringLiteral(PICTAVO_RUN_DIR))) {
        std::fprintf(stderr, "bench_canvas: no run directory %s\n", PICTAVO_RUN_DIR);
        return 1;
    }
    PictavoBuilderGL builder;
    // Headless first: no context is current, so the scenes make no GL.
    if (argc < 2 || std::string(argv[1]) != "draw")
        simulation(builder);
    if (argc >= 2 && std::string(argv[1]) == "sim")
        return 0;

    BenchGL gl;
    if (!gl.begin("bench_canvas", ScreenW, ScreenH))
        return 1;
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    drawing(builder);
    gl.end();
    return 0;
}
