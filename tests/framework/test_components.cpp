// Components without a display: motion rules, coordinate conversions, the
// built-in rotate-and-translate and tossing, buffers and children.
#include "BoundedContainerGL.h"
#include "BufferTag.h"
#include "FrameworkTestSupport.h"
#include "Kinematics.h"
#include "SurfaceCompositeGL.h"
#include "TabletopVis.h"
#include "VisComponentGL.h"

#include <cmath>
#include <numbers>
#include <tuple>

using support::near;

namespace {

// Angle of a vector in degrees, counter-clockwise from +x.
double direction(double x, double y)
{
    return std::atan2(y, x) * 180.0 / std::numbers::pi;
}

// Local coordinates of a device point; *inside says whether it lies on c.
Vector2d local(const VisComponent& c, Vector2d devicePoint, bool* inside = nullptr)
{
    Vector2d p;
    const bool on = c.getLocalCoordinates(devicePoint.x, devicePoint.y, p.x, p.y);
    if (inside != nullptr)
        *inside = on;
    return p;
}

Vector2d device(const VisComponent& c, Vector2d p)
{
    Vector2d d;
    c.getDeviceCoordinates(p.x, p.y, d.x, d.y);
    return d;
}

class CountingComponent : public VisComponentGL
{
public:
    using VisComponentGL::VisComponentGL;
    void animationEnded() override { ++ended; }
    int ended = 0;
};

} // namespace

// ---- Pure motion rules, at the edges the input tests below do not reach ----

TEST(Kinematics, TurnsWrapAndLimitBothWaysAndTheCutoffsAreInclusive)
{
    // Touched 50 px right of the centre: a drag down turns clockwise, a pull
    // straight outwards or a touch at the centre turns nothing.
    EXPECT_NEAR(Kinematics::dragTurn({0, 0}, {50, 0}, {50, -10}), -direction(50, 10), 1e-9);
    EXPECT_NEAR(Kinematics::dragTurn({0, 0}, {50, 0}, {60, 0}), 0.0, 1e-9);
    EXPECT_EQ(Kinematics::dragTurn({0, 0}, {0, 0}, {5, 5}), 0.0);
    // Two seconds per full turn: at most 18 degrees in a tenth of a second;
    // no circle time, no limit.
    EXPECT_DOUBLE_EQ(Kinematics::limitTurn(-40.0, 0.1, 2.0), -18.0);
    EXPECT_DOUBLE_EQ(Kinematics::limitTurn(40.0, 0.1, 0.0), 40.0);
    const Kinematics::Pose turned = Kinematics::rotateAbout({{10, 0}, 170.0}, {0, 0}, 90.0);
    EXPECT_TRUE(near(turned.centre, {0, 10}));
    EXPECT_NEAR(turned.rotation, -100.0, 1e-9);
    // Factor 0.5 on a 50 px side: a disc of radius 12.5; factor 0: no disc.
    EXPECT_TRUE(Kinematics::inTranslateOnlyDisc({12.5, 0}, 50.0, 0.25 * 0.5 * 0.5));
    EXPECT_FALSE(Kinematics::inTranslateOnlyDisc({12.6, 0}, 50.0, 0.25 * 0.5 * 0.5));
    EXPECT_FALSE(Kinematics::inTranslateOnlyDisc({0.1, 0}, 50.0, 0.0));
    EXPECT_FALSE(Kinematics::startsTossing({0.5, 0.0}, 1.0));
}

// ---- Coordinates and size ----

