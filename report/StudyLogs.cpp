// Reading and summarising the study logs for the report.
#include "StudyLogs.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

namespace {

// The line's tab-separated fields with surrounding blanks removed.
std::vector<std::string> fields(const std::string& line)
{
    std::vector<std::string> out;
    std::stringstream in(line);
    std::string field;
    while (std::getline(in, field, '\t')) {
        const auto first = field.find_first_not_of(' ');
        const auto last = field.find_last_not_of(' ');
        out.push_back(first == std::string::npos ? std::string() : field.substr(first, last - first + 1));
    }
    return out;
}

template <class Number>
std::optional<Number> parse(const std::string& text)
{
    std::istringstream in(text);
    Number value{};
    if (!(in >> value) || !in.eof())
        return std::nullopt;
    return value;
}

// The value after the field `label` on a task line.
std::optional<int> valueAfter(const std::vector<std::string>& items, const std::string& label)
{
    const auto found = std::find(items.begin(), items.end(), label);
    if (found == items.end() || found + 1 == items.end())
        return std::nullopt;
    return parse<int>(*(found + 1));
}

} // namespace

std::vector<OverviewLine> readOverview(const std::string& path)
{
    std::vector<OverviewLine> lines;
    std::ifstream in(path);
    std::string text;
    while (std::getline(in, text)) {
        const std::vector<std::string> f = fields(text);
        // number, block, [device number and name,] the two flags, type
        // number and name, timestamp, [first, last,] finish time: devices
        // other than 0 and 1 have neither their items nor action times.
        const bool withDevice = f.size() >= 12 && (f[3] == "Direct Touch + Nunchuk" || f[3] == "WiiRemote + Nunchuk");
        if (!withDevice && f.size() < 8)
            continue;
        const std::size_t shift = withDevice ? 0 : 2;
        const auto number = parse<int>(f[0]);
        const auto block = parse<int>(f[1]);
        const auto device = withDevice ? parse<int>(f[2]) : std::optional<int>(-1);
        const auto type = parse<int>(f[6 - shift]);
        const auto duration = parse<double>(f[withDevice ? 11 : 7]);
        if (!number || !block || !device || !type || !duration)
            continue;
        OverviewLine line{*number, *block, *device, *type, *duration, {}, {}};
        if (withDevice) {
            line.firstAction = parse<double>(f[9]);
            line.lastAction = parse<double>(f[10]);
        }
        lines.push_back(line);
    }
    return lines;
}

std::optional<TargetArea> readTargetArea(const std::string& path)
{
    std::ifstream in(path);
    std::string first;
    if (!std::getline(in, first))
        return std::nullopt;
    const std::vector<std::string> items = fields(first);
    const auto sx = valueAfter(items, "Target Area Start X:");
    const auto sy = valueAfter(items, "Target Area Start Y:");
    const auto ex = valueAfter(items, "Target Area End X:");
    const auto ey = valueAfter(items, "Target Area End Y:");
    const auto d = valueAfter(items, "Target Area Diameter:");
    if (!sx || !sy || !ex || !ey || !d)
        return std::nullopt;
    return TargetArea{*sx, *sy, *ex, *ey, *d};
}

std::optional<std::vector<PrimitiveRecord>> readPrimitiveLog(const std::string& path)
{
    std::ifstream in(path);
    if (!in.is_open())
        return std::nullopt;
    std::vector<PrimitiveRecord> records;
    std::string text;
    while (std::getline(in, text)) {
        // id, time, in target, x, y, width, height, orientation, erased
        const std::vector<std::string> f = fields(text);
        if (f.size() < 9)
            continue;
        const auto id = parse<int>(f[0]);
        const auto time = parse<double>(f[1]);
        const auto erased = parse<int>(f[8]);
        if (id && time && erased)
            records.push_back({*id, *time, *erased != 0});
    }
    return records;
}

PrimitiveCounts countPrimitives(const std::vector<PrimitiveRecord>& records, double startWindow)
{
    PrimitiveCounts counts;
    if (records.empty())
        return counts;
    std::map<int, double> firstSeen;
    std::set<int> erased;
    double earliest = records.front().time;
    for (const PrimitiveRecord& r : records) {
        const auto [entry, added] = firstSeen.emplace(r.id, r.time);
        if (!added)
            entry->second = std::min(entry->second, r.time);
        if (r.erased)
            erased.insert(r.id);
        earliest = std::min(earliest, r.time);
    }
    counts.logged = static_cast<int>(firstSeen.size());
    counts.erased = static_cast<int>(erased.size());
    for (const auto& [id, time] : firstSeen)
        counts.created += time > earliest + startWindow ? 1 : 0;
    return counts;
}

Posture postureOfContact(const PostureRanges& ranges, int width, int height)
{
    const double area = static_cast<double>(width) * height;
    if (area <= 0.0)
        return Posture::Unknown;
    const std::pair<double, double> bounds[] = {{ranges.penMin, ranges.penMax},
                                                {ranges.oneFingerMin, ranges.oneFingerMax},
                                                {ranges.twoFingersMin, ranges.twoFingersMax},
                                                {ranges.fistMin, ranges.fistMax},
                                                {ranges.handMin, ranges.handMax}};
    // Bounds are whole numbers and inclusive, as the program's detector has them.
    for (int p = 0; p < 5; ++p)
        if (static_cast<int>(bounds[p].first) <= area && area <= static_cast<int>(bounds[p].second))
            return static_cast<Posture>(p);
    return Posture::Unknown;
}

PostureCounts countPostures(const std::vector<TouchLogEntry>& events, const PostureRanges& ranges)
{
    PostureCounts counts{};
    for (const TouchLogEntry& e : events)
        ++counts[static_cast<std::size_t>(postureOfContact(ranges, e.width, e.height))];
    return counts;
}

std::vector<std::vector<TouchLogEntry>> contactPaths(const std::vector<TouchLogEntry>& events)
{
    std::vector<std::vector<TouchLogEntry>> paths;
    bool open = false;
    for (const TouchLogEntry& e : events) {
        if (e.event == 0 || !open) {
            paths.emplace_back();
            open = true;
        }
        paths.back().push_back(e);
        if (e.event == 1)
            open = false;
    }
    return paths;
}
