// The context and corner menus on a real canvas without a display: the lasso
// drawn on the canvas and erased through the menu, press rules, placement,
// the corner menu's amounts and the scene's amount flag by mode.
#include "BufferTag.h"
#include "CanvasTestSupport.h"
#include "ContextMenuGL.h"
#include "ComponentList.h"
#include "CornerMenuGL.h"
#include "PictavoVisGL.h"
#include "PointLeafGL.h"
#include "PolygonContains.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

namespace {

constexpr int Type = 3;
constexpr double W = 1024;
constexpr double H = 768;
// A concave L: its notch must survive what the lasso does inside.
const std::vector<Vector2d> LShape = {{80, 80}, {480, 80}, {480, 240}, {240, 240}, {240, 560}, {80, 560}};

// A 1024 x 768 screen with a canvas (no brushes), a 300 x 300 context menu
// and a 160 x 160 corner menu in the top-right corner, attached and shown.
class Menus : public testing::Test
{
protected:
    void SetUp() override
    {
        canvas = canvastest::addScreenCanvas(scene, {.border = 0.0, .overflow = 20.0, .brushes = 0, .initialSize = 20.0f});
        canvas->setControlValue(ControlCells::PrimitiveType, Type);
        canvas->setInputCombinationSource([] { return 0; });
        testing::internal::CaptureStdout();
        menu = scene.createContextMenu(300, 300, 512, 384, 1.0, false, false, 0);
        corner = scene.createCornerMenu(160, 160, 934, 678, 1.0, false, false, {});
        warnings = testing::internal::GetCapturedStdout();
        corner->show();
        corner->attachCanvas(canvas);
    }
    // Points every 40 px, centres at 20 + 40 k: never within 20 px of a
    // lasso corner on the 40 px lattice.
    void fillWithPoints()
    {
        for (double x = 20; x < W; x += 40)
            for (double y = 20; y < H; y += 40) {
                auto* p = new PointLeafGL(&scene, x, y, false, false, 10, 10, Type);
                scene.addComponent(p, true);
                canvas->addChild(p);
                points.push_back(p);
            }
    }
    // A contact on the canvas along the polygon's edges, one report every
    // 4 px, lifted at the end.
    void drawOnCanvas(const std::vector<Vector2d>& corners)
    {
        scene.devicePress(static_cast<int>(corners[0].x), static_cast<int>(corners[0].y), 0, 0);
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const Vector2d a = corners[i];
            const Vector2d b = corners[(i + 1) % corners.size()];
            for (int s = 1; s <= 40; ++s) {
                const double t = s / 40.0;
                scene.deviceMove(static_cast<int>(a.x + t * (b.x - a.x)), static_cast<int>(a.y + t * (b.y - a.y)), 0,
                                 0);
            }
        }
        scene.deviceRelease(static_cast<int>(corners[0].x), static_cast<int>(corners[0].y), 0, 0);
    }
    // Opens the menu away from the lasso, then draws the lasso on the canvas.
    void lassoWithMenuOpen(const std::vector<Vector2d>& lasso)
    {
        menu->placeAt(900, 150);
        menu->show();
        drawOnCanvas(lasso);
    }
    // A tap on the menu item (device pixels of its centre); returns what the
    // lift reports.
    int tap(int item)
    {
        double cx = 0.0, cy = 0.0;
        ContextMenuGL::itemCentre(item, menu->getItemOffset(), cx, cy);
        const int x = static_cast<int>(menu->getXPos() + cx);
        const int y = static_cast<int>(menu->getYPos() + cy);
        menu->hitLocalBuffer(x, y, 0, 0, 0);
        return menu->releaseLocalBuffer(x, y, 0);
    }
    void frames(int n)
    {
        for (int i = 0; i < n; ++i)
            scene.render(1, 40.0);
    }
    int alive() const
    {
        int n = 0;
        const ComponentList& all = scene.getComponents();
        for (std::size_t i = 0; i < all.slotCount(); ++i)
            n += dynamic_cast<PointLeafGL*>(all[i]) != nullptr;
        return n;
    }

    PictavoVisGL scene{1, 700, 525, static_cast<unsigned>(W), static_cast<unsigned>(H)};
    CanvasCompositeGL* canvas = nullptr;
    ContextMenuGL* menu = nullptr;
    CornerMenuGL* corner = nullptr;
    std::vector<PointLeafGL*> points;
    std::string warnings;
};