TEST(ComponentCoordinates, DeviceLocalAndCellConversionsRoundTripUnderRotation)
{
    // Half a cell per pixel; a margin of 10 px adds 5 cells on each side.
    TabletopVis scene(1, 700, 525, 1400, 1050);
    SurfaceCompositeGL surface(&scene, 300, 200, 200, 100, 33.0, 0.0, 10.0);
    EXPECT_EQ(surface.getBufferWidth(), 110);
    EXPECT_EQ(surface.getBufferHeight(), 60);
    EXPECT_EQ(surface.getBufferXCoordinateFromLocal(0.0), 5);
    EXPECT_EQ(surface.getBufferXCoordinateFromLocal(-10.0), 0);
    EXPECT_EQ(surface.getBufferXCoordinateFromLocal(-10.5), -1);
    for (int cx = 5; cx < 105; cx += 7)
        for (int cy = 5; cy < 55; cy += 5) {
            // Centre of cell (cx, cy) in local pixels, through device and back.
            const Vector2d centre{(cx + 0.5) / 0.5 - 10.0, (cy + 0.5) / 0.5 - 10.0};
            bool inside = false;
            const Vector2d back = local(surface, device(surface, centre), &inside);
            ASSERT_TRUE(inside);
            EXPECT_TRUE(near(back, centre));
            EXPECT_EQ(surface.getBufferXCoordinateFromLocal(back.x), cx);
            EXPECT_EQ(surface.getBufferYCoordinateFromLocal(back.y), cy);
        }

    // For hit handling every point off the rotated rectangle, on any side,
    // reads as outside (both local coordinates -1); points on it keep theirs.
    const Vector2d onIt = device(surface, {199.0, 99.0});
    Vector2d hit;
    EXPECT_TRUE(surface.getHitLocalCoordinates(onIt.x, onIt.y, hit.x, hit.y));
    EXPECT_TRUE(near(hit, {199.0, 99.0}));
    for (const Vector2d off : {Vector2d{200.5, 50.0}, Vector2d{100.0, 100.5}, Vector2d{-0.5, 50.0},
                               Vector2d{100.0, -0.5}, Vector2d{900.0, 900.0}}) {
        const Vector2d d = device(surface, off);
        EXPECT_FALSE(surface.getHitLocalCoordinates(d.x, d.y, hit.x, hit.y));
        EXPECT_LE(hit.x, -1.0);
        EXPECT_LE(hit.y, -1.0);
    }

    // A component covering the screen takes the scene's global buffer size.
    TabletopVis screen(1, 700, 525, 1024, 768);
    VisComponentGL canvas(&screen, 512, 384, false, false, 1024, 768);
    EXPECT_EQ(canvas.getBufferWidth(), 700);
    EXPECT_EQ(canvas.getBufferHeight(), 525);
    EXPECT_EQ(canvas.getBufferXCoordinateFromLocal(1023.9), 699);
    EXPECT_EQ(canvas.getBufferYCoordinateFromLocal(767.9), 524);
}

TEST(ComponentSize, EasingReachesTheTargetAfterFiftyFramesAndEndsOnce)
{
    TabletopVis scene(1, 700, 525, 700, 525);
    auto* c = new CountingComponent(&scene, 10, 10, false, false, 20, 20);
    scene.addComponent(c, false);
    c->animateToSize(120, 70);
    // Each frame closes the share p of the remaining gap, p growing by 0.02.
    scene.render(1, 1.0);
    EXPECT_DOUBLE_EQ(c->getWidth(), 22.0);
    scene.render(1, 1.0);
    EXPECT_DOUBLE_EQ(c->getWidth(), 22.0 + 98.0 * 0.04);
    for (int frame = 3; frame <= 51; ++frame) {
        scene.render(1, 1.0);
        EXPECT_EQ(c->ended, frame >= 50 ? 1 : 0) << "frame " << frame;
    }
    EXPECT_DOUBLE_EQ(c->getWidth(), 120.0);
    EXPECT_DOUBLE_EQ(c->getHeight(), 70.0);
    EXPECT_FALSE(c->hasPendingSizeTarget());
}

TEST(ComponentSize, MagnificationAndInteractiveResizes)
{
    TabletopVis scene(1, 700, 525, 700, 525);
    VisComponentGL zoomed(&scene, 0, 0, false, false, 40, 30);
    zoomed.setCurrentScaleFactor(2.0);
    EXPECT_DOUBLE_EQ(zoomed.getWidth(), 80.0);
    zoomed.setSize(100, 60);
    EXPECT_DOUBLE_EQ(zoomed.getUnscaledWidth(), 50.0);
    EXPECT_DOUBLE_EQ(zoomed.getUnscaledHeight(), 30.0);

    // Resizing from the centre keeps the centre; from the top-left corner
    // keeps that corner, in a quarter-turned frame.
    VisComponentGL c(&scene, 100, 100, false, false, 40, 20, 90.0);
    c.interactiveResizeCenter(90, 130);   // 30 up, 10 left
    EXPECT_DOUBLE_EQ(c.getXPos(), 100.0);
    EXPECT_NEAR(c.getWidth(), 60.0, 1e-9);
    EXPECT_NEAR(c.getHeight(), 20.0, 1e-9);
    const Vector2d corner = device(c, {0, c.getHeight()});
    // Local (80, -10) of the 60 x 20 frame: 20 px wider, 10 px taller.
    c.interactiveResizeTopLeft(120, 150);
    EXPECT_NEAR(c.getWidth(), 80.0, 1e-9);
    EXPECT_NEAR(c.getHeight(), 30.0, 1e-9);
    EXPECT_TRUE(near(device(c, {0, c.getHeight()}), corner));
    EXPECT_TRUE(near(local(c, {120, 150}), {80, 0}));
}

// ---- Rotate-and-translate and tossing through the component's input ----

