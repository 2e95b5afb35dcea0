// The palette without a display: taking paint, dropping and mixing, the
// paint map, publishing, the control regions' gestures, fleeing the brush
// and resizing.
#include "BufferTag.h"
#include "CanvasTestSupport.h"
#include "ControlTable.h"
#include "PaintMap.h"
#include "PaletteLayout.h"
#include "PaletteLeafGL.h"
#include "PolygonContains.h"
#include "TabletopVisGL.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

namespace L = PaletteLayout;
namespace CC = ControlCells;

constexpr double Cx = 300.0, Cy = 300.0, Side = 400.0;   // palette centre and size, device pixels
constexpr double Half = Side / 2.0;

struct PaletteScene
{
    PaletteScene(unsigned sectors = 7) : scene(1, 1024, 768, 1024, 768)
    {
        scene.setFixedFrameTime(1.0 / 60.0);
        canvas = canvastest::addScreenCanvas(scene);
        palette = new PaletteLeafGL(&scene, Cx, Cy, Side, Side, 1.0f, 1.0f, 150.0f, {}, sectors);
        scene.addComponent(palette, true);
        canvas->addChild(palette);
    }
    float cell(ControlCell c) const { return ControlTable::get(palette->getPassiveBufferAs<float>(CONTROL_BUFFER), c); }
    void setCell(ControlCell c, float v) { ControlTable::set(canvas->getActiveBufferAs<float>(CONTROL_BUFFER), c, v); }
    // Device point of a palette-frame point (pixels from the centre, y up).
    static int dx(double fx) { return static_cast<int>(std::lround(Cx + fx)); }
    static int dy(double fy) { return static_cast<int>(std::lround(Cy + fy)); }
    Vector2d centre(unsigned region) const { return palette->regionCentre(region); }
    int press(double fx, double fy) { return palette->hitLocalBuffer(dx(fx), dy(fy), 10, 10, 0); }
    int move(double fx, double fy) { return palette->hitLocalBuffer(dx(fx), dy(fy), 10, 10, 0); }
    int release(double fx, double fy) { return palette->releaseLocalBuffer(dx(fx), dy(fy), 0); }
    // Press a region's centre, drag by (ddx, ddy) device pixels (y up) in steps, let go.
    void gesture(unsigned region, double ddx, double ddy, int steps = 4)
    {
        const Vector2d c = centre(region);
        press(c.x, c.y);
        for (int i = 1; i <= steps; ++i)
            move(c.x + ddx * i / steps, c.y + ddy * i / steps);
        release(c.x + ddx, c.y + ddy);
    }
    // Drags well k's paint to the palette-frame point and lets go there.
    void dropWell(unsigned well, Vector2d at)
    {
        const Vector2d c = centre(L::FirstWell + well);
        press(c.x, c.y);
        move(at.x, at.y);
        release(at.x, at.y);
    }
    Color paintAt(Vector2d p) const
    {
        const auto* map = palette->getActiveBufferAs<unsigned char>(COLOR_BUFFER);
        unsigned char r = 0, g = 0, b = 0;
        map->get3DValues(palette->getBufferXCoordinateFromLocal(p.x + Half),
                         palette->getBufferYCoordinateFromLocal(p.y + Half), r, g, b);
        return {r, g, b};
    }

    TabletopVisGL scene;
    CanvasCompositeGL* canvas;
    PaletteLeafGL* palette;
};

void expectColor(const Color& c, int r, int g, int b)
{
    EXPECT_EQ(c.r, r);
    EXPECT_EQ(c.g, g);
    EXPECT_EQ(c.b, b);
}

Color display(const Color& paint)
{
    Color c;
    c.convertRYBToRGB(paint.r, paint.g, paint.b);
    return c;
}

const Vector2d MixSpot{-0.2 * Half, -0.1 * Half};   // the mixing area's centre

