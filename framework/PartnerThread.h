// PartnerThread: a second thread for a frame pass split in two parts, kept
// between frames so handing a part over costs no thread start.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

class PartnerThread
{
public:
    // No thread is started yet: the first run() or isSplit() on a machine
    // with two cores or more starts it.
    PartnerThread() = default;
    ~PartnerThread();
    PartnerThread(const PartnerThread&) = delete;
    PartnerThread& operator=(const PartnerThread&) = delete;

    // Runs part(0) on the calling thread and part(1) on the partner, and
    // returns when both have ended. The parts must not depend on each
    // other. Without a partner (one core, or the thread could not start)
    // both run here, 0 first. part(1) must not throw.
    void run(const std::function<void(int)>& part);
    // Whether run() splits across two threads.
    bool isSplit();

private:
    void loop();
    void start();

    std::thread _thread;
    bool _tried = false;
    const std::function<void(int)>* _part = nullptr;
    std::atomic<std::uint32_t> _posted{0};     // parts handed to the partner
    std::atomic<std::uint32_t> _finished{0};   // parts it has ended
    std::atomic<bool> _quit{false};
};
