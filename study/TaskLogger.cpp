// Overview log of all tasks of a study series.
#include "TaskLogger.h"

#include "AtomicFile.h"
#include "TaskRecord.h"

#include <sstream>

namespace {

std::time_t systemTimestamp()
{
    return std::time(nullptr);
}

TaskLogger::TimestampFunction timestampClock = systemTimestamp;

const char* overviewTaskName(int type)
{
    switch (type) {
    case 0: return "0 \t Create strokes \t";
    case 1: return "1 \t Orient strokes in a line \t";
    case 2: return "2 \t Orient strokes circular \t";
    case 3: return "3 \t Orient strokes in a star shape \t";
    case 5: return "5 \t Repel strokes outward \t";
    default: return nullptr;
    }
}

} // namespace

TaskLogger& TaskLogger::instance()
{
    static TaskLogger logger;
    return logger;
}

void TaskLogger::setTimestampClock(TimestampFunction timestamp)
{
    timestampClock = timestamp ? timestamp : systemTimestamp;
}

void TaskLogger::reset()
{
    Logger::reset();
    _nunchukTimes = _wiimoteTimes = _touchTimes = {0.0f, 0.0f};
}

void TaskLogger::setNunchukActionTimes(float first, float last)
{
    _nunchukTimes = {first, last};
}

void TaskLogger::setWiimoteActionTimes(float first, float last)
{
    _wiimoteTimes = {first, last};
}

void TaskLogger::setTouchActionTimes(float first, float last)
{
    _touchTimes = {first, last};
}

void TaskLogger::writeFile(const std::string& path)
{
    _lastWriteOk = true;
    if (!hasTask())
        return;
    _currentTime = clockSeconds();

    std::ostringstream line;
    writeLine(line);
    if (task().number == -1) {
        // The first entry of a series starts a new overview.
        _lastWriteOk = writeFileAtomically(path, [&](std::ostream& out) {
            out << "Task Nr  \t Block Nr \t Input Device Nr \t Input Device Description \t Starts Sequence \t "
                   "Ends Sequence \t Task Type \t Task Description \t"
                << "Finish Timestamp \t Time of first action (in seconds) \t Time of last action (in seconds) "
                   "\t Finish Time"
                << "\n"
                << line.str();
        });
    } else {
        _lastWriteOk = appendToFileDurably(path, line.str());
    }
}

void TaskLogger::writeLine(std::ostream& out) const
{
    const TaskRecord& record = task();
    out << record.number << "\t";
    out << record.blockNumber << " \t";
    if (record.inputDevice == 0)
        out << "0 \t Direct Touch + Nunchuk \t";
    else if (record.inputDevice == 1)
        out << "1 \t WiiRemote + Nunchuk \t";
    out << record.startsSequence << "\t" << record.endsSequence << "\t";
    if (const char* name = overviewTaskName(record.type))
        out << name;
    else
        out << record.type << "\t NO DESCRIPTION \t";
    out << static_cast<long long>(timestampClock()) << "\t";
    if (record.inputDevice == 1)
        out << _wiimoteTimes.first << "\t" << _wiimoteTimes.second << "\t";
    else if (record.inputDevice == 0)
        out << _touchTimes.first << "\t" << _touchTimes.second << "\t";
    out << _currentTime - _startTime << "\t";
    out << "\n";
}
