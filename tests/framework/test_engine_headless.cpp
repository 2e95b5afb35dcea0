// The GL-free engine on its own: this program links only pictavo_engine, so
// a scene, its components and buffers that reached for GL, DevIL or FTGL
// would not link here.
#include "BufferTag.h"
#include "TabletopVis.h"

#include <gtest/gtest.h>

TEST(EngineAlone, RunsFramesPicksAndFillsBuffersWithoutResources)
{
    TabletopVis scene{1, 100, 100, 200, 200};
    auto* picture = new VisComponent(&scene, 100.0, 100.0, true, true, 40.0, 40.0, 0.0);
    ASSERT_TRUE(scene.addComponent(picture, true));
    scene.setFixedFrameTime(1.0 / 60.0);
    scene.render(1, 40.0);

    scene.devicePress(100, 100, 0, 0);
    EXPECT_EQ(scene.getLastComponent(0), picture);
    scene.deviceRelease(100, 100, 0, 0);
    EXPECT_EQ(scene.pickComponent(10.0, 10.0), nullptr);

    // Buffers convert to pictures in memory: grey for one value per cell,
    // red and green for two.
    auto grey = scene.createNewFloatImageBuffer(2, 1);
    grey->setValue(1, 0, 0.5f);
    const RGBAImage greyImage = grey->toImage(255.0, 0.0);
    ASSERT_EQ(greyImage.pixels.size(), 8u);
    EXPECT_EQ(greyImage.at(1, 0)[0], 127);
    EXPECT_EQ(greyImage.at(1, 0)[2], 127);
    EXPECT_EQ(greyImage.at(0, 0)[3], 255);
    auto vectors = scene.createNew2DFloatVectorImageBuffer(1, 1);
    vectors->set2DValues(0, 0, 1.0f, 0.25f);
    const RGBAImage vectorImage = vectors->toImage(100.0, 10.0);
    EXPECT_EQ(vectorImage.at(0, 0)[0], 110);
    EXPECT_EQ(vectorImage.at(0, 0)[1], 35);
    EXPECT_EQ(vectorImage.at(0, 0)[2], 0);
    EXPECT_TRUE(scene.createNewIntImageBuffer(0, 0)->toImage(1.0, 0.0).pixels.empty());

    // Without a resource library nothing loads, and the lookups a canvas or
    // a brush makes answer as for an empty library.
    EXPECT_EQ(scene.loadTexture("textures/none.png", true), 0u);
    EXPECT_FALSE(scene.loadFont("fonts/arial.ttf", 72));
    EXPECT_EQ(scene.getImageTextureCount(), 0u);
    EXPECT_EQ(scene.getImageTextureIDAt(0), 0u);
    EXPECT_EQ(scene.getFont("arial72"), nullptr);
}