class TouchMotion : public testing::Test
{
protected:
    TouchMotion()
    {
        scene.setFixedFrameTime(1.0 / 60.0);
        scene.setRNTParameters(0.5, 0.0);
        scene.setTossingParameters(0.5, 1.0);
        scene.addComponent(object, true);
    }

    void frame() { scene.render(2, 40.0); }

    // A press, a move and a frame with contact 0.
    void drag(int fromX, int fromY, int toX, int toY)
    {
        scene.devicePress(fromX, fromY, 0, 0);
        scene.deviceMove(toX, toY, 0, 0);
        frame();
    }

    TabletopVis scene{2, 700, 525, 700, 525};
    VisComponentGL* object = new VisComponentGL(&scene, 100, 100, true, true, 100, 50);
};

TEST_F(TouchMotion, TheTouchedPointStaysUnderTheFingerWhileTheObjectTurnsTowardsTheDrag)
{
    scene.devicePress(140, 100, 0, 0);
    const Vector2d grabbed = local(*object, {140, 100});
    int y = 100;
    for (int i = 0; i < 10; ++i) {
        y += 8;
        scene.deviceMove(140, y, 0, 0);
        frame();
        EXPECT_TRUE(near(local(*object, {140.0, double(y)}), grabbed, 1e-6)) << "frame " << i;
    }
    // Dragged upwards by its right end: the right end turned towards up and
    // the centre trails below the finger.
    EXPECT_GT(object->getRotation(), 20.0);
    EXPECT_LT(object->getYPos(), y);
    EXPECT_GT(direction(140 - object->getXPos(), y - object->getYPos()), 20.0);
}

TEST_F(TouchMotion, AReleasedObjectKeepsItsVelocityDecayingByFrictionUntilTheCutoff)
{
    scene.devicePress(105, 100, 0, 0);
    for (int i = 1; i <= 6; ++i) {
        scene.deviceMove(105 + 16 * i, 100, 0, 0);
        frame();
    }
    scene.deviceRelease(201, 100, 0, 0);
    ASSERT_TRUE(object->isBeingTossed());
    // Smoothed over the frames of a steady 16 px drag.
    double step = object->getTossVelocity().x;
    EXPECT_NEAR(step, 16.0 * (1.0 - std::pow(0.5, 6)), 1e-9);
    double x = object->getXPos();
    for (int frames = 0; object->isBeingTossed(); step *= 0.5, ++frames) {
        ASSERT_LT(frames, 10) << "still tossed";
        frame();
        EXPECT_NEAR(object->getXPos() - x, step, 1e-9);
        x = object->getXPos();
    }
    // The last step was the first speed whose successor fell below 1.
    EXPECT_LT(step, 1.0);
    EXPECT_GE(2.0 * step, 1.0);
    frame();
    EXPECT_DOUBLE_EQ(object->getXPos(), x);
}

TEST_F(TouchMotion, AParentsSlowdownFieldReplacesTheFriction)
{
    auto* surface = new SurfaceCompositeGL(&scene, 350, 262, 700, 525, 0, 0, 0);
    scene.addComponent(surface, true);
    auto field = scene.createNewFloatImageBuffer(surface->getBufferWidth(), surface->getBufferHeight());
    field->fillEntireBuffer(0.0f);   // a border everywhere: tossing stops at once
    surface->setActiveBuffer(SLOWDOWN_BUFFER, std::move(field));
    ASSERT_EQ(surface->addChild(object), 1);
    drag(105, 100, 125, 100);
    scene.deviceRelease(125, 100, 0, 0);
    ASSERT_TRUE(object->isBeingTossed());
    frame();
    EXPECT_FALSE(object->isBeingTossed());
}

// ---- Buffers and children ----

class Family : public testing::Test
{
protected:
    Family()
    {
        scene.addComponent(parent, true);
        scene.addComponent(child, true);
        parent->setActiveBuffer(ERASE_BUFFER, scene.createNewFloatImageBuffer(10, 10));
        parent->setActiveBuffer(CONTROL_BUFFER, scene.createNewFloatImageBuffer(10, 10));
        child->registerPassiveBuffer(ERASE_BUFFER);
        child->registerPassiveBuffer(CONTROL_BUFFER);
    }

    TabletopVis scene{1, 700, 525, 700, 525};
    SurfaceCompositeGL* parent = new SurfaceCompositeGL(&scene, 350, 262, 700, 525, 0, 0, 0);
    VisComponentGL* child = new VisComponentGL(&scene, 10, 10, false, false, 5, 5);
};

