// PaintingSaver: one background save at a time through std::async.
#include "PaintingSaver.h"

#include <chrono>

PaintingSaver::~PaintingSaver() { wait(); }

bool PaintingSaver::start(const std::string& path, PaintingData data)
{
    if (isRunning())
        return false;
    _running = std::async(std::launch::async, [path, data = std::move(data)] { return PaintingFile::save(path, data); });
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
