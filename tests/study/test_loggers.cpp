// Log files of the study loggers, compared as complete text: task headers
// per log and input device, rows, primitive grouping, action times and the
// overview file; the Nunchuk option table.
#include "DirectTouchLogger.h"
#include "NunchukLogger.h"
#include "PrimitiveLogger.h"
#include "TaskLogger.h"
#include "TaskRecord.h"
#include "WiimoteLogger.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::clock_t fakeTicks = 0;

const char* const TouchColumns =
    "time since start of task \t touch event \t pos x \t pos y \t touchWidth \t touchHeight \n";
const char* const WiiColumns =
    "time since start of task \t pos x \t pos y \t up button \t down \t right \t left \t a \t b \t plus \t "
    "minus \t home \t one \t two \t gx \t gy \t gz \t pitch \t roll \n";
const char* const NunchukColumns =
    "time since start of task \t joy x \t joy y \t c button \t z button \t gx \t gy \t gz \t pitch \t roll \t "
    "selected option number \t selected option\n";
const char* const PrimitiveColumns =
    "prim id \t time since start of task \t inTargetArea \t pos x \t pos y \t width \t height \t orientation "
    "in degrees \t erased\n";
const std::string OverviewHeader =
    "Task Nr  \t Block Nr \t Input Device Nr \t Input Device Description \t Starts Sequence \t Ends Sequence \t "
    "Task Type \t Task Description \tFinish Timestamp \t Time of first action (in seconds) \t Time of last action "
    "(in seconds) \t Finish Time\n";
const char* const TargetItems = "Target Area Start X: \t100\tTarget Area Start Y: \t300\tTarget Area End X: "
                                "\t700\tTarget Area End Y: \t300\tTarget Area Diameter: \t80\t\n\n";

// Only the first target area is logged; the others hold 1.
TaskRecord makeTask(int number, int inputDevice, int type, int elementsType)
{
    return {.number = number, .inputDevice = inputDevice, .type = type, .elementsType = elementsType,
            .elementsInitNumber = 50, .startsSequence = true, .blockNumber = 2,
            .targetStartX = {100, 1, 1, 1}, .targetStartY = {300, 1, 1, 1}, .targetEndX = {700, 1, 1, 1},
            .targetEndY = {300, 1, 1, 1}, .targetDiameter = {80, 1, 1, 1}};
}

// The task line of a makeTask record: the items that differ per log and task
// go between the block number and the initial number, counts after it.
std::string taskLine(int number, const std::string& items, const std::string& counts = "")
{
    return "Task Nr: \t" + std::to_string(number) + "\tBlock Nr: \t 2 \t" + items +
           "Initial Number of Primitives: \t50\t" + counts + TargetItems;
}

Logger* const allLoggers[] = {&PrimitiveLogger::instance(), &DirectTouchLogger::instance(),
                              &NunchukLogger::instance(), &WiimoteLogger::instance(), &TaskLogger::instance()};

class Loggers : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(_dir);
        Logger::setClock([] { return fakeTicks; });
        TaskLogger::setTimestampClock([]() -> std::time_t { return 1700000000; });
        fakeTicks = 1000;
        resetAll();
    }

    void TearDown() override
    {
        resetAll();
        Logger::setClock(nullptr);
        TaskLogger::setTimestampClock(nullptr);
        fs::remove_all(_dir);
    }

    static void resetAll()
    {
        for (Logger* logger : allLoggers)
            logger->reset();
    }

    // setTask and start on all five loggers at the current fake time.
    static void begin(const TaskRecord& task)
    {
        for (Logger* logger : allLoggers) {
            logger->setTask(&task);
            logger->start();
        }
    }

    std::string write(Logger& logger, const std::string& name)
    {
        logger.writeFile((_dir / name).string());
        std::ifstream in(_dir / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    const fs::path _dir = fs::temp_directory_path() / ("pictavo_loggers_" + std::to_string(::getpid()));
};

} // namespace

TEST_F(Loggers, TouchLogWithTaskHeaderAndRows)
{
    const TaskRecord task = makeTask(3, 0, 1, 3);
    begin(task);
    DirectTouchLogger& touch = DirectTouchLogger::instance();
    fakeTicks = 1500;
    touch.addEntry(DirectTouchLogger::EVENT_PRESS, 10, 20, 3, 4);
    fakeTicks = 3250;
    touch.addEntry(DirectTouchLogger::EVENT_MOVE, 11, 21, 5, 6);

    EXPECT_EQ(write(touch, "touch.txt"),
              std::string("Task Nr: \t3\tBlock Nr: \t 2 \tInput Device: \t Direct Touch + Nunchuk \t"
                          "Starts Sequence: \t1\tEnds Sequence: \t0\tTask: \t  Orient strokes in a line \t"
                          "Primitive Type: \t Strokes \tInitial Number of Primitives: \t50\t") +
                  TargetItems + TouchColumns + "0.5\t0\t10\t20\t3\t4\t\n2.25\t2\t11\t21\t5\t6\t\n");
    EXPECT_EQ(TaskLogger::instance().touchActionTimes(), (ActionTimes{0.5f, 2.25f}));
}

