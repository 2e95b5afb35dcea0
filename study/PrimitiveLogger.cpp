// Primitive log of one task.
#include "PrimitiveLogger.h"

#include "TaskHeader.h"

#include <sstream>

PrimitiveLogger& PrimitiveLogger::instance()
{
    static PrimitiveLogger logger;
    return logger;
}

void PrimitiveLogger::addEntry(int id, int x, int y, int width, int height, float orientation,
                               bool inTargetArea, bool erased)
{
    _records[id].push_back({entryTime(), x, y, width, height, orientation, inTargetArea, erased});
    if (erased)
        ++_erasedCount;
}

void PrimitiveLogger::writeFile(const std::string& path)
{
    std::ostringstream counts;
    counts << "Final Number of Primitives: \t" << _records.size() << "\t"
           << "Number of Erased Primitives: \t" << _erasedCount << "\t";
    const TaskHeaderStyle style{true, true, counts.str()};
    writeTaskFile(path, style,
                  "prim id \t time since start of task \t inTargetArea \t pos x \t pos y \t width \t height \t "
                  "orientation in degrees \t erased\n",
                  [this](std::ostream& out) {
                      for (const auto& [id, list] : _records) {
                          out << "\n";
                          for (const Record& r : list) {
                              writeFields(out, id, r.time, r.inTargetArea, r.x, r.y, r.width, r.height,
                                          r.orientation, r.erased);
                              out << "\n";
                          }
                      }
                  });
}

void PrimitiveLogger::reset()
{
    Logger::reset();
    _records.clear();
    _erasedCount = 0;
}
