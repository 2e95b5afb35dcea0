// The tool brush's indicator under a real GL context: the outline, the
// ring-menu picture of a hint and its fading, and freeing the display list.
#include "FrameworkTestSupport.h"
#include "GLTexture.h"
#include "TabletopVisGL.h"
#include "ToolBrushLeafGL.h"

using namespace support;

namespace {

constexpr int Size = 200;

class GLBrush : public GLTest
{
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        scene.initializeRenderer();
        brush = new ToolBrushLeafGL(&scene, Size / 2.0, Size / 2.0, 100.0, 100.0, 0, 0);
        scene.addComponent(brush, true);
        // A red picture in the slot of hint 1 (erase), grey ones elsewhere.
        const unsigned char red[4 * 4] = {255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255};
        const unsigned char grey[4 * 4] = {60, 60, 60, 255, 60, 60, 60, 255, 60, 60, 60, 255, 60, 60, 60, 255};
        for (int i = 0; i < 2; ++i) {
            textures[i].generate();
            glBindTexture(GL_TEXTURE_2D, textures[i].id());
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, i == 0 ? red : grey);
        }
        std::vector<unsigned> ring(12, textures[1].id());
        ring[1] = textures[0].id();
        brush->setRingMenu(ring, 120.0, 120.0, 1.0);
    }
    void TearDown() override
    {
        for (GLTexture& texture : textures)
            texture.release();
        GLTest::TearDown();
    }
    std::array<int, 3> draw()
    {
        target.clear(0.0f);
        brush->render();
        return target.pixel(Size / 2, Size / 2);
    }

    OffscreenTarget target{Size, Size};
    TabletopVisGL scene{1, Size, Size, Size, Size};
    ToolBrushLeafGL* brush = nullptr;
    GLTexture textures[2];
};

} // namespace

TEST_F(GLBrush, OutlineAlwaysHintPictureUntilItFades)
{
    EXPECT_EQ(draw(), (std::array<int, 3>{0, 0, 0}));
    EXPECT_GT(target.pixel(Size / 2 + 50, Size / 2)[0], 40) << "outline at the radius";

    brush->setHint(1);
    EXPECT_GT(draw()[0], 200);
    EXPECT_LT(draw()[1], 20);
    // Shown while pressed, then 60 frames, then a 30-frame fade.
    brush->notifyPress();
    for (int i = 0; i < 100; ++i)
        brush->animateMyself(0.0);
    EXPECT_GT(draw()[0], 200);
    brush->notifyRelease();
    for (int i = 0; i < 75; ++i)
        brush->animateMyself(0.0);
    const int fading = draw()[0];
    EXPECT_GT(fading, 20);
    EXPECT_LT(fading, 200);
    for (int i = 0; i < 20; ++i)
        brush->animateMyself(0.0);
    EXPECT_EQ(draw()[0], 0);

    // A larger brush recompiles its outline.
    brush->setHint(0);
    brush->setSize(160.0, false);
    draw();
    EXPECT_EQ(target.pixel(Size / 2 + 50, Size / 2)[0], 0);
    EXPECT_GT(target.pixel(Size / 2 + 80, Size / 2)[0], 40);
}

int main(int argc, char** argv)
{
    return runWithGLContext(argc, argv);
}