TEST_F(Menus, MissingFontWarnsAndMenusStillWork)
{
    EXPECT_NE(warnings.find("WARNING: ContextMenuGL: font arial32 could not be found"), std::string::npos);
    EXPECT_NE(warnings.find("WARNING: CornerMenuGL: font arial32 could not be found. Did you load it? "),
              std::string::npos);
    EXPECT_FALSE(menu->isShown());   // hidden after set-up
    menu->show();
    EXPECT_EQ(tap(ContextMenuGL::ItemClose), ContextMenuGL::ItemClose);
    EXPECT_FALSE(menu->isShown());
}

TEST_F(Menus, LassoDrawnOnTheCanvasErasesExactlyThePrimitivesInside)
{
    fillWithPoints();
    const int before = alive();
    lassoWithMenuOpen(LShape);
    EXPECT_EQ(alive(), before) << "drawing the lasso must not paint";
    EXPECT_GE(menu->getLasso().numRawPoints(), 100u);
    frames(2);
    for (PointLeafGL* p : points)
        ASSERT_EQ(p->getLife(), PrimitiveLeafGL::FreshLife);

    EXPECT_EQ(tap(ContextMenuGL::ItemErase), ContextMenuGL::ItemErase);
    EXPECT_FALSE(menu->isShown());
    EXPECT_EQ(menu->getLasso().numRawPoints(), 0u);
    int inside = 0;
    std::vector<PointLeafGL*> outside;
    for (PointLeafGL* p : points) {
        if (polygonContains(LShape, Vector2d(p->getXPos(), p->getYPos())))
            ++inside;
        else
            outside.push_back(p);
    }
    ASSERT_GT(inside, 40);
    frames(3);
    EXPECT_EQ(alive(), before - inside);
    for (PointLeafGL* p : outside)
        EXPECT_EQ(p->getLife(), PrimitiveLeafGL::FreshLife) << p->getXPos() << ", " << p->getYPos();
    // The marks are gone: later primitives in the same place live.
    const auto* erase = canvas->getActiveBufferAs<float>(ERASE_BUFFER);
    for (int i = 0; i < erase->getWidth() * erase->getHeight(); ++i)
        ASSERT_EQ(erase->cells()[i], 0.0f);
}

TEST_F(Menus, ColourPaintsThePrimitivesInsideWithThePaint)
{
    fillWithPoints();
    canvas->setControlValue(ControlCells::PaintRed, 200.0f);
    canvas->setControlValue(ControlCells::PaintGreen, 30.0f);
    canvas->setControlValue(ControlCells::PaintBlue, 40.0f);
    lassoWithMenuOpen(LShape);
    EXPECT_EQ(tap(ContextMenuGL::ItemColour), ContextMenuGL::ItemColour);
    EXPECT_FALSE(menu->isShown());
    frames(1);
    int painted = 0;
    for (PointLeafGL* p : points) {
        const Color& c = p->getColor();
        const bool red = c.r == 200 && c.g == 30 && c.b == 40;
        ASSERT_EQ(red, polygonContains(LShape, Vector2d(p->getXPos(), p->getYPos())))
            << p->getXPos() << ", " << p->getYPos();
        painted += red;
    }
    EXPECT_GT(painted, 40);
}

