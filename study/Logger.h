// Base of the study loggers: the task being logged, entry times and the
// layout shared by the per-task log files.
#pragma once

#include <charconv>
#include <ctime>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

struct TaskRecord;
struct TaskHeaderStyle;

// First and last action time of a task, in seconds since its start.
using ActionTimes = std::pair<float, float>;

// Each derived logger is a process-wide single instance (instance()), set up
// with setTask() and start() when a task begins, fed entries while it runs,
// and written and reset when it ends. Not copyable.
class Logger
{
public:
    // The clock the loggers read, in milliseconds.
    using ClockFunction = std::clock_t (*)();

    virtual ~Logger() = default;
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    // Writes the logger's file at path (the directory must exist). The file
    // is complete on disk when the call returns, or left as it was when it
    // cannot be written (see lastWriteSucceeded). The base writes nothing.
    virtual void writeFile(const std::string& path);
    // Times 0, no task; derived loggers also drop their entries.
    virtual void reset();
    // The task starts now: entry times count from here.
    virtual void start();
    // Keeps the record (not owned; it must outlive the task). A null record
    // leaves the logger without a task.
    virtual void setTask(const TaskRecord* task);

    // Selects the clock of all loggers; times are its ticks / 1000.0.
    // nullptr restores the default, wall-clock milliseconds since the
    // process started. Meant for tests.
    static void setClock(ClockFunction clock);

    // False when the last writeFile could not write its file.
    bool lastWriteSucceeded() const { return _lastWriteOk; }

protected:
    Logger() = default;

    // The clock's reading in seconds: ticks / 1000.0.
    static float clockSeconds();
    // Time of a new entry: seconds since start(), or since the first entry
    // when start() was not called. Updates the current time.
    float entryTime();

    bool hasTask() const { return _taskSet; }
    // Only valid while hasTask().
    const TaskRecord& task() const { return *_task; }

    // Replaces the file at path (atomically) with the task header (when a
    // task is set) in the given style, the column line and whatever
    // writeRows writes. Sets the last write's outcome.
    void writeTaskFile(const std::string& path, const TaskHeaderStyle& style, std::string_view columns,
                       const std::function<void(std::ostream&)>& writeRows);

    // Writes each value followed by a tab (bools as 1 or 0, floating-point
    // values as a default-formatted stream would: 6 significant digits).
    // Formats the whole row before one write: logs hold tens of thousands
    // of rows and are written between two tasks.
    template <class... Values>
    static void writeFields(std::ostream& out, const Values&... values)
    {
        char row[64 * sizeof...(Values)];
        char* end = row;
        ((end = appendField(end, row + sizeof(row), values)), ...);
        out.write(row, end - row);
    }

    // The time of the first entry that is an action, and of the latest later
    // one (0 when there is none); (0, 0) without any action. Entries carry
    // their time in `time`.
    template <class Entry, class IsAction>
    static ActionTimes firstAndLastAction(const std::vector<Entry>& entries, IsAction isAction)
    {
        ActionTimes times{0.0f, 0.0f};
        bool found = false;
        for (const Entry& entry : entries) {
            if (!isAction(entry))
                continue;
            if (found)
                times.second = entry.time;
            else
                times.first = entry.time;
            found = true;
        }
        return times;
    }

    // Appends value and a tab at `at`; returns the new end.
    template <class Value>
    static char* appendField(char* at, char* last, const Value& value)
    {
        if constexpr (std::is_same_v<Value, bool>)
            *at++ = value ? '1' : '0';
        else if constexpr (std::is_floating_point_v<Value>)
            at = std::to_chars(at, last - 1, value, std::chars_format::general, 6).ptr;
        else
            at = std::to_chars(at, last - 1, value).ptr;
        if (at < last)
            *at++ = '\t';
        return at;
    }

    float _currentTime = 0.0f;
    float _startTime = 0.0f;
    bool _taskSet = false;
    const TaskRecord* _task = nullptr;
    bool _lastWriteOk = true;
};
