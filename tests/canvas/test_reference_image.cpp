// The colour reference picture without a display: loading, its resize
// corner, pressing it into colorBuffer (clipped to the canvas) and its
// removal at the next frame.
#include "BufferTag.h"
#include "CanvasTestSupport.h"
#include "ImageIO.h"
#include "PointLeafGL.h"
#include "ReferenceImageLeafGL.h"
#include "TabletopVisGL.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

// A 200 x 100 image in four quadrants: red bottom left, green bottom right,
// blue top left, white top right (rows bottom up).
std::string writeQuadrants()
{
    RGBAImage image;
    image.width = 200;
    image.height = 100;
    image.pixels.resize(200 * 100 * 4);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            unsigned char* p = image.at(x, y);
            const bool right = x >= 100, top = y >= 50;
            p[0] = !top ? (right ? 0 : 255) : (right ? 255 : 0);
            p[1] = !top ? (right ? 255 : 0) : (right ? 255 : 0);
            p[2] = top ? 255 : 0;
            p[3] = 255;
        }
    const std::string path = (std::filesystem::temp_directory_path() / "pictavo_quadrants.png").string();
    EXPECT_TRUE(ImageIO::save(path, image));
    return path;
}

// A canvas of one cell per pixel covering a 1024 x 768 screen.
struct ReferenceScene
{
    ReferenceScene() { scene.setFixedFrameTime(1.0 / 60.0); }
    ReferenceImageLeafGL* place(double x, double y, double w, double h, const std::string& path)
    {
        auto* image = new ReferenceImageLeafGL(&scene, x, y, w, h, 0, path);
        scene.addComponent(image, true);
        canvas->addChild(image);
        return image;
    }
    void colorAt(double x, double y, unsigned char rgb[3]) const
    {
        int cx = 0, cy = 0;
        canvas->deviceToCell(x, y, cx, cy);
        canvas->getActiveBufferAs<unsigned char>(COLOR_BUFFER)->get3DValues(cx, cy, rgb[0], rgb[1], rgb[2]);
    }
    TabletopVisGL scene{1, 1024, 768, 1024, 768};
    CanvasCompositeGL* canvas = canvastest::addScreenCanvas(scene);
};

TEST(ReferenceImage, PressedIntoColorBufferInTheSameFrameAndGoneAtTheNext)
{
    const std::string path = writeQuadrants();
    ReferenceScene s;
    // 400 wide: the height follows the image, 200. It hangs off the
    // canvas's right and bottom edges: x 774 .. 1174, y -40 .. 160.
    ReferenceImageLeafGL* image = s.place(974, 60, 400, 400, path);
    EXPECT_DOUBLE_EQ(image->getHeight(), 200.0);
    // Points under the picture's red and white quarters.
    PointLeafGL* points[2];
    const double at[2][2] = {{850, 30}, {1010, 150}};
    for (int i = 0; i < 2; ++i) {
        points[i] = new PointLeafGL(&s.scene, at[i][0], at[i][1], false, false, 6, 6, 0);
        s.scene.addComponent(points[i], true);
        s.canvas->addChild(points[i]);
    }
    s.scene.render(1, 40.0);
    image->requestApply();
    s.scene.render(1, 40.0);
    EXPECT_TRUE(image->isApplied());
    struct Probe { double x, y; int r, g, b; };
    for (const Probe& p : {Probe{850, 30, 255, 0, 0}, Probe{850, 120, 0, 0, 255}, Probe{1010, 2, 0, 255, 0},
                           Probe{1010, 150, 255, 255, 255}, Probe{600, 300, 120, 100, 40},
                           Probe{3, 100, 120, 100, 40}}) {   // no row spills over the edge
        unsigned char rgb[3];
        s.colorAt(p.x, p.y, rgb);
        EXPECT_EQ(rgb[0], p.r) << p.x << "," << p.y;
        EXPECT_EQ(rgb[1], p.g) << p.x << "," << p.y;
        EXPECT_EQ(rgb[2], p.b) << p.x << "," << p.y;
    }
    // The primitives took the colours in the same frame.
    EXPECT_EQ(points[0]->getColor().r, 255);
    EXPECT_EQ(points[0]->getColor().g, 0);
    EXPECT_EQ(points[1]->getColor().g, 255);
    EXPECT_EQ(points[1]->getColor().b, 255);
    EXPECT_EQ(s.scene.findFirstComponent<ReferenceImageLeafGL>(), image);
    s.scene.render(1, 40.0);
    EXPECT_EQ(s.scene.findFirstComponent<ReferenceImageLeafGL>(), nullptr);
    std::remove(path.c_str());
}

TEST(ReferenceImage, ItsBottomRightEighthResizesAndTheRestMoves)
{
    const std::string path = writeQuadrants();
    ReferenceScene s;
    ReferenceImageLeafGL* image = s.place(400, 400, 320, 320, path);   // 320 x 160
    // Corner cell: right eighth, bottom eighth of the picture.
    EXPECT_EQ(image->hitLocalBuffer(400 + 150, 400 - 75, 5, 5, 0), 4);
    EXPECT_TRUE(image->isResizeDragging());
    image->hitLocalBuffer(400 + 200, 400 - 100, 5, 5, 0);
    EXPECT_EQ(image->releaseLocalBuffer(400 + 200, 400 - 100, 0), 4);
    EXPECT_GT(image->getWidth(), 320.0);
    EXPECT_EQ(image->getActiveBufferAs<unsigned>(HIT_BUFFER)->getWidth(), image->getBufferWidth());

    const double width = image->getWidth();
    EXPECT_EQ(image->hitLocalBuffer(static_cast<int>(image->getXPos()), static_cast<int>(image->getYPos()) + 60, 5,
                                    5, 0),
              3);
    EXPECT_FALSE(image->isResizeDragging());
    EXPECT_EQ(image->releaseLocalBuffer(0, 0, 0), 3);
    EXPECT_EQ(image->getWidth(), width);
    // A press off the picture reads 0.
    EXPECT_EQ(image->hitLocalBuffer(5, 5, 5, 5, 0), 0);
    EXPECT_EQ(image->releaseLocalBuffer(5, 5, 0), 0);
    std::remove(path.c_str());
}

TEST(ReferenceImage, AFileThatDoesNotLoadIsReportedAndWritesNothing)
{
    ReferenceScene s;
    testing::internal::CaptureStdout();
    ReferenceImageLeafGL* image = s.place(400, 400, 200, 100, "no/such/picture.png");
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Unable to load texture image no/such/picture.png"),
              std::string::npos);
    image->requestApply();
    s.scene.render(1, 40.0);
    unsigned char rgb[3];
    s.colorAt(400, 400, rgb);
    EXPECT_EQ(rgb[0], 120);
    EXPECT_EQ(rgb[2], 40);
    s.scene.render(1, 40.0);
    EXPECT_EQ(s.scene.findFirstComponent<ReferenceImageLeafGL>(), nullptr);
}

} // namespace