TEST_F(Loggers, WithoutATaskOrADirectoryLittleOrNothingIsWritten)
{
    // Without start() times count from the first entry.
    DirectTouchLogger& touch = DirectTouchLogger::instance();
    fakeTicks = 2000;
    touch.addEntry(DirectTouchLogger::EVENT_PRESS, 1, 2, 3, 4);
    fakeTicks = 2500;
    touch.addEntry(DirectTouchLogger::EVENT_RELEASE, 1, 2, 3, 4);
    EXPECT_EQ(write(touch, "touch.txt"), std::string(TouchColumns) + "0\t0\t1\t2\t3\t4\t\n0.5\t1\t1\t2\t3\t4\t\n");
    EXPECT_EQ(write(PrimitiveLogger::instance(), "prims.txt"), PrimitiveColumns);
    // The overview needs a task.
    TaskLogger::instance().writeFile((_dir / "overview.txt").string());
    EXPECT_FALSE(fs::exists(_dir / "overview.txt"));

    const TaskRecord task = makeTask(4, 0, 0, 0);
    begin(task);
    PrimitiveLogger::instance().addEntry(1, 1, 2, 3, 4, 0.0f, false, false);
    for (Logger* logger : allLoggers)
        logger->writeFile((_dir / "missing" / "task4.txt").string());
    EXPECT_FALSE(fs::exists(_dir / "missing"));

    // After reset the entries (and the task) are gone.
    touch.reset();
    EXPECT_EQ(write(touch, "touch.txt"), TouchColumns);
}

TEST_F(Loggers, TaskLabelsDifferPerLog)
{
    // Input logs name the task by its strokes, the primitive log by its
    // elements; an unnamed primitive type repeats the task type in all but
    // the touch log, and input device 2 is named nowhere.
    struct Labels
    {
        int device, type, elementsType;
        const char *strokes, *elements, *primitiveType, *overview;
    };
    const Labels labels[] = {
        {0, 0, 0, " Create strokes \t", " Create Elements \t", " Points \t", "0 \t Create strokes \t"},
        {1, 2, 3, " Orient strokes circular \t", " Orient Elements circular \t", " Strokes \t",
         "2 \t Orient strokes circular \t"},
        {1, 4, 4, "4\t", "4\t", nullptr, "4\t NO DESCRIPTION \t"},
        {2, 5, 2, " Repel strokes outward \t", "5\t", nullptr, "5 \t Repel strokes outward \t"},
    };
    // Per device: the per-task log item and the overview columns.
    const std::string devices[][2] = {{"Input Device: \t Direct Touch + Nunchuk \t", "0 \t Direct Touch + Nunchuk \t"},
                                      {"Input Device: \t WiiRemote + Nunchuk \t", "1 \t WiiRemote + Nunchuk \t"},
                                      {"", ""}};
    for (const Labels& l : labels) {
        SCOPED_TRACE(l.type);
        const TaskRecord task = makeTask(-1, l.device, l.type, l.elementsType);
        begin(task);
        const std::string opening = devices[l.device][0] + "Starts Sequence: \t1\tEnds Sequence: \t0\tTask: \t";
        const std::string primitive = l.primitiveType ? std::string("Primitive Type: \t") + l.primitiveType : "";
        const std::string orRepeat = l.primitiveType ? primitive : "Task: \t" + std::to_string(l.type) + "\t";
        EXPECT_EQ(write(DirectTouchLogger::instance(), "touch.txt"),
                  taskLine(-1, opening + l.strokes + primitive) + TouchColumns);
        EXPECT_EQ(write(WiimoteLogger::instance(), "wii.txt"),
                  taskLine(-1, opening + l.strokes + orRepeat) + WiiColumns);
        EXPECT_EQ(write(NunchukLogger::instance(), "nunchuk.txt"),
                  taskLine(-1, opening + l.strokes + orRepeat) + NunchukColumns);
        EXPECT_EQ(write(PrimitiveLogger::instance(), "prims.txt"),
                  taskLine(-1, opening + l.elements + orRepeat,
                           "Final Number of Primitives: \t0\tNumber of Erased Primitives: \t0\t") +
                      PrimitiveColumns);
        // Action times only for devices 0 and 1.
        EXPECT_EQ(write(TaskLogger::instance(), "overview.txt"),
                  OverviewHeader + "-1\t2 \t" + devices[l.device][1] + "1\t0\t" + l.overview + "1700000000\t" +
                      (l.device < 2 ? "0\t0\t" : "") + "0\t\n");
    }
}

