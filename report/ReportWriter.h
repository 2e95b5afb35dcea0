// The study report: a table of a session's tasks (CSV) and one picture per
// task of its touch paths over its target area.
#pragma once

#include "StudyLogs.h"

#include <QImage>

#include <optional>
#include <string>
#include <vector>

struct ReportSettings
{
    // Posture ranges in board units, as the program scales them.
    PostureRanges ranges;
    // Window the positions were recorded in (pixels).
    int windowWidth = 1024;
    int windowHeight = 768;
};

struct TaskSummary
{
    int number = 0;
    std::optional<OverviewLine> overview; // none when the overview lacks the task
    int touchEvents = 0;
    PostureCounts postures{};
    PrimitiveCounts primitives;
};

// Every task of the logs under logDir: the overview's lines in order, then
// tasks that only have per-task files, by number.
std::vector<TaskSummary> summariseTasks(const std::string& logDir, const PostureRanges& ranges);

// The table, one row per task, as comma-separated text with a header line;
// times in seconds, empty where unknown.
std::string tasksCsv(const std::vector<TaskSummary>& tasks);

// The task's touch paths (coloured by posture, presses as dots) over its
// target area, in the recording window's pixels.
QImage drawTask(const std::string& logDir, int number, const ReportSettings& settings);

// Writes tasks.csv and task<N>.png into outDir (created when missing).
// Returns the number of tasks, or -1 with one line on standard error when
// outDir cannot be written.
int writeReport(const std::string& logDir, const std::string& outDir, const ReportSettings& settings);
