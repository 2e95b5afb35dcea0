// The GL-free engine on its own: this program links only pictavo_engine, so
// a scene, its components and buffers that reached for GL, DevIL or FTGL
// would not link here.
#include "BufferTag.h"
#include "TabletopVis.h"

#include <gtest/gtest.h>

TEST(EngineAlone, RunsFramesAndPicksWithoutResources)
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

    // Without a resource library nothing loads, and the lookups a canvas or
    // a brush makes answer as for an empty library.
    EXPECT_EQ(scene.loadTexture("textures/none.png", true), 0u);
    EXPECT_FALSE(scene.loadFont("fonts/arial.ttf", 72));
    EXPECT_EQ(scene.getImageTextureCount(), 0u);
    EXPECT_EQ(scene.getImageTextureIDAt(0), 0u);
    EXPECT_EQ(scene.getFont("arial72"), nullptr);
}
