// Per-task log of the board's touch events.
#pragma once

#include "Logger.h"

#include <vector>

class DirectTouchLogger : public Logger
{
public:
    // Touch events as logged.
    enum Event : int { EVENT_PRESS = 0, EVENT_RELEASE = 1, EVENT_MOVE = 2 };

    struct Entry
    {
        float time; // seconds since the task's start
        int event;
        int x;
        int y;
        int width;
        int height;
    };

    static DirectTouchLogger& instance();

    // One touch event: board position (y counted from the bottom) and the
    // last reported contact size.
    void addEntry(int event, int x, int y, int width, int height);

    // Writes header, column line and one line per entry, then reports the
    // action times to the task logger.
    void writeFile(const std::string& path) override;
    void reset() override;
    // Hands the times of the first and the last entry to the task logger;
    // nothing without entries.
    void reportActionTimes();

    const std::vector<Entry>& entries() const { return _entries; }

private:
    DirectTouchLogger() = default;

    std::vector<Entry> _entries;
};
