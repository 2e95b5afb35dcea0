// Touch event log of one task.
#include "DirectTouchLogger.h"

#include "TaskHeader.h"
#include "TaskLogger.h"

DirectTouchLogger& DirectTouchLogger::instance()
{
    static DirectTouchLogger logger;
    return logger;
}

void DirectTouchLogger::addEntry(int event, int x, int y, int width, int height)
{
    _entries.push_back({entryTime(), event, x, y, width, height});
}

void DirectTouchLogger::writeFile(const std::string& path)
{
    static const TaskHeaderStyle style{false, false, {}};
    writeTaskFile(path, style,
                  "time since start of task \t touch event \t pos x \t pos y \t touchWidth \t touchHeight \n",
                  [this](std::ostream& out) {
                      for (const Entry& e : _entries) {
                          writeFields(out, e.time, e.event, e.x, e.y, e.width, e.height);
                          out << "\n";
                      }
                  });
    reportActionTimes();
}

void DirectTouchLogger::reset()
{
    Logger::reset();
    _entries.clear();
}

void DirectTouchLogger::reportActionTimes()
{
    if (_entries.empty())
        return;
    TaskLogger::instance().setTouchActionTimes(_entries.front().time, _entries.back().time);
}