TEST_F(Family, ChildrenLinkTheWantedTagsFollowReplacementsAndLoseThemOnDisconnect)
{
    EXPECT_EQ(child->getPassiveBuffer(ERASE_BUFFER), nullptr);
    parent->setActiveBuffer(SIZE_BUFFER, scene.createNewFloatImageBuffer(10, 10));
    ASSERT_EQ(parent->addChild(child), 1);
    EXPECT_EQ(child->getPassiveBuffer(ERASE_BUFFER), parent->getActiveBuffer(ERASE_BUFFER));
    EXPECT_EQ(child->getPassiveBufferAs<float>(CONTROL_BUFFER), parent->getActiveBufferAs<float>(CONTROL_BUFFER));
    EXPECT_EQ(child->getPassiveBuffer(SIZE_BUFFER), nullptr);   // not wanted
    // A tag registered once a child takes its parent's buffer at once.
    child->registerPassiveBuffer(SIZE_BUFFER);
    EXPECT_EQ(child->getPassiveBuffer(SIZE_BUFFER), parent->getActiveBuffer(SIZE_BUFFER));
    auto replacement = scene.createNewFloatImageBuffer(20, 20);
    AbstractBuffer* fresh = replacement.get();
    parent->setActiveBuffer(ERASE_BUFFER, std::move(replacement));
    EXPECT_EQ(child->getPassiveBuffer(ERASE_BUFFER), fresh);
    parent->disconnectBuffers(child);
    for (int tag : {int(ERASE_BUFFER), int(SIZE_BUFFER), 0, 33})
        EXPECT_EQ(child->getPassiveBuffer(tag), nullptr) << tag;
}

TEST_F(Family, ChildrenMoveBetweenTheScenesRenderListAndTheLocalOne)
{
    ASSERT_TRUE(scene.getRenderList().contains(child));
    ASSERT_EQ(parent->addChild(child), 1);
    EXPECT_EQ(parent->addChild(child), 0);
    EXPECT_EQ(parent->addChild(parent), 0);
    EXPECT_EQ(child->getParent(), parent);
    EXPECT_TRUE(child->isStoringImportantAttributes());
    EXPECT_EQ(parent->getChildren().at(child->getId()), child);
    EXPECT_FALSE(scene.getRenderList().contains(child));
    EXPECT_TRUE(parent->getLocalRenderList()->contains(child));

    ASSERT_EQ(parent->removeChild(child), 1);
    EXPECT_EQ(parent->removeChild(child), 0);
    EXPECT_EQ(child->getParent(), nullptr);
    EXPECT_FALSE(child->isStoringImportantAttributes());
    EXPECT_TRUE(parent->getChildren().empty());
    EXPECT_EQ(scene.getRenderList()[scene.getRenderList().slotCount() - 1], child);
    EXPECT_EQ(child->getPassiveBuffer(ERASE_BUFFER), nullptr);

    VisComponentGL leaf(&scene, 0, 0, false, false, 5, 5);
    EXPECT_EQ(child->addChild(&leaf), 0) << "a leaf accepts no children";
    EXPECT_EQ(leaf.getParent(), nullptr);
}

TEST_F(Family, AdoptionTakesTheChildFromItsOldParentAndMovingTheSurfaceMovesIt)
{
    auto* other = new SurfaceCompositeGL(&scene, 100, 100, 50, 50, 0, 0, 0);
    scene.addComponent(other, true);
    ASSERT_EQ(parent->addChild(child), 1);
    ASSERT_EQ(other->addChild(child), 1);
    EXPECT_TRUE(parent->getChildren().empty());
    EXPECT_FALSE(parent->getLocalRenderList()->contains(child));
    EXPECT_EQ(child->getPassiveBuffer(ERASE_BUFFER), nullptr);   // the new parent has none
    other->moveBy(5, -3);
    EXPECT_DOUBLE_EQ(child->getXPos(), 15.0);
    EXPECT_DOUBLE_EQ(child->getYPos(), 7.0);
}

TEST(BoundedContainer, PicksInsideItsRoundOutlineOnly)
{
    TabletopVis scene(1, 700, 525, 700, 525);
    BoundedContainerGL round(&scene, 100, 100, true, false, 100, 100);
    EXPECT_TRUE(round.containsLocalPoint(50, 50));
    EXPECT_TRUE(round.containsLocalPoint(50, 97));
    EXPECT_FALSE(round.containsLocalPoint(4, 4));   // a corner of the square
    BoundedContainerGL square(&scene, 100, 100, true, false, 100, 100, 0, 8, false);
    EXPECT_TRUE(square.containsLocalPoint(1, 1));
    round.setSize(200, 100);
    EXPECT_TRUE(round.containsLocalPoint(195, 50)) << "the outline follows the size";
}
