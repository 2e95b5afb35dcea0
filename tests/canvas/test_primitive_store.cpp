// The canvas's primitive store: dense handles that survive removals in the
// middle, and a frame through the store equal to each primitive's own steps.
#include "BufferTag.h"
#include "CanvasTestSupport.h"
#include "DodgeBlocks.h"
#include "DodgeField.h"
#include "PointLeafGL.h"
#include "PrimitiveStore.h"
#include "StrokeLeafGL.h"
#include "TileLeafGL.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <tuple>
#include <vector>

namespace {

constexpr int Type = 0;

struct StoreScene : canvastest::ScreenCanvas
{
    StoreScene() : canvastest::ScreenCanvas({10.0, 20.0, 0, 0, 30.0f})
    {
        scene.setFixedFrameTime(1.0 / 60.0);
        canvas->setControlValue(ControlCells::PrimitiveType, Type);
    }
    template <class Primitive>
    Primitive* add(Primitive* p)
    {
        scene.addComponent(p, true);
        canvas->addChild(p);
        return p;
    }
    // Strokes, points and dodging tiles in a crowd round (512, 384).
    std::vector<PrimitiveLeafGL*> crowd()
    {
        srand(11);
        std::vector<PrimitiveLeafGL*> made;
        for (int i = 0; i < 12; ++i) {
            const double x = 400 + 20 * (i % 6), y = 330 + 35 * (i / 6);
            made.push_back(add(new StrokeLeafGL(&scene, x, y, 0, 1, 0, 1, false, false, 40, 16, 37.0 * i, 5, 5, 5,
                                                Type, false)));
            made.push_back(add(new PointLeafGL(&scene, x + 5, y + 9, false, false, 14, 14, Type)));
            made.push_back(add(new TileLeafGL(&scene, x + 3, y - 7, false, false, 20, 20, 11.0 * i, Type, true)));
        }
        return made;
    }
    // Buffers that ask nothing of the primitives, but for a patch round
    // device (430, 318) that grows what lies there.
    void calm()
    {
        for (int tag : {DIRECTION_BUFFER, TEMP_ORIENTATION_BUFFER})
            canvas->getActiveBufferAs<float>(tag)->fillEntireBufferWith2DValue(0.0f, 0.0f);
        for (int tag : {SIZE_ABS_DIFF_BUFFER, ERASE_BUFFER})
            canvas->getActiveBufferAs<float>(tag)->fillEntireBuffer(0.0f);
        canvas->getActiveBufferAs<unsigned char>(TEMP_COLOR_BUFFER)->fillEntireBufferWith3DValue(127, 0, 0);
        double lx = 0.0, ly = 0.0;
        canvas->getLocalCoordinates(430.0, 318.0, lx, ly);
        const int cx = canvas->getBufferXCoordinateFromLocal(lx), cy = canvas->getBufferYCoordinateFromLocal(ly);
        for (int y = cy - 3; y <= cy + 3; ++y)
            for (int x = cx - 3; x <= cx + 3; ++x)
                canvas->getActiveBufferAs<float>(SIZE_ABS_DIFF_BUFFER)->setValue(x, y, 0.25f);
    }
    // Buffers that move, turn, resize, recolour (to red) and erase.
    void paint(unsigned char red)
    {
        auto f = [this](int tag) { return canvas->getActiveBufferAs<float>(tag); };
        f(DIRECTION_BUFFER)->fillEntireBufferWith2DValue(0.6f, -0.3f);
        f(TEMP_ORIENTATION_BUFFER)->fillEntireBufferWith2DValue(0.8f, 0.6f);
        f(SIZE_ABS_DIFF_BUFFER)->fillEntireBuffer(0.5f);
        f(ERASE_BUFFER)->fillEntireBuffer(0.6f);
        canvas->getActiveBufferAs<unsigned char>(TEMP_COLOR_BUFFER)->fillEntireBufferWith3DValue(red, 10, 90);
    }
};

auto stateOf(const PrimitiveLeafGL& p)
{
    const auto* point = dynamic_cast<const PointLeafGL*>(&p);
    return std::tuple(p.getXPos(), p.getYPos(), p.getWidth(), p.getHeight(), p.getRotation(), p.getLife(),
                      p.getColor().r, p.getColor().g, p.getTargetAngle(), p.isContextSelected(), p.hasChanged(),
                      p.getSizeProgress(), point != nullptr ? point->getShapeIndex() : -1);
}

} // namespace