TEST(Palette, TakingAWellsPaintWritesTheControlTableAndIsPublishedNextFrame)
{
    const int paints[6][3] = {{255, 255, 255}, {170, 170, 169}, {0, 0, 255}, {255, 0, 0}, {0, 255, 0}, {0, 0, 0}};
    for (unsigned k = 0; k < 6; ++k) {
        PaletteScene s;
        const Vector2d c = s.centre(L::FirstWell + k);
        EXPECT_EQ(s.press(c.x, c.y), 30);
        EXPECT_EQ(s.cell(CC::Action), 3.0f);
        EXPECT_EQ(s.cell(CC::PressMark), 1.0f);
        EXPECT_EQ(s.cell(CC::PaintPickMark), 1.0f);
        EXPECT_EQ(s.palette->getSelectedWell(), k);
        expectColor(s.palette->getCurrentColor(), paints[k][0], paints[k][1], paints[k][2]);
        // The ring sits on the well in the inverse of its display colour.
        const Color shown = s.palette->getSwatches()[k]->getDisplayColor();
        EXPECT_FLOAT_EQ(s.palette->getIndicator()->getX(), c.x);
        expectColor(s.palette->getIndicator()->getRingColor(), 255 - shown.r, 255 - shown.g, 255 - shown.b);
        s.scene.render(1, 40.0);
        const Color published = display(s.palette->getCurrentColor());
        EXPECT_EQ(s.cell(CC::PaintRed), published.r);
        EXPECT_EQ(s.cell(CC::PaintGreen), published.g);
        EXPECT_EQ(s.cell(CC::PaintBlue), published.b);
        s.release(c.x, c.y);
        EXPECT_EQ(s.cell(CC::PressMark), 0.0f);
        EXPECT_EQ(s.cell(CC::PaintPickMark), 0.0f);
        EXPECT_EQ(s.palette->getSelectedWell(), PaletteLeafGL::NoWell);
    }
}

TEST(Palette, DropsMakeSwatchesAndLinksThenMixAndTheClearButtonEmptiesTheArea)
{
    PaletteScene s;
    expectColor(s.paintAt(MixSpot), 10, 10, 10);
    // Yellow on an empty spot: a new swatch and a link from the well.
    s.dropWell(4, MixSpot);
    ASSERT_EQ(s.palette->getSwatches().size(), 7u);
    ASSERT_EQ(s.palette->getLinks().size(), 1u);
    const ColorGradientGL& first = *s.palette->getLinks()[0];
    EXPECT_FLOAT_EQ(first.getX1(), s.centre(8).x);
    EXPECT_FLOAT_EQ(first.getX2(), static_cast<float>(MixSpot.x));
    expectColor(s.paintAt(MixSpot), 0, 255, 0);
    expectColor(s.palette->getCurrentColor(), 0, 255, 0);
    // The band between holds paint between its ends' paints.
    const Color midBand = s.paintAt({(s.centre(8).x + MixSpot.x) / 2, (s.centre(8).y + MixSpot.y) / 2});
    expectColor(midBand, 0, 255, 0);

    // Blue onto it, a little off its centre: the swatch mixes.
    s.dropWell(2, {MixSpot.x + 5, MixSpot.y - 3});
    const Color mixed = Color::mixColors(Color(0, 0, 255), Color(0, 255, 0));
    ASSERT_EQ(s.palette->getSwatches().size(), 7u);
    ASSERT_EQ(s.palette->getLinks().size(), 2u);
    const ColorSwatchGL& swatch = *s.palette->getSwatches()[6];
    expectColor(swatch.getPaintColor(), mixed.r, mixed.g, mixed.b);
    const Color shown = display(mixed);
    expectColor(swatch.getDisplayColor(), shown.r, shown.g, shown.b);
    for (const ColorGradientGL* link : s.palette->getLinks()) {
        expectColor(link->getPaintColor2(), mixed.r, mixed.g, mixed.b);
        expectColor(link->getDisplayColor2(), shown.r, shown.g, shown.b);
    }
    expectColor(s.paintAt(MixSpot), mixed.r, mixed.g, mixed.b);
    expectColor(s.palette->getCurrentColor(), mixed.r, mixed.g, mixed.b);

    // Releasing the clear button: wells stay, the rest goes.
    const Vector2d clear = s.centre(L::ClearMixingArea);
    EXPECT_EQ(s.press(clear.x, clear.y), 3);
    s.release(clear.x, clear.y);
    EXPECT_EQ(s.palette->getSwatches().size(), 6u);
    EXPECT_TRUE(s.palette->getLinks().empty());
    expectColor(s.paintAt(MixSpot), 10, 10, 10);
}

