// Headless resources: the image-texture list and its used rectangles, font
// names, and the closed spline with its normals.
#include "FontLibrary.h"
#include "FrameworkTestSupport.h"
#include "PolygonContains.h"
#include "Spline.h"
#include "TextureLibrary.h"

#include <GL/glext.h>

#include <algorithm>
#include <fstream>
#include <numbers>
#include <tuple>

using namespace support;

namespace {

const Scratch scratch{"pictavo_resources"};

std::string writeImage(const char* name, int width, int height)
{
    return saved(scratch(name), gradientImage(width, height));
}

} // namespace

TEST(TextureLibrary, ImageTexturesKeepTheirOwnRectangleInsideAPowerOfTwoSquare)
{
    TextureLibrary library(false);
    const unsigned square = library.loadTexture(writeImage("square.png", 64, 64), true);
    const unsigned odd = library.loadTexture(writeImage("odd.png", 37, 20), true);
    const unsigned tall = library.loadTexture(writeImage("tall.png", 3, 129), true);
    const unsigned background = library.loadTexture(writeImage("background.png", 10, 10), false);
    EXPECT_TRUE(square != 0 && square != odd && odd != background);
    ASSERT_EQ(library.imageTextureCount(), 3u) << "only image textures join the list";
    EXPECT_EQ(library.textureCount(), 4u);
    const std::tuple<unsigned, float, float, unsigned> expected[] = {
        {square, 64, 64, 64}, {odd, 37, 20, 64}, {tall, 3, 129, 256}, {0, 0, 0, 0}};   // the last is out of range
    for (std::size_t i = 0; i < 4; ++i) {
        const auto [id, maxX, maxY, side] = expected[i];
        EXPECT_EQ(library.getImageTextureIDAt(i), id) << i;
        EXPECT_FLOAT_EQ(library.getTextureMaxXAt(i), maxX) << i;
        EXPECT_FLOAT_EQ(library.getTextureMaxYAt(i), maxY) << i;
        EXPECT_EQ(library.getTextureSizeAt(i), side) << i;
    }
    library.release();
    EXPECT_EQ(library.imageTextureCount(), 0u);
    EXPECT_EQ(library.getImageTextureIDAt(0), 0u) << "no stale ids after release";
}

TEST(TextureLibrary, UnreadableFilesGiveZeroOneLineAndNoEntry)
{
    TextureLibrary library(false);
    const std::string missing = scratch("missing.png");
    std::ofstream(scratch("broken.png")) << "no image here";
    testing::internal::CaptureStdout();
    EXPECT_EQ(library.loadTexture(missing, true), 0u);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "TextureLibrary: cannot read " + missing + "\n");
    testing::internal::CaptureStdout();
    EXPECT_EQ(library.loadTexture(scratch("broken.png"), true), 0u);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(library.imageTextureCount(), 0u);
    EXPECT_EQ(library.textureCount(), 0u);
}

TEST(TextureLibrary, RunTimeImagesAreAppendedAndKeepTheirIndexEvenWhenEmpty)
{
    TextureLibrary library(false);
    library.loadTexture(writeImage("first.png", 16, 16), true);
    EXPECT_EQ(library.addImageTexture(gradientImage(512, 300)), 1u);
    EXPECT_NE(library.getImageTextureIDAt(1), 0u);
    EXPECT_NE(library.getImageTextureIDAt(1), library.getImageTextureIDAt(0));
    EXPECT_EQ(library.getTextureSizeAt(1), 512u);
    EXPECT_FLOAT_EQ(library.getTextureMaxYAt(1), 300.0f);
    EXPECT_EQ(library.addImageTexture(RGBAImage{}), 2u);
    EXPECT_EQ(library.addImageTexture(RGBAImage{4, 4, std::vector<unsigned char>(3)}), 3u);
    EXPECT_EQ(library.getImageTextureIDAt(2), 0u);
    EXPECT_EQ(library.getImageTextureIDAt(3), 0u);
    EXPECT_EQ(library.addImageTexture(gradientImage(1, 1)), 4u);
    EXPECT_EQ(library.getTextureSizeAt(4), 1u);
}

TEST(TextureLibrary, CompressionSettingsChooseTheInternalFormat)
{
    // textureCompression, arbTextureCompression, hasArb, hasS3tc -> format
    const std::tuple<bool, bool, bool, bool, int> table[] = {
        {false, false, true, true, GL_RGBA8},
        {true, false, true, true, GL_COMPRESSED_RGBA_S3TC_DXT5_EXT},
        {true, false, true, false, GL_COMPRESSED_RGBA_ARB},
        {true, false, false, false, GL_RGBA8},
        {true, true, true, true, GL_COMPRESSED_RGBA_ARB},
        {true, true, false, true, GL_RGBA8}};
    for (const auto& [compress, arb, hasArb, hasS3tc, format] : table)
        EXPECT_EQ(TextureLibrary::chooseInternalFormat({true, true, compress, arb}, hasArb, hasS3tc), format)
            << compress << arb << hasArb << hasS3tc;
}