TEST_F(Menus, ModifyAppliesTheCurrentModeInsideTheLassoOnly)
{
    fillWithPoints();
    scene.setFixedFrameTime(1.0 / 60.0);
    frames(60);   // sizes settle
    // A rectangle: the lasso's centre is the rectangle's, (280, 240).
    const std::vector<Vector2d> lasso = {{80, 80}, {480, 80}, {480, 400}, {80, 400}};
    const auto modify = [&](InteractionMode mode, ControlCell amountCell, float amount) {
        canvas->setInteractionMode(mode);
        canvas->setControlValue(amountCell, amount);
        lassoWithMenuOpen(lasso);
        EXPECT_EQ(tap(ContextMenuGL::ItemModify), ContextMenuGL::ItemModify);
        EXPECT_FALSE(menu->isShown());
    };
    struct State
    {
        double x, y, width, target;
    };
    std::vector<State> before;
    for (PointLeafGL* p : points)
        before.push_back({p->getXPos(), p->getYPos(), p->getWidth(), p->getTargetAngle()});
    const auto isInside = [&](std::size_t i) { return polygonContains(lasso, Vector2d(before[i].x, before[i].y)); };

    modify(InteractionMode::Size, ControlCells::SizeDifferenceAmount, 3.0f);
    frames(8);
    for (std::size_t i = 0; i < points.size(); ++i)   // four frames of growth
        ASSERT_DOUBLE_EQ(points[i]->getWidth(), before[i].width + (isInside(i) ? 12.0 : 0.0)) << i;

    modify(InteractionMode::Move, ControlCells::MoveStyleCell, static_cast<float>(MoveStyle::Attraction));
    frames(70);   // unturned primitives: their own frame is the screen's
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double was = std::hypot(before[i].x - 280.0, before[i].y - 240.0);
        const double now = std::hypot(points[i]->getXPos() - 280.0, points[i]->getYPos() - 240.0);
        if (!isInside(i)) {
            ASSERT_EQ(now, was) << i;
        } else if (was > 120.0) {
            ASSERT_LT(now, was - 20.0) << i;
        }
    }
    const auto* directions = canvas->getActiveBufferAs<float>(DIRECTION_BUFFER);
    for (int i = 0; i < 2 * directions->getWidth() * directions->getHeight(); ++i)
        ASSERT_EQ(directions->cells()[i], 0.0f) << "the move vectors end";

    modify(InteractionMode::Orient, ControlCells::OrientationStyleCell, static_cast<float>(OrientationStyle::Radial));
    frames(3);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double dx = points[i]->getXPos() - 280.0;
        const double dy = points[i]->getYPos() - 240.0;
        if (!isInside(i)) {
            ASSERT_EQ(points[i]->getTargetAngle(), before[i].target) << i;
        } else if (std::hypot(dx, dy) > 60.0) {
            // Degrees from straight up, negative towards +x, pointing away from the centre.
            const double expected = -std::acos(dy / std::hypot(dx, dy)) * std::copysign(180.0 / M_PI, dx);
            ASSERT_NEAR(points[i]->getTargetAngle(), expected, 3.0) << i;
        }
    }

    // A mode with no meaning on the lasso leaves the menu open.
    canvas->setInteractionMode(InteractionMode::Idle);
    menu->show();
    drawOnCanvas(lasso);
    tap(ContextMenuGL::ItemModify);
    EXPECT_TRUE(menu->isShown());
}

TEST(LassoCreate, FillsTheLassoWithPrimitivesOfTheCurrentKindAsDenselyAsAStamp)
{
    PictavoVisGL scene{1, 700, 525, static_cast<unsigned>(W), static_cast<unsigned>(H)};
    testing::internal::CaptureStdout();
    auto* canvas = new CanvasCompositeGL(&scene, 512, 384, W, H, 0.0, 0.0, 20.0, 0, 1, 1, 0, 20.0f, 0);
    scene.addComponent(canvas, true);
    ContextMenuGL* menu = scene.createContextMenu(300, 300, 900, 150, 1.0, false, false, 0);
    testing::internal::GetCapturedStdout();
    canvas->setControlValue(ControlCells::PrimitiveType, Type);
    canvas->setControlValue(ControlCells::ElementKindCell, static_cast<float>(ElementKind::Point));
    canvas->setControlValue(ControlCells::CreateEraseAmount, 4.0f);
    menu->show();
    const std::vector<Vector2d> lasso = {{100, 100}, {500, 100}, {500, 420}, {100, 420}};
    scene.devicePress(100, 100, 0, 0);
    for (const Vector2d& corner : {lasso[1], lasso[2], lasso[3], lasso[0]})
        scene.deviceMove(static_cast<int>(corner.x), static_cast<int>(corner.y), 0, 0);
    scene.deviceRelease(100, 100, 0, 0);

    double cx = 0.0, cy = 0.0;
    ContextMenuGL::itemCentre(ContextMenuGL::ItemCreate, menu->getItemOffset(), cx, cy);
    menu->hitLocalBuffer(static_cast<int>(menu->getXPos() + cx), static_cast<int>(menu->getYPos() + cy), 0, 0, 0);
    EXPECT_FALSE(menu->isShown());
    std::vector<const PointLeafGL*> made;
    for (const auto& child : canvas->getChildren())
        if (auto* point = dynamic_cast<const PointLeafGL*>(child.second))
            made.push_back(point);
    // 400 x 320 pixels at 4 x 4 x 1e-5 per square pixel: 20, give or take
    // the cells along the edge.
    EXPECT_NEAR(static_cast<double>(made.size()), 20.0, 1.0);
    for (const PointLeafGL* point : made) {
        EXPECT_TRUE(polygonContains(lasso, Vector2d(point->getXPos(), point->getYPos())))
            << point->getXPos() << ", " << point->getYPos();
        EXPECT_EQ(point->getPrimitiveType(), Type);
    }
}

