// Plays a recorded touch log back as board contacts, at its recorded pace.
#pragma once

#include "BoardGeometry.h"
#include "BoardPointers.h"

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// One line of a touch log: seconds since the task began, event (0 down,
// 1 up, 2 move), device position (pixels, origin bottom left) and the
// contact size in board units.
struct TouchLogEntry
{
    double time = 0.0;
    int event = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const TouchLogEntry&, const TouchLogEntry&) = default;
};

// The entry lines of a touch log: six tab-separated numbers each. Every
// other line (task header, column line, blank lines) is skipped, and so is
// a line with a value that does not parse, a time that is not finite or an
// event other than 0, 1 and 2.
std::vector<TouchLogEntry> parseTouchLog(std::istream& in);
// The same from a file; nullopt when it cannot be opened.
std::optional<std::vector<TouchLogEntry>> loadTouchLog(const std::string& path);

// The log has no pointer ids: its contacts are one contact of the replay
// source, which takes a board pointer like any other source. Positions are
// converted back to board units with the surface's current geometry, so a
// log recorded on a surface of the same size replays at the same pixels.
class TouchLogReplay
{
public:
    // `pointers` and `geometry` are not owned and must outlive the replay.
    TouchLogReplay(std::vector<TouchLogEntry> entries, BoardPointers& pointers, const BoardGeometry& geometry);
    ~TouchLogReplay();

    TouchLogReplay(const TouchLogReplay&) = delete;
    TouchLogReplay& operator=(const TouchLogReplay&) = delete;

    // Plays every entry due `elapsed` seconds after playback began. The
    // first entry is due at 0 (the idle time before it is skipped), each
    // later one at its time minus the first entry's. Returns the seconds
    // until the next entry is due, or nullopt when all have been played;
    // then a contact the log left down is released where it was.
    std::optional<double> advance(double elapsed);
    // Ends playback early, releasing a contact still down.
    void stop();

    bool finished() const { return _next >= _entries.size(); }
    std::size_t played() const { return _next; }
    std::size_t size() const { return _entries.size(); }

private:
    double dueTime(std::size_t index) const { return _entries[index].time - _entries.front().time; }
    void play(const TouchLogEntry& entry);

    std::vector<TouchLogEntry> _entries;
    BoardPointers& _pointers;
    const BoardGeometry& _geometry;
    std::size_t _next = 0;
};
