// The build canvas drawn with a real context: strokes of six points or fewer
// are no strip but their points are drawn; the element image becomes a texture.
#include "FrameworkTestSupport.h"
#include "GeoStrokeBuildCanvasCompositeGL.h"
#include "TabletopVisGL.h"

using namespace support;

namespace {

// Sketches a horizontal stroke of n pen samples at height y, from x0 on.
void sketchLine(GeoStrokeBuildCanvasCompositeGL& panel, double x0, double y, int n)
{
    panel.startStroke(x0, y);
    for (int i = 0; i < n; ++i) {
        // A pen that has caught up: the sample lands where the finger rests.
        for (int settle = 0; settle < 40; ++settle) {
            panel.addPenSample(x0 + 12.0 * i, y, false);
            panel.keepPenUp();
        }
    }
}

bool dark(const std::array<int, 3>& rgb) { return rgb[0] < 80 && rgb[1] < 80 && rgb[2] < 80; }

} // namespace

class GLSketchTest : public GLTest
{
};

TEST_F(GLSketchTest, ShortStrokesShowOnlyAsPointsAndSketchesBecomeTextures)
{
    OffscreenTarget target(400, 400);
    TabletopVisGL scene(1, 400, 400, 400, 400);
    scene.initializeRenderer();
    auto* panel = new GeoStrokeBuildCanvasCompositeGL(&scene, 200, 200, 360, 360, 0.0, 10.0, 0.0);
    scene.addComponent(panel, true);
    panel->show();
    // Each settled sample adds many points at one place: keep counts small.
    panel->startStroke(100, 120);
    for (int i = 0; i < 5; ++i) {
        panel->addPenSample(100.0 + 1.0 * i, 120.0, false);   // five points
        panel->keepPenUp();
    }
    sketchLine(*panel, 100, 280, 6);                             // hundreds of points
    ASSERT_EQ(panel->getStrokes().size(), 2u);
    ASSERT_LE(panel->getStrokes()[0]->getNumControlPoints(), 6u);

    target.clear(1.0f);
    panel->render();
    EXPECT_TRUE(dark(target.pixel(140, 280))) << "the long stroke's strip";
    EXPECT_FALSE(dark(target.pixel(100, 120))) << "no strip for six points or fewer";

    panel->drawSegmentsAsPoints();
    target.clear(1.0f);
    panel->render();
    EXPECT_TRUE(dark(target.pixel(100, 120))) << "but its points";
    EXPECT_TRUE(dark(target.pixel(140, 280)));

    const int index = panel->useStrokesAsRenderingElements();
    ASSERT_GE(index, 0);
    const unsigned id = scene.getImageTextureIDAt(static_cast<std::size_t>(index));
    ASSERT_NE(id, 0u);
    EXPECT_TRUE(glIsTexture(id));
    GLint width = 0, levels = 0;
    glBindTexture(GL_TEXTURE_2D, id);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 9, GL_TEXTURE_WIDTH, &levels);
    EXPECT_EQ(width, 512);
    EXPECT_EQ(levels, 1) << "mip maps down to 1 x 1";
    glBindTexture(GL_TEXTURE_2D, 0);
}

int main(int argc, char** argv) { return runWithGLContext(argc, argv); }
