// Log files of the study loggers, compared as complete text: task headers
// per log and input device, rows, primitive grouping, action times and the
// overview file.
#include "DirectTouchLogger.h"
#include "NunchukLogger.h"
#include "PrimitiveLogger.h"
#include "TaskLogger.h"
#include "TaskRecord.h"
#include "WiimoteLogger.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::clock_t fakeTicks = 0;
std::clock_t fakeClock()
{
    return fakeTicks;
}
std::time_t fakeTimestamp()
{
    return 1700000000;
}

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

TaskRecord makeTask(int number, int inputDevice, int type, int elementsType)
{
    TaskRecord task;
    task.number = number;
    task.inputDevice = inputDevice;
    task.type = type;
    task.elementsType = elementsType;
    task.elementsInitNumber = 50;
    task.startsSequence = true;
    task.blockNumber = 2;
    task.targetStartX = {100, 1, 1, 1};
    task.targetStartY = {300, 1, 1, 1};
    task.targetEndX = {700, 1, 1, 1};
    task.targetEndY = {300, 1, 1, 1};
    task.targetDiameter = {80, 1, 1, 1};
    return task;
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Logger* const allLoggers[] = {&PrimitiveLogger::instance(), &DirectTouchLogger::instance(),
                              &NunchukLogger::instance(), &WiimoteLogger::instance(), &TaskLogger::instance()};

class Loggers : public ::testing::Test
{
protected:
    void SetUp() override
    {
        _dir = fs::temp_directory_path() /
               ("pictavo_loggers_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(_dir);
        fs::create_directories(_dir);
        Logger::setClock(fakeClock);
        TaskLogger::setTimestampClock(fakeTimestamp);
        fakeTicks = 1000;
        for (Logger* logger : allLoggers)
            logger->reset();
    }

    void TearDown() override
    {
        for (Logger* logger : allLoggers)
            logger->reset();
        Logger::setClock(nullptr);
        TaskLogger::setTimestampClock(nullptr);
        fs::remove_all(_dir);
    }

    // setTask and start on all five loggers at the current fake time.
    void begin(const TaskRecord& task)
    {
        for (Logger* logger : allLoggers) {
            logger->setTask(&task);
            logger->start();
        }
    }

    std::string write(Logger& logger, const std::string& name)
    {
        logger.writeFile((_dir / name).string());
        return readFile(_dir / name);
    }

    fs::path _dir;
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

TEST_F(Loggers, WithoutATaskOnlyColumnsAndRowsAreWritten)
{
    // Without start() times count from the first entry.
    DirectTouchLogger& touch = DirectTouchLogger::instance();
    fakeTicks = 2000;
    touch.addEntry(DirectTouchLogger::EVENT_PRESS, 1, 2, 3, 4);
    fakeTicks = 2500;
    touch.addEntry(DirectTouchLogger::EVENT_RELEASE, 1, 2, 3, 4);
    EXPECT_EQ(write(touch, "touch.txt"), std::string(TouchColumns) + "0\t0\t1\t2\t3\t4\t\n0.5\t1\t1\t2\t3\t4\t\n");
    EXPECT_EQ(write(PrimitiveLogger::instance(), "prims.txt"), PrimitiveColumns);

    // After reset the entries are gone.
    touch.reset();
    EXPECT_EQ(write(touch, "touch.txt"), TouchColumns);
    // The overview needs a task: nothing is written.
    TaskLogger::instance().writeFile((_dir / "overview.txt").string());
    EXPECT_FALSE(fs::exists(_dir / "overview.txt"));
}

TEST_F(Loggers, HeadersDifferPerLogForUnnamedTypesAndOtherInputDevices)
{
    // Input device 2, task type 5 (named only in the input logs), primitive
    // type 2 (unnamed).
    const TaskRecord task = makeTask(6, 2, 5, 2);
    begin(task);
    const std::string opening = "Task Nr: \t6\tBlock Nr: \t 2 \tStarts Sequence: \t1\tEnds Sequence: \t0\t";
    const std::string closing = std::string("Initial Number of Primitives: \t50\t") + TargetItems;

    EXPECT_EQ(write(DirectTouchLogger::instance(), "touch.txt"),
              opening + "Task: \t Repel strokes outward \t" + closing + TouchColumns);
    EXPECT_EQ(write(WiimoteLogger::instance(), "wii.txt"),
              opening + "Task: \t Repel strokes outward \tTask: \t5\t" + closing + WiiColumns);
    EXPECT_EQ(write(NunchukLogger::instance(), "nunchuk.txt"),
              opening + "Task: \t Repel strokes outward \tTask: \t5\t" + closing + NunchukColumns);
    EXPECT_EQ(write(PrimitiveLogger::instance(), "prims.txt"),
              opening + "Task: \t5\tTask: \t5\tInitial Number of Primitives: \t50\t"
                        "Final Number of Primitives: \t0\tNumber of Erased Primitives: \t0\t" +
                  TargetItems + PrimitiveColumns);
    // No device and no action times in the overview either (appended: no header).
    EXPECT_EQ(write(TaskLogger::instance(), "overview.txt"),
              "6\t2 \t1\t0\t5 \t Repel strokes outward \t1700000000\t0\t\n");
}

TEST_F(Loggers, TaskTypeLabelsDifferBetweenLogs)
{
    // Input logs, primitive log and overview name task types differently;
    // primitive type 4 makes the Wii Remote and primitive logs repeat the type.
    struct Labels
    {
        int type, elementsType;
        const char *strokes, *elements, *overview, *primitiveType;
    };
    const Labels labels[] = {
        {0, 0, " Create strokes \t", " Create Elements \t", "0 \t Create strokes \t", " Points \t"},
        {1, 1, "  Orient strokes in a line \t", " Orient Elements linear/follow \t",
         "1 \t Orient strokes in a line \t", " Tiles \t"},
        {2, 3, " Orient strokes circular \t", " Orient Elements circular \t", "2 \t Orient strokes circular \t",
         " Strokes \t"},
        {3, 0, " Orient strokes in a star shape \t", " Orient Elements radial \t",
         "3 \t Orient strokes in a star shape \t", " Points \t"},
        {4, 4, "4\t", "4\t", "4\t NO DESCRIPTION \t", nullptr},
        {5, 4, " Repel strokes outward \t", "5\t", "5 \t Repel strokes outward \t", nullptr},
    };
    for (const Labels& l : labels) {
        const TaskRecord task = makeTask(-1, 1, l.type, l.elementsType);
        begin(task);
        const std::string primitiveType = l.primitiveType ? std::string("Primitive Type: \t") + l.primitiveType
                                                          : "Task: \t" + std::to_string(l.type) + "\t";
        const std::string initial = "Initial Number of Primitives: \t50\t";
        EXPECT_NE(write(WiimoteLogger::instance(), "wii.txt")
                      .find("Input Device: \t WiiRemote + Nunchuk \tStarts Sequence: \t1\tEnds Sequence: \t0\tTask: \t" +
                            std::string(l.strokes) + primitiveType + initial),
                  std::string::npos)
            << l.type;
        EXPECT_NE(write(PrimitiveLogger::instance(), "prims.txt").find("Ends Sequence: \t0\tTask: \t" +
                                                                        std::string(l.elements) + primitiveType + initial),
                  std::string::npos)
            << l.type;
        EXPECT_EQ(write(TaskLogger::instance(), "overview.txt"),
                  OverviewHeader + "-1\t2 \t1 \t WiiRemote + Nunchuk \t1\t0\t" + l.overview +
                      "1700000000\t0\t0\t0\t\n")
            << l.type;
    }
}

TEST_F(Loggers, WiimoteRowsAndTheFirstBPressAlone)
{
    const TaskRecord task = makeTask(2, 1, 0, 0);
    begin(task);
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

    const std::string text = write(wii, "wii.txt");
    EXPECT_EQ(text.substr(text.find(WiiColumns)), WiiColumns +
                                         std::string("0\t12.5\t300\t1\t0\t0\t0\t0\t0\t0\t0\t0\t0\t1\t0.25\t-1\t9.75\t30.5\t-2\t\n"
                                         "1.5\t12.5\t300\t1\t0\t0\t0\t0\t1\t0\t0\t0\t0\t1\t0.25\t-1\t9.75\t30.5\t-2\t\n"
                                         "2\t12.5\t300\t1\t0\t0\t0\t0\t0\t0\t0\t0\t0\t1\t0.25\t-1\t9.75\t30.5\t-2\t\n"));
    EXPECT_EQ(TaskLogger::instance().wiimoteActionTimes(), (ActionTimes{1.5f, 0.0f}));
}

TEST_F(Loggers, NunchukRowsCarryTheSelectedOptionAndActionTimes)
{
    NunchukLogger& nunchuk = NunchukLogger::instance();
    NunchukCommunicationData data;
    data.joystickY = 0.5f;
    data.gx = 1.5f, data.pitch = -3.0f, data.roll = 4.0f;
    nunchuk.addEntry(data); // t 0: joystick beyond 0.4 is an action
    fakeTicks = 1500;
    data = {};
    data.joystickX = 0.4f; // on the boundary: no action
    nunchuk.addEntry(data);
    fakeTicks = 2000;
    data.c = data.z = true;
    nunchuk.addEntry(data);
    fakeTicks = 2250;
    data = {};
    nunchuk.addEntry(data);

    EXPECT_EQ(write(nunchuk, "nunchuk.txt"), std::string(NunchukColumns) +
                                                 "0\t0\t0.5\t0\t0\t1.5\t0\t0\t-3\t4\t0\tcreate\n"
                                                 "0.5\t0.4\t0\t0\t0\t0\t0\t0\t0\t0\t0\tcreate\n"
                                                 "1\t0.4\t0\t1\t1\t0\t0\t0\t0\t0\t0\terase\n"
                                                 "1.25\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\tcreate\n");
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
    const std::string overview = (_dir / "taskOverview.txt").string();
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
    TaskLogger::instance().writeFile(overview);
    for (Logger* logger : allLoggers)
        logger->reset();

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
    TaskLogger::instance().writeFile(overview);

    const std::string firstLine = "-1\t1 \t0 \t Direct Touch + Nunchuk \t1\t0\t3 \t Orient strokes in a star "
                                  "shape \t1700000000\t0.5\t2.25\t4\t\n";
    EXPECT_EQ(readFile(overview), OverviewHeader + firstLine +
                                      "4\t2 \t1 \t WiiRemote + Nunchuk \t1\t1\t7\t NO DESCRIPTION \t1700000000\t"
                                      "1\t1.5\t2\t\n");
}

TEST_F(Loggers, MissingDirectoryWritesNothing)
{
    const TaskRecord task = makeTask(4, 0, 0, 0);
    begin(task);
    DirectTouchLogger::instance().addEntry(0, 1, 2, 3, 4);
    PrimitiveLogger::instance().addEntry(1, 1, 2, 3, 4, 0.0f, false, false);
    const fs::path missing = _dir / "missing";
    for (Logger* logger : allLoggers)
        logger->writeFile((missing / "task4.txt").string());
    EXPECT_FALSE(fs::exists(missing));
}
