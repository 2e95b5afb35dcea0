// The Wii bridge: reads Wii Remotes and their Nunchuks through the Linux
// kernel's Wii Remote driver, sends each Remote's state to the program 50
// times a second and rumbles a Remote briefly when the program reports that
// its pointer entered the border zone. companions/README.md has pairing and
// usage.
#include "RemoteEvents.h"
#include "RemoteMapping.h"
#include "RemoteState.h"
#include "UdpEndpoint.h"

#include <xwiimote.h>

#include <dirent.h>
#include <fcntl.h>
#include <linux/input.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char* NunchukDeviceName = "Nintendo Wii Remote Nunchuk";
constexpr int SendIntervalMs = 20;

volatile std::sig_atomic_t stopRequested = 0;

double nowMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

const char* keyName(unsigned code)
{
    switch (code) {
    case XWII_KEY_LEFT: return "left";
    case XWII_KEY_RIGHT: return "right";
    case XWII_KEY_UP: return "up";
    case XWII_KEY_DOWN: return "down";
    case XWII_KEY_A: return "a";
    case XWII_KEY_B: return "b";
    case XWII_KEY_PLUS: return "plus";
    case XWII_KEY_MINUS: return "minus";
    case XWII_KEY_HOME: return "home";
    case XWII_KEY_ONE: return "one";
    case XWII_KEY_TWO: return "two";
    default: return nullptr;
    }
}

std::string readLine(const std::string& path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// The Nunchuk's own input device below the Remote's sysfs folder
// (input/inputN with an eventM inside), opened for reading; -1 when none.
int openNunchuk(const std::string& syspath)
{
    const std::string inputs = syspath + "/input";
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(inputs.c_str()), closedir);
    if (!dir)
        return -1;
    while (dirent* entry = readdir(dir.get())) {
        const std::string input = inputs + "/" + entry->d_name;
        if (std::strncmp(entry->d_name, "input", 5) != 0 || readLine(input + "/name") != NunchukDeviceName)
            continue;
        std::unique_ptr<DIR, int (*)(DIR*)> events(opendir(input.c_str()), closedir);
        while (events && (entry = readdir(events.get())))
            if (std::strncmp(entry->d_name, "event", 5) == 0)
                return ::open(("/dev/input/" + std::string(entry->d_name)).c_str(), O_RDONLY | O_NONBLOCK);
    }
    return -1;
}

struct Remote
{
    xwii_iface* device = nullptr;
    std::string syspath;
    RemoteMapping mapping;
    int nunchukFd = -1;
    bool rumbling = false;
    std::array<int, 2> stick{};
    std::array<int, 3> nunchukAccel{};

    Remote(xwii_iface* d, std::string path, int number, float width, float height)
        : device(d), syspath(std::move(path)), mapping(number, width, height)
    {
    }
    ~Remote()
    {
        if (nunchukFd >= 0)
            ::close(nunchukFd);
        xwii_iface_unref(device);
    }
};

class Bridge
{
public:
    Bridge(std::string host, std::uint16_t port, float width, float height, std::ostream* record)
        : _host(std::move(host)), _port(port), _width(width), _height(height), _record(record)
    {
    }

    // Opens every Remote the driver knows, numbered in the order found.
    void openRemotes()
    {
        xwii_monitor* monitor = xwii_monitor_new(false, false);
        if (monitor == nullptr)
            return;
        while (char* path = xwii_monitor_poll(monitor)) {
            xwii_iface* device = nullptr;
            if (xwii_iface_new(&device, path) == 0
                && xwii_iface_open(device, XWII_IFACE_CORE | XWII_IFACE_ACCEL | XWII_IFACE_IR | XWII_IFACE_WRITABLE) == 0) {
                xwii_iface_watch(device, true);
                auto remote = std::make_unique<Remote>(device, path, static_cast<int>(_remotes.size()), _width, _height);
                std::cout << "wii_bridge: Remote " << _remotes.size() << " at " << path << std::endl;
                _remotes.push_back(std::move(remote));
                checkNunchuk(*_remotes.back());
            } else if (device != nullptr) {
                std::cerr << "wii_bridge: cannot open " << path << ": " << std::strerror(errno) << std::endl;
                xwii_iface_unref(device);
            }
            std::free(path);
        }
        xwii_monitor_unref(monitor);
    }

