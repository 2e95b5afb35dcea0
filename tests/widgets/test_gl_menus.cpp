// The corner menu drawn under a real GL context: the icons of a mode over
// the background, and the background alone in mode 3.
#include "CornerMenuGL.h"
#include "FrameworkTestSupport.h"
#include "TabletopVisGL.h"

using namespace support;

namespace {

constexpr int Size = 200;

class GLCornerMenu : public GLTest
{
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        // A blue background, every icon red.
        const unsigned char blue[4] = {0, 0, 255, 255};
        const unsigned char red[4] = {255, 0, 0, 255};
        glGenTextures(2, textures);
        for (int i = 0; i < 2; ++i) {
            glBindTexture(GL_TEXTURE_2D, textures[i]);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, i == 0 ? blue : red);
        }
        std::vector<unsigned> set(CornerMenuGL::TextureCount, textures[1]);
        set[CornerMenuGL::TexBackground] = textures[0];
        menu = new CornerMenuGL(&scene, Size / 2.0, Size / 2.0, Size, Size, 1.0, false, false, set);
        scene.addComponent(menu, true);
    }
    void TearDown() override
    {
        glDeleteTextures(2, textures);
        GLTest::TearDown();
    }
    // Pixels drawn in a lit icon's colour, and pixels showing neither
    // background nor icons, after drawing the menu in mode.
    std::pair<int, int> draw(int mode)
    {
        menu->setMode(mode);
        target.clear(0.0f);
        menu->render();
        int red = 0;
        int other = 0;
        for (int y = 0; y < Size; ++y)
            for (int x = 0; x < Size; ++x) {
                const std::array<int, 3> p = target.pixel(x, y);
                if (p[0] > 200 && p[1] < 60 && p[2] < 60)
                    ++red;
                else if (!(p[0] < 30 && p[1] < 30 && p[2] > 220))
                    ++other;
            }
        return {red, other};
    }

    OffscreenTarget target{Size, Size};
    TabletopVisGL scene{1, Size, Size, Size, Size};
    CornerMenuGL* menu = nullptr;
    GLuint textures[2] = {};
};

} // namespace

TEST_F(GLCornerMenu, ModeThreeDrawsTheBackgroundOnly)
{
    const auto [createRed, createOther] = draw(CornerMenuGL::ModeCreate);
    EXPECT_GT(createRed, 500) << "the lit create icon";
    EXPECT_GT(createOther, 1000) << "neutral icons and the preview";
    EXPECT_EQ(draw(CornerMenuGL::ModeNone), (std::pair<int, int>{0, 0}));
    // A modifying mode lights place A (modify) and its style's place.
    EXPECT_GT(draw(CornerMenuGL::ModeMoveAttraction).first, 2 * createRed - 100);
}

int main(int argc, char** argv)
{
    return runWithGLContext(argc, argv);
}
