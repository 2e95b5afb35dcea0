// Task mode: sequence, index, target placement and the loggers of each task.
#include "TaskRunner.h"

#include "DirectTouchLogger.h"
#include "NunchukLogger.h"
#include "Random.h"
#include "PrimitiveLogger.h"
#include "TaskLogger.h"
#include "WiimoteLogger.h"

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <system_error>
#include <utility>

namespace {

// The five loggers in the order they are set up, written and reset.
Logger* const TaskLoggers[] = {&PrimitiveLogger::instance(), &DirectTouchLogger::instance(),
                               &NunchukLogger::instance(), &WiimoteLogger::instance(), &TaskLogger::instance()};

// trunc(randomValue() * span / 32767 + offset), the product taken as an unsigned
// 32-bit value: a negative span (a window too small) wraps far off screen.
int randomCoordinate(int span, int offset)
{
    const auto product = static_cast<std::uint32_t>(static_cast<std::int64_t>(randomValue()) * span);
    return static_cast<int>(product / 32767.0 + offset);
}

} // namespace

TaskRunner::TaskRunner(Scene& scene, int windowWidth, int windowHeight, std::string logFolder)
    : _scene(scene), _windowWidth(windowWidth), _windowHeight(windowHeight), _logFolder(std::move(logFolder))
{
}

void TaskRunner::setTasks(std::vector<TaskRecord> tasks)
{
    for (TaskRecord& record : tasks) {
        if (record.numberOfTargetAreas > TaskRecord::MaxTargetAreas) {
            std::cout << "TaskRunner: task " << record.number << " asks for " << record.numberOfTargetAreas
                      << " target areas; only the first " << TaskRecord::MaxTargetAreas << " exist." << std::endl;
            record.numberOfTargetAreas = TaskRecord::MaxTargetAreas;
        }
    }
    // The loggers point into the old sequence: a task set up from it is dropped.
    if (_taskSetUp)
        for (Logger* logger : TaskLoggers)
            logger->reset();
    _tasks = std::move(tasks);
    _curTaskNr = 0;
    _taskRunning = _taskSetUp = _allTasksDone = false;
}

void TaskRunner::setTaskMode(bool on)
{
    if (!on && _taskSetUp)
        finishTask();
    _taskMode = on;
    if (!on) {
        _taskRunning = false;
        _curTaskNr = 0;
        _allTasksDone = false;
    }
}

bool TaskRunner::hasMoreTasks() const
{
    std::cout << "_curTaskNr: " << _curTaskNr << std::endl;
    std::cout << "_taskDescriptions.size(): " << _tasks.size() << std::endl;
    return static_cast<std::size_t>(_curTaskNr) < _tasks.size();
}

void TaskRunner::placeTarget(TaskRecord& record, int windowWidth, int windowHeight)
{
    const int r = static_cast<int>(0.5 * record.targetDiameter[0]);
    int x = 0;
    int y = 0;
    if (record.type == 0 || record.type == 1) {
        x = randomCoordinate(windowWidth - 2 * r - 900, r + 120);
        y = randomCoordinate(windowHeight - 2 * r - 220, r + 120);
        record.targetEndX[0] = x + 680;
    } else if (record.type == 3 || record.type == 5) {
        x = randomCoordinate(windowWidth - 2 * r - 220, r + 120);
        y = randomCoordinate(windowHeight - 2 * r - 220, r + 120);
        record.targetEndX[0] = x;
    } else {
        return;
    }
    record.targetStartX[0] = x;
    record.targetStartY[0] = y;
    record.targetEndY[0] = y;
}

void TaskRunner::startTask()
{
    // Once done, presses do nothing until task mode is switched off; a last
    // record that is a pause entry still leads to done on the next press.
    if (!_taskMode || _allTasksDone)
        return;
    finishTask();
    if (!hasMoreTasks()) {
        _allTasksDone = true;
        return;
    }
    const int index = _curTaskNr;
    TaskRecord& record = _tasks[static_cast<std::size_t>(index)];
    _taskPaused = record.endsSequence;
    if (_taskPaused)
        std::srand(static_cast<unsigned>(std::time(nullptr)));
    _taskDescription = record.description;
    placeTarget(record, _windowWidth, _windowHeight);
    _scene.buildTaskTarget(index, record);
    if (_taskPaused) {
        ++_curTaskNr;
        return;
    }
    if (_scene.hasCornerMenu())
        _taskRunning = true;
    _scene.setUpCanvasTask(index);
    // The loggers keep the record itself: its logs show the placed target.
    for (Logger* logger : TaskLoggers)
        logger->setTask(&record);
    for (Logger* logger : TaskLoggers)
        logger->start();
    _taskSetUp = true;
}

void TaskRunner::finishTask()
{
    _scene.endCanvasTask();
    _taskRunning = false;
    if (_taskPaused || !_taskSetUp)
        return;
    writeLogs(_tasks[static_cast<std::size_t>(_curTaskNr)]);
    for (Logger* logger : TaskLoggers)
        logger->reset();
    _taskSetUp = false;
    ++_curTaskNr;
}

TaskRunner::LogFiles TaskRunner::logFiles(int number) const
{
    const std::string name = "/task" + std::to_string(number) + ".txt";
    return {_logFolder + "/primitives" + name, _logFolder + "/directTouch" + name, _logFolder + "/nunchuk" + name,
            _logFolder + "/wiimote" + name, _logFolder + "/taskOverview.txt"};
}

void TaskRunner::writeLogs(const TaskRecord& record)
{
    const LogFiles files = logFiles(record.number);
    // A run directory without its log folders still keeps the study's logs.
    std::error_code ignored;
    for (const char* folder : {"/primitives", "/directTouch", "/nunchuk", "/wiimote"})
        std::filesystem::create_directories(_logFolder + folder, ignored);

    const std::string* paths[] = {&files.primitives, &files.touch, &files.nunchuk, &files.wiimote, &files.overview};
    std::string failed;
    for (std::size_t i = 0; i < std::size(TaskLoggers); ++i) {
        TaskLoggers[i]->writeFile(*paths[i]);
        if (!TaskLoggers[i]->lastWriteSucceeded())
            failed += (failed.empty() ? "" : ", ") + *paths[i];
    }
    if (!failed.empty())
        std::cout << "TaskRunner: the logs of task " << record.number << " could not be written (" << failed
                  << "); the study goes on." << std::endl;
}

TaskRunner::State TaskRunner::state() const
{
    if (!_taskMode)
        return State::Off;
    if (_allTasksDone)
        return State::Done;
    if (_taskPaused)
        return State::Paused;
    return _taskRunning ? State::Running : State::Waiting;
}

std::string TaskRunner::overlayText() const
{
    switch (state()) {
    case State::Off: return {};
    case State::Waiting: return StartMessage;
    case State::Done: return DoneMessage;
    case State::Running:
    case State::Paused: return _taskDescription;
    }
    return {};
}
