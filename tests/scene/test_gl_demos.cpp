// The four demo scenes built from the shipped configuration and drawn: the
// primitives cover the paper and take the colours of the canvas.
#include "BufferTag.h"
#include "CanvasCompositeGL.h"
#include "FrameworkTestSupport.h"
#include "PictavoBuildDirector.h"
#include "PictavoBuilderGL.h"
#include "PictavoVisGL.h"
#include "QTVelkConfiguration.h"

#include <QDir>

#include <cstdlib>
#include <memory>

namespace {

constexpr int ScreenW = 1024, ScreenH = 768;

struct Picture
{
    std::vector<unsigned char> rgba;
    std::array<int, 3> at(int x, int y) const
    {
        const std::size_t i = (static_cast<std::size_t>(y) * ScreenW + x) * 4;
        return {rgba[i], rgba[i + 1], rgba[i + 2]};
    }
    // Share of the pixels of columns x0 .. x1 - 1 that pass the test.
    template <typename Test>
    double share(int x0, int x1, Test test) const
    {
        int hits = 0;
        for (int y = 0; y < ScreenH; ++y)
            for (int x = x0; x < x1; ++x)
                hits += test(at(x, y)) ? 1 : 0;
        return static_cast<double>(hits) / ((x1 - x0) * ScreenH);
    }
};

bool reddish(const std::array<int, 3>& p) { return p[0] > 110 && p[0] > p[1] + 50 && p[0] > p[2] + 50; }

class Demos : public support::GLTest
{
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        _previous = QDir::currentPath();
        const char* runDir = std::getenv("PICTAVO_RUN_DIR");
        ASSERT_NE(runDir, nullptr);
        ASSERT_TRUE(QDir::setCurrent(runDir));
        _config = std::make_unique<QTVelkConfiguration>(QStringLiteral("config.xml"));
        _director = std::make_unique<PictavoBuildDirector>(_config.get());
    }
    void TearDown() override
    {
        _builder.setVis(nullptr);
        _vis.reset();
        QDir::setCurrent(_previous);
        GLTest::TearDown();
    }

    CanvasCompositeGL& build(int demo)
    {
        srand(5);
        _builder.setVis(nullptr);
        _vis.reset();
        _builder.buildVis(1, 700, 525, ScreenW, ScreenH);
        _vis.reset(_builder.getPictavoVis());
        _vis->initializeRenderer();
        _vis->setFixedFrameTime(1.0 / 60.0);
        switch (demo) {
        case 0: _director->constructFirstDemo(_builder); break;
        case 1: _director->constructMosaicDemo(_builder); break;
        case 2: _director->constructPointillismDemo(_builder); break;
        default: _director->constructGeoStrokeDemo(_builder); break;
        }
        CanvasCompositeGL* canvas = _vis->findCanvas();
        EXPECT_NE(canvas, nullptr);
        return *canvas;
    }

    Picture draw(const support::OffscreenTarget& target, int frames)
    {
        for (int i = 0; i < frames; ++i) {
            target.clear(1.0f);
            _vis->render(1, 40.0);
        }
        return Picture{target.pixels()};
    }

    QString _previous;
    std::unique_ptr<QTVelkConfiguration> _config;
    std::unique_ptr<PictavoBuildDirector> _director;
    PictavoBuilderGL _builder;
    std::unique_ptr<PictavoVisGL> _vis;
};

} // namespace

TEST_F(Demos, EachDemoCoversThePaperWithPrimitivesInTheCanvasColours)
{
    support::OffscreenTarget target(ScreenW, ScreenH);
    // Demo: least share of the picture its primitives cover.
    const std::pair<int, double> demos[] = {{0, 0.25}, {1, 0.25}, {2, 0.15}, {3, 0.15}};
    for (auto [demo, least] : demos) {
        SCOPED_TRACE("demo " + std::to_string(demo));
        CanvasCompositeGL& canvas = build(demo);
        EXPECT_GT(canvas.getChildren().size(), 500u);

        // The paper alone, then the primitives after they appear.
        // Primitives draw nothing in their first frames: the paper alone.
        const Picture paper = draw(target, 1);
        // Paint the left half red: primitives there take it over.
        auto* color = canvas.getActiveBufferAs<unsigned char>(COLOR_BUFFER);
        for (int y = 0; y < color->getHeight(); ++y)
            for (int x = 0; x < color->getWidth() / 2; ++x)
                color->set3DValues(x, y, 220, 30, 20);
        const Picture picture = draw(target, 5);

        int changed = 0;
        for (int y = 0; y < ScreenH; ++y)
            for (int x = 0; x < ScreenW; ++x) {
                const auto a = picture.at(x, y);
                const auto b = paper.at(x, y);
                changed += std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]) > 30 ? 1 : 0;
            }
        EXPECT_GT(static_cast<double>(changed) / (ScreenW * ScreenH), least);
        // Red on the left (stroke shapes keep their own colour), none on the right.
        if (demo != 3) {
            EXPECT_GT(picture.share(40, ScreenW / 2 - 80, reddish), least / 2);
        }
        EXPECT_LT(picture.share(ScreenW / 2 + 80, ScreenW - 40, reddish), 0.01);

        if (const char* keep = std::getenv("PICTAVO_KEEP_DEMOS"))
            ImageIO::save(std::string(keep) + "/demo" + std::to_string(demo) + ".png",
                          RGBAImage{ScreenW, ScreenH, picture.rgba});
    }
}

int main(int argc, char** argv) { return support::runWithGLContext(argc, argv); }
