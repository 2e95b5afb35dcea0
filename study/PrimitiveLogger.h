// Per-task log of the primitives' states, grouped by primitive id.
#pragma once

#include "Logger.h"

#include <map>
#include <vector>

class PrimitiveLogger : public Logger
{
public:
    struct Record
    {
        float time; // seconds since the task's start
        int x;
        int y;
        int width;
        int height;
        float orientation; // degrees
        bool inTargetArea;
        bool erased;
    };

    static PrimitiveLogger& instance();

    // Appends one state of primitive id (a new id starts its own list).
    void addEntry(int id, int x, int y, int width, int height, float orientation, bool inTargetArea,
                  bool erased);

    // Writes header (with the number of distinct ids and of erased records),
    // column line, and per id in ascending order an empty line followed by
    // that id's records.
    void writeFile(const std::string& path) override;
    void reset() override;

    // True while a task is set: primitives add records only then.
    bool isRecording() const { return hasTask(); }

    const std::map<int, std::vector<Record>>& records() const { return _records; }
    unsigned erasedCount() const { return _erasedCount; }

private:
    PrimitiveLogger() = default;

    std::map<int, std::vector<Record>> _records;
    unsigned _erasedCount = 0;
};