    bool empty() const { return _remotes.empty(); }

    int run(std::uint16_t listenPort)
    {
        UdpEndpoint feedback;
        const bool listening = feedback.listen("127.0.0.1", listenPort);
        double nextSend = nowMs();
        while (!stopRequested && !_remotes.empty()) {
            std::vector<pollfd> fds;
            for (const auto& r : _remotes) {
                fds.push_back({xwii_iface_get_fd(r->device), POLLIN, 0});
                fds.push_back({r->nunchukFd, POLLIN, 0});   // negative: ignored by poll
            }
            if (listening)
                fds.push_back({feedback.descriptor(), POLLIN, 0});
            const int wait = std::max(0, static_cast<int>(nextSend - nowMs()));
            ::poll(fds.data(), fds.size(), wait);
            for (std::size_t i = 0; i < _remotes.size(); ++i) {
                if (fds[2 * i].revents & (POLLIN | POLLHUP | POLLERR))
                    readRemote(*_remotes[i]);
                if (fds[2 * i + 1].revents & POLLIN)
                    readNunchuk(*_remotes[i]);
            }
            if (listening && (fds.back().revents & POLLIN)) {
                const std::vector<char> datagram = feedback.receive(0);
                if (const auto left = WiiOsc::leftBorderRegion(datagram.data(), datagram.size()))
                    for (auto& r : _remotes)
                        r->mapping.borderMessage(*left, nowMs());
            }
            dropLostRemotes();
            if (nowMs() >= nextSend) {
                sendStates();
                nextSend += SendIntervalMs;
                if (nextSend < nowMs())
                    nextSend = nowMs() + SendIntervalMs;
            }
        }
        for (auto& r : _remotes)
            xwii_iface_rumble(r->device, false);
        return 0;
    }

private:
    void deliver(Remote& r, const RemoteEvent& e)
    {
        r.mapping.apply(e);
        if (_record != nullptr && r.mapping.state().remote == 0)
            writeEvent(e);
    }

    void writeEvent(const RemoteEvent& e)
    {
        std::ostream& out = *_record;
        out << static_cast<long long>(e.timeMs - _recordStart) << ' ';
        const auto values = [&](int n) {
            for (int i = 0; i < n; ++i)
                out << ' ' << e.values[static_cast<std::size_t>(i)];
        };
        switch (e.kind) {
        case RemoteEvent::Key: out << "key " << e.key << ' ' << (e.down ? 1 : 0); break;
        case RemoteEvent::Extension: out << "ext " << (e.nunchuk ? "nunchuk" : "none"); break;
        case RemoteEvent::Accel: out << "accel"; values(3); break;
        case RemoteEvent::NunchukAccel: out << "naccel"; values(3); break;
        case RemoteEvent::Stick: out << "stick"; values(2); break;
        case RemoteEvent::Infrared: out << "ir"; values(8); break;
        }
        out << '\n';
    }

    void checkNunchuk(Remote& r)
    {
        const int fd = openNunchuk(r.syspath);
        const bool present = fd >= 0;
        if (r.nunchukFd >= 0)
            ::close(r.nunchukFd);
        r.nunchukFd = fd;
        RemoteEvent e;
        e.kind = RemoteEvent::Extension;
        e.timeMs = nowMs();
        e.nunchuk = present;
        deliver(r, e);
    }

    void readRemote(Remote& r)
    {
        xwii_event ev{};
        int result = 0;
        while ((result = xwii_iface_dispatch(r.device, &ev, sizeof ev)) == 0) {
            RemoteEvent e;
            e.timeMs = nowMs();
            switch (ev.type) {
            case XWII_EVENT_KEY:
                if (const char* name = keyName(ev.v.key.code)) {
                    e.kind = RemoteEvent::Key;
                    e.key = name;
                    e.down = ev.v.key.state != 0;
                    deliver(r, e);
                }
                break;
            case XWII_EVENT_ACCEL:
                e.kind = RemoteEvent::Accel;
                e.values = {ev.v.abs[0].x, ev.v.abs[0].y, ev.v.abs[0].z};
                deliver(r, e);
                break;
            case XWII_EVENT_IR:
                e.kind = RemoteEvent::Infrared;
                for (std::size_t i = 0; i < 4; ++i) {
                    e.values[2 * i] = ev.v.abs[i].x;
                    e.values[2 * i + 1] = ev.v.abs[i].y;
                }
                deliver(r, e);
                break;
            case XWII_EVENT_WATCH:
                checkNunchuk(r);   // an extension was plugged in or out
                break;
            default: break;
            }
        }
        // Anything but "no more events" means the Remote is gone.
        if (result != -EAGAIN && std::find(_lost.begin(), _lost.end(), &r) == _lost.end())
            _lost.push_back(&r);
    }