TEST_F(Loggers, WiimoteRowsAndTheFirstBPressAlone)
{
    WiiCommunicationData data;
    data.pointerX = 12.5f;
    data.pointerY = 300.0f;
    data.up = data.two = true;
    data.gx = 0.25f, data.gy = -1.0f, data.gz = 9.75f;
    data.extra = {7.0f, 7.0f, 7.0f}; // not logged
    data.pitch = 30.5f, data.roll = -2.0f;
    WiimoteLogger& wii = WiimoteLogger::instance();
    wii.addEntry(data);
    fakeTicks = 2500;
    data.b = true;
    wii.addEntry(data);
    fakeTicks = 3000;
    data.b = false;
    wii.addEntry(data);

    EXPECT_EQ(write(wii, "wii.txt"),
              std::string(WiiColumns) +
                  "0\t12.5\t300\t1\t0\t0\t0\t0\t0\t0\t0\t0\t0\t1\t0.25\t-1\t9.75\t30.5\t-2\t\n"
                  "1.5\t12.5\t300\t1\t0\t0\t0\t0\t1\t0\t0\t0\t0\t1\t0.25\t-1\t9.75\t30.5\t-2\t\n"
                  "2\t12.5\t300\t1\t0\t0\t0\t0\t0\t0\t0\t0\t0\t1\t0.25\t-1\t9.75\t30.5\t-2\t\n");
    EXPECT_EQ(TaskLogger::instance().wiimoteActionTimes(), (ActionTimes{1.5f, 0.0f}));
}

TEST_F(Loggers, NunchukRowsCarryTheSelectedOptionAndActionTimes)
{
    NunchukLogger& nunchuk = NunchukLogger::instance();
    nunchuk.addEntry({.joystickY = 0.5f, .gx = 1.5f, .pitch = -3.0f, .roll = 4.0f}); // beyond 0.4: an action
    fakeTicks = 1500;
    nunchuk.addEntry({.joystickX = 0.4f, .c = true, .z = true});
    fakeTicks = 2000;
    nunchuk.addEntry({.joystickX = 0.4f}); // 0.4f lies just above 0.4: an action
    fakeTicks = 2250;
    nunchuk.addEntry({.joystickX = 0.39f});

    EXPECT_EQ(write(nunchuk, "nunchuk.txt"), std::string(NunchukColumns) +
                                                 "0\t0\t0.5\t0\t0\t1.5\t0\t0\t-3\t4\t0\tcreate\n"
                                                 "0.5\t0.4\t0\t1\t1\t0\t0\t0\t0\t0\t0\terase\n"
                                                 "1\t0.4\t0\t0\t0\t0\t0\t0\t0\t0\t4\tmove follow\n"
                                                 "1.25\t0.39\t0\t0\t0\t0\t0\t0\t0\t0\t0\tcreate\n");
    EXPECT_EQ(TaskLogger::instance().nunchukActionTimes(), (ActionTimes{0.0f, 1.0f}));
}

TEST_F(Loggers, PrimitiveLogGroupsRecordsById)
{
    const TaskRecord task = makeTask(5, 0, 2, 1);
    begin(task);
    PrimitiveLogger& prims = PrimitiveLogger::instance();
    fakeTicks = 1250;
    prims.addEntry(7, 10, 20, 30, 40, 12.5f, true, false);
    prims.addEntry(2, 1, 2, 3, 4, -90.0f, false, false);
    fakeTicks = 1500;
    prims.addEntry(7, 11, 21, 31, 41, 13.0f, false, true);
    prims.addEntry(7, 12, 22, 32, 42, 14.0f, false, false);

    EXPECT_EQ(write(prims, "prims.txt"),
              std::string("Task Nr: \t5\tBlock Nr: \t 2 \tInput Device: \t Direct Touch + Nunchuk \t"
                          "Starts Sequence: \t1\tEnds Sequence: \t0\tTask: \t Orient Elements circular \t"
                          "Primitive Type: \t Tiles \tInitial Number of Primitives: \t50\t"
                          "Final Number of Primitives: \t2\tNumber of Erased Primitives: \t1\t") +
                  TargetItems + PrimitiveColumns +
                  "\n"
                  "2\t0.25\t0\t1\t2\t3\t4\t-90\t0\t\n"
                  "\n"
                  "7\t0.25\t1\t10\t20\t30\t40\t12.5\t0\t\n"
                  "7\t0.5\t0\t11\t21\t31\t41\t13\t1\t\n"
                  "7\t0.5\t0\t12\t22\t32\t42\t14\t0\t\n");

    prims.reset();
    begin(task);
    EXPECT_NE(write(prims, "prims.txt").find("Final Number of Primitives: \t0\tNumber of Erased Primitives: \t0\t"),
              std::string::npos);
}

