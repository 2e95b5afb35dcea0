// The scene without a display: picking and render order, contacts per user,
// the frame's order and deletions, buffer memory.
#include "BufferTag.h"
#include "SurfaceCompositeGL.h"
#include "TabletopVis.h"
#include "VisComponentGL.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// Logs the engine's calls; hooks let a test act from inside the frame.
class Recorder : public VisComponentGL
{
public:
    Recorder(TabletopVis* scene, Log& log, std::string name, double x, double y, double w, double h,
             double angle = 0.0)
        : VisComponentGL(scene, x, y, false, false, w, h, angle), _log(log), _name(std::move(name))
    {
    }
    ~Recorder() override { note("destroyed"); }

    void renderIntoBuffers() override { note("buffers", onBuffers); }
    void animateMyself(double dt) override
    {
        lastDt = dt;
        note("animate", onAnimate);
    }
    void doConstantAnimations(double) override { note("constant"); }
    // Contacts are logged as "hit A 120,100 12x7 u0": position, touch bounds, user.
    int hitLocalBuffer(int x, int y, double w, double h, int device) override
    {
        std::ostringstream s;
        s << "hit " << _name << " " << x << "," << y << " " << w << "x" << h << " u" << device;
        _log.push_back(s.str());
        return 1;
    }
    int releaseLocalBuffer(int x, int y, int device) override
    {
        _log.push_back("release " + _name + " " + std::to_string(x) + "," + std::to_string(y) + " u" +
                       std::to_string(device));
        return 0;
    }
    bool containsLocalPoint(double x, double y) const override
    {
        return !declines && VisComponentGL::containsLocalPoint(x, y);
    }

    std::function<void()> onBuffers, onAnimate;
    double lastDt = -1.0;
    bool declines = false;

private:
    // Logs "<call> <name>", then runs the hook.
    void note(const std::string& call, const std::function<void()>& hook = {})
    {
        _log.push_back(call + " " + _name);
        if (hook)
            hook();
    }

    Log& _log;
    std::string _name;
};

class Scene : public testing::Test
{
protected:
    Recorder* add(const std::string& name, double x, double y, double w = 100, double h = 100, double angle = 0.0)
    {
        auto* r = new Recorder(&scene, log, name, x, y, w, h, angle);
        scene.addComponent(r, true);
        return r;
    }
    SurfaceCompositeGL* addSurface(double x = 350, double y = 262, double w = 700, double h = 525)
    {
        auto* s = new SurfaceCompositeGL(&scene, x, y, w, h, 0.0, 0.0, 0.0);
        scene.addComponent(s, true);
        return s;
    }
    VisComponent* front() const
    {
        const ComponentList& list = scene.getRenderList();
        for (std::size_t i = list.slotCount(); i-- > 0;)
            if (list[i] != nullptr)
                return list[i];
        return nullptr;
    }

    Log log;   // outlives the scene: destructors write to it
    TabletopVis scene{2, 700, 525, 700, 525};
};

} // namespace

// ---- Picking and render order ----

TEST_F(Scene, TheFrontMostActiveComponentUnderTheRotatedRectangleIsPicked)
{
    Recorder* a = add("A", 100, 100);
    Recorder* b = add("B", 150, 100);
    EXPECT_EQ(scene.pickComponent(140, 100), b);
    EXPECT_EQ(scene.pickComponent(60, 100), a);
    EXPECT_EQ(scene.pickComponent(500, 500), nullptr);
    scene.moveComponentToRenderFront(a);
    EXPECT_EQ(scene.pickComponent(140, 100), a);
    a->deactivateForRendering();
    EXPECT_EQ(scene.pickComponent(140, 100), b);
    scene.removeComponentFromRenderList(b);
    EXPECT_EQ(scene.pickComponent(140, 100), nullptr);
    EXPECT_EQ(scene.countComponents(), 2u);

    Recorder* bar = add("bar", 300, 300, 200, 20, 45.0);
    EXPECT_EQ(scene.pickComponent(370, 370), bar);
    EXPECT_EQ(scene.pickComponent(370, 300), nullptr) << "inside the unturned rectangle only";
}

TEST_F(Scene, ComponentsMayDeclineAndACompositesChildrenArePickedBeforeIt)
{
    // A region map declines where it holds no region; the component's own test declines everywhere.
    Recorder* back = add("back", 100, 100);
    Recorder* map = add("map", 100, 100);
    auto regions = scene.createNewUnsignedIntImageBuffer(map->getBufferWidth(), map->getBufferHeight());
    regions->fillRectWithValue(0, 0, 49, 99, 7u);   // only the left half is a region
    map->setActiveBuffer(HIT_BUFFER, std::move(regions));
    EXPECT_EQ(scene.pickComponent(70, 100), map);
    EXPECT_EQ(scene.pickComponent(130, 100), back);
    map->declines = true;
    EXPECT_EQ(scene.pickComponent(70, 100), back);
    back->setPickable(false);
    EXPECT_EQ(scene.pickComponent(70, 100), nullptr);

    SurfaceCompositeGL* surface = addSurface();
    Recorder* child = add("child", 400, 200, 40, 40);
    Recorder* over = add("over", 500, 400, 40, 40);
    ASSERT_EQ(surface->addChild(child), 1);
    EXPECT_EQ(scene.pickComponent(400, 200), child);
    EXPECT_EQ(scene.pickComponent(500, 400), over);   // top-level components above the surface
    EXPECT_EQ(scene.pickComponent(300, 300), surface);
    child->declines = true;
    EXPECT_EQ(scene.pickComponent(400, 200), surface);
    child->declines = false;
    surface->deactivateForRendering();
    EXPECT_EQ(scene.pickComponent(400, 200), nullptr);
}

