// The canvas without a display: the slowdown field, the brushes as children,
// the frame's deferred clears and deletions, rebuilds and task set-up.
#include "BufferTag.h"
#include "CanvasCompositeGL.h"
#include "CanvasTestSupport.h"
#include "PrimitiveLeafGL.h"
#include "TabletopVisGL.h"
#include "ToolBrushLeafGL.h"
#include "VisComponentGL.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using canvastest::ScreenCanvas;
constexpr unsigned ScreenW = ScreenCanvas::ScreenW, ScreenH = ScreenCanvas::ScreenH;

// Records every erase value it sees at one cell, frame by frame.
class EraseWatcher : public VisComponentGL
{
public:
    EraseWatcher(TabletopVis* scene) : VisComponentGL(scene, 10, 10) { registerPassiveBuffer(ERASE_BUFFER); }
    void animateMyself(double) override
    {
        const auto* erase = getPassiveBufferAs<float>(ERASE_BUFFER);
        seen.push_back(erase != nullptr ? erase->getValue(5, 5) : -1.0f);
    }
    std::vector<float> seen;
};

// The shipped layout; elements of kind Point, initial primitive size 16.
struct CanvasScene : ScreenCanvas
{
    explicit CanvasScene(double overflow = 0.0, unsigned brushes = 1)
        : ScreenCanvas({10.0, overflow, brushes, 2, 16.0f}, 2)
    {
        scene.setFixedFrameTime(1.0 / 60.0);
    }
    // A child that reads the erase buffer every frame.
    EraseWatcher* addChild()
    {
        auto* child = new EraseWatcher(&scene);
        scene.addComponent(child, true);
        EXPECT_EQ(canvas->addChild(child), 1);
        return child;
    }
};

template <typename T>
BufferTemplate<T>* buffer(const CanvasCompositeGL& canvas, int tag)
{
    return canvas.getActiveBufferAs<T>(tag);
}

} // namespace

// ---- Buffers ----

TEST(CanvasBuffers, SlowdownRampsFromZeroAtTheBorderToTheFullFactor150CellsIn)
{
    CanvasScene s;
    s.scene.setTossingParameters(0.9, 0.15);
    // The field is made with the scene's factor of its time: remake it.
    s.canvas->recreateActiveBuffers();
    const auto* slow = buffer<float>(*s.canvas, SLOWDOWN_BUFFER);
    const int w = slow->getWidth();
    const int h = slow->getHeight();
    EXPECT_EQ(slow->getValue(0, 200), 0.0f);
    EXPECT_EQ(slow->getValue(w - 1, 200), 0.0f);
    EXPECT_EQ(slow->getValue(300, 0), 0.0f);
    EXPECT_EQ(slow->getValue(300, h - 1), 0.0f);
    EXPECT_FLOAT_EQ(slow->getValue(10, 300), 10 * CanvasCompositeGL::SlowdownStep);
    // A cell's ring is its distance from the nearest border.
    EXPECT_FLOAT_EQ(slow->getValue(40, h - 1 - 20), 20 * CanvasCompositeGL::SlowdownStep);
    EXPECT_FLOAT_EQ(slow->getValue(149, 300), 0.9f);   // 149 x 1/150 is above 0.9
    EXPECT_FLOAT_EQ(slow->getValue(120, 300), 120 * CanvasCompositeGL::SlowdownStep);
    EXPECT_FLOAT_EQ(slow->getValue(150, 300), 0.9f);
    EXPECT_FLOAT_EQ(slow->getValue(350, 262), 0.9f);
}

// ---- Children ----

TEST(CanvasChildren, OneNonPickableBrushPerUserAsChild)
{
    CanvasScene s(0.0, 3);
    ASSERT_EQ(s.canvas->getNumberOfToolBrushes(), 3u);
    for (unsigned i = 0; i < 3; ++i) {
        ToolBrushLeafGL* brush = s.canvas->getToolBrush(i);
        ASSERT_NE(brush, nullptr);
        EXPECT_EQ(brush->getParent(), s.canvas);
        EXPECT_FALSE(brush->isPickable());
        EXPECT_EQ(brush->getOwner(), static_cast<int>(i));
    }
    EXPECT_EQ(s.canvas->getToolBrush(3), nullptr);
    // A press on the canvas reaches the canvas, not the brush over it.
    EXPECT_EQ(s.scene.pickComponent(ScreenW / 2.0, ScreenH / 2.0), s.canvas);
}

