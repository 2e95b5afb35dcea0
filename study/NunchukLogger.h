// Per-task log of the Nunchuk records, each with the option its joystick
// and buttons select.
#pragma once

#include "Logger.h"

#include <WiiCommunicationData.h>

#include <vector>

class NunchukLogger : public Logger
{
public:
    struct Entry
    {
        float time; // seconds since the task's start
        NunchukCommunicationData data;
    };

    // The option a Nunchuk state selects, as logged: number and name.
    struct SelectedOption
    {
        int number;
        const char* name;
    };

    static NunchukLogger& instance();

    // Keeps a copy of the Nunchuk's record.
    void addEntry(const NunchukCommunicationData& data);

    // Writes header, column line and one line per entry, then reports the
    // action times to the task logger.
    void writeFile(const std::string& path) override;
    void reset() override;
    // Actions are entries with C or Z held or the joystick beyond 0.4 on an
    // axis: hands the task logger the time of the first and of the latest
    // later one (0 when alone).
    void reportActionTimes();

    // Joystick direction and buttons mapped to a tool option; anything
    // unmatched counts as "create".
    static SelectedOption selectedOption(const NunchukCommunicationData& data);

    const std::vector<Entry>& entries() const { return _entries; }

private:
    NunchukLogger() = default;

    std::vector<Entry> _entries;
};