TEST_F(Scene, APressBringsItsComponentToTheFrontUnlessItsOrderIsStatic)
{
    Recorder* a = add("A", 100, 100);
    add("B", 400, 100);
    SurfaceCompositeGL* surface = addSurface(100, 400, 100, 100);
    scene.devicePress(100, 100, 0, 0);
    EXPECT_EQ(front(), a);
    scene.deviceRelease(100, 100, 0, 0);
    scene.devicePress(100, 400, 0, 0);
    EXPECT_EQ(front(), a);
    EXPECT_EQ(scene.getLastComponent(0), surface);
}

// ---- Contacts ----

TEST_F(Scene, AContactStaysWithItsComponentThroughMovesAndRelease)
{
    add("A", 100, 100);
    Recorder* b = add("B", 400, 400);
    scene.setTouchBoundWidth(0, 12.0);
    scene.setTouchBoundHeight(0, 7.0);
    scene.devicePress(100, 100, 3, 0);
    // Another component slides under the finger and to the front.
    b->setPos(120, 100);
    scene.moveComponentToRenderFront(b);
    scene.deviceMove(120, 100, 3, 0);
    scene.deviceMove(125, 105, 3, 0);
    scene.deviceRelease(125, 105, 3, 0);
    EXPECT_EQ(log, (Log{"hit A 100,100 12x7 u0", "hit A 120,100 12x7 u0", "hit A 125,105 12x7 u0",
                        "release A 125,105 u0"}));
    EXPECT_FALSE(scene.isContactDown(0));
    EXPECT_EQ(scene.getContactValue(0), 3);
}

TEST_F(Scene, UsersKeepTheirOwnContacts)
{
    add("A", 100, 100);
    add("B", 400, 400);
    scene.devicePress(100, 100, 0, 0);
    scene.devicePress(400, 400, 0, 1);
    scene.deviceMove(110, 100, 0, 0);
    scene.deviceMove(410, 400, 0, 1);
    scene.deviceRelease(410, 400, 0, 1);
    scene.deviceMove(120, 100, 0, 0);
    // Devices beyond the scene's users are ignored.
    scene.devicePress(100, 100, 0, 2);
    scene.devicePress(100, 100, 0, -1);
    EXPECT_EQ(log, (Log{"hit A 100,100 0x0 u0", "hit B 400,400 0x0 u1", "hit A 110,100 0x0 u0",
                        "hit B 410,400 0x0 u1", "release B 410,400 u1", "hit A 120,100 0x0 u0"}));
    EXPECT_TRUE(scene.isContactDown(0));
    EXPECT_FALSE(scene.isContactDown(1));
}

TEST_F(Scene, TheLastComponentOutlivesTheContactAndCanBeHandedOn)
{
    add("A", 100, 100);
    Recorder* b = add("B", 400, 400);
    // Pointing with no contact and no component yet picks one; a contact
    // that began on nothing stays on nothing.
    scene.deviceMove(400, 400, 0, 1);
    EXPECT_EQ(scene.getLastComponent(1), b);
    scene.devicePress(600, 100, 0, 1);
    scene.deviceMove(400, 400, 0, 1);
    scene.deviceRelease(400, 400, 0, 1);
    // Hovering after the release still reaches A, until B is handed the contact.
    scene.devicePress(100, 100, 0, 0);
    scene.deviceRelease(100, 100, 0, 0);
    scene.deviceMove(300, 300, 0, 0);
    scene.setLastComponent(0, b);
    scene.deviceMove(300, 300, 0, 0);
    EXPECT_EQ(log, (Log{"hit B 400,400 0x0 u1", "hit A 100,100 0x0 u0", "release A 100,100 u0",
                        "hit A 300,300 0x0 u0", "hit B 300,300 0x0 u0"}));
    scene.setLastComponent(1, b);
    scene.deleteComponent(b);
    EXPECT_EQ(scene.getLastComponent(0), nullptr);
    EXPECT_EQ(scene.getLastComponent(1), nullptr);
}

// ---- Frame ----

