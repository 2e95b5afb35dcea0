// Image files round-trip through the DevIL module; bad files give nothing.
#include "FrameworkTestSupport.h"

#include <fstream>

namespace {

const support::Scratch scratch{"pictavo_image_io"};

} // namespace

TEST(ImageIO, PngKeepsPixelsAlphaAndBottomUpRowsAndScales)
{
    RGBAImage image = support::gradientImage(3, 2, 40);
    image.at(2, 1)[3] = 128;
    const std::string path = scratch("roundtrip.png");
    ASSERT_TRUE(ImageIO::save(path, RGBAImage{1, 1, {0, 0, 0, 0}}));
    ASSERT_TRUE(ImageIO::save(path, image)) << "an existing file is replaced";
    const auto loaded = ImageIO::load(path);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->width, 3);
    EXPECT_EQ(loaded->height, 2);
    EXPECT_EQ(loaded->pixels, image.pixels);

    const RGBAImage big = ImageIO::scaled(RGBAImage{2, 2, std::vector<unsigned char>(16, 200)}, 8, 4);
    EXPECT_EQ(big.width, 8);
    EXPECT_EQ(big.height, 4);
    EXPECT_EQ(big.pixels.size(), 8u * 4u * 4u);
    EXPECT_EQ(big.at(5, 2)[1], 200);
}

TEST(ImageIO, MissingOrBrokenFilesGiveNothing)
{
    EXPECT_FALSE(ImageIO::load(scratch("missing.png")).has_value());
    std::ofstream(scratch("broken.png")) << "not an image";
    EXPECT_FALSE(ImageIO::load(scratch("broken.png")).has_value());
    EXPECT_FALSE(ImageIO::save(scratch("wrong.png"), RGBAImage{4, 4, std::vector<unsigned char>(10)}));
    EXPECT_FALSE(ImageIO::save("/nonexistent-dir/x.png", RGBAImage{1, 1, {0, 0, 0, 0}}));
}
