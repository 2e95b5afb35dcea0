// Per-task log of the Wii Remote records received while a task runs.
#pragma once

#include "Logger.h"

#include <WiiCommunicationData.h>

#include <vector>

class WiimoteLogger : public Logger
{
public:
    struct Entry
    {
        float time; // seconds since the task's start
        WiiCommunicationData data;
    };

    static WiimoteLogger& instance();

    // Keeps a copy of the Remote's record.
    void addEntry(const WiiCommunicationData& data);

    // Writes header, column line and one line per entry, then reports the
    // action times to the task logger.
    void writeFile(const std::string& path) override;
    void reset() override;
    // Actions are entries with the B button held: hands the task logger the
    // time of the first and of the latest later one (0 when alone).
    void reportActionTimes();

    const std::vector<Entry>& entries() const { return _entries; }

private:
    WiimoteLogger() = default;

    std::vector<Entry> _entries;
};
