// Image files round-trip through the DevIL module; bad files give nothing.
#include "ImageIO.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

std::filesystem::path scratch(const char* name)
{
    const auto dir = std::filesystem::temp_directory_path() / "pictavo_image_io";
    std::filesystem::create_directories(dir);
    return dir / name;
}

} // namespace

TEST(ImageIO, PngKeepsPixelsAndBottomUpRows)
{
    RGBAImage image;
    image.width = 3;
    image.height = 2;
    image.pixels.assign(3 * 2 * 4, 0);
    unsigned char* bottomLeft = image.at(0, 0);
    bottomLeft[0] = 255;
    bottomLeft[3] = 255;
    unsigned char* topRight = image.at(2, 1);
    topRight[2] = 200;
    topRight[3] = 128;
    const std::string path = scratch("roundtrip.png").string();
    ASSERT_TRUE(ImageIO::save(path, image));
    ASSERT_TRUE(ImageIO::save(path, image)) << "an existing file is replaced";

    const auto loaded = ImageIO::load(path);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->width, 3);
    EXPECT_EQ(loaded->height, 2);
    EXPECT_EQ(loaded->pixels, image.pixels);
}

TEST(ImageIO, MissingOrBrokenFilesGiveNothing)
{
    EXPECT_FALSE(ImageIO::load(scratch("missing.png").string()).has_value());
    const auto broken = scratch("broken.png");
    std::ofstream(broken) << "not an image";
    EXPECT_FALSE(ImageIO::load(broken.string()).has_value());

    RGBAImage wrongSize;
    wrongSize.width = 4;
    wrongSize.height = 4;
    wrongSize.pixels.resize(10);
    EXPECT_FALSE(ImageIO::save(scratch("wrong.png").string(), wrongSize));
    EXPECT_FALSE(ImageIO::save("/nonexistent-dir/x.png", RGBAImage{1, 1, {0, 0, 0, 0}}));
}

TEST(ImageIO, ScalingChangesTheSize)
{
    RGBAImage image{2, 2, std::vector<unsigned char>(16, 200)};
    const RGBAImage big = ImageIO::scaled(image, 8, 4);
    EXPECT_EQ(big.width, 8);
    EXPECT_EQ(big.height, 4);
    EXPECT_EQ(big.pixels.size(), 8u * 4u * 4u);
    EXPECT_EQ(big.at(5, 2)[1], 200);
}
