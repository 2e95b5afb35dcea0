// Touch log replay: reading the log the study writes, playing it at its
// recorded pace, and a replayed session logging the same records again;
// touch-screen points as board contacts.
#include "BoardTouchHandler.h"
#include "DirectTouchLogger.h"
#include "TaskRecord.h"
#include "TouchLogReplay.h"
#include "TouchPointTracker.h"
#include "TouchTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <sstream>

namespace {

using Calls = std::vector<std::string>;

// Keeps every log record it is handed, as the study would while a task runs.
class LoggingTarget : public BoardTouchTarget
{
public:
    void resizeTouchIndicator(int, double, double) override {}
    void setTouchBoundWidth(int, double) override {}
    void setTouchBoundHeight(int, double) override {}
    void devicePress(int, int, int, int) override {}
    void deviceMove(int, int, int, int) override {}
    void deviceRelease(int, int, int, int) override {}
    void logTouch(int event, int x, int y, int w, int h) override { records.push_back({0.0, event, x, y, w, h}); }

    std::vector<TouchLogEntry> records;
};

std::clock_t fakeTicks = 0;

} // namespace

void PrintTo(const TouchLogEntry& e, std::ostream* out)
{
    *out << "{" << e.time << " s, event " << e.event << ", " << e.x << ", " << e.y << ", " << e.width << "x"
         << e.height << "}";
}

TEST(TouchLog, ReadsWhatTheStudyWritesAndSkipsEverythingElse)
{
    Logger::setClock([] { return fakeTicks; });
    DirectTouchLogger& logger = DirectTouchLogger::instance();
    logger.reset();
    TaskRecord task;
    task.number = 3;
    logger.setTask(&task);
    fakeTicks = 1000;
    logger.start();
    const std::vector<TouchLogEntry> written{
        {0.25, 0, 100, 200, 30, 40}, {0.5, 2, 110, 205, 31, 41}, {1.75, 1, 120, 210, 31, 41}};
    for (const TouchLogEntry& e : written) {
        fakeTicks = static_cast<std::clock_t>(1000.0 + e.time * 1000.0);
        logger.addEntry(e.event, e.x, e.y, e.width, e.height);
    }
    const std::string path = (std::filesystem::temp_directory_path() / "pictavo_touch_log_test.txt").string();
    logger.writeFile(path);
    logger.reset();
    Logger::setClock(nullptr);

    const auto read = loadTouchLog(path);
    std::remove(path.c_str());
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, written) << "header and column lines are skipped";
    EXPECT_FALSE(loadTouchLog(path).has_value()) << "a missing file";

    std::istringstream damaged("0.1\t0\t1\t2\t3\t4\t\n"
                               "0.2\t3\t1\t2\t3\t4\t\n"     // no such event
                               "0.3\t2\t1\t2\t3\n"          // too few values
                               "nan\t2\t1x\t2\t3\t4\t\n"    // not numbers
                               "1e-1\t1\t-1\t2\t3\t4\r\n"); // another writer's line end
    EXPECT_EQ(parseTouchLog(damaged), (std::vector<TouchLogEntry>{{0.1, 0, 1, 2, 3, 4}, {0.1, 1, -1, 2, 3, 4}}));
}

TEST(TouchLogReplay, PlaysAtTheRecordedPaceFromTheFirstEntry)
{
    RecordingSink sink;
    BoardPointers pointers(sink);
    const BoardGeometry geometry{4000, 4000, 4000, 4000};
    TouchLogReplay replay({{3.0, 0, 10, 3989, 5, 6}, {3.5, 2, 20, 3989, 5, 6}, {4.0, 0, 30, 3989, 5, 6},
                           {4.25, 1, 40, 3989, 5, 6}, {6.0, 2, 50, 3989, 7, 8}},
                          pointers, geometry);
    EXPECT_EQ(replay.advance(0.0), 0.5) << "idle time before the first entry is skipped";
    EXPECT_EQ(sink.take(), (Calls{"size 5x6 #0", "down 10 10 #0"}));
    EXPECT_DOUBLE_EQ(*replay.advance(0.4), 0.1);
    EXPECT_TRUE(sink.take().empty());
    EXPECT_EQ(replay.advance(1.0), 0.25);
    EXPECT_EQ(sink.take(), (Calls{"size 5x6 #0", "move 20 10 #0", "up 20 10 #0", "size 5x6 #0", "down 30 10 #0"}))
        << "a down without the previous up ends that contact first";
    // The log ends inside a contact that began before it (moves only): it
    // is pressed, and released when playback ends.
    EXPECT_EQ(replay.advance(10.0), std::nullopt);
    EXPECT_EQ(sink.take(), (Calls{"up 40 10 #0", "size 7x8 #0", "down 50 10 #0", "up 50 10 #0"}));
    EXPECT_TRUE(replay.finished());
    EXPECT_EQ(replay.played(), 5u);
    replay.stop();
    EXPECT_TRUE(sink.take().empty());
}

// Recorded on a surface, replayed on one of the same size: the study logs
// the same records again (recorded moves already passed the jump filter).
TEST(TouchLogReplay, AReplayedSessionLogsWhatWasRecorded)
{
    const std::vector<TouchLogEntry> recorded{
        {0.0, 0, 512, 383, 65, 66}, {0.1, 2, 530, 390, 66, 66}, {0.2, 2, 560, 400, 66, 67},
        {0.3, 2, 561, 401, 66, 67}, {0.4, 1, 1023, 0, 66, 67},  {0.9, 0, 0, 767, 3, 3},
        {1.0, 1, 0, 767, 3, 3},
    };
    LoggingTarget target;
    BoardTouchHandler handler(target);
    handler.setGeometry({4000, 4000, 1024, 768});
    BoardPointers pointers(handler);
    TouchLogReplay replay(recorded, pointers, handler.geometry());
    replay.advance(5.0);
    ASSERT_EQ(target.records.size(), recorded.size());
    for (std::size_t i = 0; i < recorded.size(); ++i) {
        TouchLogEntry expected = recorded[i];
        expected.time = 0.0;
        EXPECT_EQ(target.records[i], expected) << "record " << i;
    }
}

TEST(TouchPointTracker, ScreenPointsBecomeBoardContacts)
{
    RecordingSink sink;
    BoardPointers pointers(sink);
    const BoardGeometry geometry{4000, 3000, 800, 600};
    TouchPointTracker tracker(pointers, geometry);
    using Phase = TouchPoint::Phase;
    tracker.update({{11, Phase::Pressed, 100.0, 50.0, 6.0, 8.0}, {12, Phase::Pressed, 700.0, 550.0, 0.0, 0.0},
                    {13, Phase::Pressed, 400.0, 300.0, 0.0, 0.0}});
    EXPECT_EQ(sink.take(), (Calls{"size 30x40 #0", "down 500 250 #0", "size 0x0 #256", "down 3500 2750 #256"}))
        << "a third finger finds no pointer";
    tracker.update({{11, Phase::Moved, 101.0, 50.0, 6.0, 8.0}, {12, Phase::Stationary, 700.0, 550.0, 0.0, 0.0},
                    {13, Phase::Moved, 401.0, 300.0, 0.0, 0.0}});
    EXPECT_EQ(sink.take(), (Calls{"size 30x40 #0", "move 505 250 #0"}));
    tracker.update({{11, Phase::Released, 102.0, 51.0, 6.0, 8.0}});
    tracker.cancel();
    EXPECT_EQ(sink.take(), (Calls{"up 510 255 #0", "up 3500 2750 #256"}));
    EXPECT_EQ(pointers.heldCount(), 0u);
}