TEST(FontLibrary, FontsAreNamedByFileAndSizeAndMissingOnesReportOnce)
{
    const std::string font = scratch("arial.ttf");
    std::filesystem::copy_file("/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf", font,
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(FontLibrary::fontName("fonts/arial.ttf", 72), "arial72");
    EXPECT_EQ(FontLibrary::fontName("my.fonts/Sans.Bold.ttf", 8), "Sans.Bold8");

    FontLibrary fonts(false);
    ASSERT_TRUE(fonts.loadFont(font, 72));
    ASSERT_TRUE(fonts.loadFont(font, 32));
    FTFont* large = fonts.getFont("arial72");
    ASSERT_NE(large, nullptr);
    EXPECT_NE(fonts.getFont("arial32"), large);
    EXPECT_TRUE(fonts.loadFont(font, 72));
    EXPECT_EQ(fonts.getFont("arial72"), large) << "loading again keeps the font";
    EXPECT_EQ(fonts.getFont("arial"), nullptr);

    testing::internal::CaptureStdout();
    EXPECT_FALSE(fonts.loadFont(scratch("nofont.ttf"), 12));
    EXPECT_FALSE(fonts.loadFont(font, 0));
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 2) << output;
    EXPECT_EQ(fonts.names(), (std::vector<std::string>{"arial32", "arial72"}));
    fonts.release();
    EXPECT_EQ(fonts.getFont("arial72"), nullptr);
    EXPECT_TRUE(fonts.names().empty());
}

namespace {

const Vector2d centre{3.0, -2.0};

std::vector<Vector2d> circlePoints(std::size_t n, double radius, bool counterClockwise = true)
{
    std::vector<Vector2d> points;
    for (std::size_t i = 0; i < n; ++i) {
        const double a = 2.0 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(n);
        points.push_back(centre + radius * Vector2d{std::cos(a), (counterClockwise ? 1.0 : -1.0) * std::sin(a)});
    }
    return points;
}

Spline builtSpline(const std::vector<Vector2d>& controlPoints, unsigned level)
{
    Spline spline;
    spline.initializeAndSetParameters(controlPoints.size(), level);
    spline.controlPoints() = controlPoints;
    spline.buildOrRebuildSpline();
    return spline;
}

} // namespace

TEST(Spline, EachLevelDoublesARoundClosedCurve)
{
    for (unsigned level = 0; level <= 5; ++level) {
        const Spline spline = builtSpline(circlePoints(8, 10.0), level);
        const auto& points = spline.splinePoints();
        ASSERT_EQ(points.size(), 8u << level);
        // Closed and even: the wrap-around step is like every other step, and
        // the radii vary far less than the octagon's own.
        const double expectedStep = 2.0 * std::numbers::pi * 9.0 / static_cast<double>(points.size());
        double minRadius = 1e9;
        double maxRadius = 0.0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const double step = (points[(i + 1) % points.size()] - points[i]).length();
            EXPECT_NEAR(step, expectedStep, 0.25 * expectedStep) << "level " << level << " point " << i;
            minRadius = std::min(minRadius, (points[i] - centre).length());
            maxRadius = std::max(maxRadius, (points[i] - centre).length());
        }
        EXPECT_LE(maxRadius, 10.0 + 1e-9);
        EXPECT_LT(maxRadius - minRadius, 0.02 * maxRadius) << "level " << level;
    }
}

TEST(Spline, NormalsAreOutwardUnitVectorsWhicheverWayThePointsRun)
{
    for (const bool ccw : {true, false}) {
        const Spline spline = builtSpline(circlePoints(8, 5.0, ccw), 4);
        const auto& normals = spline.controlPointNormalVectors();
        ASSERT_EQ(normals.size(), 8u);
        for (std::size_t k = 0; k < 8; ++k) {
            const Vector2d radial = (spline.controlPoints()[k] - centre).normalized();
            EXPECT_NEAR(normals[k].length(), 1.0, 1e-12);
            EXPECT_NEAR(normals[k].dot(radial), 1.0, 1e-9) << (ccw ? "ccw " : "cw ") << k;
        }
    }
    // A non-convex blob: each normal leaves the outline at its control point.
    const std::vector<Vector2d> blob{{0.16, 1},  {0.64, 0.5}, {1, -0.2},   {0.5, -0.6}, {-0.1, -1},
                                     {-0.8, -1}, {-1, 0.1},   {-0.8, 0.4}, {-0.48, 1}};
    const Spline spline = builtSpline(blob, 5);
    const auto& outline = spline.splinePoints();
    for (std::size_t k = 0; k < blob.size(); ++k) {
        const Vector2d& onCurve = outline[k << 5];
        const Vector2d& normal = spline.controlPointNormalVectors()[k];
        EXPECT_FALSE(polygonContains(outline, onCurve + 0.02 * normal)) << k;
        EXPECT_TRUE(polygonContains(outline, onCurve - 0.02 * normal)) << k;
    }
}

TEST(Spline, DegenerateInputsStayFiniteAndLevelsAreCapped)
{
    const Spline two = builtSpline({{0, 0}, {1, 0}}, 3);
    EXPECT_EQ(two.numSplinePoints(), 2u);
    EXPECT_EQ(two.controlPointNormalVectors(), (std::vector<Vector2d>{{0, 0}, {0, 0}}));
    const Spline same = builtSpline({{1, 1}, {1, 1}, {1, 1}, {1, 1}}, 40);
    EXPECT_EQ(same.level(), Spline::maxLevel);
    EXPECT_EQ(same.numSplinePoints(), 4u << Spline::maxLevel);
    for (const Vector2d& n : same.controlPointNormalVectors())
        EXPECT_TRUE(std::isfinite(n.x) && std::isfinite(n.y));
}
