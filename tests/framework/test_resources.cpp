// Headless resources: the image-texture list and its used rectangles, font
// names, and the closed spline with its normals.
#include "FontLibrary.h"
#include "ImageIO.h"
#include "Spline.h"
#include "TextureLibrary.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>

namespace fs = std::filesystem;

namespace {

fs::path scratch(const char* name)
{
    const auto dir = fs::temp_directory_path() / "pictavo_resources";
    fs::create_directories(dir);
    return dir / name;
}

// Pixel (x, y) is (x, y, 7, 255), so placement can be checked.
RGBAImage gradient(int width, int height)
{
    RGBAImage image{width, height, std::vector<unsigned char>(static_cast<std::size_t>(width) * height * 4)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* p = image.at(x, y);
            p[0] = static_cast<unsigned char>(x);
            p[1] = static_cast<unsigned char>(y);
            p[2] = 7;
            p[3] = 255;
        }
    return image;
}

std::string writeImage(const char* name, int width, int height)
{
    const std::string path = scratch(name).string();
    EXPECT_TRUE(ImageIO::save(path, gradient(width, height)));
    return path;
}

} // namespace

TEST(TextureLibrary, ImageTexturesKeepTheirOwnRectangleInsideAPowerOfTwoSquare)
{
    TextureLibrary library(false);
    const unsigned square = library.loadTexture(writeImage("square.png", 64, 64), true);
    const unsigned odd = library.loadTexture(writeImage("odd.png", 37, 20), true);
    const unsigned tall = library.loadTexture(writeImage("tall.png", 3, 129), true);
    const unsigned background = library.loadTexture(writeImage("background.png", 10, 10), false);
    EXPECT_NE(square, 0u);
    EXPECT_NE(square, odd);
    EXPECT_NE(odd, background);
    ASSERT_EQ(library.imageTextureCount(), 3u) << "only image textures join the list";
    EXPECT_EQ(library.textureCount(), 4u);

    const std::vector<std::array<float, 3>> expected{{64, 64, 64}, {37, 20, 64}, {3, 129, 256}};
    const std::vector<unsigned> ids{square, odd, tall};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(library.getImageTextureIDAt(i), ids[i]);
        EXPECT_FLOAT_EQ(library.getTextureMinXAt(i), 0.0f);
        EXPECT_FLOAT_EQ(library.getTextureMinYAt(i), 0.0f);
        EXPECT_FLOAT_EQ(library.getTextureMaxXAt(i), expected[i][0]);
        EXPECT_FLOAT_EQ(library.getTextureMaxYAt(i), expected[i][1]);
        EXPECT_EQ(library.getTextureSizeAt(i), static_cast<unsigned>(expected[i][2]));
    }
    EXPECT_EQ(library.getImageTextureIDAt(3), 0u);
    EXPECT_EQ(library.getTextureSizeAt(3), 0u);

    library.release();
    EXPECT_EQ(library.imageTextureCount(), 0u);
    EXPECT_EQ(library.getImageTextureIDAt(0), 0u) << "no stale ids after release";
}

TEST(TextureLibrary, UnreadableFilesGiveZeroOneLineAndNoEntry)
{
    TextureLibrary library(false);
    const std::string missing = scratch("missing.png").string();
    const auto broken = scratch("broken.png");
    std::ofstream(broken) << "no image here";

    testing::internal::CaptureStdout();
    EXPECT_EQ(library.loadTexture(missing, true), 0u);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "TextureLibrary: cannot read " + missing + "\n");
    testing::internal::CaptureStdout();
    EXPECT_EQ(library.loadTexture(broken.string(), true), 0u);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(library.imageTextureCount(), 0u);
    EXPECT_EQ(library.textureCount(), 0u);
}

TEST(TextureLibrary, RunTimeImagesAreAppendedAndKeepTheirIndexEvenWhenEmpty)
{
    TextureLibrary library(false);
    library.loadTexture(writeImage("first.png", 16, 16), true);
    EXPECT_EQ(library.addImageTexture(gradient(512, 300)), 1u);
    EXPECT_NE(library.getImageTextureIDAt(1), 0u);
    EXPECT_NE(library.getImageTextureIDAt(1), library.getImageTextureIDAt(0));
    EXPECT_EQ(library.getTextureSizeAt(1), 512u);
    EXPECT_FLOAT_EQ(library.getTextureMaxYAt(1), 300.0f);

    EXPECT_EQ(library.addImageTexture(RGBAImage{}), 2u);
    EXPECT_EQ(library.addImageTexture(RGBAImage{4, 4, std::vector<unsigned char>(3)}), 3u);
    EXPECT_EQ(library.getImageTextureIDAt(2), 0u);
    EXPECT_EQ(library.getImageTextureIDAt(3), 0u);
    EXPECT_EQ(library.addImageTexture(gradient(1, 1)), 4u);
    EXPECT_EQ(library.getTextureSizeAt(4), 1u);
}