// ---- The frame ----

TEST(CanvasFrame, ComponentsAreDeletedOnlyThroughTheQueueAtTheNextFrame)
{
    CanvasScene s;
    EraseWatcher* child = s.addChild();
    const unsigned before = s.scene.countComponents();
    s.canvas->scheduleDeletion(child);
    s.canvas->scheduleDeletion(child);   // queued twice, deleted once
    EXPECT_EQ(s.scene.countComponents(), before);
    EXPECT_EQ(s.canvas->getDeletionQueueLength(), 2u);
    s.scene.render(1, 40.0);
    EXPECT_EQ(s.scene.countComponents(), before - 1);
    EXPECT_EQ(s.canvas->getDeletionQueueLength(), 0u);
    s.scene.render(1, 40.0);
    EXPECT_EQ(s.scene.countComponents(), before - 1);
}

TEST(CanvasFrame, AnEraseMarkIsSeenByExactlyOneFrameOfUpdates)
{
    CanvasScene s;
    auto* watcher = new EraseWatcher(&s.scene);
    s.scene.addComponent(watcher, true);
    s.canvas->addChild(watcher);
    auto* erase = buffer<float>(*s.canvas, ERASE_BUFFER);
    s.scene.render(1, 40.0);
    erase->setValue(5, 5, 1.0f);
    erase->invalidate();
    for (int i = 0; i < 3; ++i)
        s.scene.render(1, 40.0);
    EXPECT_EQ(watcher->seen, (std::vector<float>{0.0f, 1.0f, 0.0f, 0.0f}));
    EXPECT_TRUE(erase->isValid());
}

TEST(CanvasFrame, DeferredClearsRunOneFrameAfterTheRequest)
{
    CanvasScene s;
    CanvasCompositeGL& c = *s.canvas;
    auto* selection = buffer<bool>(c, SELECTION_BUFFER);
    auto* sizeDiff = buffer<float>(c, SIZE_ABS_DIFF_BUFFER);
    auto* tempOrientation = buffer<float>(c, TEMP_ORIENTATION_BUFFER);
    auto* erase = buffer<float>(c, ERASE_BUFFER);
    auto* dodging = buffer<float>(c, DODGING_BUFFER);
    auto* gradient = buffer<float>(c, GRADIENT_ORIENTATION_BUFFER);
    selection->setValue(3, 3, true);
    sizeDiff->setValue(3, 3, 4.0f);
    tempOrientation->set2DValues(3, 3, 1.0f, 0.0f);
    dodging->set2DValues(9, 9, 3.0f, 4.0f);
    dodging->invalidate();   // as a writer marks it
    gradient->set2DValues(9, 9, 45.0f, 1.0f);
    c.markGradientOrientation();
    buffer<bool>(c, TARGET_AREA_BUFFER)->setValue(2, 2, true);
    c.clearTargetArea();     // erases everything for one cycle
    EXPECT_FALSE(buffer<bool>(c, TARGET_AREA_BUFFER)->getValue(2, 2));
    c.markSelectionDirty();
    c.markOrientationPending();
    c.clearSizeDiff();   // without a request nothing happens
    EXPECT_EQ(sizeDiff->getValue(3, 3), 4.0f);

    // Frame 1 arms the delays: every stamp stays visible this frame; the
    // dodging centres and the gradient orientation go at once.
    s.scene.render(1, 40.0);
    EXPECT_TRUE(selection->getValue(3, 3));
    EXPECT_EQ(erase->getValue(600, 400), 1.0f);
    float x = 0, y = 0;
    tempOrientation->get2DValues(3, 3, x, y);
    EXPECT_EQ(x, 1.0f);
    dodging->get2DValues(9, 9, x, y);
    EXPECT_EQ(x, 0.0f);
    gradient->get2DValues(9, 9, x, y);
    EXPECT_EQ(y, 0.0f);
    // Frame 2 clears them; the size difference was never requested.
    s.scene.render(1, 40.0);
    EXPECT_FALSE(selection->getValue(3, 3));
    EXPECT_EQ(erase->getValue(600, 400), 0.0f);
    tempOrientation->get2DValues(3, 3, x, y);
    EXPECT_EQ(x, 0.0f);
    EXPECT_EQ(sizeDiff->getValue(3, 3), 4.0f);

    // A request after a finished cycle starts a new one.
    selection->setValue(4, 4, true);
    c.markSelectionDirty();
    s.scene.render(1, 40.0);
    EXPECT_TRUE(selection->getValue(4, 4));
    s.scene.render(1, 40.0);
    EXPECT_FALSE(selection->getValue(4, 4));
}