TEST(PrimitiveStore, RemovalInTheMiddleKeepsEveryOtherHandleOnItsOwnPrimitive)
{
    StoreScene s;
    std::vector<PrimitiveLeafGL*> made = s.crowd();
    const PrimitiveStore& store = s.canvas->getPrimitiveStore();
    ASSERT_EQ(store.size(), made.size());
    // Out of the middle, the front and the back of each kind.
    for (std::size_t i : {16u, 0u, 35u, 5u}) {
        s.scene.deleteComponent(made[i]);
        made[i] = nullptr;
    }
    // Deleted outright, as a scene tearing down deletes children before
    // their canvas: it leaves the store all the same.
    delete made[20];
    made[20] = nullptr;
    std::erase(made, nullptr);
    std::set<PrimitiveLeafGL*> stored;
    for (auto kind : {PrimitiveStore::Points, PrimitiveStore::Strokes, PrimitiveStore::Tiles})
        for (PrimitiveLeafGL* p : store.of(kind))
            stored.insert(p);
    EXPECT_EQ(stored, std::set<PrimitiveLeafGL*>(made.begin(), made.end()));
    EXPECT_EQ(store.size(), made.size());

    // Every remaining primitive moves exactly once per frame: the scene's
    // passes skip what the store steps.
    std::vector<double> before;
    for (PrimitiveLeafGL* p : made)
        before.push_back(p->getXPos());
    s.canvas->getActiveBufferAs<float>(DIRECTION_BUFFER)->fillEntireBufferWith2DValue(1.0f, 0.0f);
    for (PrimitiveLeafGL* p : made)
        p->setRotation(0.0);   // the direction is taken in the primitive's frame
    s.scene.render(1, 1.0);
    for (std::size_t i = 0; i < made.size(); ++i) {
        if (dynamic_cast<TileLeafGL*>(made[i]) == nullptr) {   // tiles also dodge
            EXPECT_NEAR(made[i]->getXPos() - before[i], 2.5 / 60.0, 1e-6) << i;
        }
    }

    // A primitive that leaves the canvas is the scene's to step again.
    PrimitiveLeafGL* loose = made.front();
    s.canvas->removeChild(loose);
    EXPECT_EQ(store.size(), made.size() - 1);
    loose->setPassiveBuffer(CONTROL_BUFFER, s.canvas->getControlTable());
    loose->animateToSize(80.0, 80.0);
    s.scene.render(1, 1.0);
    EXPECT_EQ(loose->getSizeProgress(), VisComponent::SizeProgressStep) << "one easing step, not none or two";
}

TEST(PrimitiveStore, AFrameThroughTheStoreIsEachPrimitivesOwnFrame)
{
    // Two equal canvases: one framed by the scene (the store's loops, which
    // skip primitives their cells leave alone), one by the primitives' own
    // renderIntoBuffers and animateMyself in creation order, as the scene
    // once ran them. Painted buffers, then calm ones with changes made from
    // outside the frame, which the store must not miss.
    StoreScene stored, own;
    const std::vector<PrimitiveLeafGL*> a = stored.crowd();
    const std::vector<PrimitiveLeafGL*> b = own.crowd();
    const double dt = 2.0 / 60.0;
    for (int frame = 0; frame < 300; ++frame) {
        SCOPED_TRACE(frame);
        for (StoreScene* s : {&stored, &own}) {
            if (frame == 0 || frame == 20)
                s->paint(frame == 0 ? 200 : 60);
            if (frame == 40)
                s->calm();
        }
        if (frame == 50 || frame == 200)
            for (const auto* made : {&a, &b}) {
                (*made)[0]->moveBy(30.0, -12.0);           // a stroke onto the patch
                (*made)[1]->setColor(9, 8, 7);             // a point
                (*made)[2]->moveBy(-25.0, 18.0);           // a tile: its footprint follows
                (*made)[3]->setRotation(170.0);            // a stroke turns back
                (*made)[5]->animateToSize(26.0, 26.0);     // a tile eases
                (*made)[6]->setLife(PrimitiveLeafGL::EraseQueueLife + 1);
                static_cast<PointLeafGL*>((*made)[7])->setShapeIndex(3);
            }
        if (frame == 210) {   // the absolute size takes over from the relative one
            stored.canvas->setActiveBuffer(SIZE_ABS_DIFF_BUFFER, nullptr);
            own.canvas->setActiveBuffer(SIZE_ABS_DIFF_BUFFER, nullptr);
        }
        stored.scene.render(1, 2.0);
        own.canvas->renderIntoBuffers();
        for (PrimitiveLeafGL* p : b)
            p->renderIntoBuffers();
        own.canvas->VisComponent::animateMyself(dt);
        for (PrimitiveLeafGL* p : b)
            p->animateMyself(dt);
        for (std::size_t i = 0; i < a.size(); ++i)
            ASSERT_EQ(stateOf(*a[i]), stateOf(*b[i])) << i;
    }
    // Once at rest, only the tiles still pushing each other take the full
    // step.
    EXPECT_LE(stored.canvas->getPrimitiveStore().lastFullSteps(), 12u);
}