TEST_F(Scene, AFrameWritesBuffersEverywhereBeforeAnyAnimation)
{
    Recorder* a = add("A", 10, 10, 5, 5);
    add("B", 20, 10, 5, 5);
    scene.setFixedFrameTime(0.02);
    EXPECT_DOUBLE_EQ(scene.render(2, 40.0), 50.0);
    EXPECT_EQ(log, (Log{"buffers A", "buffers B", "animate A", "animate B"}));
    EXPECT_DOUBLE_EQ(a->lastDt, 0.8);
    log.clear();
    scene.setAnimating(true);
    scene.setFixedFrameTime(0.5);   // a stall: dt is capped, the rate is not
    EXPECT_DOUBLE_EQ(scene.render(2, 40.0), 2.0);
    EXPECT_DOUBLE_EQ(a->lastDt, 40.0 * TabletopVis::MaxFrameSeconds);
    EXPECT_EQ(log, (Log{"buffers A", "buffers B", "animate A", "animate B", "constant A", "constant B"}));
}

TEST_F(Scene, ComponentsTheirParentStepsAreLeftOutOfTheFramesPasses)
{
    // Runs of stepped components longer and shorter than eight, ending on
    // and off a multiple of eight, and at the end.
    Log expected, animated;
    for (int i = 0; i < 40; ++i) {
        const std::string name = "R" + std::to_string(i);
        const bool stepped = i % 11 < 9 || i == 39;
        EXPECT_TRUE(scene.setSteppedByParent(add(name, 10, 10, 5, 5), stepped));
        if (!stepped) {
            expected.push_back("buffers " + name);
            animated.push_back("animate " + name);
        }
    }
    expected.insert(expected.end(), animated.begin(), animated.end());
    scene.render(2, 1.0);
    EXPECT_EQ(log, expected);
}

TEST_F(Scene, ComponentsMadeOrDeletedDuringAFrameJoinOrLeaveItSafely)
{
    Recorder* a = add("A", 10, 10, 5, 5);
    Recorder* b = add("B", 20, 10, 5, 5);
    add("C", 30, 10, 5, 5);
    unsigned countInside = 0;
    a->onBuffers = [&] {
        scene.deleteComponent(b);
        scene.deleteComponent(b);   // a second request is ignored
        countInside = scene.countComponents();
        add("D", 40, 10, 5, 5);
    };
    a->onAnimate = [&] { scene.deleteComponent(a); };
    scene.render(2, 1.0);
    EXPECT_EQ(countInside, 2u);
    EXPECT_EQ(log, (Log{"buffers A", "buffers C", "buffers D", "animate A", "animate C", "animate D", "destroyed B",
                        "destroyed A"}));
    EXPECT_EQ(scene.countComponents(), 2u);
    EXPECT_EQ(scene.getComponents().slotCount(), 2u) << "holes are compacted after the frame";
}

TEST_F(Scene, DeletingAComponentDetachesItFromParentAndChildren)
{
    SurfaceCompositeGL* surface = addSurface();
    Recorder* child = add("child", 100, 100, 10, 10);
    Recorder* other = add("other", 200, 100, 10, 10);
    surface->addChild(child);
    surface->addChild(other);
    scene.deleteComponent(child);
    EXPECT_EQ(log, (Log{"destroyed child"}));
    EXPECT_EQ(surface->getChildren().size(), 1u);
    scene.deleteComponent(surface);
    // The surviving child is top-level again and still drawn and picked.
    EXPECT_EQ(other->getParent(), nullptr);
    EXPECT_EQ(scene.pickComponent(200, 100), other);
    EXPECT_EQ(scene.countComponents(), 1u);
}

TEST_F(Scene, BufferMemoryIsCountedInKiBAndAChangeIsReportedOnce)
{
    EXPECT_FALSE(scene.bufferMemoryChanged());
    auto grid = scene.createNewFloatImageBuffer(32, 32);   // 4 KiB
    EXPECT_EQ(scene.getAllocatedMemorySize(), 4u);
    EXPECT_TRUE(scene.bufferMemoryChanged());
    EXPECT_FALSE(scene.bufferMemoryChanged());

    Recorder* owner = add("owner", 10, 10, 5, 5);
    owner->setActiveBuffer(COLOR_BUFFER, scene.createNew3DUCharImageBuffer(32, 32));          // 3 KiB
    owner->setActiveBuffer(GRADIENT_BUFFER, scene.createNew2DDoubleVectorImageBuffer(10, 10)); // 1600 B
    EXPECT_EQ(scene.getAllocatedMemorySize(), 4u + 3u + 2u) << "rounded to the nearest KiB";
    EXPECT_TRUE(scene.bufferMemoryChanged());
    scene.deleteComponent(owner);
    EXPECT_EQ(scene.getAllocatedMemorySize(), 4u);
    EXPECT_TRUE(scene.bufferMemoryChanged());
    grid.reset();
    EXPECT_EQ(scene.getAllocatedMemorySize(), 0u);
    EXPECT_TRUE(scene.bufferMemoryChanged());
    EXPECT_FALSE(scene.bufferMemoryChanged());
}

