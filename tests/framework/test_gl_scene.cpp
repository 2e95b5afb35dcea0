// The scene under a real GL context: a frame draws a textured picture where
// its geometry says and what its animation step produced, and the picking
// view shows id colours.
#include "BasicImageGL.h"
#include "FrameworkTestSupport.h"
#include "TabletopVisGL.h"

using namespace support;

namespace {

constexpr int Width = 200;
constexpr int Height = 150;

std::string redImage()
{
    RGBAImage image{16, 16, {}};
    for (int i = 0; i < 16 * 16; ++i)
        image.pixels.insert(image.pixels.end(), {230, 20, 20, 255});
    return saved(Scratch{"pictavo_gl_scene"}("red.png"), image);
}

bool isRed(const std::array<int, 3>& p) { return p[0] > 200 && p[1] < 50 && p[2] < 50; }
bool isWhite(const std::array<int, 3>& p) { return p[0] > 245 && p[1] > 245 && p[2] > 245; }

// Each test has a scene of Width x Height and draws its frames into a target
// of that size on white.
class GLScene : public GLTest
{
protected:
    void frame()
    {
        target.clear(1.0f);
        scene.render(1, 1.0);
        glFinish();
    }

    OffscreenTarget target{Width, Height};
    TabletopVisGL scene{1, Width, Height, Width, Height};
};

// A grey picture that jumps to x = 150 in its animation step.
class Jumper : public BasicImageGL
{
public:
    using BasicImageGL::BasicImageGL;
    void animateMyself(double) override { setPos(150, getYPos()); }
};

} // namespace

TEST_F(GLScene, AFrameDrawsATexturedPictureWhereItsRotatedRectangleLies)
{
    ASSERT_TRUE(scene.hasGL());
    scene.initializeRenderer();
    ASSERT_NE(scene.loadTexture(redImage(), true), 0u);
    // 120 x 20 turned a quarter: it stands upright at the centre.
    auto* picture = new BasicImageGL(&scene, 100, 75, 120, 20, 90.0);
    picture->useImageTexture(0);
    scene.addComponent(picture, true);
    frame();
    for (auto [x, y] : {std::pair{100, 75}, {100, 125}, {107, 25}})
        EXPECT_TRUE(isRed(target.pixel(x, y))) << x << ", " << y;
    for (auto [x, y] : {std::pair{130, 75}, {100, 140}, {10, 10}})
        EXPECT_TRUE(isWhite(target.pixel(x, y))) << x << ", " << y;
    picture->deactivateForRendering();
    frame();
    EXPECT_TRUE(isWhite(target.pixel(100, 75))) << "inactive components are not drawn";
}

TEST_F(GLScene, AFrameDrawsWhatItsAnimationStepProduced)
{
    scene.initializeRenderer();
    scene.addComponent(new Jumper(&scene, 50, 75, 30, 30), true);
    frame();
    EXPECT_TRUE(isWhite(target.pixel(50, 75)));
    const auto grey = target.pixel(150, 75);
    EXPECT_NEAR(grey[0], 127, 2);
    EXPECT_NEAR(grey[2], 127, 2);
}

TEST_F(GLScene, ThePickingViewShowsEachComponentInItsIdColour)
{
    scene.initializeRenderer();
    for (double x : {50.0, 150.0})
        scene.addComponent(new BasicImageGL(&scene, x, 75, 40, 40), true);
    scene.setPickingRendering(true);
    frame();
    for (std::size_t i = 0; i < 2; ++i) {
        const VisComponent* c = scene.getComponents()[i];
        unsigned char id[3];
        VisComponentGL::pickingColor(c->getId(), id);
        EXPECT_EQ(target.pixel(static_cast<int>(c->getXPos()), 75), (std::array<int, 3>{id[0], id[1], id[2]}));
    }
}

int main(int argc, char** argv)
{
    return runWithGLContext(argc, argv);
}
