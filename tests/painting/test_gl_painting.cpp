// The painting exported off-screen: 1, 2 and 4 times the screen's size, the
// same picture as the frame drawn on screen (the larger ones shrunk), and
// the frame's framebuffer and viewport as they were.
#include "FrameworkTestSupport.h"
#include "PaintingExport.h"
#include "PictavoBuildDirector.h"
#include "PictavoBuilderGL.h"
#include "PictavoVisGL.h"
#include "QTVelkConfiguration.h"

#include <QDir>
#include <QOpenGLFunctions>

#include <cstdlib>
#include <memory>

namespace {

constexpr int ScreenW = 512, ScreenH = 384, Block = 16;

// Mean red, green and blue of each Block x Block square of a picture drawn
// at `scale` times the screen, so pictures of any scale compare block by block.
std::vector<double> blockMeans(const RGBAImage& image, int scale)
{
    const int side = Block * scale;
    std::vector<double> means;
    for (int by = 0; by + side <= image.height; by += side)
        for (int bx = 0; bx + side <= image.width; bx += side)
            for (int c = 0; c < 3; ++c) {
                double sum = 0.0;
                for (int y = by; y < by + side; ++y)
                    for (int x = bx; x < bx + side; ++x)
                        sum += image.at(x, y)[c];
                means.push_back(sum / (side * side));
            }
    return means;
}

class PaintingExportTest : public support::GLTest
{
protected:
    void TearDown() override
    {
        _builder.setVis(nullptr);
        _vis.reset();
        GLTest::TearDown();
    }
    PictavoBuilderGL _builder;
    std::unique_ptr<PictavoVisGL> _vis;
};

} // namespace

TEST_F(PaintingExportTest, ExportsAtEachScaleTheFrameTheScreenShows)
{
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromLocal8Bit(std::getenv("PICTAVO_RUN_DIR"))));
    QTVelkConfiguration config(QStringLiteral("config.xml"));
    PictavoBuildDirector director(&config);
    srand(3);
    _builder.buildVis(1, 350, 262, ScreenW, ScreenH);
    _vis.reset(_builder.getPictavoVis());
    _vis->initializeRenderer();
    _vis->setFixedFrameTime(1.0 / 60.0);
    director.constructFirstDemo(_builder);
    QDir::setCurrent(previous);

    support::OffscreenTarget screen(ScreenW, ScreenH, true);
    for (int i = 0; i < 6; ++i) {
        screen.clear(1.0f);
        glClear(GL_DEPTH_BUFFER_BIT);
        _vis->render(1, 40.0);
    }
    const RGBAImage shown{ScreenW, ScreenH, screen.pixels()};
    GLint boundBefore = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &boundBefore);

    const std::vector<double> expected = blockMeans(shown, 1);
    for (int scale : {1, 2, 4}) {
        const RGBAImage image = PaintingExport::render(*_vis, 1, scale);
        ASSERT_EQ(image.width, ScreenW * scale);
        ASSERT_EQ(image.height, ScreenH * scale);
        const std::vector<double> means = blockMeans(image, scale);
        ASSERT_EQ(means.size(), expected.size());
        int off = 0;
        for (std::size_t i = 0; i < means.size(); ++i)
            off += std::abs(means[i] - expected[i]) > 10.0 ? 1 : 0;
        EXPECT_LT(off, static_cast<int>(means.size() / 100)) << "blocks off at scale " << scale;
    }
    GLint boundAfter = 0, viewport[4] = {};
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &boundAfter);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(boundAfter, boundBefore);
    EXPECT_EQ(viewport[2], ScreenW);
    EXPECT_EQ(viewport[3], ScreenH);
}

int main(int argc, char** argv) { return support::runWithGLContext(argc, argv); }
