// Components without a display: motion rules, coordinate conversions, the
// built-in rotate-and-translate and tossing, buffers and children.
#include "BoundedContainerGL.h"
#include "BufferTag.h"
#include "Kinematics.h"
#include "SurfaceCompositeGL.h"
#include "TabletopVis.h"
#include "VisComponentGL.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double Tolerance = 1e-9;

// Angle of a vector in degrees, counter-clockwise from +x.
double direction(double x, double y)
{
    return std::atan2(y, x) * 180.0 / 3.14159265358979323846;
}

class CountingComponent : public VisComponentGL
{
public:
    using VisComponentGL::VisComponentGL;
    void animationEnded() override { ++ended; }
    int ended = 0;
};

} // namespace

// ---- Pure motion rules ----

TEST(Kinematics, DragTurnFollowsTheDragAndIgnoresRadialPulls)
{
    // Touched 50 px right of the centre, dragged 10 px up: the offset turns
    // counter-clockwise by atan(10/50); a pull straight outwards turns nothing.
    EXPECT_NEAR(Kinematics::dragTurn({0, 0}, {50, 0}, {50, 10}), direction(50, 10), Tolerance);
    EXPECT_NEAR(Kinematics::dragTurn({0, 0}, {50, 0}, {50, -10}), -direction(50, 10), Tolerance);
    EXPECT_NEAR(Kinematics::dragTurn({0, 0}, {50, 0}, {60, 0}), 0.0, Tolerance);
    EXPECT_EQ(Kinematics::dragTurn({0, 0}, {0, 0}, {5, 5}), 0.0);
}

TEST(Kinematics, RotationAboutAPivotKeepsThePivotAndWrapsTheAngle)
{
    const Kinematics::Pose turned = Kinematics::rotateAbout({{10, 0}, 170.0}, {0, 0}, 90.0);
    EXPECT_NEAR(turned.centre.x, 0.0, Tolerance);
    EXPECT_NEAR(turned.centre.y, 10.0, Tolerance);
    EXPECT_NEAR(turned.rotation, -100.0, Tolerance);
    const Kinematics::Pose still = Kinematics::rotateAbout({{3, 4}, 0.0}, {3, 4}, 45.0);
    EXPECT_NEAR(still.centre.x, 3.0, Tolerance);
    EXPECT_NEAR(still.centre.y, 4.0, Tolerance);
}

TEST(Kinematics, CircleTimeLimitsTheTurnPerFrame)
{
    // Two seconds per full turn: at most 18 degrees in a tenth of a second.
    EXPECT_DOUBLE_EQ(Kinematics::limitTurn(5.0, 0.1, 2.0), 5.0);
    EXPECT_DOUBLE_EQ(Kinematics::limitTurn(40.0, 0.1, 2.0), 18.0);
    EXPECT_DOUBLE_EQ(Kinematics::limitTurn(-40.0, 0.1, 2.0), -18.0);
    EXPECT_DOUBLE_EQ(Kinematics::limitTurn(40.0, 0.1, 0.0), 40.0);
}

TEST(Kinematics, TranslateOnlyDiscHasTheFactorTimesHalfTheSmallerSideAsRadius)
{
    const double quarterSquared = 0.25 * 0.5 * 0.5;   // factor 0.5
    EXPECT_TRUE(Kinematics::inTranslateOnlyDisc({12.5, 0}, 50.0, quarterSquared));
    EXPECT_FALSE(Kinematics::inTranslateOnlyDisc({12.6, 0}, 50.0, quarterSquared));
    EXPECT_FALSE(Kinematics::inTranslateOnlyDisc({0.1, 0}, 50.0, 0.0));
}

TEST(Kinematics, TossingDecaysByTheFactorPerFrameAndStopsBelowTheCutoff)
{
    Vector2d velocity(8.0, 0.0);
    EXPECT_TRUE(Kinematics::startsTossing(velocity, 1.0));
    EXPECT_FALSE(Kinematics::startsTossing({0.5, 0.0}, 1.0));
    const double expected[] = {8.0, 4.0, 2.0, 1.0};
    for (double step : expected)
        EXPECT_DOUBLE_EQ(Kinematics::tossStep(velocity, 0.5, 1.0).x, step);
    // 1.0 * 0.5 fell below the cutoff with the last step.
    EXPECT_EQ(velocity, Vector2d());
}

// ---- Coordinates ----

