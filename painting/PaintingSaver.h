// PaintingSaver: saves paintings on a worker thread, so a large painting
// never holds up a frame. The state is taken on the caller's thread; only
// the file is written on the worker, at the lowest scheduling priority.
#pragma once

#include "PaintingData.h"
#include "PaintingFile.h"

#include <functional>
#include <future>
#include <string>

class PaintingSaver
{
public:
    PaintingSaver() = default;
    // Waits for a save still running.
    ~PaintingSaver();
    PaintingSaver(const PaintingSaver&) = delete;
    PaintingSaver& operator=(const PaintingSaver&) = delete;

    // Starts writing data to path unless a save is still running (then
    // false, nothing started).
    bool start(const std::string& path, PaintingData data);
    bool isRunning() const;
    // The outcome of the last save once it has ended: true and result set,
    // once per save; false while one runs or when none waits to be taken.
    bool takeResult(PaintingFile::Result& result);
    // Waits for a save still running; its outcome stays for takeResult.
    void wait();

private:
    std::future<PaintingFile::Result> _running;
};
