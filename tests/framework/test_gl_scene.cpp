// The scene under a real GL context: a frame draws a textured picture where
// its geometry says, the picking view shows id colours, and destroying the
// scene frees its textures.
#include "BasicImageGL.h"
#include "ImageIO.h"
#include "TabletopVisGL.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace {

QOffscreenSurface* surface = nullptr;
QOpenGLContext* context = nullptr;

constexpr int Width = 200;
constexpr int Height = 150;

std::string writeRedImage()
{
    const auto path = std::filesystem::temp_directory_path() / "pictavo_gl_scene_red.png";
    RGBAImage image{16, 16, std::vector<unsigned char>(16 * 16 * 4)};
    for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
        image.pixels[i] = 230;
        image.pixels[i + 1] = 20;
        image.pixels[i + 2] = 20;
        image.pixels[i + 3] = 255;
    }
    EXPECT_TRUE(ImageIO::save(path.string(), image));
    return path.string();
}

// Draws into an offscreen colour buffer of Width x Height with the widget's
// projection: device pixels, origin bottom left.
class GLScene : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(context->makeCurrent(surface));
        f = context->functions();
        f->glGenRenderbuffers(1, &colour);
        f->glBindRenderbuffer(GL_RENDERBUFFER, colour);
        f->glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, Width, Height);
        f->glGenFramebuffers(1, &framebuffer);
        f->glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        f->glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
        ASSERT_EQ(f->glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
        glViewport(0, 0, Width, Height);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0.0, Width, 0.0, Height, -1.0, 1000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        while (glGetError() != GL_NO_ERROR) {
        }
    }

    void TearDown() override
    {
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        f->glBindFramebuffer(GL_FRAMEBUFFER, context->defaultFramebufferObject());
        f->glDeleteFramebuffers(1, &framebuffer);
        f->glDeleteRenderbuffers(1, &colour);
    }

    void frame(TabletopVis& scene)
    {
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        scene.render(1, 1.0);
        glFinish();
    }

    std::array<int, 3> pixel(int x, int y)
    {
        unsigned char rgba[4] = {};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return {rgba[0], rgba[1], rgba[2]};
    }

    QOpenGLFunctions* f = nullptr;
    GLuint colour = 0;
    GLuint framebuffer = 0;
};

bool isRed(const std::array<int, 3>& p)
{
    return p[0] > 200 && p[1] < 50 && p[2] < 50;
}

bool isWhite(const std::array<int, 3>& p)
{
    return p[0] > 245 && p[1] > 245 && p[2] > 245;
}

} // namespace

TEST_F(GLScene, AFrameDrawsATexturedPictureWhereItsRotatedRectangleLies)
{
    TabletopVisGL scene(1, Width, Height, Width, Height);
    ASSERT_TRUE(scene.hasGL());
    scene.initializeRenderer();
    ASSERT_NE(scene.loadTexture(writeRedImage(), true), 0u);
    // 120 x 20 turned a quarter: it stands upright at the centre.
    auto* picture = new BasicImageGL(&scene, 100, 75, 120, 20, 90.0);
    picture->useImageTexture(0);
    scene.addComponent(picture, true);
    frame(scene);
    EXPECT_TRUE(isRed(pixel(100, 75)));
    EXPECT_TRUE(isRed(pixel(100, 75 + 50)));
    EXPECT_TRUE(isRed(pixel(100 + 7, 75 - 50)));
    EXPECT_TRUE(isWhite(pixel(100 + 30, 75)));
    EXPECT_TRUE(isWhite(pixel(100, 75 + 65)));
    EXPECT_TRUE(isWhite(pixel(10, 10)));
    // Inactive components are not drawn.
    picture->deactivateForRendering();
    frame(scene);
    EXPECT_TRUE(isWhite(pixel(100, 75)));
}

// A grey picture that jumps to x = 150 in its animation step.
class Jumper : public BasicImageGL
{
public:
    using BasicImageGL::BasicImageGL;
    void animateMyself(double) override { setPos(150, getYPos()); }
};

TEST_F(GLScene, AFrameDrawsWhatItsAnimationStepProduced)
{
    TabletopVisGL scene(1, Width, Height, Width, Height);
    scene.initializeRenderer();
    scene.addComponent(new Jumper(&scene, 50, 75, 30, 30), true);
    frame(scene);
    EXPECT_TRUE(isWhite(pixel(50, 75)));
    const auto grey = pixel(150, 75);
    EXPECT_NEAR(grey[0], 127, 2);
    EXPECT_NEAR(grey[2], 127, 2);
}

TEST_F(GLScene, ThePickingViewShowsEachComponentInItsIdColour)
{
    TabletopVisGL scene(1, Width, Height, Width, Height);
    scene.initializeRenderer();
    auto* left = new BasicImageGL(&scene, 50, 75, 40, 40);
    auto* right = new BasicImageGL(&scene, 150, 75, 40, 40);
    scene.addComponent(left, true);
    scene.addComponent(right, true);
    scene.setPickingRendering(true);
    frame(scene);
    for (VisComponent* c : {static_cast<VisComponent*>(left), static_cast<VisComponent*>(right)}) {
        unsigned char expected[3];
        VisComponentGL::pickingColor(c->getId(), expected);
        const auto seen = pixel(static_cast<int>(c->getXPos()), 75);
        EXPECT_EQ(seen, (std::array<int, 3>{expected[0], expected[1], expected[2]}));
    }
}

TEST_F(GLScene, DestroyingTheSceneFreesItsTextures)
{
    auto scene = std::make_unique<TabletopVisGL>(1, Width, Height, Width, Height);
    const unsigned texture = scene->loadTexture(writeRedImage(), true);
    ASSERT_NE(texture, 0u);
    EXPECT_EQ(glIsTexture(texture), GL_TRUE);
    scene.reset();
    EXPECT_EQ(glIsTexture(texture), GL_FALSE);
}

TEST_F(GLScene, ASceneMadeWithoutACurrentContextIsHeadless)
{
    context->doneCurrent();
    TabletopVisGL scene(1, Width, Height, Width, Height);
    EXPECT_FALSE(scene.hasGL());
    ASSERT_TRUE(context->makeCurrent(surface));
    // Its textures are registered without GL names being made.
    const unsigned id = scene.loadTexture(writeRedImage(), true);
    EXPECT_NE(id, 0u);
    EXPECT_EQ(glIsTexture(id), GL_FALSE);
}

int main(int argc, char** argv)
{
    QSurfaceFormat format;
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    QOffscreenSurface ownSurface;
    ownSurface.setFormat(format);
    ownSurface.create();
    QOpenGLContext ownContext;
    ownContext.setFormat(format);
    if (!ownContext.create() || !ownContext.makeCurrent(&ownSurface)) {
        std::fprintf(stderr, "test_gl_scene: no OpenGL context\n");
        return 1;
    }
    surface = &ownSurface;
    context = &ownContext;
    const int result = RUN_ALL_TESTS();
    ownContext.doneCurrent();
    return result;
}
