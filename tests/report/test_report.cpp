// The study report on a small committed log set: the table (overview lines,
// tasks with files only, postures, primitive counts) and a task's picture.
#include "ReportWriter.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

const std::string Logs = std::string(PICTAVO_REPORT_LOGS);

// One finger 10 to 100, hand 1000 to 5000 (areas in board units).
ReportSettings settings()
{
    ReportSettings s;
    s.ranges = {0, 5, 10, 100, 101, 300, 301, 999, 1000, 5000};
    s.windowWidth = 800;
    s.windowHeight = 600;
    return s;
}

} // namespace

TEST(StudyReport, TableHasOneRowPerTaskFromTheOverviewThenFromFilesOnly)
{
    EXPECT_EQ(tasksCsv(summariseTasks(Logs, settings().ranges)),
              "task,block,input device,task type,duration (s),first action (s),last action (s),touch events,"
              "pen,one finger,two fingers,fist,hand,unknown,primitives logged,primitives created,primitives erased\n"
              // 7 one-finger and 3 hand events; primitive 9 appears later and is erased, so is 6.
              "-1,1,0,0,3.5,0.5,2.25,10,0,7,0,0,3,0,3,1,2\n"
              // A device with no items of its own: no action times; no files.
              "2,1,-1,7,4,,,0,0,0,0,0,0,0,0,0,0\n"
              // Only a touch log, of size-less contacts.
              "3,,,,,,,3,0,0,0,0,0,3,0,0,0\n");
}

TEST(StudyReport, PictureShowsTheTargetAndEachContactsPathInItsPostureColour)
{
    const QImage image = drawTask(Logs, -1, settings());
    ASSERT_EQ(image.size(), QSize(800, 600));
    // Positions are bottom-left pixels: y = 300 is image row 299.
    const QColor inTarget = image.pixelColor(400, 299 - 25);
    EXPECT_GT(inTarget.green(), inTarget.red() + 20) << "the capsule's fill";
    EXPECT_EQ(image.pixelColor(400, 299 - 39).red() > 200 && image.pixelColor(400, 299 - 39).blue() < 100, true)
        << "its orange rim";
    EXPECT_EQ(image.pixelColor(400, 299 - 60), QColor(Qt::white)) << "outside the target";
    const QColor finger = image.pixelColor(400, 299);
    EXPECT_GT(finger.blue(), 150) << "one finger's path is blue";
    EXPECT_LT(finger.red(), 100);
    const QColor hand = image.pixelColor(400, 99);
    EXPECT_GT(hand.red(), 200) << "the hand's path is orange";
    EXPECT_LT(hand.blue(), 60);
    EXPECT_EQ(image.pixelColor(400, 200), QColor(Qt::white)) << "nothing between the paths";
}

TEST(StudyReport, WritesTableAndPicturesOrSaysItCannot)
{
    const auto out = std::filesystem::temp_directory_path() / ("pictavo_report_" + std::to_string(::getpid()));
    EXPECT_EQ(writeReport(Logs, out.string(), settings()), 3);
    for (const char* file : {"tasks.csv", "task-1.png", "task2.png", "task3.png"})
        EXPECT_TRUE(std::filesystem::exists(out / file)) << file;

    std::ofstream(out / "blocked") << "a file, not a folder";
    testing::internal::CaptureStderr();
    EXPECT_EQ(writeReport(Logs, (out / "blocked" / "report").string(), settings()), -1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("pictavo-report: cannot write"), std::string::npos);
    std::filesystem::remove_all(out);
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
