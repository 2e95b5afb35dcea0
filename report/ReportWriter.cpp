// Table and pictures of the study report, drawn with QPainter.
#include "ReportWriter.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const char* const PostureNames[] = {"pen", "one finger", "two fingers", "fist", "hand", "unknown"};

// Path colours by posture, the last for unknown contacts.
const QColor PostureColours[] = {QColor(40, 40, 40),   QColor(30, 100, 220), QColor(140, 60, 200),
                                 QColor(210, 40, 40),  QColor(230, 140, 0),  QColor(120, 120, 120)};

std::string taskFile(const std::string& logDir, const char* kind, int number)
{
    return logDir + "/" + kind + "/task" + std::to_string(number) + ".txt";
}

// Numbers of the tasks that have a touch or primitive log.
std::set<int> tasksWithFiles(const std::string& logDir)
{
    static const std::regex name(R"(task(-?\d+)\.txt)");
    std::set<int> numbers;
    for (const char* kind : {"directTouch", "primitives"}) {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(logDir + "/" + kind, error)) {
            std::smatch match;
            const std::string file = entry.path().filename().string();
            if (std::regex_match(file, match, name))
                numbers.insert(std::stoi(match[1]));
        }
    }
    return numbers;
}

std::string seconds(const std::optional<double>& value)
{
    if (!value)
        return {};
    std::ostringstream out;
    out << *value;
    return out.str();
}

QPointF onImage(const TouchLogEntry& e, int height)
{
    return {static_cast<double>(e.x), static_cast<double>(height - 1 - e.y)};
}

void drawTarget(QPainter& painter, const TargetArea& area, int height)
{
    QPainterPath segment;
    segment.moveTo(area.startX, height - 1 - area.startY);
    segment.lineTo(area.endX + (area.startX == area.endX && area.startY == area.endY ? 0.01 : 0.0),
                   height - 1 - area.endY);
    QPainterPathStroker stroker;
    stroker.setWidth(area.diameter);
    stroker.setCapStyle(Qt::RoundCap);
    const QPainterPath capsule = stroker.createStroke(segment).simplified();
    painter.fillPath(capsule, QColor(0, 255, 0, 51));
    painter.strokePath(capsule, QPen(QColor(255, 128, 0, 178), 5.0));
}

} // namespace

std::vector<TaskSummary> summariseTasks(const std::string& logDir, const PostureRanges& ranges)
{
    std::vector<TaskSummary> tasks;
    std::set<int> listed;
    for (const OverviewLine& line : readOverview(logDir + "/taskOverview.txt")) {
        tasks.push_back({line.number, line, 0, {}, {}});
        listed.insert(line.number);
    }
    for (int number : tasksWithFiles(logDir))
        if (!listed.count(number))
            tasks.push_back({number, std::nullopt, 0, {}, {}});
    for (TaskSummary& task : tasks) {
        if (auto events = loadTouchLog(taskFile(logDir, "directTouch", task.number))) {
            task.touchEvents = static_cast<int>(events->size());
            task.postures = countPostures(*events, ranges);
        }
        if (auto records = readPrimitiveLog(taskFile(logDir, "primitives", task.number)))
            task.primitives = countPrimitives(*records);
    }
    return tasks;
}

std::string tasksCsv(const std::vector<TaskSummary>& tasks)
{
    std::ostringstream out;
    out << "task,block,input device,task type,duration (s),first action (s),last action (s),touch events";
    for (const char* posture : PostureNames)
        out << "," << posture;
    out << ",primitives logged,primitives created,primitives erased\n";
    for (const TaskSummary& t : tasks) {
        out << t.number << ",";
        if (t.overview)
            out << t.overview->block << "," << t.overview->inputDevice << "," << t.overview->type << ","
                << seconds(t.overview->duration) << "," << seconds(t.overview->firstAction) << ","
                << seconds(t.overview->lastAction);
        else
            out << ",,,,,";
        out << "," << t.touchEvents;
        for (int count : t.postures)
            out << "," << count;
        out << "," << t.primitives.logged << "," << t.primitives.created << "," << t.primitives.erased << "\n";
    }
    return out.str();
}

QImage drawTask(const std::string& logDir, int number, const ReportSettings& settings)
{
    const int height = settings.windowHeight;
    QImage image(settings.windowWidth, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (auto area = readTargetArea(taskFile(logDir, "directTouch", number)))
        drawTarget(painter, *area, height);

    const std::vector<TouchLogEntry> events =
        loadTouchLog(taskFile(logDir, "directTouch", number)).value_or(std::vector<TouchLogEntry>{});
    for (const std::vector<TouchLogEntry>& path : contactPaths(events)) {
        for (std::size_t i = 1; i < path.size(); ++i) {
            const Posture posture = postureOfContact(settings.ranges, path[i].width, path[i].height);
            painter.setPen(QPen(PostureColours[static_cast<int>(posture)], 3.0, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(onImage(path[i - 1], height), onImage(path[i], height));
        }
        const Posture first = postureOfContact(settings.ranges, path.front().width, path.front().height);
        painter.setPen(Qt::NoPen);
        painter.setBrush(PostureColours[static_cast<int>(first)]);
        painter.drawEllipse(onImage(path.front(), height), 6.0, 6.0);
    }

    painter.setPen(Qt::black);
    painter.drawText(QPointF(12, 24), QStringLiteral("Task %1: %2 touch events").arg(number).arg(events.size()));
    for (int p = 0; p < 6; ++p) {
        painter.setPen(PostureColours[p]);
        painter.drawText(QPointF(12, 48 + 18 * p), QString::fromLatin1(PostureNames[p]));
    }
    return image;
}

int writeReport(const std::string& logDir, const std::string& outDir, const ReportSettings& settings)
{
    std::error_code error;
    fs::create_directories(outDir, error);
    const std::vector<TaskSummary> tasks = summariseTasks(logDir, settings.ranges);
    std::ofstream csv(outDir + "/tasks.csv", std::ios::out | std::ios::trunc);
    csv << tasksCsv(tasks);
    csv.close();
    if (!csv) {
        std::cerr << "pictavo-report: cannot write " << outDir << "/tasks.csv" << std::endl;
        return -1;
    }
    for (const TaskSummary& task : tasks) {
        const std::string picture = outDir + "/task" + std::to_string(task.number) + ".png";
        if (!drawTask(logDir, task.number, settings).save(QString::fromStdString(picture))) {
            std::cerr << "pictavo-report: cannot write " << picture << std::endl;
            return -1;
        }
    }
    return static_cast<int>(tasks.size());
}