TEST(DodgeSums, FieldsAndBlocksEqualTheWindowScanToTheBit)
{
    StoreScene s;
    auto* dodging = s.canvas->getActiveBufferAs<float>(DODGING_BUFFER);
    auto* sizes = s.canvas->getActiveBufferAs<float>(SIZE_BUFFER);
    // The cells written, for the blocks: the top half's in one list, the
    // bottom half's in the other.
    std::vector<std::uint32_t> written[DodgeBlocks::Parts];
    std::set<std::uint32_t> listed;
    const auto put = [&](int x, int y, float a, float b) {
        dodging->set2DValues(x, y, a, b);
        if (const auto c = static_cast<std::uint32_t>(y * dodging->getWidth() + x); listed.insert(c).second)
            written[2 * y < dodging->getHeight() ? 0 : 1].push_back(c);
    };
    const auto footprint = [&](float cx, float cy) { put(static_cast<int>(cx), static_cast<int>(cy), cx, cy); };
    const auto clear = [&] {
        dodging->fillEntireBuffer(0.0f);
        for (auto& cells : written)
            cells.clear();
        listed.clear();
    };
    const PrimitiveFrame frame = PrimitiveFrame::fromActive(*s.canvas);
    // Every centre's push from the blocks, which must equal the window
    // scan's where they give it; how many they gave, or -1 when they
    // refused the footprints.
    const auto blockSums = [&](const std::vector<std::pair<float, float>>& centres) {
        DodgeBlocks blocks;
        bool built = true;
        for (int part = 0; part < DodgeBlocks::Parts; ++part)
            built = blocks.build(part, *dodging, written[part]) && built;
        int looked = 0;
        for (const auto& [cx, cy] : centres) {
            TileLeafGL::DodgeWindow w;
            TileLeafGL::dodgeWindow(frame, cx, cy, s.scene, w);
            double bx = 0.0, by = 0.0, sx = 0.0, sy = 0.0;
            if (blocks.sum(cx, cy, w, bx, by)) {
                ++looked;
                TileLeafGL::dodgeSum(frame, cx, cy, s.scene, sx, sy);
                EXPECT_EQ(bx, sx) << cx << ", " << cy;
                EXPECT_EQ(by, sy) << cx << ", " << cy;
            }
        }
        return built ? looked : -1;
    };
    // Every centre's push, asked as the store asks: in order of the
    // windows' first rows, the first `downShare` of them from a field
    // sweeping down, the rest from the last one back from a field sweeping
    // up. Each one a field gives must equal the window scan, and so must
    // the blocks'. Returns how many the fields gave and the last push
    // scanned.
    const auto sums = [&](std::vector<std::pair<float, float>> centres, double downShare = 1.0) {
        blockSums(centres);
        std::vector<std::pair<TileLeafGL::DodgeWindow, std::pair<float, float>>> asked;
        int tallest = 0;
        for (const auto& centre : centres) {
            TileLeafGL::DodgeWindow w;
            TileLeafGL::dodgeWindow(frame, centre.first, centre.second, s.scene, w);
            asked.emplace_back(w, centre);
            tallest = std::max(tallest, w.y1 - w.y0);
        }
        std::stable_sort(asked.begin(), asked.end(),
                         [](const auto& p, const auto& q) { return p.first.y0 < q.first.y0; });
        const auto down = static_cast<std::size_t>(downShare * static_cast<double>(asked.size()));
        DodgeField fields[2];
        if (down > 0)
            fields[0].start(*dodging, tallest, 0, asked.front().first.y0, DodgeField::Sweep::Down);
        if (down < asked.size())
            fields[1].start(*dodging, tallest, 0, asked.back().first.y0 + tallest, DodgeField::Sweep::Up);
        int looked = 0;
        double sx = 0.0, sy = 0.0;
        for (std::size_t n = 0; n < asked.size(); ++n) {
            const bool up = n >= down;
            const auto& [w, centre] = asked[up ? asked.size() - 1 - (n - down) : n];
            const auto [cx, cy] = centre;
            double fx = 0.0, fy = 0.0;
            TileLeafGL::dodgeSum(frame, cx, cy, s.scene, sx, sy);
            if (fields[up ? 1 : 0].sum(cx, cy, w.x0, w.x1, w.y0, w.y1, fx, fy)) {
                ++looked;
                EXPECT_EQ(fx, sx) << cx << ", " << cy;
                EXPECT_EQ(fy, sy) << cx << ", " << cy;
            }
        }
        return std::tuple(looked, sx, sy);
    };

    // By hand: a neighbour on the centre's column value and one on its row
    // value do not push.
    sizes->fillEntireBuffer(30.0f);
    footprint(100.5f, 100.25f);
    footprint(103.75f, 100.5f);
    footprint(100.5f, 104.5f);
    footprint(97.25f, 100.25f);
    footprint(98.5f, 97.75f);
    EXPECT_EQ(sums({{100.5f, 100.25f}}), std::tuple(1, -3.25 + 2.0, -0.25 + 2.5));
    // A window of one row above the centre's own: its column neighbour
    // there holds the same x and does not push.
    sizes->fillEntireBuffer(1.0f);
    footprint(100.5f, 99.5f);
    EXPECT_EQ(sums({{100.5f, 100.1f}}), std::tuple(1, 0.0, 0.0));
    clear();
    // Centres on the first row and column, which the table leaves out: a
    // neighbour on the centre's column or row value still does not push,
    // sweeping either way.
    sizes->fillEntireBuffer(30.0f);
    for (const double downShare : {1.0, 0.0}) {
        footprint(100.5f, 0.5f);
        footprint(100.5f, 5.5f);
        footprint(104.25f, 3.5f);
        EXPECT_EQ(sums({{100.5f, 0.5f}}, downShare), std::tuple(1, -3.75, -3.0));
        clear();
        footprint(0.5f, 100.5f);
        footprint(5.5f, 100.5f);
        footprint(3.5f, 104.25f);
        EXPECT_EQ(sums({{0.5f, 100.5f}}, downShare), std::tuple(1, -3.0, -3.75));
        clear();
    }

    // A crowd with shared column and row values, hidden footprints and
    // centres at the edges, under small and large windows.
    srand(5);
    std::vector<std::pair<float, float>> centres;
    const auto random = [](int cells) { return 0.5f + static_cast<float>(rand()) / RAND_MAX * (cells - 1); };
    for (int i = 0; i < 3000; ++i)
        centres.emplace_back(random(dodging->getWidth()), random(dodging->getHeight()));
    for (int i = 0; i < 300; ++i) {
        centres[i + 300].first = centres[i].first;
        centres[i + 600].second = centres[i].second;
        centres[i + 900] = {centres[i].first, centres[i].second - 1.0f};
        // A later centre in the same cell hides this one's footprint.
        const float column = std::floor(centres[i].first);
        centres[i + 1500] = {column + 0.5f * (centres[i].first - column), centres[i].second};
    }
    // Along the first column and row, with values down to 2^-6.
    for (int i = 0; i < 100; ++i) {
        const float fraction = 0.015625f + 0.0097f * static_cast<float>(i);
        centres[1200 + i] = {fraction, random(dodging->getHeight())};
        centres[1300 + i] = {random(dodging->getWidth()), fraction};
    }
    for (const auto& [cx, cy] : centres)
        footprint(cx, cy);
    // Cells holding a value and a 0 are empty: they neither push nor break
    // the footprint rule.
    for (int i = 0; i < 50; ++i) {
        const float a = i % 2 == 0 ? 7.0f * i + 3.5f : 0.0f;
        put(7 * i + 3, 5 * i + 2, a, a == 0.0f ? 5.0f * i + 2.5f : 0.0f);
    }
    for (const float size : {30.0f, 2.0f}) {
        sizes->fillEntireBuffer(size);
        for (const double downShare : {1.0, 0.4, 0.0})
            EXPECT_EQ(std::get<0>(sums(centres, downShare)), 3000);
        EXPECT_EQ(blockSums(centres), 3000);
    }
    // A value finer than 2^-6 in the first column: the windows that reach
    // it, and its own, are left to the scan; so are those the blocks find
    // it pushing in.
    sizes->fillEntireBuffer(30.0f);
    footprint(0.01f, 300.5f);
    centres.emplace_back(0.01f, 300.5f);
    const int looked = std::get<0>(sums(centres));
    EXPECT_LT(looked, 2999);
    EXPECT_GT(looked, 2950);
    const int blocksLooked = blockSums(centres);
    EXPECT_LT(blocksLooked, 3000);
    EXPECT_GE(blocksLooked, looked);
    centres.pop_back();
    put(0, 300, 0.0f, 0.0f);

    // A value outside its own cell breaks the footprint rule from its row
    // on: sweeping down, the windows above it are still summed, sweeping
    // up those below it; the others are scanned.
    sizes->fillEntireBuffer(30.0f);
    std::vector<std::pair<float, float>> above, below;
    for (const auto& [cx, cy] : centres) {
        TileLeafGL::DodgeWindow w;
        TileLeafGL::dodgeWindow(frame, cx, cy, s.scene, w);
        if (w.y1 <= 200)
            above.emplace_back(cx, cy);
        if (w.y0 > 200)
            below.emplace_back(cx, cy);
    }
    const int aboveLooked = std::get<0>(sums(above));
    const int belowLooked = std::get<0>(sums(below, 0.0));
    EXPECT_GT(aboveLooked, 700);
    EXPECT_GT(belowLooked, 700);
    put(50, 200, 49.5f, 200.5f);
    EXPECT_EQ(std::get<0>(sums(centres)), aboveLooked);
    EXPECT_EQ(std::get<0>(sums(centres, 0.0)), belowLooked);
    // The blocks refuse the whole buffer.
    EXPECT_EQ(blockSums(centres), -1);
}

