// PaintingSaver: one background save at a time through std::async.
#include "PaintingSaver.h"

#include <chrono>

#include <sys/resource.h>
#include <unistd.h>

PaintingSaver::~PaintingSaver() { wait(); }

bool PaintingSaver::start(const std::string& path, PaintingData data)
{
    if (isRunning())
        return false;
    _running = std::async(std::launch::async, [path, data = std::move(data)] {
        // The frame loop and the renderer's threads come first: the file
        // may take longer, a frame may not.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
        return PaintingFile::save(path, data);
    });
    return true;
}

bool PaintingSaver::isRunning() const
{
    return _running.valid() && _running.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
}

bool PaintingSaver::takeResult(PaintingFile::Result& result)
{
    if (!_running.valid() || isRunning())
        return false;
    result = _running.get();
    return true;
}

void PaintingSaver::wait()
{
    if (_running.valid())
        _running.wait();
}
