// The overview log: one line per finished task with its first and last
// action times, appended to a file shared by the whole series.
#pragma once

#include "Logger.h"

#include <ctime>

// The input loggers hand it their action times when they write their files;
// it must be written after them.
class TaskLogger : public Logger
{
public:
    // Seconds since 1970, as written for the finish timestamp.
    using TimestampFunction = std::time_t (*)();

    static TaskLogger& instance();

    // For task number -1 replaces path (atomically) with the column header
    // and the line; otherwise appends the line (creating the file when
    // missing) and flushes it to disk. Writes nothing without a task.
    void writeFile(const std::string& path) override;
    // Also zeroes the three pairs of action times.
    void reset() override;

    // First and last action time reported by each input logger, in seconds
    // since the task's start. The Nunchuk pair is kept but not written.
    void setNunchukActionTimes(float first, float last);
    void setWiimoteActionTimes(float first, float last);
    void setTouchActionTimes(float first, float last);

    ActionTimes nunchukActionTimes() const { return _nunchukTimes; }
    ActionTimes wiimoteActionTimes() const { return _wiimoteTimes; }
    ActionTimes touchActionTimes() const { return _touchTimes; }

    // Selects the source of the finish timestamp; nullptr restores the
    // system clock. Meant for tests.
    static void setTimestampClock(TimestampFunction timestamp);

private:
    TaskLogger() = default;

    void writeLine(std::ostream& out) const;

    ActionTimes _nunchukTimes{0.0f, 0.0f};
    ActionTimes _wiimoteTimes{0.0f, 0.0f};
    ActionTimes _touchTimes{0.0f, 0.0f};
};