    void readNunchuk(Remote& r)
    {
        input_event ev{};
        while (::read(r.nunchukFd, &ev, sizeof ev) == static_cast<ssize_t>(sizeof ev)) {
            RemoteEvent e;
            e.timeMs = nowMs();
            if (ev.type == EV_KEY && (ev.code == BTN_C || ev.code == BTN_Z)) {
                e.kind = RemoteEvent::Key;
                e.key = ev.code == BTN_C ? "c" : "z";
                e.down = ev.value != 0;
                deliver(r, e);
            } else if (ev.type == EV_ABS && (ev.code == ABS_HAT0X || ev.code == ABS_HAT0Y)) {
                r.stick[ev.code == ABS_HAT0X ? 0 : 1] = ev.value;
                e.kind = RemoteEvent::Stick;
                e.values = {r.stick[0], r.stick[1]};
                deliver(r, e);
            } else if (ev.type == EV_ABS && (ev.code == ABS_RX || ev.code == ABS_RY || ev.code == ABS_RZ)) {
                r.nunchukAccel[static_cast<std::size_t>(ev.code - ABS_RX)] = ev.value;
                e.kind = RemoteEvent::NunchukAccel;
                e.values = {r.nunchukAccel[0], r.nunchukAccel[1], r.nunchukAccel[2]};
                deliver(r, e);
            }
        }
    }

    void dropLostRemotes()
    {
        for (Remote* lost : _lost) {
            std::cout << "wii_bridge: Remote " << lost->mapping.state().remote << " is gone" << std::endl;
            std::erase_if(_remotes, [lost](const auto& r) { return r.get() == lost; });
        }
        _lost.clear();
    }

    void sendStates()
    {
        const double now = nowMs();
        for (auto& r : _remotes) {
            _socket.sendTo(_host, _port, WiiOsc::stateMessage(r->mapping.state()));
            const bool rumble = r->mapping.wantsRumble(now);
            if (rumble != r->rumbling) {
                xwii_iface_rumble(r->device, rumble);
                r->rumbling = rumble;
            }
        }
    }

    std::string _host;
    std::uint16_t _port;
    float _width;
    float _height;
    std::ostream* _record;
    double _recordStart = nowMs();
    UdpEndpoint _socket;
    std::vector<std::unique_ptr<Remote>> _remotes;
    std::vector<Remote*> _lost;
};

int usage()
{
    std::cerr << "usage: wii_bridge [--host H] [--port P] [--listen P] [--width W] [--height H] [--record FILE]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::string host = "127.0.0.1";
    int port = 7000;
    int listenPort = 7001;
    float width = 700.0f;
    float height = 525.0f;
    std::string recordPath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc)
            return usage();
        if (arg == "--host") host = argv[++i];
        else if (arg == "--port") port = std::atoi(argv[++i]);
        else if (arg == "--listen") listenPort = std::atoi(argv[++i]);
        else if (arg == "--width") width = static_cast<float>(std::atof(argv[++i]));
        else if (arg == "--height") height = static_cast<float>(std::atof(argv[++i]));
        else if (arg == "--record") recordPath = argv[++i];
        else return usage();
    }
    if (port <= 0 || port > 65535 || listenPort <= 0 || listenPort > 65535 || width <= 0.0f || height <= 0.0f)
        return usage();
    std::ofstream record;
    if (!recordPath.empty())
        record.open(recordPath);
    std::signal(SIGINT, [](int) { stopRequested = 1; });
    std::signal(SIGTERM, [](int) { stopRequested = 1; });

    Bridge bridge(host, static_cast<std::uint16_t>(port), width, height, record.is_open() ? &record : nullptr);
    bridge.openRemotes();
    if (bridge.empty()) {
        std::cerr << "wii_bridge: no Wii Remote found; pair one first (companions/README.md)" << std::endl;
        return 1;
    }
    return bridge.run(static_cast<std::uint16_t>(listenPort));
}
