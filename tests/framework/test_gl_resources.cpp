// Resources under a real GL context: uploaded textures and their parameters,
// the parameter hook, freeing, text drawn by a loaded font, display lists.
#include "FontLibrary.h"
#include "GLDisplayList.h"
#include "ImageIO.h"
#include "TextureLibrary.h"

#include <FTGL/ftgl.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

QOffscreenSurface* surface = nullptr;
QOpenGLContext* context = nullptr;

fs::path scratch(const char* name)
{
    const auto dir = fs::temp_directory_path() / "pictavo_gl_resources";
    fs::create_directories(dir);
    return dir / name;
}

// Opaque image whose pixel (x, y) is (5x, 5y, 90).
std::string writeImage(const char* name, int width, int height)
{
    RGBAImage image{width, height, std::vector<unsigned char>(static_cast<std::size_t>(width) * height * 4)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* p = image.at(x, y);
            p[0] = static_cast<unsigned char>(x * 5);
            p[1] = static_cast<unsigned char>(y * 5);
            p[2] = 90;
            p[3] = 255;
        }
    const std::string path = scratch(name).string();
    EXPECT_TRUE(ImageIO::save(path, image));
    return path;
}

GLint parameter(unsigned texture, GLenum name)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

GLint levelParameter(unsigned texture, GLint level, GLenum name = GL_TEXTURE_WIDTH)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}

class GLResources : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(context->makeCurrent(surface));
        while (glGetError() != GL_NO_ERROR) {
        }
    }
    void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }
};

} // namespace

