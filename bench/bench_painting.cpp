// Benchmark of saved paintings: saving and opening a file of 100 000
// primitives with the canvas buffers of the shipped configuration (700 x 525
// cells), and taking the painting out of the default stroke demo (what an
// autosave does on the GUI thread). Prints `name value` lines.
#include "CanvasBufferTable.h"
#include "PaintingFile.h"
#include "PaintingScene.h"
#include "PictavoBuildDirector.h"
#include "PictavoBuilderGL.h"
#include "PictavoVisGL.h"
#include "QTVelkConfiguration.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int BufferW = 700, BufferH = 525;
constexpr std::size_t Primitives = 100000;

double medianOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <typename F>
double milliseconds(F&& f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

PaintingData largePainting()
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    PaintingData d{1024, 768, BufferW, BufferH, {}, {}, {}, {}, {}};
    for (const CanvasBuffers::BufferRow& row : CanvasBuffers::Table) {
        const bool control = row.grid == CanvasBuffers::Grid::Control;
        const int w = control ? 10 : BufferW, h = control ? 10 : BufferH;
        const int dimension = CanvasBuffers::withCellType(row.cell, [](auto, int n) { return n; });
        const int size = CanvasBuffers::withCellType(row.cell, [](auto v, int) { return int(sizeof v); });
        BufferRecord b{row.tag, w, h, dimension, size, std::vector<std::uint8_t>(std::size_t(w) * h * dimension * size)};
        for (std::size_t i = 0; i < b.cells.size(); i += 97)
            b.cells[i] = static_cast<std::uint8_t>(random());
        d.buffers.push_back(std::move(b));
    }
    std::sort(d.buffers.begin(), d.buffers.end(), [](const auto& a, const auto& b) { return a.tag < b.tag; });
    d.primitives.resize(Primitives);
    for (std::size_t i = 0; i < Primitives; ++i) {
        PrimitiveRecord& p = d.primitives[i];
        p.kind = static_cast<RecordKind>(i % 4);
        p.x = 1024.0 * unit(random);
        p.y = 768.0 * unit(random);
        p.width = 48.0;
        p.height = 16.0;
        p.rotation = 360.0 * unit(random);
        p.targetAngle = p.rotation;
        p.color = {std::uint8_t(random()), std::uint8_t(random()), std::uint8_t(random())};
        p.life = 210;
        p.texture = static_cast<int>(i % 63);
        p.s1 = p.t1 = 0.75f;
        p.shape = static_cast<int>(i % 16);
    }
    return d;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const std::string file = QDir::temp().filePath(QStringLiteral("bench_painting.pictavo")).toStdString();
    const PaintingData data = largePainting();
    std::vector<double> save, open;
    for (int run = 0; run < 5; ++run) {
        PaintingFile::Result result;
        save.push_back(milliseconds([&] { result = PaintingFile::save(file, data); }));
        if (!result) {
            std::fprintf(stderr, "%s\n", result.message.c_str());
            return 1;
        }
        PaintingData read;
        open.push_back(milliseconds([&] { result = PaintingFile::load(file, read); }));
        if (!result || read.primitives.size() != Primitives) {
            std::fprintf(stderr, "%s\n", result.message.c_str());
            return 1;
        }
    }
    std::printf("primitives %zu\n", Primitives);
    std::printf("file_mib %.1f\n", static_cast<double>(QFileInfo(QString::fromStdString(file)).size()) / 1048576.0);
    std::printf("save_ms %.1f\n", medianOf(save));
    std::printf("open_ms %.1f\n", medianOf(open));
    std::remove(file.c_str());

    // The default stroke demo, headless: what an autosave takes on the GUI thread.
    if (QDir::setCurrent(QStringLiteral(PICTAVO_RUN_DIR))) {
        QTVelkConfiguration config(QStringLiteral("config.xml"));
        PictavoBuildDirector director(&config);
        PictavoBuilderGL builder;
        builder.buildVis(1, BufferW, BufferH, 1024, 768);
        std::unique_ptr<PictavoVisGL> vis(builder.getPictavoVis());
        vis->initializeRenderer();
        director.constructFirstDemo(builder);
        std::vector<double> capture;
        std::size_t count = 0;
        for (int run = 0; run < 5; ++run)
            capture.push_back(milliseconds([&] { count = PaintingScene::capture(*vis).primitives.size(); }));
        std::printf("demo_primitives %zu\n", count);
        std::printf("demo_capture_ms %.1f\n", medianOf(capture));
        builder.setVis(nullptr);
    }
    return 0;
}
