// Task mode without a display: the order of set-up, logging and the index
// through pause entries, target placement, the overlay states, and log
// folders that cannot be written.
#include "DirectTouchLogger.h"
#include "Logger.h"
#include "PrimitiveLogger.h"
#include "TaskRunner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Records what task mode asks of the scene.
struct FakeScene : TaskRunner::Scene
{
    std::vector<int> canvasSetUps;
    std::vector<int> targetsBuilt;

    bool hasCornerMenu() const override { return true; }
    void setUpCanvasTask(int index) override { canvasSetUps.push_back(index); }
    void endCanvasTask() override {}
    void buildTaskTarget(int index, const TaskRecord&) override { targetsBuilt.push_back(index); }
};

TaskRecord task(int number, int type = 2, bool pause = false)
{
    TaskRecord r;
    r.number = number;
    r.type = type;
    r.endsSequence = pause;
    r.description = pause ? "Take a break" : "Task " + std::to_string(number);
    r.targetStartX = {100, 0, 0, 0};
    r.targetStartY = {300, 0, 0, 0};
    r.targetEndX = {700, 0, 0, 0};
    r.targetEndY = {300, 0, 0, 0};
    r.targetDiameter = {80, 0, 0, 0};
    return r;
}

std::string read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::size_t lineCount(const std::string& text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

class TaskMode : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(_dir);
        Logger::setClock([]() -> std::clock_t { return 5000; });
    }
    void TearDown() override
    {
        Logger::setClock(nullptr);
        fs::remove_all(_dir);
    }

    // Task mode on with the given sequence; a press is one startTask.
    TaskRunner& runner(std::vector<TaskRecord> tasks, const fs::path& logs = {})
    {
        _runner = std::make_unique<TaskRunner>(_scene, 1280, 1024, (logs.empty() ? _dir : logs).string());
        _runner->setTasks(std::move(tasks));
        _runner->setTaskMode(true);
        return *_runner;
    }
    // Log files written so far, relative to the log folder.
    std::vector<std::string> files() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(_dir))
            if (entry.is_regular_file())
                names.push_back(fs::relative(entry.path(), _dir).string());
        std::sort(names.begin(), names.end());
        return names;
    }

    const fs::path _dir = fs::temp_directory_path() / ("pictavo_task_runner_" + std::to_string(::getpid()));
    FakeScene _scene;
    std::unique_ptr<TaskRunner> _runner;
};

} // namespace

TEST_F(TaskMode, OpeningPauseThenEachPressWritesTheRunningTaskUnderItsOwnNumber)
{
    TaskRunner& r = runner({task(-1, 2, true), task(1), task(2)});
    EXPECT_EQ(r.overlayText(), TaskRunner::StartMessage);

    r.startTask(); // the opening pause entry
    EXPECT_EQ(r.state(), TaskRunner::State::Paused);
    EXPECT_EQ(r.overlayText(), "Take a break");
    EXPECT_FALSE(PrimitiveLogger::instance().isRecording()) << "a pause entry starts no logger";
    EXPECT_TRUE(_scene.canvasSetUps.empty());

    r.startTask(); // task 1
    EXPECT_EQ(r.state(), TaskRunner::State::Running);
    EXPECT_EQ(r.overlayText(), "Task 1");
    EXPECT_TRUE(r.showsTarget());
    EXPECT_EQ(r.currentIndex(), 1) << "the target drawn is the running task's";
    EXPECT_TRUE(files().empty());
    DirectTouchLogger::instance().addEntry(0, 10, 20, 3, 4);
    DirectTouchLogger::instance().addEntry(1, 11, 21, 3, 4);

    r.startTask(); // ends task 1, starts task 2
    EXPECT_EQ(files(), (std::vector<std::string>{"directTouch/task1.txt", "nunchuk/task1.txt",
                                                 "primitives/task1.txt", "taskOverview.txt", "wiimote/task1.txt"}));
    const std::string touch = read(_dir / "directTouch/task1.txt");
    EXPECT_EQ(touch.rfind("Task Nr: \t1\t", 0), 0u) << touch;
    EXPECT_EQ(lineCount(touch), 5u) << "header, blank, columns, two events";
    EXPECT_EQ(r.overlayText(), "Task 2");

    r.startTask(); // ends task 2, the last one
    EXPECT_TRUE(fs::exists(_dir / "directTouch/task2.txt"));
    EXPECT_EQ(lineCount(read(_dir / "directTouch/task2.txt")), 3u) << "the entries of task 1 were reset";
    EXPECT_EQ(lineCount(read(_dir / "taskOverview.txt")), 2u);
    EXPECT_EQ(r.state(), TaskRunner::State::Done);
    EXPECT_EQ(r.overlayText(), TaskRunner::DoneMessage);
    EXPECT_FALSE(r.showsTarget());

    const auto before = files();
    r.startTask();
    r.startTask();
    EXPECT_EQ(files(), before);
    EXPECT_EQ(r.state(), TaskRunner::State::Done);
    EXPECT_EQ(_scene.canvasSetUps, (std::vector<int>{1, 2}));
    for (const std::string& name : files())
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
}