// ---- Input, lasso, tasks ----

TEST(CanvasTasks, LayoutIsArmedOnlyForTasksWithStrokesToPlace)
{
    CanvasScene s;
    std::vector<TaskRecord> tasks(3);
    tasks[0].elementsInitNumber = 0;
    tasks[0].elementsType = 3;
    tasks[1].elementsInitNumber = 20;
    tasks[1].elementsType = 1;
    tasks[2].elementsInitNumber = 20;
    tasks[2].elementsType = 3;
    tasks[2].targetDiameter[0] = 120;
    s.canvas->setTaskList(&tasks);
    s.canvas->setUpTask(0);
    EXPECT_FALSE(s.canvas->isLayoutPending());
    s.canvas->setUpTask(1);
    EXPECT_FALSE(s.canvas->isLayoutPending());
    s.canvas->setUpTask(2);
    EXPECT_TRUE(s.canvas->isLayoutPending());
    EXPECT_EQ(s.canvas->getCurrentTaskIndex(), 2);
    EXPECT_EQ(s.canvas->getToolBrush(0)->getWidth(), 120.0);
    s.canvas->setUpTask(7);   // no such task: nothing changes
    EXPECT_EQ(s.canvas->getCurrentTaskIndex(), 2);
    const std::size_t before = s.canvas->getChildren().size();
    s.scene.render(1, 40.0);
    EXPECT_FALSE(s.canvas->isLayoutPending());
    // Twenty strokes of the task's type, none in the bottom band.
    ASSERT_EQ(s.canvas->getChildren().size(), before + 20);
    int strokes = 0;
    for (const auto& entry : s.canvas->getChildren())
        if (const auto* p = dynamic_cast<const PrimitiveLeafGL*>(entry.second)) {
            strokes += p->getPrimitiveType() == 3 ? 1 : 0;
            EXPECT_LE(p->getYPos(), ScreenH - 120.0);
        }
    EXPECT_EQ(strokes, 20);
}

// ---- Rebuild ----

TEST(CanvasRebuild, GrowingBuffersKeepTheLayoutCellsAndRelinkChildren)
{
    CanvasScene s;
    VisComponentGL* child = new EraseWatcher(&s.scene);
    s.scene.addComponent(child, true);
    s.canvas->addChild(child);
    buffer<float>(*s.canvas, SIZE_BUFFER)->setValue(20, 30, 77.0f);
    buffer<int>(*s.canvas, SPEED_BUFFER)->setValue(20, 30, 9);
    s.canvas->setControlValue(ControlCells::PrimitiveType, 3.0f);
    buffer<float>(*s.canvas, ERASE_BUFFER)->setValue(20, 30, 1.0f);

    s.scene.setScreensize(ScreenW, ScreenH);   // same size: nothing to grow
    EXPECT_EQ(buffer<float>(*s.canvas, ERASE_BUFFER)->getValue(20, 30), 1.0f);

    // A wider canvas needs a wider grid.
    s.canvas->setSize(1200, 768);
    s.scene.setScreensize(1200, 768);
    EXPECT_EQ(s.canvas->getXPos(), 600.0);
    ASSERT_GT(s.canvas->getCanvasBufferWidth(), 700);
    EXPECT_EQ(buffer<float>(*s.canvas, SIZE_BUFFER)->getValue(20, 30), 77.0f);
    EXPECT_EQ(buffer<int>(*s.canvas, SPEED_BUFFER)->getValue(20, 30), 9);
    EXPECT_EQ(s.canvas->getCurrentPrimitiveType(), 3);
    EXPECT_EQ(buffer<float>(*s.canvas, ERASE_BUFFER)->getValue(20, 30), 0.0f);
    EXPECT_EQ(child->getPassiveBuffer(ERASE_BUFFER), s.canvas->getActiveBuffer(ERASE_BUFFER));
}
