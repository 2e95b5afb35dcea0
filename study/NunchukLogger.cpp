// Nunchuk log of one task and the option table of its last column.
#include "NunchukLogger.h"

#include "TaskHeader.h"
#include "TaskLogger.h"

namespace {

// Joystick thresholds as doubles: a float reading of 0.8f lies just above
// 0.8 and counts as beyond it.
constexpr double Near = 0.4;
constexpr double Far = 0.8;

bool between(double value, double low, double high)
{
    return low < value && value < high;
}

} // namespace

NunchukLogger& NunchukLogger::instance()
{
    static NunchukLogger logger;
    return logger;
}

NunchukLogger::SelectedOption NunchukLogger::selectedOption(const NunchukCommunicationData& data)
{
    const double x = data.joystickX;
    const double y = data.joystickY;
    const bool noButton = !data.c && !data.z;

    if (noButton && between(x, -Near, Near)) {
        if (y > Far)
            return {8, "resize smaller"};
        if (y < -Far)
            return {7, "resize bigger"};
    }
    if (noButton && x > Near) {
        if (between(y, -Far, -Near))
            return {5, "repell outwards"};
        if (-Near <= y && y <= Near)
            return {4, "move follow"};
        if (between(y, Near, Far))
            return {6, "attract inwards"};
    }
    if (!data.c && x < -Near) {
        if (data.z && between(y, -Far, Far))
            return {0, "create"};
        if (between(y, -Far, -Near))
            return {2, "orient circular"};
        if (-Near <= y && y <= Near)
            return {1, "orient follow"};
        if (between(y, Near, Far))
            return {3, "orient in a star shape"};
    }
    if (data.c && data.z)
        return {0, "erase"};
    return {0, "create"};
}

void NunchukLogger::addEntry(const NunchukCommunicationData& data)
{
    _entries.push_back({entryTime(), data});
}

void NunchukLogger::writeFile(const std::string& path)
{
    static const TaskHeaderStyle style{false, true, {}};
    writeTaskFile(path, style,
                  "time since start of task \t joy x \t joy y \t c button \t z button \t gx \t gy \t gz \t "
                  "pitch \t roll \t selected option number \t selected option\n",
                  [this](std::ostream& out) {
                      for (const Entry& e : _entries) {
                          const NunchukCommunicationData& d = e.data;
                          const SelectedOption option = selectedOption(d);
                          writeFields(out, e.time, d.joystickX, d.joystickY, d.c, d.z, d.gx, d.gy, d.gz, d.pitch,
                                      d.roll, option.number);
                          out << option.name << "\n";
                      }
                  });
    reportActionTimes();
}

void NunchukLogger::reset()
{
    Logger::reset();
    _entries.clear();
}

void NunchukLogger::reportActionTimes()
{
    const ActionTimes times = firstAndLastAction(_entries, [](const Entry& e) {
        const NunchukCommunicationData& d = e.data;
        return d.c || d.z || d.joystickX < -Near || d.joystickX > Near || d.joystickY < -Near || d.joystickY > Near;
    });
    TaskLogger::instance().setNunchukActionTimes(times.first, times.second);
}
