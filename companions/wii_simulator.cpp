// Sends scripted Wii Remote sessions to the program, as a bridge would, and
// listens for the program's border message. companions/README.md has usage.
#include "RemoteState.h"
#include "UdpEndpoint.h"
#include "WiiSession.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

namespace {

int usage()
{
    std::cerr << "usage: wii_simulator [--host H] [--port P] [--remote R] [--interval S] (SCRIPT | - | --script TEXT)\n"
                 "       wii_simulator --listen PORT [--count N] [--timeout S]\n";
    return 2;
}

// Prints each border message received on the port until `count` came or
// the time is up; fails when fewer came.
int listen(std::uint16_t port, int count, double timeout)
{
    UdpEndpoint endpoint;
    if (!endpoint.listen("127.0.0.1", port))
        return 1;
    std::cout << "listening on " << port << std::endl;
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout);
    int received = 0;
    while (received < count && std::chrono::steady_clock::now() < end) {
        const std::vector<char> datagram = endpoint.receive(100);
        if (const std::optional<bool> left = WiiOsc::leftBorderRegion(datagram.data(), datagram.size())) {
            std::cout << "/wiidata/leftBorderRegion " << (*left ? "true" : "false") << std::endl;
            ++received;
        }
    }
    return received >= count ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    std::string host = "127.0.0.1";
    int port = 7000;
    int remote = 0;
    double interval = 0.02;
    int listenPort = -1;
    int count = 1;
    double timeout = 10.0;
    std::string scriptFile;
    std::string scriptText;
    bool haveScript = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--host" && hasValue) host = argv[++i];
        else if (arg == "--port" && hasValue) port = std::atoi(argv[++i]);
        else if (arg == "--remote" && hasValue) remote = std::atoi(argv[++i]);
        else if (arg == "--interval" && hasValue) interval = std::atof(argv[++i]);
        else if (arg == "--listen" && hasValue) listenPort = std::atoi(argv[++i]);
        else if (arg == "--count" && hasValue) count = std::atoi(argv[++i]);
        else if (arg == "--timeout" && hasValue) timeout = std::atof(argv[++i]);
        else if (arg == "--script" && hasValue) { scriptText = argv[++i]; haveScript = true; }
        else if (arg.rfind("--", 0) != 0 && !haveScript) { scriptFile = arg; haveScript = true; }
        else return usage();
    }
    if (listenPort > 0 && listenPort < 65536)
        return listen(static_cast<std::uint16_t>(listenPort), count, timeout);
    if (!haveScript || port <= 0 || port > 65535)
        return usage();

    std::ifstream file;
    std::istringstream text(scriptText);
    std::istream* script = &text;
    if (!scriptFile.empty() && scriptFile != "-") {
        file.open(scriptFile);
        if (!file) {
            std::cerr << "wii_simulator: cannot read " << scriptFile << std::endl;
            return 1;
        }
        script = &file;
    } else if (scriptFile == "-") {
        script = &std::cin;
    }
    std::string error;
    const auto steps = parseSession(*script, remote, interval, error);
    if (!steps) {
        std::cerr << "wii_simulator: " << error << std::endl;
        return 1;
    }
    UdpEndpoint endpoint;
    for (const SessionStep& step : *steps) {
        if (!step.datagram.empty() && !endpoint.sendTo(host, static_cast<std::uint16_t>(port), step.datagram)) {
            std::cerr << "wii_simulator: cannot send to " << host << ":" << port << std::endl;
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::duration<double>(step.waitSeconds));
    }
    return 0;
}
