// The canvas under GL: the feature curve's distance field, the frozen picture,
// and the mode label's fade.
#include "BufferTag.h"
#include "CanvasCompositeGL.h"
#include "CanvasTestSupport.h"
#include "FrameworkTestSupport.h"
#include "TabletopVisGL.h"

#include <algorithm>
#include <set>
#include <tuple>

using namespace support;

namespace {

constexpr int Width = 480;
constexpr int Height = 200;
// Depth 1 is reached this far from the curve.
const double ConeReach = -CanvasCompositeGL::ConeRadius;

// Each test draws into a Width x Height target with a depth buffer; one cell
// per pixel, so with no overflow device pixel (x, y) is cell (x, y). The
// canvas has no tool brush, so it draws only its own picture and label.
class GLCanvas : public GLTest
{
protected:
    CanvasCompositeGL& makeCanvas(double x = Width / 2.0, double y = Height / 2.0, double w = Width,
                                  double h = Height)
    {
        scene.initializeRenderer();
        canvas = canvastest::addCanvas(scene, x, y, w, h, {0.0, 0.0, 0, 2, 16.0f});
        return *canvas;
    }
    void drawCanvasPicture()   // background or frozen list, in the canvas frame
    {
        glPushMatrix();
        canvas->doCommonTransformations();
        canvas->specificRender();
        glPopMatrix();
    }

    OffscreenTarget target{Width, Height, true};
    TabletopVisGL scene{1, Width, Height, Width, Height};
    CanvasCompositeGL* canvas = nullptr;
};

void fillRect(int x0, int y0, int x1, int y1, float r, float g, float b)
{
    glColor4f(r, g, b, 0.5f);
    glRecti(x0, y0, x1, y1);
}

bool near(const std::array<int, 3>& actual, const std::array<int, 3>& expected)
{
    for (int i = 0; i < 3; ++i)
        if (std::abs(actual[i] - expected[i]) > 10)
            return false;
    return true;
}

} // namespace

TEST_F(GLCanvas, AHorizontalFeatureCurveGivesDepthGrowingWithDistance)
{
    CanvasCompositeGL& c = makeCanvas();
    for (int x = 40; x <= 360; x += 4)
        c.getInitialCurve().addPoint(Point2D(x, 100));
    c.setFeatureCurvePending(true);
    target.clear(1.0f);
    glColor3f(1.0f, 0.0f, 0.0f);   // what the cones would be drawn in
    testing::internal::CaptureStdout();
    c.render();
    EXPECT_NE(testing::internal::GetCapturedStdout().find("points in initial curve: 81 "), std::string::npos);
    EXPECT_FALSE(c.isFeatureCurvePending());

    const BufferTemplate<double>& depth = *c.getActiveBufferAs<double>(DEPTH_BUFFER);
    EXPECT_LT(depth.getValue(200, 100), 0.01) << "on the curve";
    for (int d : {10, 45, 87}) {
        const double expected = d / ConeReach;
        EXPECT_NEAR(depth.getValue(200, 100 + d), expected, 0.015) << "above, " << d;
        EXPECT_NEAR(depth.getValue(200, 100 - d), expected, 0.015) << "below, " << d;
        EXPECT_NEAR(depth.getValue(360 + d, 100), expected, 0.015) << "past the end, " << d;
    }
    EXPECT_EQ(depth.getValue(200, 190), 1.0) << "beyond the cone";

    // The orientation field points across the line near it.
    float angle = 0, valid = 0;
    c.getActiveBufferAs<float>(GRADIENT_ORIENTATION_BUFFER)->get2DValues(200, 130, angle, valid);
    EXPECT_TRUE(valid == 1.0f && std::abs(std::abs(angle) - 90.0f) < 1.0f) << angle;

    // Only depth was drawn, and the depth buffer is left cleared.
    EXPECT_TRUE(near(target.pixel(200, 100), {255, 255, 255}));
    float left = 0.0f;
    glReadPixels(200, 100, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &left);
    EXPECT_EQ(left, 1.0f);
}

