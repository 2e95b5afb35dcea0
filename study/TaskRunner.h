// Task mode of a study: the sequence of tasks from the configuration, which
// one runs, where its target lies, and the loggers' set-up and files.
#pragma once

#include "TaskRecord.h"

#include <string>
#include <vector>

// Driven by the GL surface (Space, Alt+T / Shift+T, the Nunchuk Z press),
// which draws what it reports: the overlay text and the running task's
// target. Makes no GL calls; the scene-side work goes through Scene.
//
// Index rule: the running task is always record currentIndex(), and its logs
// are written under that record's own number when the next press ends it.
// A pause entry (ends-sequence flag) is passed at its own start.
class TaskRunner
{
public:
    // What task mode needs of the scene.
    class Scene
    {
    public:
        virtual ~Scene() = default;
        // Only a scene with a corner menu marks a started task running (and
        // so logs touches and Wii records and draws the target).
        virtual bool hasCornerMenu() const = 0;
        // The canvas's set-up for task `index` of tasks(); nothing without a canvas.
        virtual void setUpCanvasTask(int index) = 0;
        // The canvas's end of the running task (it logs its primitives).
        virtual void endCanvasTask() = 0;
        // Draws the record's target areas for task `index`, replacing any
        // drawn before for that index.
        virtual void buildTaskTarget(int index, const TaskRecord& record) = 0;
    };

    // What the participant sees.
    enum class State { Off, Waiting, Running, Paused, Done };

    static constexpr const char* StartMessage = "Press 'Z' to begin the first task.";
    static constexpr const char* DoneMessage = "All tasks are completed. Congratulations!";

    // windowWidth and windowHeight bound the random target placement
    // (configured window size, pixels); logs go under logFolder.
    TaskRunner(Scene& scene, int windowWidth, int windowHeight, std::string logFolder = "logs");

    // The sequence, in configuration order. Target-area counts beyond the
    // lists' length are cut to it with one line each. Rewinds to the start;
    // a task set up from the old sequence is dropped unwritten.
    void setTasks(std::vector<TaskRecord> tasks);
    const std::vector<TaskRecord>& tasks() const { return _tasks; }

    // Off also rewinds to the first record; a task still set up is ended
    // and its logs written first.
    void setTaskMode(bool on);
    bool isTaskMode() const { return _taskMode; }

    // Prints the index and the number of records; true while records remain.
    bool hasMoreTasks() const;
    // Ends the running task (writing its logs) and sets up the next record;
    // after the last one, all tasks are done. Nothing outside task mode or
    // once done.
    void startTask();
    // Ends the running task: the canvas's end of task, then the five log
    // files (complete on disk on return), then the next index.
    void finishTask();

    State state() const;
    bool isTaskRunning() const { return _taskRunning; }
    bool isTaskPaused() const { return _taskPaused; }
    bool allTasksDone() const { return _allTasksDone; }
    int currentIndex() const { return _curTaskNr; }
    // The text over the canvas in the current state; empty when off.
    std::string overlayText() const;
    // Whether the running task's target is drawn now (task currentIndex()).
    bool showsTarget() const { return _taskMode && _taskRunning && _showTaskTarget && !_taskPaused; }
    void setShowTaskTarget(bool show) { _showTaskTarget = show; }

    // The five log files of the task with this record number.
    struct LogFiles
    {
        std::string primitives, touch, nunchuk, wiimote, overview;
    };
    LogFiles logFiles(int number) const;

    // Places target area 1 of task types 0, 1, 3 and 5 at random within the
    // window (rand()); other types keep theirs.
    static void placeTarget(TaskRecord& record, int windowWidth, int windowHeight);

private:
    void writeLogs(const TaskRecord& record);

    Scene& _scene;
    int _windowWidth;
    int _windowHeight;
    std::string _logFolder;
    std::vector<TaskRecord> _tasks;
    bool _taskMode = false;
    bool _taskRunning = false;
    bool _allTasksDone = false;
    bool _showTaskTarget = true;
    bool _taskPaused = false;
    // A task (not a pause entry) was set up and its logs are not written yet.
    bool _taskSetUp = false;
    int _curTaskNr = 0;
    std::string _taskDescription = "No task description available";
};