TEST(ComponentCoordinates, LocalCoordinatesUndoTranslationAndRotation)
{
    TabletopVis scene(1, 700, 525, 700, 525);
    VisComponentGL c(&scene, 100, 50, false, false, 40, 20, 90.0);
    double lx = 0;
    double ly = 0;
    // Turned a quarter counter-clockwise, the local x axis points up.
    EXPECT_TRUE(c.getLocalCoordinates(100, 60, lx, ly));
    EXPECT_NEAR(lx, 30.0, Tolerance);
    EXPECT_NEAR(ly, 10.0, Tolerance);
    EXPECT_TRUE(c.getLocalCoordinates(95, 50, lx, ly));
    EXPECT_NEAR(ly, 15.0, Tolerance);
    // Within the unrotated rectangle but outside the turned one.
    EXPECT_FALSE(c.getLocalCoordinates(115, 50, lx, ly));
    EXPECT_NEAR(lx, 20.0, Tolerance);
    EXPECT_NEAR(ly, -5.0, Tolerance);
}

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
            const double lx = (cx + 0.5) / 0.5 - 10.0;
            const double ly = (cy + 0.5) / 0.5 - 10.0;
            double dx = 0;
            double dy = 0;
            surface.getDeviceCoordinates(lx, ly, dx, dy);
            double bx = 0;
            double by = 0;
            ASSERT_TRUE(surface.getLocalCoordinates(dx, dy, bx, by));
            EXPECT_NEAR(bx, lx, 1e-9);
            EXPECT_NEAR(by, ly, 1e-9);
            EXPECT_EQ(surface.getBufferXCoordinateFromLocal(bx), cx);
            EXPECT_EQ(surface.getBufferYCoordinateFromLocal(by), cy);
        }
}

TEST(ComponentCoordinates, AScreenCoveringComponentGetsTheGlobalBufferSize)
{
    TabletopVis scene(1, 700, 525, 1024, 768);
    VisComponentGL canvas(&scene, 512, 384, false, false, 1024, 768);
    EXPECT_EQ(canvas.getBufferWidth(), 700);
    EXPECT_EQ(canvas.getBufferHeight(), 525);
    EXPECT_EQ(canvas.getBufferXCoordinateFromLocal(1023.9), 699);
    EXPECT_EQ(canvas.getBufferYCoordinateFromLocal(767.9), 524);
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

    // Local coordinates of a device point on the object.
    Vector2d local(double x, double y) const
    {
        Vector2d p;
        object->getLocalCoordinates(x, y, p.x, p.y);
        return p;
    }

    TabletopVis scene{2, 700, 525, 700, 525};
    VisComponentGL* object = new VisComponentGL(&scene, 100, 100, true, true, 100, 50);
};

TEST_F(TouchMotion, TheTouchedPointStaysUnderTheFingerWhileTheObjectTurnsTowardsTheDrag)
{
    scene.devicePress(140, 100, 0, 0);
    const Vector2d grabbed = local(140, 100);
    double x = 140;
    double y = 100;
    for (int i = 0; i < 10; ++i) {
        y += 8;
        scene.deviceMove(static_cast<int>(x), static_cast<int>(y), 0, 0);
        frame();
        const Vector2d now = local(x, y);
        EXPECT_NEAR(now.x, grabbed.x, 1e-6);
        EXPECT_NEAR(now.y, grabbed.y, 1e-6);
    }
    // Dragged upwards by its right end: the right end turned towards up and
    // the centre trails below the finger.
    EXPECT_GT(object->getRotation(), 20.0);
    EXPECT_LT(object->getYPos(), y);
    EXPECT_GT(direction(x - object->getXPos(), y - object->getYPos()), 20.0);
}

TEST_F(TouchMotion, AContactNearTheCentreOnlyTranslates)
{
    scene.devicePress(105, 100, 0, 0);
    scene.deviceMove(105, 160, 0, 0);
    frame();
    EXPECT_DOUBLE_EQ(object->getRotation(), 0.0);
    EXPECT_DOUBLE_EQ(object->getXPos(), 100.0);
    EXPECT_DOUBLE_EQ(object->getYPos(), 160.0);
}

TEST_F(TouchMotion, TheCircleTimeSpreadsALargeTurnOverFrames)
{
    scene.setRNTParameters(0.5, 1.2);   // at most 5 degrees per frame at 60 fps
    scene.devicePress(140, 100, 0, 0);
    scene.deviceMove(140, 140, 0, 0);   // asks for 45 degrees
    frame();
    EXPECT_NEAR(object->getRotation(), 5.0, 1e-9);
    for (int i = 0; i < 20; ++i)
        frame();
    EXPECT_NEAR(object->getRotation(), 45.0, 1e-9);
    const Vector2d held = local(140, 140);
    EXPECT_NEAR(held.x, 90.0, 1e-6);
    EXPECT_NEAR(held.y, 25.0, 1e-6);
}

