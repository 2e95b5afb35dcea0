// Benchmark of ending a study task: finish_task_ms is the median time of
// TaskRunner::finishTask (the five log files written, flushed to disk and
// renamed, the overview appended) for a task with 10 000 touch events and
// 20 000 primitives of two records each (start and end of the task);
// finish_task_cpu_ms the processor time it takes (the machine's load aside).
// Prints `name value` lines.
#include "DirectTouchLogger.h"
#include "PrimitiveLogger.h"
#include "TaskRunner.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

struct NoScene : TaskRunner::Scene
{
    bool hasCornerMenu() const override { return true; }
    void setUpCanvasTask(int) override {}
    void endCanvasTask() override {}
    void buildTaskTarget(int, const TaskRecord&) override {}
};

} // namespace

int main()
{
    const auto folder = std::filesystem::temp_directory_path() / "pictavo_bench_finish_task";
    NoScene scene;
    TaskRunner runner(scene, 1280, 1024, folder.string());
    std::vector<TaskRecord> tasks(8);
    for (std::size_t i = 0; i < tasks.size(); ++i)
        tasks[i].number = static_cast<int>(i) - 1;
    runner.setTasks(tasks);
    runner.setTaskMode(true);
    runner.startTask();

    std::vector<double> times;
    std::vector<double> cpuTimes;
    const auto cpuMs = [] {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
    };
    for (std::size_t run = 0; run + 1 < tasks.size(); ++run) {
        for (int i = 0; i < 10000; ++i)
            DirectTouchLogger::instance().addEntry(i % 3, 100 + i % 800, 200 + i % 500, 40, 40);
        for (int id = 0; id < 20000; ++id) {
            PrimitiveLogger::instance().addEntry(id, id % 1000, id % 700, 48, 16, 30.0f, id % 2 == 0, false);
            PrimitiveLogger::instance().addEntry(id, id % 1000, id % 700, 48, 16, 45.0f, id % 2 == 0, id % 5 == 0);
        }
        const double cpuBegin = cpuMs();
        const auto begin = std::chrono::steady_clock::now();
        runner.finishTask();
        const auto end = std::chrono::steady_clock::now();
        cpuTimes.push_back(cpuMs() - cpuBegin);
        times.push_back(std::chrono::duration<double, std::milli>(end - begin).count());
        runner.startTask();
    }
    std::sort(times.begin(), times.end());
    std::sort(cpuTimes.begin(), cpuTimes.end());
    std::printf("finish_task_ms %.1f\n", times[times.size() / 2]);
    std::printf("finish_task_max_ms %.1f\n", times.back());
    std::printf("finish_task_cpu_ms %.1f\n", cpuTimes[cpuTimes.size() / 2]);
    std::printf("primitive_log_bytes %lld\n",
                static_cast<long long>(std::filesystem::file_size(folder / "primitives" / "task-1.txt")));
    std::filesystem::remove_all(folder);
    return 0;
}