TEST(PrimitiveStore, ACrowdOfDodgingTilesMovesAsEachTileAlone)
{
    // Enough tiles for the store to split its tile pass over two threads
    // and to keep its rows in cell order; close enough to share cells,
    // where the newest tile's footprint counts, as when each writes in
    // turn. A crowd of 4200 on the shipped buffer is summed from
    // DodgeBlocks, one of 10000 from DodgeFields until the removals leave
    // few enough for the blocks.
    using Sums = PrimitiveStore::SumsFrom;
    for (const auto& [count, dense] : {std::pair(4200, Sums::Blocks), std::pair(10000, Sums::Fields)}) {
        SCOPED_TRACE(count);
        StoreScene stored, own;
        std::vector<PrimitiveLeafGL*> a, b;
        srand(9);
        for (int i = 0; i < count; ++i) {
            // Every fifth tile does not dodge, but its neighbours dodge it; a
            // few lie beyond the canvas.
            const double x = i % 1000 == 7 ? 1500 + i : 300 + rand() % 400;
            const double y = i % 1000 == 8 ? 1200 + i : 200 + rand() % 300;
            const bool dodges = i % 5 != 0;
            a.push_back(stored.add(new TileLeafGL(&stored.scene, x, y, false, false, 20, 20, 0.0, Type, dodges)));
            b.push_back(own.add(new TileLeafGL(&own.scene, x, y, false, false, 20, 20, 0.0, Type, dodges)));
        }
        for (int frame = 0; frame < 8; ++frame) {
            SCOPED_TRACE(frame);
            // A temporary colour, taken where a tile was before its push
            // moved it, before and after the removals; none in frame 5.
            if (frame == 3 || frame == 5 || frame == 6)
                for (StoreScene* s : {&stored, &own})
                    s->canvas->getActiveBufferAs<unsigned char>(TEMP_COLOR_BUFFER)
                        ->fillEntireBufferWith3DValue(frame == 5 ? 127 : 180 + frame, 20, 20);
            // Removals move other rows into the holes.
            if (frame == 4)
                for (std::size_t i = a.size(); i-- > 0;)
                    if (i % 7 == 3) {
                        stored.scene.deleteComponent(a[i]);
                        own.scene.deleteComponent(b[i]);
                        a.erase(a.begin() + static_cast<std::ptrdiff_t>(i));
                        b.erase(b.begin() + static_cast<std::ptrdiff_t>(i));
                    }
            stored.scene.render(1, 2.0);
            EXPECT_EQ(stored.canvas->getPrimitiveStore().lastSumsFrom(), frame < 4 ? dense : Sums::Blocks);
            own.canvas->renderIntoBuffers();
            for (PrimitiveLeafGL* p : b)
                p->renderIntoBuffers();
            own.canvas->VisComponent::animateMyself(2.0 / 60.0);
            for (PrimitiveLeafGL* p : b)
                p->animateMyself(2.0 / 60.0);
            for (std::size_t i = 0; i < a.size(); ++i)
                ASSERT_EQ(stateOf(*a[i]), stateOf(*b[i])) << i;
        }
    }
}

