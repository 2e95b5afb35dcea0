// Helpers shared by the engine tests: scratch files, test images, vector
// comparisons and, for the GL tests, one current context and an offscreen target.
#pragma once

#include "ImageIO.h"
#include "Vector2d.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace support {

// Paths in a program's own folder under the temporary directory, so test
// programs running side by side never share a file.
struct Scratch
{
    std::string folder;
    std::string operator()(const std::string& name) const
    {
        const auto dir = std::filesystem::temp_directory_path() / folder;
        std::filesystem::create_directories(dir);
        return (dir / name).string();
    }
};

// Opaque image whose pixel (x, y) is (step * x, step * y, blue): where a
// pixel ends up can be read from its colour.
inline RGBAImage gradientImage(int width, int height, int step = 1, unsigned char blue = 7)
{
    RGBAImage image{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.pixels.insert(image.pixels.end(), {static_cast<unsigned char>(step * x),
                                                     static_cast<unsigned char>(step * y), blue, 255});
    return image;
}

// Saves the image and returns the path; a failed save fails the test.
inline std::string saved(const std::string& path, const RGBAImage& image)
{
    EXPECT_TRUE(ImageIO::save(path, image)) << path;
    return path;
}

inline testing::AssertionResult near(Vector2d actual, Vector2d expected, double tolerance = 1e-9)
{
    if (std::abs(actual.x - expected.x) <= tolerance && std::abs(actual.y - expected.y) <= tolerance)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ") is not within " << tolerance
                                       << " of (" << expected.x << ", " << expected.y << ")";
}

// ---- GL tests: main() makes one context that stays current ----

inline QOffscreenSurface* glSurface = nullptr;
inline QOpenGLContext* glContext = nullptr;

// Runs every test with a compatibility-profile context current on an
// offscreen surface; fails the program when no context can be made.
inline int runWithGLContext(int argc, char** argv)
{
    QSurfaceFormat format;
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    QOffscreenSurface surface;
    surface.setFormat(format);
    surface.create();
    QOpenGLContext context;
    context.setFormat(format);
    if (!context.create() || !context.makeCurrent(&surface)) {
        std::fprintf(stderr, "%s: no OpenGL context\n", argv[0]);
        return 1;
    }
    glSurface = &surface;
    glContext = &context;
    const int result = RUN_ALL_TESTS();
    context.doneCurrent();
    return result;
}

// Starts each test with the context current and no GL error pending, and
// fails a test that leaves an error behind.
class GLTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(glContext->makeCurrent(glSurface));
        while (glGetError() != GL_NO_ERROR) {
        }
    }
    void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }
};

// An RGBA8 colour buffer (with withDepth also a 24-bit depth buffer) bound
// as the draw target, cleared to a grey level, with a projection in device
// pixels (origin bottom left, depth range near -1 to far 1000 as the GL
// surface sets it). Rebinds the default target when it goes.
class OffscreenTarget
{
public:
    OffscreenTarget(int width, int height, bool withDepth = false)
        : _width(width), _height(height), _f(glContext->functions())
    {
        _f->glGenRenderbuffers(1, &_colour);
        _f->glBindRenderbuffer(GL_RENDERBUFFER, _colour);
        _f->glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        _f->glGenFramebuffers(1, &_framebuffer);
        _f->glBindFramebuffer(GL_FRAMEBUFFER, _framebuffer);
        _f->glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, _colour);
        if (withDepth) {
            _f->glGenRenderbuffers(1, &_depth);
            _f->glBindRenderbuffer(GL_RENDERBUFFER, _depth);
            _f->glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
            _f->glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, _depth);
        }
        EXPECT_EQ(_f->glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
        glViewport(0, 0, width, height);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0.0, width, 0.0, height, -1.0, 1000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    ~OffscreenTarget()
    {
        _f->glBindFramebuffer(GL_FRAMEBUFFER, glContext->defaultFramebufferObject());
        _f->glDeleteFramebuffers(1, &_framebuffer);
        _f->glDeleteRenderbuffers(1, &_colour);
        if (_depth != 0)
            _f->glDeleteRenderbuffers(1, &_depth);
    }
    OffscreenTarget(const OffscreenTarget&) = delete;

    void clear(float grey) const
    {
        glClearColor(grey, grey, grey, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    // The red, green and blue of one pixel.
    std::array<int, 3> pixel(int x, int y) const
    {
        unsigned char rgba[4] = {};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return {rgba[0], rgba[1], rgba[2]};
    }

    // Every pixel's red, green, blue and alpha, bottom row first.
    std::vector<unsigned char> pixels() const
    {
        std::vector<unsigned char> all(static_cast<std::size_t>(_width) * _height * 4);
        glReadPixels(0, 0, _width, _height, GL_RGBA, GL_UNSIGNED_BYTE, all.data());
        return all;
    }

    // Pixels whose red is above half.
    int countLit() const
    {
        const std::vector<unsigned char> all = pixels();
        int lit = 0;
        for (std::size_t i = 0; i < all.size(); i += 4)
            lit += all[i] > 128 ? 1 : 0;
        return lit;
    }

private:
    int _width;
    int _height;
    QOpenGLFunctions* _f;
    GLuint _colour = 0;
    GLuint _depth = 0;
    GLuint _framebuffer = 0;
};

// The scene renderer's state for primitives: blending with source alpha,
// light 0 from the viewer, normals normalised.
inline void primitiveRendererState()
{
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_NORMALIZE);
    const GLfloat white[4] = {1, 1, 1, 1};
    const GLfloat fromViewer[4] = {0, 0, 1, 0};
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_POSITION, fromViewer);
    glEnable(GL_LIGHT0);
}

// Fills texture `id` with an opaque white side x side image, nearest filtered.
inline void whiteTexture(GLuint id, int side)
{
    const std::vector<unsigned char> white(static_cast<std::size_t>(side) * side * 4, 255);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, side, side, 0, GL_RGBA, GL_UNSIGNED_BYTE, white.data());
    glBindTexture(GL_TEXTURE_2D, 0);
}

} // namespace support