TEST_F(GLResources, TexturesHoldThePaddedImageWithTheChosenFiltersAndLevels)
{
    TextureLibrary library(true);
    const unsigned mipMapped = library.loadTexture(writeImage("odd.png", 37, 20), true);
    ASSERT_NE(mipMapped, 0u);
    EXPECT_EQ(glIsTexture(mipMapped), GL_TRUE);
    EXPECT_EQ(parameter(mipMapped, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(parameter(mipMapped, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(levelParameter(mipMapped, 0), 64);
    EXPECT_EQ(levelParameter(mipMapped, 6), 1) << "the whole mip chain down to 1 x 1";

    // The image sits unscaled at the bottom left; the rest is transparent.
    std::vector<unsigned char> texels(64 * 64 * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    const auto texel = [&](int x, int y) { return texels.data() + (y * 64 + x) * 4; };
    EXPECT_EQ(texel(0, 0)[2], 90);
    EXPECT_EQ(texel(36, 19)[0], 36 * 5);
    EXPECT_EQ(texel(36, 19)[1], 19 * 5);
    EXPECT_EQ(texel(37, 0)[3], 0);
    EXPECT_EQ(texel(0, 20)[3], 0);

    library.setSettings({false, false, false, false});
    const unsigned plain = library.loadTexture(writeImage("plain.png", 16, 16), false);
    EXPECT_EQ(parameter(plain, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    EXPECT_EQ(parameter(plain, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    EXPECT_EQ(levelParameter(plain, 1), 0) << "no mip levels";
    EXPECT_EQ(levelParameter(plain, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA8);

    library.setSettings({true, false, false, false});
    const unsigned nearestMip = library.loadTexture(writeImage("plain.png", 16, 16), false);
    EXPECT_EQ(parameter(nearestMip, GL_TEXTURE_MIN_FILTER), GL_NEAREST_MIPMAP_NEAREST);
    EXPECT_EQ(levelParameter(nearestMip, 4), 1);

    const std::string extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (extensions.find("GL_ARB_texture_compression ") != std::string::npos) {
        library.setSettings({true, true, true, true});
        const unsigned compressed = library.loadTexture(writeImage("compressed.png", 32, 32), true);
        EXPECT_EQ(levelParameter(compressed, 0, GL_TEXTURE_COMPRESSED_ARB), GL_TRUE);
    }
    library.release();
}

TEST_F(GLResources, TheParameterHookRunsWithTheNewTextureBound)
{
    TextureLibrary library(true);
    std::vector<GLint> boundInHook;
    library.setParameterHook([&] {
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        boundInHook.push_back(bound);
        library.applyDefaultParameters();
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    });
    const unsigned first = library.loadTexture(writeImage("hook.png", 8, 8), true);
    const unsigned second =
        library.getImageTextureIDAt(library.addImageTexture(RGBAImage{2, 2, std::vector<unsigned char>(16, 255)}));
    EXPECT_EQ(boundInHook, (std::vector<GLint>{static_cast<GLint>(first), static_cast<GLint>(second)}));
    EXPECT_EQ(parameter(first, GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(parameter(first, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);

    library.setParameterHook({});
    const unsigned third = library.loadTexture(writeImage("hook.png", 8, 8), false);
    EXPECT_EQ(boundInHook.size(), 2u) << "an empty hook restores the default";
    EXPECT_EQ(parameter(third, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    library.release();
}

TEST_F(GLResources, ReleaseAndTheDestructorDeleteEveryTexture)
{
    std::vector<unsigned> ids;
    unsigned last = 0;
    {
        TextureLibrary library(true);
        ids.push_back(library.loadTexture(writeImage("a.png", 4, 4), true));
        ids.push_back(library.loadTexture(writeImage("b.png", 5, 3), false));
        ids.push_back(library.getImageTextureIDAt(library.addImageTexture(RGBAImage{1, 1, {1, 2, 3, 4}})));
        for (unsigned id : ids)
            ASSERT_EQ(glIsTexture(id), GL_TRUE);
        library.release();
        library.release();
        for (unsigned id : ids)
            EXPECT_EQ(glIsTexture(id), GL_FALSE);
        last = library.loadTexture(writeImage("c.png", 4, 4), true);
        ASSERT_EQ(glIsTexture(last), GL_TRUE);
    }
    EXPECT_EQ(glIsTexture(last), GL_FALSE) << "the destructor frees what is left";
}

TEST_F(GLResources, ALoadedFontDrawsTextIntoTheFrameBuffer)
{
    const fs::path fontFile = scratch("arial.ttf");
    fs::copy_file("/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf", fontFile,
                  fs::copy_options::overwrite_existing);
    constexpr int width = 256;
    constexpr int height = 96;
    QOpenGLFunctions* f = context->functions();
    GLuint framebuffer = 0;
    GLuint colour = 0;
    f->glGenFramebuffers(1, &framebuffer);
    f->glGenRenderbuffers(1, &colour);
    f->glBindRenderbuffer(GL_RENDERBUFFER, colour);
    f->glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    f->glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    f->glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    ASSERT_EQ(f->glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));

    const auto litPixels = [&] {
        std::vector<unsigned char> pixels(width * height * 4);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        int lit = 0;
        for (std::size_t i = 0; i < pixels.size(); i += 4)
            lit += pixels[i] > 128 ? 1 : 0;
        return lit;
    };
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);

    FontLibrary fonts(true);
    ASSERT_TRUE(fonts.loadFont(fontFile.string(), 48));
    FTFont* font = fonts.getFont("arial48");
    ASSERT_NE(font, nullptr);
    glDisable(GL_DEPTH_TEST);
    glColor3f(1, 1, 1);
    glTranslatef(10, 30, 0);
    font->Render("Pictavo");
    glLoadIdentity();
    const int lit = litPixels();
    EXPECT_GT(lit, 500) << "the word covers a good part of the strip";
    EXPECT_LT(lit, width * height / 2);
    fonts.release();

    f->glBindFramebuffer(GL_FRAMEBUFFER, context->defaultFramebufferObject());
    f->glDeleteRenderbuffers(1, &colour);
    f->glDeleteFramebuffers(1, &framebuffer);
}

TEST_F(GLResources, DisplayListOwnersFreeTheirListsOnceAndMoveOwnership)
{
    GLDisplayList lists;
    ASSERT_TRUE(lists.generate(3));
    const GLuint base = lists.base();
    for (GLsizei i = 0; i < 3; ++i) {
        lists.beginCompile(i);
        glColor3f(1, 0, 0);
        GLDisplayList::endCompile();
        EXPECT_EQ(glIsList(lists.id(i)), GL_TRUE);
    }
    GLDisplayList moved(std::move(lists));
    EXPECT_TRUE(lists.empty());
    lists.release();
    EXPECT_EQ(glIsList(base), GL_TRUE) << "the moved-from owner frees nothing";

    GLDisplayList other;
    ASSERT_TRUE(other.generate(1));
    other.beginCompile();
    GLDisplayList::endCompile();
    const GLuint replaced = other.base();
    other = std::move(moved);
    EXPECT_EQ(glIsList(replaced), GL_FALSE) << "assignment frees the lists it replaces";
    EXPECT_EQ(other.base(), base);
    {
        GLDisplayList scoped(std::move(other));
    }
    for (GLsizei i = 0; i < 3; ++i)
        EXPECT_EQ(glIsList(base + static_cast<GLuint>(i)), GL_FALSE);
    EXPECT_FALSE(GLDisplayList().generate(0));
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
        std::fprintf(stderr, "test_gl_resources: no OpenGL context\n");
        return 1;
    }
    surface = &ownSurface;
    context = &ownContext;
    const int result = RUN_ALL_TESTS();
    ownContext.doneCurrent();
    return result;
}