TEST_F(TouchMotion, OnlyTheGrabbingContactMovesTheObject)
{
    scene.devicePress(105, 100, 0, 0);
    scene.setLastComponent(1, object);
    scene.deviceMove(300, 300, 0, 1);
    EXPECT_DOUBLE_EQ(object->getXPos(), 100.0);
    scene.deviceRelease(300, 300, 0, 1);
    EXPECT_TRUE(object->isGrabbed());
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
    const double v0 = object->getTossVelocity().x;
    EXPECT_NEAR(v0, 16.0 * (1.0 - std::pow(0.5, 6)), 1e-9);
    double x = object->getXPos();
    double expectedStep = v0;
    while (object->isBeingTossed()) {
        frame();
        EXPECT_NEAR(object->getXPos() - x, expectedStep, 1e-9);
        x = object->getXPos();
        expectedStep *= 0.5;
    }
    // The last step was the first speed whose successor fell below 1.
    EXPECT_LT(expectedStep, 1.0);
    EXPECT_GE(2.0 * expectedStep, 1.0);
    frame();
    EXPECT_DOUBLE_EQ(object->getXPos(), x);
}

TEST_F(TouchMotion, WithoutTossingOrMotionRightsTheObjectStopsOrStays)
{
    object->setTossing(false);
    scene.devicePress(105, 100, 0, 0);
    scene.deviceMove(150, 100, 0, 0);
    frame();
    scene.deviceRelease(150, 100, 0, 0);
    EXPECT_FALSE(object->isBeingTossed());

    auto* fixed = new VisComponentGL(&scene, 400, 400, false, true, 50, 50);
    scene.addComponent(fixed, true);
    scene.devicePress(400, 400, 0, 1);
    scene.deviceMove(450, 450, 0, 1);
    EXPECT_DOUBLE_EQ(fixed->getXPos(), 400.0);
}

TEST_F(TouchMotion, AParentsSlowdownFieldReplacesTheFriction)
{
    auto* surface = new SurfaceCompositeGL(&scene, 350, 262, 700, 525, 0, 0, 0);
    scene.addComponent(surface, true);
    auto field = scene.createNewFloatImageBuffer(surface->getBufferWidth(), surface->getBufferHeight());
    field->fillEntireBuffer(0.0f);   // a border everywhere: tossing stops at once
    surface->setActiveBuffer(SLOWDOWN_BUFFER, std::move(field));
    ASSERT_EQ(surface->addChild(object), 1);
    scene.devicePress(105, 100, 0, 0);
    scene.deviceMove(125, 100, 0, 0);
    frame();
    scene.deviceRelease(125, 100, 0, 0);
    ASSERT_TRUE(object->isBeingTossed());
    frame();
    EXPECT_FALSE(object->isBeingTossed());
}

// ---- Size easing ----

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
    for (int i = 2; i < 49; ++i)
        scene.render(1, 1.0);
    EXPECT_EQ(c->ended, 0);
    EXPECT_TRUE(c->hasPendingSizeTarget());
    scene.render(1, 1.0);
    EXPECT_DOUBLE_EQ(c->getWidth(), 120.0);
    EXPECT_DOUBLE_EQ(c->getHeight(), 70.0);
    EXPECT_EQ(c->ended, 1);
    scene.render(1, 1.0);
    EXPECT_EQ(c->ended, 1);
    EXPECT_FALSE(c->hasPendingSizeTarget());
}

TEST(ComponentSize, MagnificationScalesTheUnscaledSize)
{
    TabletopVis scene(1, 700, 525, 700, 525);
    VisComponentGL c(&scene, 0, 0, false, false, 40, 30);
    c.setCurrentScaleFactor(2.0);
    EXPECT_TRUE(c.isCurrentlyMagnified());
    EXPECT_DOUBLE_EQ(c.getWidth(), 80.0);
    c.setSize(100, 60);
    EXPECT_DOUBLE_EQ(c.getUnscaledWidth(), 50.0);
    EXPECT_DOUBLE_EQ(c.getUnscaledHeight(), 30.0);
}

