// Shared logger state: clock, task record and the per-task file layout.
#include "Logger.h"

#include "AtomicFile.h"
#include "TaskHeader.h"

#include <chrono>

namespace {

// Milliseconds of wall time since the process started. Study times are
// clock ticks / 1000.0 seconds, so the clock must tick in milliseconds and
// measure real time; std::clock ticks in microseconds of CPU time here.
std::clock_t millisecondsSinceStart()
{
    using namespace std::chrono;
    static const steady_clock::time_point origin = steady_clock::now();
    return static_cast<std::clock_t>(duration_cast<milliseconds>(steady_clock::now() - origin).count());
}

Logger::ClockFunction loggerClock = millisecondsSinceStart;

} // namespace

void Logger::setClock(ClockFunction clock)
{
    loggerClock = clock ? clock : millisecondsSinceStart;
}

float Logger::clockSeconds()
{
    return static_cast<float>(loggerClock() / 1000.0);
}

void Logger::writeFile(const std::string&)
{
    _lastWriteOk = true;
}

void Logger::reset()
{
    _currentTime = 0.0f;
    _startTime = 0.0f;
    _taskSet = false;
    _task = nullptr;
}

void Logger::start()
{
    _startTime = clockSeconds();
}

void Logger::setTask(const TaskRecord* task)
{
    _task = task;
    _taskSet = task != nullptr;
}

float Logger::entryTime()
{
    _currentTime = clockSeconds();
    if (_startTime == 0.0f)
        _startTime = _currentTime;
    return _currentTime - _startTime;
}

void Logger::writeTaskFile(const std::string& path, const TaskHeaderStyle& style, std::string_view columns,
                           const std::function<void(std::ostream&)>& writeRows)
{
    _lastWriteOk = writeFileAtomically(path, [&](std::ostream& out) {
        if (hasTask())
            writeTaskHeader(out, task(), style);
        out << columns;
        writeRows(out);
    });
}