TEST_F(Menus, EraseWithATwoPointLassoLeavesTheCanvasAndTheMenuAlone)
{
    fillWithPoints();
    menu->placeAt(900, 150);
    menu->show();
    scene.devicePress(100, 100, 0, 0);
    scene.deviceMove(300, 300, 0, 0);
    scene.deviceRelease(300, 300, 0, 0);
    ASSERT_EQ(menu->getLasso().numRawPoints(), 2u);
    EXPECT_EQ(tap(ContextMenuGL::ItemErase), ContextMenuGL::ItemErase);
    EXPECT_TRUE(menu->isShown());
    frames(3);
    for (PointLeafGL* p : points)
        ASSERT_EQ(p->getLife(), PrimitiveLeafGL::FreshLife);
}

TEST_F(Menus, OnlyTheFirstPressOfAContactCountsAndOutsideReadsAsNone)
{
    fillWithPoints();
    lassoWithMenuOpen({{80, 80}, {400, 80}, {400, 400}});
    double cx = 0.0, cy = 0.0;
    ContextMenuGL::itemCentre(ContextMenuGL::ItemErase, menu->getItemOffset(), cx, cy);
    // Held on "Create", a press on "Erase" changes nothing.
    menu->hitLocalBuffer(900, static_cast<int>(150 + menu->getItemOffset()), 0, 0, 0);
    menu->hitLocalBuffer(static_cast<int>(900 + cx), static_cast<int>(150 + cy), 0, 0, 0);
    EXPECT_EQ(menu->releaseLocalBuffer(0, 0, 0), ContextMenuGL::ItemCreate);
    EXPECT_TRUE(menu->isShown());
    // A lift without a press, and a press off the menu, choose nothing.
    EXPECT_EQ(menu->releaseLocalBuffer(0, 0, 0), ContextMenuGL::ItemNone);
    menu->hitLocalBuffer(100, 700, 0, 0, 0);
    EXPECT_EQ(menu->releaseLocalBuffer(100, 700, 0), ContextMenuGL::ItemNone);
    // A corner of the cross is on the menu but in no square.
    menu->hitLocalBuffer(900 + 120, 150 + 120, 0, 0, 0);
    EXPECT_EQ(menu->releaseLocalBuffer(0, 0, 0), ContextMenuGL::ItemNone);
    frames(3);
    for (PointLeafGL* p : points)
        ASSERT_EQ(p->getLife(), PrimitiveLeafGL::FreshLife);
}

TEST_F(Menus, PlacementKeepsTheMenuOnScreenAndFollowsCanvasPresses)
{
    menu->placeAt(0, 0);
    EXPECT_EQ(menu->getXPos(), 150.0);
    EXPECT_EQ(menu->getYPos(), 150.0);
    menu->placeAt(5000, 5000);
    EXPECT_EQ(menu->getXPos(), W - 150.0);
    EXPECT_EQ(menu->getYPos(), H - 150.0);
    // While hidden, a press on the canvas moves the menu there and paints.
    scene.devicePress(400, 300, 0, 0);
    scene.deviceRelease(400, 300, 0, 0);
    EXPECT_EQ(menu->getXPos(), 400.0);
    EXPECT_EQ(menu->getYPos(), 300.0);
    EXPECT_FALSE(menu->isShown());
}

TEST_F(Menus, CornerMenuModesReadTheCanvasAmountsAndSetTheSceneFlag)
{
    scene.setAmountShown(false);
    corner->setMode(CornerMenuGL::ModeResizeBigger);
    EXPECT_TRUE(scene.isAmountShown());
    EXPECT_EQ(scene.getAmount(), canvas->getSizeStep());
    corner->setMode(CornerMenuGL::ModeOrientFollow);
    EXPECT_FALSE(scene.isAmountShown());
    corner->setMode(CornerMenuGL::ModeErase);
    EXPECT_TRUE(scene.isAmountShown());
    EXPECT_EQ(scene.getAmount(), canvas->getStepAmount());
    // A hidden menu passes the amount but leaves the flag alone.
    corner->hide();
    scene.setAmount(-1);
    corner->setMode(CornerMenuGL::ModeMoveFollow);
    EXPECT_TRUE(scene.isAmountShown());
    corner->setMode(CornerMenuGL::ModeResizeSmaller);
    EXPECT_EQ(scene.getAmount(), canvas->getSizeStep());
    // Without a canvas the amount is not read.
    corner->attachCanvas(nullptr);
    scene.setAmount(-1);
    corner->setMode(CornerMenuGL::ModeCreate);
    EXPECT_EQ(scene.getAmount(), -1);
}

} // namespace