TEST(ComponentSize, InteractiveResizesKeepTheCentreOrTheTopLeftCorner)
{
    TabletopVis scene(1, 700, 525, 700, 525);
    VisComponentGL c(&scene, 100, 100, false, false, 40, 20, 90.0);
    c.interactiveResizeCenter(90, 130);   // 30 up, 10 left in a quarter-turned frame
    EXPECT_DOUBLE_EQ(c.getXPos(), 100.0);
    EXPECT_NEAR(c.getWidth(), 60.0, 1e-9);
    EXPECT_NEAR(c.getHeight(), 20.0, 1e-9);

    double leftX = 0;
    double topY = 0;
    c.getDeviceCoordinates(0, c.getHeight(), leftX, topY);
    // Local (80, -10) of the 60 x 20 frame: 20 px wider, 10 px taller.
    c.interactiveResizeTopLeft(120, 150);
    EXPECT_NEAR(c.getWidth(), 80.0, 1e-9);
    EXPECT_NEAR(c.getHeight(), 30.0, 1e-9);
    double afterX = 0;
    double afterY = 0;
    c.getDeviceCoordinates(0, c.getHeight(), afterX, afterY);
    EXPECT_NEAR(afterX, leftX, 1e-9);
    EXPECT_NEAR(afterY, topY, 1e-9);
    double lx = 0;
    double ly = 0;
    c.getLocalCoordinates(120, 150, lx, ly);
    EXPECT_NEAR(lx, 80.0, 1e-9);
    EXPECT_NEAR(ly, 0.0, 1e-9);
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

TEST_F(Family, ConnectingLinksTheWantedTagsAndDisconnectingClearsThem)
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
    parent->disconnectBuffers(child);
    EXPECT_EQ(child->getPassiveBuffer(ERASE_BUFFER), nullptr);
    EXPECT_EQ(child->getPassiveBuffer(SIZE_BUFFER), nullptr);
    EXPECT_EQ(child->getPassiveBuffer(0), nullptr);
    EXPECT_EQ(child->getPassiveBuffer(33), nullptr);
}

TEST_F(Family, ReplacedBuffersRelinkChildrenAndRemovedOnesUnlinkThem)
{
    ASSERT_EQ(parent->addChild(child), 1);
    auto replacement = scene.createNewFloatImageBuffer(20, 20);
    AbstractBuffer* fresh = replacement.get();
    parent->setActiveBuffer(ERASE_BUFFER, std::move(replacement));
    EXPECT_EQ(child->getPassiveBuffer(ERASE_BUFFER), fresh);
    EXPECT_NE(child->getPassiveBuffer(CONTROL_BUFFER), nullptr);
    parent->removeActiveBuffers();
    EXPECT_EQ(parent->getActiveBuffer(ERASE_BUFFER), nullptr);
    EXPECT_EQ(child->getPassiveBuffer(ERASE_BUFFER), nullptr);
    EXPECT_EQ(child->getPassiveBuffer(CONTROL_BUFFER), nullptr);
}

TEST_F(Family, ChildrenMoveBetweenTheScenesRenderListAndTheLocalOne)
{
    ASSERT_TRUE(scene.getRenderList().contains(child));
    ASSERT_EQ(parent->addChild(child), 1);
    EXPECT_EQ(parent->addChild(child), 0);
    EXPECT_EQ(child->getParent(), parent);
    EXPECT_TRUE(child->isStoringImportantAttributes());
    EXPECT_EQ(parent->getChildren().at(child->getId()), child);
    EXPECT_FALSE(scene.getRenderList().contains(child));
    EXPECT_TRUE(parent->getLocalRenderList()->contains(child));
    EXPECT_EQ(parent->addChild(parent), 0);

    ASSERT_EQ(parent->removeChild(child), 1);
    EXPECT_EQ(parent->removeChild(child), 0);
    EXPECT_EQ(child->getParent(), nullptr);
    EXPECT_FALSE(child->isStoringImportantAttributes());
    EXPECT_TRUE(parent->getChildren().empty());
    EXPECT_EQ(scene.getRenderList()[scene.getRenderList().slotCount() - 1], child);
    EXPECT_EQ(child->getPassiveBuffer(ERASE_BUFFER), nullptr);
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

TEST_F(Family, ALeafAcceptsNoChildren)
{
    VisComponentGL leaf(&scene, 0, 0, false, false, 5, 5);
    EXPECT_EQ(child->addChild(&leaf), 0);
    EXPECT_EQ(leaf.getParent(), nullptr);
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
    // Resizing moves the outline with the size.
    round.setSize(200, 100);
    EXPECT_TRUE(round.containsLocalPoint(195, 50));
}