TEST(Palette, MixedSwatchesAreTakenMovedWithTheirLinksAndEmptyCellsReadAsRegion3)
{
    PaletteScene s;
    EXPECT_EQ(s.press(MixSpot.x, MixSpot.y), 3);
    EXPECT_EQ(s.palette->getHitRegion(), 3u);
    s.release(MixSpot.x, MixSpot.y);
    EXPECT_EQ(s.palette->getSwatches().size(), 6u);   // nothing dropped, nothing cleared

    // Apart from each other and from the other's link band (a band of one
    // paint reads as its swatch's paint).
    const Vector2d a{MixSpot.x - 30, MixSpot.y + 40}, b{MixSpot.x + 30, MixSpot.y - 40};
    s.dropWell(3, a);   // red
    s.dropWell(4, b);   // yellow, now the last entry
    // Taking the red paint makes it the last, moving swatch.
    EXPECT_EQ(s.press(a.x, a.y), 30);
    expectColor(s.palette->getCurrentColor(), 255, 0, 0);
    EXPECT_EQ(s.palette->getMovingSwatch(), 7u);
    expectColor(s.palette->getSwatches()[7]->getPaintColor(), 255, 0, 0);
    const Vector2d to{MixSpot.x, MixSpot.y - 60};
    s.move(to.x, to.y);
    const ColorGradientGL& redLink = *s.palette->getLinks()[0];
    EXPECT_FLOAT_EQ(redLink.getX2(), static_cast<float>(to.x));
    EXPECT_FLOAT_EQ(redLink.getY2(), static_cast<float>(to.y));
    s.release(to.x, to.y);
    EXPECT_EQ(s.palette->getMovingSwatch(), 0u);
    expectColor(s.paintAt(to), 255, 0, 0);
    expectColor(s.paintAt(a), 10, 10, 10);
}

TEST(Palette, AFlickNeedsATenthOfTheHalfWidthAndItsDirectionPicksTheStyle)
{
    const double threshold = Half * 0.1;   // 20 pixels
    struct Case { double dx, dy; int move, orientation; };   // device directions, y up
    const Case cases[] = {{1, -1, 3, 3}, {1, 1, 2, 2}, {-1, -1, 1, 0}, {-1, 1, 0, 1}};
    for (const Case& c : cases) {
        PaletteScene s;
        const double under = (threshold - 1) / std::sqrt(2.0), over = (threshold + 1) / std::sqrt(2.0);
        s.setCell(CC::MoveStyleCell, 9.0f);
        s.gesture(L::MoveStyle, c.dx * under, c.dy * under);
        EXPECT_EQ(s.cell(CC::MoveStyleCell), 9.0f);
        s.gesture(L::MoveStyle, c.dx * over, c.dy * over);
        EXPECT_EQ(s.cell(CC::MoveStyleCell), c.move);
        EXPECT_EQ(s.cell(CC::Action), 5.0f);
        s.gesture(L::OrientationStyle, c.dx * over, c.dy * over);
        EXPECT_EQ(s.cell(CC::OrientationStyleCell), c.orientation);
        EXPECT_EQ(s.cell(CC::Action), 2.0f);
    }
}

TEST(Palette, ElementSelectorSectorsFollowTheSectorCount)
{
    // Angles clockwise on the screen from the right; sector width 360 / (n + 2).
    struct Case { unsigned sectors; double degrees; float kind; float image; };
    const Case cases[] = {{7, 20, 2, -1},  {7, 60, 1, -1},  {7, 100, 0, 0}, {7, 339, 0, 6},
                          {2, 45, 2, -1},  {2, 135, 1, -1}, {2, 200, 0, 0}, {2, 300, 0, 1}};
    for (const Case& c : cases) {
        PaletteScene s(c.sectors);
        s.setCell(CC::ElementImage, -1.0f);
        const double a = c.degrees * M_PI / 180.0;
        s.gesture(L::ElementSelector, 40 * std::cos(a), -40 * std::sin(a));
        EXPECT_EQ(s.cell(CC::ElementKindCell), c.kind) << c.sectors << " " << c.degrees;
        EXPECT_EQ(s.cell(CC::ElementImage), c.image) << c.sectors << " " << c.degrees;
        EXPECT_EQ(s.cell(CC::Action), 4.0f);
    }
}

TEST(Palette, BrushSizeDragStopsAboveSixteenAndToolToggleTellsTheCanvas)
{
    PaletteScene s;
    s.setCell(CC::BrushSize, 30.0f);
    const Vector2d c = s.centre(L::BrushSize);
    s.press(c.x, c.y);
    s.move(c.x, c.y - 10);   // down shrinks
    EXPECT_EQ(s.cell(CC::BrushSize), 20.0f);
    s.move(c.x, c.y - 14);   // 16 is not allowed
    EXPECT_EQ(s.cell(CC::BrushSize), 20.0f);
    s.move(c.x, c.y - 18);
    EXPECT_EQ(s.cell(CC::BrushSize), 20.0f);
    s.move(c.x, c.y - 12);   // up grows again
    EXPECT_EQ(s.cell(CC::BrushSize), 26.0f);
    s.release(c.x, c.y - 12);

    s.gesture(L::ToolToggle, 0, 40);
    EXPECT_FALSE(s.palette->isToolEnabled());
    EXPECT_FALSE(s.canvas->isTrackingTouches());
    s.gesture(L::ToolToggle, 0, -40);
    EXPECT_TRUE(s.palette->isToolEnabled());
    EXPECT_TRUE(s.canvas->isTrackingTouches());
}