TEST_F(GLCanvas, AFrozenCanvasShowsThePictureItHadWhenFrozen)
{
    // The canvas covers (40, 30) - (160, 110) of the frame.
    CanvasCompositeGL& c = makeCanvas(100, 70, 120, 80);
    const std::array<int, 3> red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, black{0, 0, 0};
    const std::array<int, 3> grey{127, 127, 127};
    for (bool mipMapping : {false, true}) {
        SCOPED_TRACE(mipMapping ? "mip-mapped" : "single level");
        scene.enableMipMapping(mipMapping);
        target.clear(1.0f);
        glDisable(GL_TEXTURE_2D);
        // Written unblended with alpha 0.5, as blended strokes leave the
        // frame buffer's alpha: the frozen picture is opaque all the same.
        glDisable(GL_BLEND);
        fillRect(40, 30, 100, 70, 1, 0, 0);
        fillRect(100, 30, 160, 70, 0, 1, 0);
        fillRect(40, 70, 100, 110, 0, 0, 1);
        fillRect(100, 70, 160, 110, 0, 0, 0);
        glEnable(GL_BLEND);
        c.setLivePainting(false);
        EXPECT_FALSE(c.getActiveBufferAs<bool>(STROKE_MASK_BUFFER)->getValue(0, 0)) << "strokes stop drawing";

        target.clear(0.5f);
        drawCanvasPicture();
        // Quadrants in place, corner included; nothing outside the canvas.
        for (auto [x, y, colour] : {std::tuple{70, 50, red}, {130, 50, green}, {70, 90, blue}, {130, 90, black},
                                    {42, 32, red}, {30, 50, grey}, {100, 120, grey}})
            EXPECT_TRUE(near(target.pixel(x, y), colour)) << x << ", " << y;
    }

    c.setLivePainting(true);
    EXPECT_TRUE(c.getActiveBufferAs<bool>(STROKE_MASK_BUFFER)->getValue(0, 0));
    target.clear(0.5f);
    drawCanvasPicture();
    EXPECT_TRUE(near(target.pixel(70, 50), grey)) << "live again: no frozen picture";
}

namespace {

// Texture names alive among the first few hundred.
std::set<GLuint> liveTextures()
{
    std::set<GLuint> live;
    for (GLuint name = 1; name < 512; ++name)
        if (glIsTexture(name))
            live.insert(name);
    return live;
}

} // namespace

TEST_F(GLCanvas, TheFrozenPictureFreesItsTextureOnceWhenThawedRefrozenOrDestroyed)
{
    CanvasCompositeGL& c = makeCanvas(100, 70, 120, 80);
    const std::set<GLuint> before = liveTextures();
    c.setLivePainting(false);
    ASSERT_NE(c.getFrozenTextureId(), 0u);
    EXPECT_EQ(liveTextures().size(), before.size() + 1);
    c.setLivePainting(false);
    EXPECT_EQ(liveTextures().size(), before.size() + 1) << "refreezing replaces the picture";
    c.setLivePainting(true);
    EXPECT_EQ(c.getFrozenTextureId(), 0u);
    EXPECT_EQ(liveTextures(), before);

    // A texture made now may reuse the freed name: thawing again or
    // destroying the canvas must not free it a second time.
    GLTexture other;
    ASSERT_TRUE(other.generate());
    glBindTexture(GL_TEXTURE_2D, other.id());
    c.setLivePainting(true);
    EXPECT_TRUE(glIsTexture(other.id()));
    c.setLivePainting(false);
    scene.deleteComponent(canvas);
    EXPECT_TRUE(glIsTexture(other.id()));
    std::set<GLuint> after = liveTextures();
    after.erase(other.id());
    EXPECT_EQ(after, before) << "destruction frees the frozen picture";
}

TEST_F(GLCanvas, AModeLabelFadesInAndOutOnceAfterAModeChange)
{
    CanvasCompositeGL& c = makeCanvas();
    c.setInteractionMode(InteractionMode::Move);
    std::vector<float> alphas;
    while (c.isModeChanged() && alphas.size() < 100) {
        c.render();
        alphas.push_back(c.getLabelAlpha());
    }
    ASSERT_GE(alphas.size(), 34u);
    ASSERT_LE(alphas.size(), 36u);
    EXPECT_NEAR(alphas.front(), 0.13f, 1e-5f);
    const auto peak = std::max_element(alphas.begin(), alphas.end());
    EXPECT_FLOAT_EQ(*peak, 1.0f);
    for (auto a = alphas.begin() + 1; a != peak; ++a)
        EXPECT_NEAR(*a - *(a - 1), 0.03f, 1e-5f);
    for (auto a = peak + 1; a != alphas.end() - 1; ++a)
        EXPECT_NEAR(*(a - 1) - *a, 0.2f, 1e-5f);
    EXPECT_FLOAT_EQ(alphas.back(), 0.1f) << "ready for the next change";

    // Modes without a label end the change in the next frame, also one whose
    // label was still showing; the next label starts afresh.
    c.setInteractionMode(InteractionMode::Size);
    for (int i = 0; i < 40 && c.getLabelAlpha() < 1.0f; ++i)
        c.render();
    c.render();
    ASSERT_NEAR(c.getLabelAlpha(), 0.8f, 1e-5f);
    c.setInteractionMode(InteractionMode::CreateErase);
    c.render();
    EXPECT_FALSE(c.isModeChanged());
    EXPECT_FLOAT_EQ(c.getLabelAlpha(), 0.1f);
    c.setInteractionMode(InteractionMode::Color);
    c.render();
    EXPECT_NEAR(c.getLabelAlpha(), 0.13f, 1e-5f);
}

int main(int argc, char** argv) { return runWithGLContext(argc, argv); }
