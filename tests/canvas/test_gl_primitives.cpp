// Primitives under GL: shared display lists live as long as their scene, a
// batch draws where they are and restores the state, display lists draw the same.
#include "FrameworkTestSupport.h"
#include "GLTexture.h"
#include "GeoStrokeLeafGL.h"
#include "PointLeafGL.h"
#include "PrimitiveBatch.h"
#include "PrimitiveShapeCache.h"
#include "StrokeLeafGL.h"
#include "TabletopVisGL.h"
#include "TileLeafGL.h"

#include <cstdlib>
#include <memory>
#include <vector>

using namespace support;

namespace {

constexpr int Width = 200;
constexpr int Height = 150;

bool isRed(const std::array<int, 3>& p) { return p[0] > 180 && p[1] < 70 && p[2] < 70; }
bool isGrey(const std::array<int, 3>& p) { return std::abs(p[0] - 127) < 4 && std::abs(p[2] - 127) < 4; }

class GLPrimitives : public GLTest
{
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        primitiveRendererState();
        texture.generate();
        whiteTexture(texture.id(), 4);
    }
    void TearDown() override
    {
        texture.release();
        GLTest::TearDown();
    }

    template <class Primitive>
    Primitive* make(Primitive* primitive)
    {
        scene.addComponent(primitive, true);
        return primitive;
    }
    StrokeLeafGL* stroke(double x, double y, unsigned textureId)
    {
        return make(new StrokeLeafGL(&scene, x, y, 0, 1, 0, 1, false, false, 30, 30, 0, textureId, 0, 0, 3, false));
    }
    // A red point, stroke and tile side by side, past their hidden frames.
    std::vector<PrimitiveLeafGL*> redRow()
    {
        std::vector<PrimitiveLeafGL*> row{
            make(new PointLeafGL(&scene, 40, 75, false, false, 30, 30, 0)),
            stroke(100, 75, texture.id()),
            make(new TileLeafGL(&scene, 160, 75, false, false, 30, 30, 0, 1, false)),
        };
        PrimitiveBatch hidden;
        for (PrimitiveLeafGL* p : row) {
            p->setColor(230, 20, 20);
            for (int i = 0; i < PrimitiveLeafGL::HiddenFrames; ++i)
                p->appendToBatch(hidden);
        }
        return row;
    }

    OffscreenTarget target{Width, Height};
    TabletopVisGL scene{1, Width, Height, Width, Height};
    GLTexture texture;
};

} // namespace

TEST_F(GLPrimitives, SharedListsAreMadeAtTheFirstDrawAndLiveWithTheScene)
{
    auto local = std::make_unique<TabletopVisGL>(1, Width, Height, Width, Height);
    ASSERT_TRUE(local->hasGL());
    std::vector<PrimitiveLeafGL*> made{
        new StrokeLeafGL(local.get(), 50, 50, 0, 1, 0, 1, false, false, 30, 30, 0, 7, 0, 0, 3, false),
        new StrokeLeafGL(local.get(), 60, 50, 0, 1, 0, 1, false, false, 30, 30, 0, 7, 0, 0, 3, false),
        new PointLeafGL(local.get(), 80, 50, false, false, 20, 20, 0),
        new TileLeafGL(local.get(), 50, 50, false, false, 20, 20, 0, 1, false),
    };
    PrimitiveShapeCache& cache = PrimitiveShapeCache::of(*local);
    EXPECT_EQ(cache.listCount(), 0) << "constructors make no lists";
    for (PrimitiveLeafGL* p : made) {
        local->addComponent(p, true);
        for (int i = 0; i <= PrimitiveLeafGL::HiddenFrames; ++i)
            p->render();
    }
    const GLuint lists[] = {cache.strokeList(7), cache.pointList(15), cache.tileList()};
    for (GLuint list : lists)
        EXPECT_TRUE(glIsList(list)) << list;
    // One list per texture, kept while the scene lives.
    const int count = cache.listCount();
    local->deleteComponent(made[0]);
    local->deleteComponent(made[3]);
    EXPECT_EQ(cache.listCount(), count);
    EXPECT_TRUE(glIsList(lists[0]) && glIsList(lists[2]));
    local.reset();
    for (GLuint list : lists)
        EXPECT_FALSE(glIsList(list)) << list;
}

TEST_F(GLPrimitives, ABatchDrawsRedPrimitivesWhereTheyAreAndRestoresTheState)
{
    std::vector<PrimitiveLeafGL*> row = redRow();
    PrimitiveBatch batch;
    for (PrimitiveLeafGL* p : row)
        p->appendToBatch(batch);
    target.clear(0.5f);
    glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
    batch.draw();
    EXPECT_EQ(batch.vertexCount(), 0u) << "drawing empties the batch";
    for (int x : {40, 100, 160})
        EXPECT_TRUE(isRed(target.pixel(x, 75))) << x;
    // Every dab reaches 0.4 half widths sideways; tile and stroke end at 15 px.
    for (auto [x, y] : {std::pair{40 - 9, 75}, {100, 75 + 18}, {160 + 18, 75}, {130, 75}, {10, 10}})
        EXPECT_TRUE(isGrey(target.pixel(x, y))) << x << ", " << y;

    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    for (GLenum cap : {GL_TEXTURE_2D, GL_LIGHTING, GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY})
        EXPECT_FALSE(glIsEnabled(cap)) << cap;
    GLint src = 0, stack = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_CLIENT_ATTRIB_STACK_DEPTH, &stack);
    EXPECT_EQ(std::pair(src, stack), std::pair(GLint{GL_SRC_ALPHA}, GLint{0}));
    GLfloat colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[2], 0.75f);
}

TEST_F(GLPrimitives, TheDisplayListsDrawWhatTheBatchDraws)
{
    std::vector<PrimitiveLeafGL*> row = redRow();
    auto* shape = make(new GeoStrokeLeafGL(&scene, 60, 20, false, false, 20, 20, 0, 0, 2, 12));
    PrimitiveBatch hidden;
    for (int i = 0; i < PrimitiveLeafGL::HiddenFrames; ++i)
        shape->appendToBatch(hidden);
    row.push_back(shape);
    // Turned, so that both paths must agree on the rotation too.
    for (PrimitiveLeafGL* p : row)
        p->setRotation(30.0);

    auto frame = [&](auto draw) {
        target.clear(0.5f);
        draw();
        glFinish();
        return target.pixels();
    };
    const auto listed = frame([&] { for (PrimitiveLeafGL* p : row) p->render(); });
    const auto batched = frame([&] {
        PrimitiveBatch batch;
        for (PrimitiveLeafGL* p : row)
            p->appendToBatch(batch);
        batch.draw();
    });
    int drawn = 0, different = 0;
    for (std::size_t i = 0; i < listed.size(); i += 4) {
        drawn += std::abs(listed[i] - 127) > 10 ? 1 : 0;
        different += std::abs(listed[i] - batched[i]) > 10 || std::abs(listed[i + 1] - batched[i + 1]) > 10 ||
                     std::abs(listed[i + 2] - batched[i + 2]) > 10;
    }
    EXPECT_GT(drawn, 2000) << "all four primitives drew";
    // Rasterisation may differ along edges; lighting and placement may not.
    EXPECT_LT(different, drawn / 50);
}

int main(int argc, char** argv) { return runWithGLContext(argc, argv); }
