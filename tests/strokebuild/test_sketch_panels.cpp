// The stroke build canvas and the stroke menu in a headless scene: region maps,
// touches by posture, hiding and the menu's choice in the control table.
#include "BufferTag.h"
#include "ControlTable.h"
#include "GeoStrokeBuildCanvasCompositeGL.h"
#include "ImageIO.h"
#include "StrokeMenuGL.h"
#include "TabletopVisGL.h"

#include <gtest/gtest.h>

namespace {

constexpr unsigned ScreenW = 1024, ScreenH = 768;

RGBAImage whitePixels()
{
    RGBAImage image;
    image.width = image.height = 2;
    image.pixels.assign(16, 255);
    return image;
}

struct PanelScene
{
    PanelScene() : scene(2, 700, 525, ScreenW, ScreenH), table(10, 10)
    {
        panel = new GeoStrokeBuildCanvasCompositeGL(&scene, 512, 384, 738, 738, 0.0, 10.0, 50.0);
        scene.addComponent(panel, true);
        PostureRanges ranges;
        ranges.penMin = 1, ranges.penMax = 100;         // contact 5 x 5
        ranges.handMin = 1000, ranges.handMax = 10000;  // contact 40 x 40
        panel->setPostureRanges(ranges);
        panel->setControlTableSource([this] { return &table; });
        panel->show();
    }
    // One contact: a press at the first point, moves to the others, a frame
    // after each move, a release at the last.
    void drag(const std::vector<std::pair<int, int>>& points, double side)
    {
        for (const auto& [x, y] : points) {
            panel->hitLocalBuffer(x, y, side, side, 0);
            panel->animateStep();
        }
        panel->releaseLocalBuffer(points.back().first, points.back().second, 0);
    }
    static std::vector<std::pair<int, int>> line(int x0, int y, int x1, int steps)
    {
        std::vector<std::pair<int, int>> points;
        for (int i = 0; i <= steps; ++i)
            points.emplace_back(x0 + (x1 - x0) * i / steps, y);
        return points;
    }
    TabletopVisGL scene;
    BufferTemplate<float> table;
    GeoStrokeBuildCanvasCompositeGL* panel;
};

} // namespace

TEST(BuildCanvas, RegionMapAndPressesOffThePanel)
{
    PanelScene s;
    auto* p = s.panel;
    EXPECT_EQ(p->regionAt(369, 369), GeoStrokeBuildCanvasCompositeGL::SketchRegion);
    EXPECT_EQ(p->regionAt(735, 369), GeoStrokeBuildCanvasCompositeGL::MoveRegion);
    EXPECT_EQ(p->regionAt(735, 3), GeoStrokeBuildCanvasCompositeGL::ResizeRegion);
    EXPECT_EQ(p->regionAt(720, 3), GeoStrokeBuildCanvasCompositeGL::SketchRegion);
    // A drag that starts off the panel (left of it, inside its buffer margin) sketches nothing.
    s.drag(PanelScene::line(120, 384, 400, 20), 5);
    EXPECT_TRUE(p->getStrokes().empty());

    // The strip moves the panel only while moving without touch extend is on;
    // the strokes move with it.
    s.drag(PanelScene::line(300, 384, 600, 20), 5);
    ASSERT_EQ(p->getStrokes().size(), 1u);
    const double strokeX = p->getStrokes()[0]->getControlPoints()[0].getX();
    s.drag({{878, 384}, {868, 384}, {858, 384}}, 5);
    EXPECT_EQ(p->getXPos(), 512.0);
    p->enableMoveWithoutExtend();
    s.drag({{878, 384}, {868, 384}, {858, 384}}, 5);
    EXPECT_EQ(p->getXPos(), 492.0);
    EXPECT_EQ(p->getStrokes()[0]->getControlPoints()[0].getX(), strokeX - 20.0);
}

TEST(BuildCanvas, PenDragSketchesAStrokeThatEndsTaperedAndHidingDiscardsIt)
{
    PanelScene s;
    auto* p = s.panel;
    s.drag(PanelScene::line(300, 384, 700, 40), 5);
    ASSERT_EQ(p->getStrokes().size(), 1u);
    const Stroke2d& stroke = *p->getStrokes()[0];
    ASSERT_GT(stroke.getNumControlPoints(), 20u);
    EXPECT_EQ(p->pen().parameters().maxThickness, 15.0f) << "the pen posture's feel";
    const auto& cps = stroke.getControlPoints();
    const std::size_t n = cps.size();
    EXPECT_GT(cps[n - 7].getRadius(), 10.0 * cps[n - 1].getRadius()) << "the end is tapered to 0.06";
    EXPECT_FALSE(p->isDrawing());

    // A second contact starts a second stroke; hiding discards both.
    s.drag(PanelScene::line(300, 500, 700, 40), 5);
    EXPECT_EQ(p->getStrokes().size(), 2u);
    p->hide();
    EXPECT_TRUE(p->getStrokes().empty());
    EXPECT_FALSE(p->isActiveForRendering());
    EXPECT_TRUE(p->toggleVisibility());
}