TEST_F(TaskMode, APauseInTheMiddleIsPassedAndAFirstTaskRunsFirst)
{
    TaskRunner& r = runner({task(7), task(-2, 2, true), task(8)});
    r.startTask();
    EXPECT_EQ(r.overlayText(), "Task 7") << "a first entry that is no pause runs first";
    r.startTask(); // writes 7, shows the pause
    EXPECT_EQ(r.state(), TaskRunner::State::Paused);
    EXPECT_FALSE(PrimitiveLogger::instance().isRecording());
    EXPECT_FALSE(r.showsTarget());
    const auto afterSeven = files();
    EXPECT_EQ(afterSeven.size(), 5u);
    r.startTask(); // the pause writes nothing; task 8 runs
    EXPECT_EQ(files(), afterSeven);
    EXPECT_EQ(r.overlayText(), "Task 8");
    EXPECT_EQ(r.currentIndex(), 2);
    r.startTask();
    EXPECT_TRUE(fs::exists(_dir / "primitives/task8.txt"));
    EXPECT_FALSE(fs::exists(_dir / "primitives/task-2.txt"));
    EXPECT_EQ(r.state(), TaskRunner::State::Done);
    EXPECT_EQ(_scene.targetsBuilt, (std::vector<int>{0, 1, 2}));
}

TEST_F(TaskMode, AClosingPauseLeadsToDoneAndSwitchingOffWritesTheRunningTask)
{
    TaskRunner& r = runner({task(1), task(-2, 2, true)});
    r.startTask();
    r.setTaskMode(false);
    EXPECT_TRUE(fs::exists(_dir / "directTouch/task1.txt")) << "nothing done is lost when leaving task mode";
    EXPECT_EQ(r.state(), TaskRunner::State::Off);
    EXPECT_EQ(r.overlayText(), "");
    r.startTask();
    EXPECT_EQ(r.state(), TaskRunner::State::Off) << "no task starts outside task mode";

    r.setTaskMode(true);
    EXPECT_EQ(r.currentIndex(), 0) << "rewound";
    r.startTask();
    r.startTask();
    EXPECT_EQ(r.state(), TaskRunner::State::Paused);
    r.startTask();
    EXPECT_EQ(r.state(), TaskRunner::State::Done);
}

TEST_F(TaskMode, CreateAndStarTasksGetANewTargetInsideTheWindowAtEveryStart)
{
    std::srand(11);
    // Configured (100, 300) - (700, 300), diameter 80: r = 40.
    for (int type : {0, 1, 3, 5, 2, 4}) {
        TaskRecord record = task(1, type);
        std::vector<int> startXs;
        for (int start = 0; start < 20; ++start) {
            TaskRunner::placeTarget(record, 1280, 1024);
            const int x = record.targetStartX[0];
            const int y = record.targetStartY[0];
            startXs.push_back(x);
            EXPECT_EQ(record.targetEndY[0], y) << type;
            if (type == 2 || type == 4) {
                EXPECT_EQ(std::vector<int>({x, y, record.targetEndX[0]}), std::vector<int>({100, 300, 700}));
                continue;
            }
            EXPECT_GE(y, 160) << type;
            EXPECT_LE(y, 1024 - 40 - 100) << type;
            EXPECT_GE(x, 160) << type;
            if (type <= 1) {
                EXPECT_LE(x, 1280 - 40 - 780) << type;
                EXPECT_EQ(record.targetEndX[0], x + 680);
            } else {
                EXPECT_LE(x, 1280 - 40 - 100) << type;
                EXPECT_EQ(record.targetEndX[0], x);
            }
        }
        std::sort(startXs.begin(), startXs.end());
        const bool moves = std::unique(startXs.begin(), startXs.end()) - startXs.begin() > 10;
        EXPECT_EQ(moves, type != 2 && type != 4) << type;
    }
}

TEST_F(TaskMode, AnUnwritableLogFolderGivesOneLineAndTheStudyGoesOn)
{
    std::ofstream(_dir / "plain-file") << "x";
    TaskRunner& r = runner({task(1), task(2), task(3)}, _dir / "plain-file" / "logs");
    r.startTask();
    testing::internal::CaptureStdout();
    r.startTask();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("TaskRunner: the logs of task 1 could not be written"), std::string::npos) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3) << "the line, then the index and the count" << out;
    EXPECT_EQ(r.overlayText(), "Task 2");
    EXPECT_EQ(r.currentIndex(), 1);
}

TEST_F(TaskMode, TargetAreaCountsBeyondFourAreCutWithOneLine)
{
    TaskRecord many = task(3);
    many.numberOfTargetAreas = 9;
    testing::internal::CaptureStdout();
    TaskRunner& r = runner({many});
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "TaskRunner: task 3 asks for 9 target areas; only the first 4 exist.\n");
    EXPECT_EQ(r.tasks()[0].numberOfTargetAreas, 4);
}