TEST_F(Loggers, OverviewStartsWithTheFirstTaskAndAppendsTheNext)
{
    // First of a series, direct touch: the touch pair.
    TaskRecord first = makeTask(-1, 0, 3, 0);
    first.blockNumber = 1;
    begin(first);
    fakeTicks = 1500;
    DirectTouchLogger::instance().addEntry(0, 1, 1, 1, 1);
    fakeTicks = 3250;
    DirectTouchLogger::instance().addEntry(1, 1, 1, 1, 1);
    DirectTouchLogger::instance().reportActionTimes();
    fakeTicks = 5000;
    TaskLogger::instance().writeFile((_dir / "overview.txt").string());
    resetAll();

    // Task 4, Wii input, unnamed type: the Wii pair; the touch pair is unused.
    TaskRecord fourth = makeTask(4, 1, 7, 0);
    fourth.endsSequence = true;
    begin(fourth);
    WiiCommunicationData pressed;
    pressed.b = true;
    fakeTicks = 6000;
    WiimoteLogger::instance().addEntry(pressed);
    fakeTicks = 6500;
    WiimoteLogger::instance().addEntry(pressed);
    WiimoteLogger::instance().reportActionTimes();
    TaskLogger::instance().setTouchActionTimes(9.0f, 9.0f);
    fakeTicks = 7000;

    EXPECT_EQ(write(TaskLogger::instance(), "overview.txt"),
              OverviewHeader +
                  "-1\t1 \t0 \t Direct Touch + Nunchuk \t1\t0\t3 \t Orient strokes in a star shape \t1700000000\t"
                  "0.5\t2.25\t4\t\n"
                  "4\t2 \t1 \t WiiRemote + Nunchuk \t1\t1\t7\t NO DESCRIPTION \t1700000000\t1\t1.5\t2\t\n");
}

// The option a Nunchuk state selects: rows in order, with their bounds.
TEST(NunchukOption, FirstMatchingRowWinsAndBoundsFollowTheTable)
{
    struct Case
    {
        float x, y;
        bool c, z;
        int number;
        const char* name;
    };
    const Case cases[] = {
        {0.0f, 0.9f, false, false, 8, "resize smaller"},
        {0.0f, 0.8f, false, false, 8, "resize smaller"}, // 0.8f lies just above 0.8
        {0.0f, 0.79f, false, false, 0, "create"},
        {0.39f, -0.9f, false, false, 7, "resize bigger"},
        {0.4f, -0.9f, false, false, 0, "create"}, // 0.4f is beyond 0.4, and no right-side row takes y -0.9
        {0.5f, -0.6f, false, false, 5, "repell outwards"},
        {0.5f, -0.4f, false, false, 5, "repell outwards"}, // -0.4f lies just below -0.4
        {0.5f, -0.39f, false, false, 4, "move follow"},
        {0.5f, 0.4f, false, false, 6, "attract inwards"},
        {0.5f, 0.6f, false, false, 6, "attract inwards"},
        {0.5f, 0.8f, false, false, 0, "create"},
        {0.5f, 0.0f, false, true, 0, "create"}, // any button leaves the right side
        {-0.5f, -0.6f, false, true, 0, "create"}, // z on the left comes before the orient rows
        {-0.5f, 0.9f, false, true, 0, "create"},
        {-0.5f, -0.6f, false, false, 2, "orient circular"},
        {-0.5f, -0.4f, false, false, 2, "orient circular"},
        {-0.5f, 0.39f, false, false, 1, "orient follow"},
        {-0.5f, 0.4f, false, false, 3, "orient in a star shape"},
        {-0.5f, 0.6f, false, false, 3, "orient in a star shape"},
        {-0.5f, 0.6f, true, false, 0, "create"},
        {-0.4f, 0.0f, false, false, 1, "orient follow"}, // -0.4f lies just below -0.4
        {-0.39f, 0.0f, false, false, 0, "create"},
        {-0.5f, 0.0f, true, true, 0, "erase"},
        {0.0f, 0.9f, true, true, 0, "erase"},
        {0.0f, 0.0f, false, false, 0, "create"},
    };
    for (const Case& k : cases) {
        const NunchukLogger::SelectedOption option =
            NunchukLogger::selectedOption({.joystickX = k.x, .joystickY = k.y, .c = k.c, .z = k.z});
        EXPECT_EQ(option.number, k.number) << k.x << ", " << k.y << ", c " << k.c << ", z " << k.z;
        EXPECT_EQ(std::string(option.name), k.name) << k.x << ", " << k.y << ", c " << k.c << ", z " << k.z;
    }
}
