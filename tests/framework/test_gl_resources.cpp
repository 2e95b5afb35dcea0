// Resources under a real GL context: uploaded textures and their parameters,
// the parameter hook, freeing, text drawn by a loaded font, display lists.
#include "FontLibrary.h"
#include "FrameworkTestSupport.h"
#include "GLDisplayList.h"
#include "TextureLibrary.h"

#include <FTGL/ftgl.h>
#include <GL/glext.h>

using namespace support;

namespace {

const Scratch scratch{"pictavo_gl_resources"};

// Opaque image whose pixel (x, y) is (5x, 5y, 90), saved under name.
std::string writeImage(const char* name, int width, int height)
{
    return saved(scratch(name), gradientImage(width, height, 5, 90));
}

// A parameter of the texture, or with level >= 0 of one of its mip levels.
GLint parameter(unsigned texture, GLenum name, GLint level = -1)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint value = 0;
    if (level < 0)
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    else
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}

using GLResources = GLTest;

} // namespace

TEST_F(GLResources, TexturesHoldThePaddedImageWithTheChosenFiltersAndLevels)
{
    TextureLibrary library(true);
    const unsigned mipMapped = library.loadTexture(writeImage("odd.png", 37, 20), true);
    ASSERT_NE(mipMapped, 0u);
    EXPECT_EQ(parameter(mipMapped, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(parameter(mipMapped, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(mipMapped, GL_TEXTURE_WIDTH, 0), 64);
    EXPECT_EQ(parameter(mipMapped, GL_TEXTURE_WIDTH, 6), 1) << "the whole mip chain down to 1 x 1";

    // The image sits unscaled at the bottom left; the rest is transparent.
    std::vector<unsigned char> texels(64 * 64 * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    const auto texel = [&](int x, int y) { return texels.data() + (y * 64 + x) * 4; };
    EXPECT_EQ(std::vector<int>(texel(36, 19), texel(36, 19) + 4), (std::vector<int>{36 * 5, 19 * 5, 90, 255}));
    EXPECT_EQ(texel(37, 0)[3], 0);
    EXPECT_EQ(texel(0, 20)[3], 0);

    library.setSettings({false, false, false, false});
    const unsigned plain = library.loadTexture(writeImage("plain.png", 16, 16), false);
    EXPECT_EQ(parameter(plain, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    EXPECT_EQ(parameter(plain, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    EXPECT_EQ(parameter(plain, GL_TEXTURE_WIDTH, 1), 0) << "no mip levels";
    EXPECT_EQ(parameter(plain, GL_TEXTURE_INTERNAL_FORMAT, 0), GL_RGBA8);

    library.setSettings({true, false, false, false});
    const unsigned nearestMip = library.loadTexture(writeImage("plain.png", 16, 16), false);
    EXPECT_EQ(parameter(nearestMip, GL_TEXTURE_MIN_FILTER), GL_NEAREST_MIPMAP_NEAREST);
    EXPECT_EQ(parameter(nearestMip, GL_TEXTURE_WIDTH, 4), 1);

    const std::string extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (extensions.find("GL_ARB_texture_compression ") != std::string::npos) {
        library.setSettings({true, true, true, true});
        const unsigned compressed = library.loadTexture(writeImage("compressed.png", 32, 32), true);
        EXPECT_EQ(parameter(compressed, GL_TEXTURE_COMPRESSED_ARB, 0), GL_TRUE);
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
    const unsigned second = library.getImageTextureIDAt(library.addImageTexture(gradientImage(2, 2)));
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
        ids.push_back(library.getImageTextureIDAt(library.addImageTexture(gradientImage(1, 1))));
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
    const std::string fontFile = scratch("arial.ttf");
    std::filesystem::copy_file("/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf", fontFile,
                               std::filesystem::copy_options::overwrite_existing);
    const OffscreenTarget target(256, 96);
    target.clear(0.0f);
    FontLibrary fonts(true);
    ASSERT_TRUE(fonts.loadFont(fontFile, 48));
    FTFont* font = fonts.getFont("arial48");
    ASSERT_NE(font, nullptr);
    glDisable(GL_DEPTH_TEST);
    glColor3f(1, 1, 1);
    glTranslatef(10, 30, 0);
    font->Render("Pictavo");
    glLoadIdentity();
    const int lit = target.countLit();
    EXPECT_GT(lit, 500) << "the word covers a good part of the strip";
    EXPECT_LT(lit, 256 * 96 / 2);
    fonts.release();
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
    return runWithGLContext(argc, argv);
}
