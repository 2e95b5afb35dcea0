// PartnerThread: hand-over by two counters; each side spins briefly (the
// parts of a pass take about as long, and a frame's passes come back to
// back) and then sleeps on the counter.
#include "PartnerThread.h"

#include <chrono>
#include <cstdio>
#include <system_error>

namespace {

// Half a millisecond: longer than the gaps between the passes of a frame
// (waking a sleeping thread takes longer than most of them), far shorter
// than a frame.
constexpr std::chrono::microseconds Spin{500};

inline void relax()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

// Waits until counter holds something other than old and returns it.
std::uint32_t awaitChange(const std::atomic<std::uint32_t>& counter, std::uint32_t old)
{
    const auto until = std::chrono::steady_clock::now() + Spin;
    for (int i = 1;; ++i) {
        const std::uint32_t now = counter.load(std::memory_order_acquire);
        if (now != old)
            return now;
        if (i % 64 == 0 && std::chrono::steady_clock::now() >= until)
            break;
        relax();
    }
    for (;;) {
        counter.wait(old, std::memory_order_acquire);
        const std::uint32_t now = counter.load(std::memory_order_acquire);
        if (now != old)
            return now;
    }
}

} // namespace

PartnerThread::~PartnerThread()
{
    if (!_thread.joinable())
        return;
    _quit.store(true, std::memory_order_release);
    _posted.fetch_add(1, std::memory_order_release);
    _posted.notify_one();
    _thread.join();
}

void PartnerThread::start()
{
    _tried = true;
    if (std::thread::hardware_concurrency() < 2)
        return;
    try {
        _thread = std::thread([this] { loop(); });
    } catch (const std::system_error& e) {
        std::fprintf(stderr, "PartnerThread: no second thread (%s); the passes run on one\n", e.what());
    }
}

bool PartnerThread::isSplit()
{
    if (!_tried)
        start();
    return _thread.joinable();
}

void PartnerThread::loop()
{
    std::uint32_t seen = 0;
    for (;;) {
        seen = awaitChange(_posted, seen);
        if (_quit.load(std::memory_order_acquire))
            return;
        (*_part)(1);
        _finished.store(seen, std::memory_order_release);
        _finished.notify_one();
    }
}

void PartnerThread::run(const std::function<void(int)>& part)
{
    if (!isSplit()) {
        part(0);
        part(1);
        return;
    }
    _part = &part;
    const std::uint32_t ticket = _posted.load(std::memory_order_relaxed) + 1;
    const std::uint32_t before = _finished.load(std::memory_order_relaxed);
    _posted.store(ticket, std::memory_order_release);
    _posted.notify_one();
    // The partner ends parts in the order they were posted: the next
    // change of the counter is this one. It uses part until then, so it is
    // awaited even when part(0) throws.
    try {
        part(0);
    } catch (...) {
        awaitChange(_finished, before);
        throw;
    }
    awaitChange(_finished, before);
}
