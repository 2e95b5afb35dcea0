// Touch log reading and playback.
#include "TouchLogReplay.h"

#include "BoardTouchHandler.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <istream>
#include <string_view>

namespace {

constexpr ContactKey ReplayContact = contactKey(TouchSource::LogReplay, 0);

std::string_view trimmed(std::string_view field)
{
    const auto first = field.find_first_not_of(" \r");
    if (first == std::string_view::npos)
        return {};
    return field.substr(first, field.find_last_not_of(" \r") - first + 1);
}

template <typename T>
bool parseField(std::string_view field, T& value)
{
    field = trimmed(field);
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, value);
    return error == std::errc() && stop == end && !field.empty();
}

// Six tab-separated values; the writer ends each with a tab, so a seventh,
// empty field may follow.
bool parseEntry(std::string_view line, TouchLogEntry& entry)
{
    std::string_view fields[6];
    for (std::string_view& field : fields) {
        const auto tab = line.find('\t');
        field = line.substr(0, tab);
        line = tab == std::string_view::npos ? std::string_view{} : line.substr(tab + 1);
    }
    if (!trimmed(line).empty())
        return false;
    return parseField(fields[0], entry.time) && std::isfinite(entry.time) && parseField(fields[1], entry.event)
           && entry.event >= TOUCH_LOG_DOWN && entry.event <= TOUCH_LOG_MOVE && parseField(fields[2], entry.x)
           && parseField(fields[3], entry.y) && parseField(fields[4], entry.width)
           && parseField(fields[5], entry.height);
}

} // namespace

std::vector<TouchLogEntry> parseTouchLog(std::istream& in)
{
    std::vector<TouchLogEntry> entries;
    std::string line;
    while (std::getline(in, line)) {
        TouchLogEntry entry;
        if (parseEntry(line, entry))
            entries.push_back(entry);
    }
    return entries;
}

std::optional<std::vector<TouchLogEntry>> loadTouchLog(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        return std::nullopt;
    return parseTouchLog(in);
}

TouchLogReplay::TouchLogReplay(std::vector<TouchLogEntry> entries, BoardPointers& pointers,
                               const BoardGeometry& geometry)
    : _entries(std::move(entries))
    , _pointers(pointers)
    , _geometry(geometry)
{
}

TouchLogReplay::~TouchLogReplay() { stop(); }

std::optional<double> TouchLogReplay::advance(double elapsed)
{
    while (!finished() && dueTime(_next) <= elapsed)
        play(_entries[_next++]);
    if (finished()) {
        _pointers.release(ReplayContact);
        return std::nullopt;
    }
    return dueTime(_next) - elapsed;
}

void TouchLogReplay::stop()
{
    _next = _entries.size();
    _pointers.release(ReplayContact);
}

void TouchLogReplay::play(const TouchLogEntry& entry)
{
    const BoardPoint at = _geometry.fromDevice(entry.x, entry.y);
    switch (entry.event) {
    case TOUCH_LOG_DOWN:
        // A down without the up of the previous contact ends that one first.
        _pointers.release(ReplayContact);
        _pointers.press(ReplayContact, at.x, at.y, entry.width, entry.height);
        break;
    case TOUCH_LOG_MOVE:
        // A log that starts while a contact is down begins with moves.
        if (!_pointers.move(ReplayContact, at.x, at.y, entry.width, entry.height))
            _pointers.press(ReplayContact, at.x, at.y, entry.width, entry.height);
        break;
    default:
        _pointers.release(ReplayContact, at.x, at.y);
        break;
    }
}
