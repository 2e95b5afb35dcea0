// Render order under GL: overlapping primitives of several kinds and
// textures show the newest on top, batched (strokes through the atlas) or
// drawn one by one; the batch's GPU copy follows changed frames.
#include "FrameworkTestSupport.h"
#include "GLTexture.h"
#include "PointLeafGL.h"
#include "PrimitiveBatch.h"
#include "StrokeLeafGL.h"
#include "TabletopVisGL.h"
#include "TileLeafGL.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

using namespace support;

namespace {

constexpr int Width = 120;
constexpr int Height = 120;

int dominant(const std::array<int, 3>& p)
{
    return static_cast<int>(std::max_element(p.begin(), p.end()) - p.begin());
}

class GLRenderOrder : public GLTest
{
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        primitiveRendererState();
        for (GLTexture& t : textures) {
            t.generate();
            whiteTexture(t.id(), 64);
        }
    }
    void TearDown() override
    {
        for (GLTexture& t : textures)
            t.release();
        GLTest::TearDown();
    }

    PrimitiveLeafGL* add(PrimitiveLeafGL* p, int channel)
    {
        scene.addComponent(p, true);
        p->setColor(channel == 0 ? 250 : 0, channel == 1 ? 250 : 0, channel == 2 ? 250 : 0);
        PrimitiveBatch hidden;
        for (int i = 0; i < PrimitiveLeafGL::HiddenFrames; ++i)
            p->appendToBatch(hidden);
        stack.push_back(p);
        return p;
    }
    StrokeLeafGL* stroke(const GLTexture& t)
    {
        return new StrokeLeafGL(&scene, 60, 60, 0, 1, 0, 1, false, false, 50, 50, 0, t.id(), 0, 0, 0, false);
    }

    std::vector<unsigned char> frame(bool batched)
    {
        target.clear(0.5f);
        if (batched) {
            PrimitiveBatch batch;
            for (PrimitiveLeafGL* p : stack)
                p->appendToBatch(batch);
            batch.draw();
        } else {
            for (PrimitiveLeafGL* p : stack)
                p->render();
        }
        glFinish();
        return target.pixels();
    }

    OffscreenTarget target{Width, Height};
    TabletopVisGL scene{1, Width, Height, Width, Height};
    GLTexture textures[2];
    std::vector<PrimitiveLeafGL*> stack;   // oldest first
};

} // namespace

TEST_F(GLRenderOrder, TheNewestPrimitiveLiesOnTopWhateverItsKindAndTexture)
{
    // Each step puts a primitive of another colour over the centre; a state
    // seen before (texture 0, the dab, the tile) must not pull the newest
    // below an older primitive of another state.
    const std::vector<std::pair<PrimitiveLeafGL*, int>> steps{
        {stroke(textures[0]), 0},
        {new PointLeafGL(&scene, 60, 60, false, false, 60, 60, 0), 1},
        {stroke(textures[1]), 0},
        {new TileLeafGL(&scene, 60, 60, false, false, 40, 40, 0, 0, false), 1},
        {stroke(textures[0]), 2},
        {new PointLeafGL(&scene, 60, 60, false, false, 60, 60, 0), 0},
    };
    for (const auto& [primitive, channel] : steps) {
        add(primitive, channel);
        for (bool batched : {true, false}) {
            frame(batched);
            EXPECT_EQ(dominant(target.pixel(60, 60)), channel)
                << (batched ? "batched" : "one by one") << " with " << stack.size() << " primitives";
        }
    }
}

TEST_F(GLRenderOrder, ABatchRedrawsUnchangedAndChangedFramesAlike)
{
    // The second draw sends nothing (the GPU copy is current), the third
    // only the moved stroke's vertices: all three must show what is there.
    add(stroke(textures[0]), 0);
    PrimitiveLeafGL* moving = add(stroke(textures[1]), 2);
    PrimitiveBatch batch;
    auto draw = [&] {
        target.clear(0.5f);
        for (PrimitiveLeafGL* p : stack)
            p->appendToBatch(batch);
        batch.draw();
        glFinish();
    };
    draw();
    EXPECT_EQ(dominant(target.pixel(60, 60)), 2);
    EXPECT_EQ(batch.lastDrawCalls(), 1u) << "both images in the atlas, one draw";
    draw();
    EXPECT_EQ(dominant(target.pixel(60, 60)), 2);
    moving->moveBy(40.0, 0.0);
    draw();
    EXPECT_EQ(dominant(target.pixel(60, 60)), 0);
    EXPECT_EQ(dominant(target.pixel(95, 60)), 2);
    stack.pop_back();   // fewer vertices than the GPU copy holds
    draw();
    EXPECT_EQ(dominant(target.pixel(60, 60)), 0);
    EXPECT_TRUE(target.pixel(95, 60) == target.pixel(5, 5)) << "the moved stroke is gone";
}

int main(int argc, char** argv) { return runWithGLContext(argc, argv); }
