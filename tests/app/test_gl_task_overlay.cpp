// Task targets drawn under a real GL context and read back: spots, the two
// capsules, slanted segments, several areas per task, and lists per task.
#include "FrameworkTestSupport.h"
#include "TaskOverlayGL.h"
#include "TaskRecord.h"

using namespace support;

namespace {

using TaskTargets = GLTest;

enum class Look { Background, Fill, Rim };

// On black: the fill (0, 1, 0, 0.2) gives green 51; the rim (1, 0.5, 0, 0.7) is red.
Look lookAt(const OffscreenTarget& target, int x, int y)
{
    const auto [r, g, b] = target.pixel(x, y);
    EXPECT_EQ(b, 0);
    if (r > 150)
        return Look::Rim;
    if (r < 10 && g > 40 && g < 60)
        return Look::Fill;
    EXPECT_EQ(r + g, 0) << "at (" << x << ", " << y << "): " << r << ", " << g;
    return Look::Background;
}

TaskRecord segment(int sx, int sy, int ex, int ey, int diameter = 80)
{
    TaskRecord record;
    record.targetStartX[0] = sx;
    record.targetStartY[0] = sy;
    record.targetEndX[0] = ex;
    record.targetEndY[0] = ey;
    record.targetDiameter[0] = diameter;
    return record;
}

// Draws task index's target on black.
void draw(const OffscreenTarget& target, const TaskOverlayGL& overlay, int index)
{
    target.clear(0.0f);
    overlay.drawTarget(index);
}

} // namespace

TEST_F(TaskTargets, ASpotIsAFilledCircleWithAnOrangeRim)
{
    OffscreenTarget target(800, 600);
    TaskOverlayGL overlay;
    overlay.buildTaskTarget(0, segment(200, 200, 200, 200));
    draw(target, overlay, 0);
    EXPECT_EQ(lookAt(target, 200, 200), Look::Fill);
    EXPECT_EQ(lookAt(target, 200, 225), Look::Fill);
    for (auto [x, y] : {std::pair{240, 200}, {160, 200}, {200, 240}, {200, 160}})
        EXPECT_EQ(lookAt(target, x, y), Look::Rim) << x << ", " << y;
    EXPECT_EQ(lookAt(target, 250, 200), Look::Background);
    EXPECT_EQ(lookAt(target, 232, 232), Look::Background) << "round, not square";
    overlay.release();
}

TEST_F(TaskTargets, HorizontalAndVerticalSegmentsAreCapsulesAndSlantedOnesDrawNothing)
{
    OffscreenTarget target(800, 600);
    TaskOverlayGL overlay;
    overlay.buildTaskTarget(0, segment(100, 300, 700, 300));
    overlay.buildTaskTarget(1, segment(400, 100, 400, 500));
    overlay.buildTaskTarget(2, segment(100, 100, 600, 400));

    draw(target, overlay, 0);
    EXPECT_EQ(lookAt(target, 400, 300), Look::Fill);
    EXPECT_EQ(lookAt(target, 400, 340), Look::Rim) << "straight edge";
    EXPECT_EQ(lookAt(target, 400, 260), Look::Rim);
    EXPECT_EQ(lookAt(target, 400, 360), Look::Background);
    EXPECT_EQ(lookAt(target, 75, 300), Look::Fill) << "half circle round the start";
    EXPECT_EQ(lookAt(target, 60, 300), Look::Rim);
    EXPECT_EQ(lookAt(target, 740, 300), Look::Rim) << "half circle round the end";
    EXPECT_EQ(lookAt(target, 750, 300), Look::Background);
    EXPECT_EQ(lookAt(target, 732, 332), Look::Background) << "rounded ends";

    draw(target, overlay, 1);
    EXPECT_EQ(lookAt(target, 400, 300), Look::Fill);
    EXPECT_EQ(lookAt(target, 440, 300), Look::Rim);
    EXPECT_EQ(lookAt(target, 400, 75), Look::Fill);
    EXPECT_EQ(lookAt(target, 400, 540), Look::Rim);
    EXPECT_EQ(lookAt(target, 400, 550), Look::Background);
    EXPECT_EQ(lookAt(target, 100, 300), Look::Background) << "the horizontal target is task 0's";

    draw(target, overlay, 2);
    for (auto [x, y] : {std::pair{100, 100}, {350, 250}, {600, 400}, {100, 140}})
        EXPECT_EQ(lookAt(target, x, y), Look::Background) << "slanted: " << x << ", " << y;

    draw(target, overlay, 7);
    EXPECT_EQ(lookAt(target, 400, 300), Look::Background) << "no lists for a task never set up";
    overlay.release();
}

TEST_F(TaskTargets, EachOfATasksAreasIsDrawnAndRebuildingReplacesThem)
{
    OffscreenTarget target(800, 600);
    TaskOverlayGL overlay;
    TaskRecord two = segment(150, 150, 150, 150, 60);
    two.numberOfTargetAreas = 2;
    two.targetStartX[1] = two.targetEndX[1] = 500;
    two.targetStartY[1] = two.targetEndY[1] = 400;
    two.targetDiameter[1] = 60;
    overlay.buildTaskTarget(3, two);
    draw(target, overlay, 3);
    EXPECT_EQ(lookAt(target, 150, 150), Look::Fill);
    EXPECT_EQ(lookAt(target, 500, 400), Look::Fill);

    overlay.buildTaskTarget(3, segment(600, 100, 600, 100));
    draw(target, overlay, 3);
    EXPECT_EQ(lookAt(target, 150, 150), Look::Background) << "a new start replaces the task's target";
    EXPECT_EQ(lookAt(target, 600, 100), Look::Fill);
    EXPECT_EQ(overlay.builtTasks(), 1);
    overlay.release();
}

int main(int argc, char** argv)
{
    return runWithGLContext(argc, argv);
}