TEST(TextureLibrary, PaddingPlacesTheImageUnscaledInTheLowerLeftCorner)
{
    EXPECT_EQ(TextureLibrary::powerOfTwoAtLeast(0), 1u);
    EXPECT_EQ(TextureLibrary::powerOfTwoAtLeast(64), 64u);
    EXPECT_EQ(TextureLibrary::powerOfTwoAtLeast(65), 128u);

    const RGBAImage square = TextureLibrary::padToSquare(gradient(5, 3), 8);
    ASSERT_EQ(square.width, 8);
    ASSERT_EQ(square.height, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const unsigned char* p = square.at(x, y);
            const bool image = x < 5 && y < 3;
            EXPECT_EQ(p[0], image ? x : 0);
            EXPECT_EQ(p[1], image ? y : 0);
            EXPECT_EQ(p[3], image ? 255 : 0) << x << "," << y;
        }
}

TEST(TextureLibrary, CompressionSettingsChooseTheInternalFormat)
{
    TextureSettings s;
    EXPECT_EQ(TextureLibrary::chooseInternalFormat(s, true, true), GL_RGBA8);
    s.textureCompression = true;
    EXPECT_EQ(TextureLibrary::chooseInternalFormat(s, true, true), GL_COMPRESSED_RGBA_S3TC_DXT5_EXT);
    EXPECT_EQ(TextureLibrary::chooseInternalFormat(s, true, false), GL_COMPRESSED_RGBA_ARB);
    EXPECT_EQ(TextureLibrary::chooseInternalFormat(s, false, false), GL_RGBA8);
    s.arbTextureCompression = true;
    EXPECT_EQ(TextureLibrary::chooseInternalFormat(s, true, true), GL_COMPRESSED_RGBA_ARB);
    EXPECT_EQ(TextureLibrary::chooseInternalFormat(s, false, true), GL_RGBA8);
}

TEST(FontLibrary, FontsAreNamedByFileAndSizeAndMissingOnesReportOnce)
{
    const fs::path font = scratch("arial.ttf");
    fs::copy_file("/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf", font,
                  fs::copy_options::overwrite_existing);
    EXPECT_EQ(FontLibrary::fontName("fonts/arial.ttf", 72), "arial72");
    EXPECT_EQ(FontLibrary::fontName("my.fonts/Sans.Bold.ttf", 8), "Sans.Bold8");

    FontLibrary fonts(false);
    ASSERT_TRUE(fonts.loadFont(font.string(), 72));
    ASSERT_TRUE(fonts.loadFont(font.string(), 32));
    FTFont* large = fonts.getFont("arial72");
    ASSERT_NE(large, nullptr);
    EXPECT_NE(fonts.getFont("arial32"), large);
    EXPECT_TRUE(fonts.loadFont(font.string(), 72));
    EXPECT_EQ(fonts.getFont("arial72"), large) << "loading again keeps the font";
    EXPECT_EQ(fonts.getFont("arial"), nullptr);

    testing::internal::CaptureStdout();
    EXPECT_FALSE(fonts.loadFont(scratch("nofont.ttf").string(), 12));
    EXPECT_FALSE(fonts.loadFont(font.string(), 0));
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 2) << output;
    EXPECT_EQ(fonts.getFont("nofont12"), nullptr);
    EXPECT_EQ(fonts.names(), (std::vector<std::string>{"arial32", "arial72"}));

    fonts.release();
    EXPECT_EQ(fonts.getFont("arial72"), nullptr);
    EXPECT_TRUE(fonts.names().empty());
}

namespace {

const Vector2d centre{3.0, -2.0};

std::vector<Vector2d> circlePoints(std::size_t n, double radius, bool counterClockwise)
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

bool insidePolygon(const std::vector<Vector2d>& polygon, const Vector2d& p)
{
    bool inside = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const Vector2d& a = polygon[i];
        const Vector2d& b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

} // namespace

TEST(Spline, EachLevelDoublesARoundClosedCurve)
{
    for (unsigned level = 0; level <= 5; ++level) {
        const Spline spline = builtSpline(circlePoints(8, 10.0, true), level);
        const auto& points = spline.splinePoints();
        ASSERT_EQ(spline.numSplinePoints(), 8u << level);
        ASSERT_EQ(points.size(), spline.numSplinePoints());
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
        EXPECT_FALSE(insidePolygon(outline, onCurve + 0.02 * normal)) << k;
        EXPECT_TRUE(insidePolygon(outline, onCurve - 0.02 * normal)) << k;
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

TEST(Spline, ACopyIsIndependentOfItsSource)
{
    Spline source = builtSpline(circlePoints(6, 4.0, true), 2);
    Spline copy = builtSpline(circlePoints(3, 1.0, true), 1);
    copy.copySpline(source);
    EXPECT_EQ(copy.level(), 2u);
    EXPECT_EQ(copy.splinePoints(), source.splinePoints());
    EXPECT_EQ(copy.controlPointNormalVectors(), source.controlPointNormalVectors());

    const auto before = copy.splinePoints();
    for (Vector2d& p : source.controlPoints())
        p *= 3.0;
    source.buildOrRebuildSpline();
    copy.buildOrRebuildSpline();
    EXPECT_EQ(copy.splinePoints(), before);
}
