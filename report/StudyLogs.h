// A study session's logs read back for the report: the overview lines and,
// per task, its touch events and primitive records, summarised.
#pragma once

#include "Posture.h"
#include "PostureDetector.h"
#include "TouchLogReplay.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

// One line of taskOverview.txt. Times in seconds since the task's start.
struct OverviewLine
{
    int number = 0;
    int block = 0;
    int inputDevice = -1; // -1: a device without its own items
    int type = 0;
    double duration = 0.0;    // the finish time
    std::optional<double> firstAction;
    std::optional<double> lastAction;
};

// The overview's task lines (the header and lines that do not parse are
// skipped); empty when the file cannot be read.
std::vector<OverviewLine> readOverview(const std::string& path);

// The target area 1 of a per-task log's task line (window pixels, origin
// bottom left); nullopt when the file has none.
struct TargetArea
{
    int startX = 0, startY = 0, endX = 0, endY = 0, diameter = 0;
};
std::optional<TargetArea> readTargetArea(const std::string& path);

// One primitive log record.
struct PrimitiveRecord
{
    int id = 0;
    double time = 0.0;
    bool erased = false;
};
// The primitive records of a primitive log; nullopt when it cannot be read.
std::optional<std::vector<PrimitiveRecord>> readPrimitiveLog(const std::string& path);

// Primitives of a task: the distinct ids logged, those first logged later
// than `startWindow` seconds after the earliest record (made during the
// task; the others were there when it began), and those with an erased
// record.
struct PrimitiveCounts
{
    int logged = 0;
    int created = 0;
    int erased = 0;
};
PrimitiveCounts countPrimitives(const std::vector<PrimitiveRecord>& records, double startWindow = 0.25);

// The posture of one touch event by its own contact area (width x height,
// board units) against the ranges (whole, inclusive bounds): the first range
// that holds it, unknown when none does (also for size-less contacts).
Posture postureOfContact(const PostureRanges& ranges, int width, int height);

// Touch events per posture 0 (pen) to 5 (unknown).
using PostureCounts = std::array<int, 6>;
PostureCounts countPostures(const std::vector<TouchLogEntry>& events, const PostureRanges& ranges);

// The contacts of a touch log: the events from a press to its release (or
// to the next press or the end of the log).
std::vector<std::vector<TouchLogEntry>> contactPaths(const std::vector<TouchLogEntry>& events);