TEST(BuildCanvas, SmallTouchesCountAsTenAndAFlatHandWipes)
{
    PanelScene s;
    auto* p = s.panel;
    p->hitLocalBuffer(400, 400, 3, 0, 0);
    EXPECT_EQ(p->touchWidth(), 10.0);
    EXPECT_EQ(p->touchHeight(), 10.0);
    p->releaseLocalBuffer(400, 400, 0);

    s.drag(PanelScene::line(250, 384, 750, 50), 5);
    ASSERT_EQ(p->getStrokes().size(), 1u);
    // A hand crossing the middle of the stroke splits it in two.
    std::vector<std::pair<int, int>> pass;
    for (int y = 200; y <= 560; y += 20)
        pass.emplace_back(520, y);
    s.drag(pass, 40);
    EXPECT_FALSE(p->isErasing());
    ASSERT_EQ(p->getStrokes().size(), 2u);
    EXPECT_LT(p->getStrokes()[0]->getControlPoints().back().getX(), 500.0);
    EXPECT_GT(p->getStrokes()[1]->getControlPoints().front().getX(), 540.0);
}

TEST(StrokeMenu, ChoiceLandsInTheControlCellsOnApplyOnly)
{
    TabletopVisGL scene(1, 700, 525, ScreenW, ScreenH);
    for (int i = 0; i < 5; ++i)
        scene.addImageTexture(whitePixels());
    BufferTemplate<float> table(10, 10);
    auto* menu = new StrokeMenuGL(&scene, 500, 400, 400, 400, false, false, 1.0, 0, 0, 0, 0);
    scene.addComponent(menu, true);
    menu->setControlTableSource([&table] { return &table; });
    EXPECT_FALSE(menu->isActiveForRendering()) << "built hidden";
    ASSERT_EQ(menu->itemCount(), 5u);

    // Local (x, y) to a press and release at the device point; returns the region.
    const auto tap = [menu](double lx, double ly) {
        menu->show();
        const int x = static_cast<int>(300 + lx), y = static_cast<int>(200 + ly);
        menu->hitLocalBuffer(x, y, 0, 0, 0);
        return menu->releaseLocalBuffer(x, y, 0);
    };
    const double b = menu->buttonSize();
    const auto apply = [&] { return tap(b, 400 - b); };
    double ix = 0, iy = 0;
    menu->itemCentre(3, ix, iy);

    table.fillEntireBuffer(7.0f);
    EXPECT_EQ(tap(ix, iy), StrokeMenuGL::GridRegion);
    EXPECT_EQ(menu->getSelection(), 5);
    EXPECT_EQ(tap(400 - b, 400 - b), StrokeMenuGL::CancelRegion);
    EXPECT_FALSE(menu->isActiveForRendering());
    EXPECT_EQ(apply(), StrokeMenuGL::ApplyRegion);
    EXPECT_EQ(ControlTable::get(&table, ControlCells::ElementKindCell), 7.0f) << "apply after cancel writes nothing";

    tap(ix, iy);
    EXPECT_EQ(apply(), StrokeMenuGL::ApplyRegion);
    EXPECT_EQ(ControlTable::get(&table, ControlCells::ElementKindCell), 0.0f);
    EXPECT_EQ(ControlTable::get(&table, ControlCells::ElementImage), 3.0f);
    EXPECT_FALSE(menu->isActiveForRendering());
    EXPECT_EQ(menu->getSelection(), StrokeMenuGL::NoSelection);

    // The two kinds: points then tiles; only the first call of a contact acts.
    tap(0.5 * 400 - 0.75 * b, 400 - b);
    apply();
    EXPECT_EQ(ControlTable::get(&table, ControlCells::ElementKindCell), 2.0f);
    menu->show();
    menu->hitLocalBuffer(static_cast<int>(300 + 200 + 0.75 * b), static_cast<int>(200 + 400 - b), 0, 0, 0);
    menu->hitLocalBuffer(static_cast<int>(300 + ix), static_cast<int>(200 + iy), 0, 0, 0);
    menu->releaseLocalBuffer(0, 0, 0);
    EXPECT_EQ(menu->getSelection(), StrokeMenuGL::SecondKind);
    apply();
    EXPECT_EQ(ControlTable::get(&table, ControlCells::ElementKindCell), 1.0f);

    // Off the menu, nothing; a texture added later joins the grid on rebuild.
    menu->show();
    menu->hitLocalBuffer(100, 100, 0, 0, 0);
    EXPECT_EQ(menu->releaseLocalBuffer(100, 100, 0), static_cast<int>(StrokeMenuGL::NoRegion));
    scene.addImageTexture(whitePixels());
    menu->rebuild();
    EXPECT_EQ(menu->itemCount(), 6u);
}
