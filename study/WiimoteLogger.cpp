// Wii Remote log of one task.
#include "WiimoteLogger.h"

#include "TaskHeader.h"
#include "TaskLogger.h"

WiimoteLogger& WiimoteLogger::instance()
{
    static WiimoteLogger logger;
    return logger;
}

void WiimoteLogger::addEntry(const WiiCommunicationData& data)
{
    _entries.push_back({entryTime(), data});
}

void WiimoteLogger::writeFile(const std::string& path)
{
    static const TaskHeaderStyle style{false, true, {}};
    writeTaskFile(path, style,
                  "time since start of task \t pos x \t pos y \t up button \t down \t right \t left \t a \t b \t "
                  "plus \t minus \t home \t one \t two \t gx \t gy \t gz \t pitch \t roll \n",
                  [this](std::ostream& out) {
                      for (const Entry& e : _entries) {
                          const WiiCommunicationData& d = e.data;
                          writeFields(out, e.time, d.pointerX, d.pointerY, d.up, d.down, d.right, d.left, d.a,
                                      d.b, d.plus, d.minus, d.home, d.one, d.two, d.gx, d.gy, d.gz, d.pitch,
                                      d.roll);
                          out << "\n";
                      }
                  });
    reportActionTimes();
}

void WiimoteLogger::reset()
{
    Logger::reset();
    _entries.clear();
}

void WiimoteLogger::reportActionTimes()
{
    const ActionTimes times = firstAndLastAction(_entries, [](const Entry& e) { return e.data.b; });
    TaskLogger::instance().setWiimoteActionTimes(times.first, times.second);
}