TEST(PrimitiveStore, ManyStrokesAreReadInCellOrderAndStepAsEachAlone)
{
    StoreScene stored, own;
    std::vector<PrimitiveLeafGL*> a, b;
    srand(4);
    for (int i = 0; i < 4200; ++i) {
        const double x = 20 + rand() % 980, y = 20 + rand() % 720, angle = rand() % 360;
        for (auto [s, made] : {std::pair{&stored, &a}, std::pair{&own, &b}})
            made->push_back(s->add(
                new StrokeLeafGL(&s->scene, x, y, 0, 1, 0, 1, false, false, 40, 16, angle, 5, 5, 5, Type, false)));
    }
    const PrimitiveStore& store = stored.canvas->getPrimitiveStore();
    const auto cellOf = [&stored](const PrimitiveLeafGL* p) {
        double lx = 0.0, ly = 0.0;
        stored.canvas->getLocalCoordinates(p->getXPos(), p->getYPos(), lx, ly);
        return std::pair(stored.canvas->getBufferYCoordinateFromLocal(ly),
                         stored.canvas->getBufferXCoordinateFromLocal(lx));
    };
    for (int frame = 0; frame < 6; ++frame) {
        SCOPED_TRACE(frame);
        for (StoreScene* s : {&stored, &own}) {
            if (frame == 1)
                s->paint(90);
            if (frame == 4)
                s->calm();
        }
        stored.scene.render(1, 2.0);
        own.canvas->renderIntoBuffers();
        own.canvas->VisComponent::animateMyself(2.0 / 60.0);
        for (PrimitiveLeafGL* p : b)
            p->animateMyself(2.0 / 60.0);
        if (frame == 0) {
            const std::span<PrimitiveLeafGL* const> rows = store.of(PrimitiveStore::Strokes);
            EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end(),
                                       [&](auto* p, auto* q) { return cellOf(p) < cellOf(q); }));
        }
        for (std::size_t i = 0; i < a.size(); ++i)
            ASSERT_EQ(stateOf(*a[i]), stateOf(*b[i])) << i;
    }
    // The reordered rows' handles still find their primitives.
    for (std::size_t i : {7u, 4100u, 2000u}) {
        stored.scene.deleteComponent(a[i]);
        a.erase(a.begin() + static_cast<std::ptrdiff_t>(i));
    }
    const std::span<PrimitiveLeafGL* const> rows = store.of(PrimitiveStore::Strokes);
    EXPECT_EQ(std::set<PrimitiveLeafGL*>(rows.begin(), rows.end()), std::set<PrimitiveLeafGL*>(a.begin(), a.end()));
}
