// pictavo-report: a study session's logs as a table of tasks (tasks.csv) and
// one picture per task of its touch paths over the target area.
// Usage: pictavo-report LOGDIR [OUTDIR] [--config FILE]
#include "QTVelkConfiguration.h"
#include "ReportWriter.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <iostream>

namespace {

// Posture ranges and window size as the program derives them from its
// configuration.
ReportSettings settingsFrom(const VelkConfiguration& c)
{
    const double f = (static_cast<double>(c._smartboardResolutionWidth) * c._smartboardResolutionHeight) /
                     (c._smartboardPhysicalWidth * c._smartboardPhysicalHeight);
    ReportSettings s;
    s.ranges = {c._inputareaPenMin * f,         c._inputareaPenMax * f,         c._inputareaSingleFingerMin * f,
                c._inputareaSingleFingerMax * f, c._inputareaTwoFingerMin * f,    c._inputareaTwoFingerMax * f,
                c._inputareaFistMin * f,        c._inputareaFistMax * f,        c._inputareaHandMin * f,
                c._inputareaHandMax * f};
    s.windowWidth = static_cast<int>(c._mainwindowWidth);
    s.windowHeight = static_cast<int>(c._mainwindowHeight);
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    // Pictures only: no display needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    std::vector<std::string> positional;
    QString config;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--config" && i + 1 < argc)
            config = QString::fromLocal8Bit(argv[++i]);
        else
            positional.push_back(arg);
    }
    if (positional.empty() || positional.size() > 2) {
        std::cerr << "usage: pictavo-report LOGDIR [OUTDIR] [--config FILE]\n"
                     "  writes OUTDIR/tasks.csv and OUTDIR/task<N>.png (OUTDIR: LOGDIR/report);\n"
                     "  postures and the window size come from FILE (default: config.xml beside LOGDIR)"
                  << std::endl;
        return 2;
    }
    const std::string logDir = positional[0];
    const std::string outDir = positional.size() > 1 ? positional[1] : logDir + "/report";
    if (!QFileInfo(QString::fromStdString(logDir)).isDir()) {
        std::cerr << "pictavo-report: " << logDir << " is not a folder" << std::endl;
        return 1;
    }
    if (config.isEmpty())
        config = QString::fromStdString(logDir + "/../config.xml");
    if (!QFileInfo::exists(config))
        std::cerr << "pictavo-report: no configuration " << config.toStdString()
                  << "; postures and window size are those of an empty configuration" << std::endl;
    const QTVelkConfiguration configuration(config);

    const int tasks = writeReport(logDir, outDir, settingsFrom(configuration));
    if (tasks < 0)
        return 1;
    std::cout << "pictavo-report: " << tasks << " tasks in " << outDir << "/tasks.csv" << std::endl;
    return 0;
}