TEST(Palette, LayerSliderAddsALayerThatIsPublished)
{
    PaletteScene s;
    const Vector2d c = s.centre(L::LayerSlider);
    s.press(c.x, c.y);
    EXPECT_EQ(s.cell(CC::HighlightSwitch), 1.0f);
    for (int i = 1; i <= 12; ++i)   // 0.03 per pixel upwards: 1.8 at most, below 0 + 2
        s.move(c.x, c.y + 5 * i);
    EXPECT_NEAR(s.palette->getSliderValue(), 1.8f, 1e-4);
    s.release(c.x, c.y + 60);
    EXPECT_EQ(s.palette->getCurrentLayer(), 1u);
    EXPECT_EQ(s.palette->getLayerCount(), 1u);
    EXPECT_EQ(s.cell(CC::HighlightSwitch), 0.0f);
    s.scene.render(1, 40.0);
    EXPECT_EQ(s.cell(CC::PrimitiveType), 1.0f);
    EXPECT_EQ(s.cell(CC::HighlightType), 1.0f);
}

TEST(Palette, FleesABrushInUseUntilItsCentreLeavesTheScreen)
{
    PaletteScene s;
    s.canvas->hitLocalBuffer(900, 600, 10, 10, 0);   // a contact on the canvas: the brush is in use
    auto brushAt = [&s](double x, double y) {
        int cx = 0, cy = 0;
        s.canvas->deviceToCell(x, y, cx, cy);
        s.setCell(CC::BrushX, static_cast<float>(cx));
        s.setCell(CC::BrushY, static_cast<float>(cy));
    };
    s.setCell(CC::BrushSize, 100.0f);
    brushAt(Cx + 100, Cy);
    s.palette->animateMyself(1.0);
    EXPECT_NEAR(s.palette->getXPos(), Cx - 4.0, 0.5);
    EXPECT_NEAR(s.palette->getYPos(), Cy, 0.5);
    // Far away: it stays.
    brushAt(Cx + 600, Cy);
    s.palette->animateMyself(1.0);
    EXPECT_NEAR(s.palette->getXPos(), Cx - 4.0, 0.5);
    // Chased off the left edge, it stops once the centre is off the screen.
    s.palette->setPos(6.0, Cy);
    for (int i = 0; i < 10; ++i) {
        brushAt(s.palette->getXPos() + 50, Cy);
        s.palette->animateMyself(1.0);
    }
    EXPECT_LE(s.palette->getXPos(), 0.0);
    EXPECT_GT(s.palette->getXPos(), -4.5);
    // A released canvas means no brush in use.
    s.canvas->releaseLocalBuffer(900, 600, 0);
    s.palette->setPos(Cx, Cy);
    brushAt(Cx + 100, Cy);
    s.palette->animateMyself(1.0);
    EXPECT_EQ(s.palette->getXPos(), Cx);
}

TEST(Palette, PressesOffThePaletteRecordNothingAndResizeStaysRound)
{
    PaletteScene s;
    s.dropWell(3, MixSpot);
    EXPECT_EQ(s.palette->hitLocalBuffer(static_cast<int>(Cx + Half + 20), static_cast<int>(Cy + 10), 10, 10, 0), 0);
    EXPECT_EQ(s.palette->getHitRegion(), 0u);
    EXPECT_EQ(s.palette->releaseLocalBuffer(static_cast<int>(Cx + Half + 20), static_cast<int>(Cy + 10), 0), 0);
    EXPECT_EQ(s.palette->getSwatches().size(), 7u);

    // The resize handle: round about the centre, wells rebuilt for the size,
    // mixed paints gone.
    const Vector2d h = s.centre(L::ResizeHandle);
    s.press(h.x, h.y);   // taking hold of the handle does not resize
    s.move(h.x, h.y);
    EXPECT_EQ(s.palette->getWidth(), Side);
    s.release(h.x, h.y);
    s.press(h.x, h.y);
    s.move(h.x + 50, h.y - 10);
    s.release(h.x + 50, h.y - 10);
    EXPECT_GT(s.palette->getWidth(), Side);
    EXPECT_EQ(s.palette->getWidth(), s.palette->getHeight());
    EXPECT_FLOAT_EQ(s.palette->getWellRadius(), static_cast<float>(0.1 * s.palette->getHalfWidth()));
    EXPECT_EQ(s.palette->getSwatches().size(), 6u);
    EXPECT_EQ(s.palette->getActiveBufferAs<unsigned>(HIT_BUFFER)->getWidth(), s.palette->getBufferWidth());
}

} // namespace
