// A loopback UDP socket for the companions: sends datagrams to the program
// and listens on a port the program shares.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class UdpEndpoint
{
public:
    UdpEndpoint();
    ~UdpEndpoint();
    UdpEndpoint(const UdpEndpoint&) = delete;
    UdpEndpoint& operator=(const UdpEndpoint&) = delete;

    // Listens on host:port sharing the address (SO_REUSEADDR), as the
    // program's second socket does, so either may start first. False with
    // a one-line message on failure.
    bool listen(const std::string& host, std::uint16_t port);
    bool sendTo(const std::string& host, std::uint16_t port, const std::vector<char>& datagram);
    // Waits up to timeoutMs for one datagram; empty when none came.
    std::vector<char> receive(int timeoutMs);
    int descriptor() const { return _fd; }

private:
    int _fd = -1;
};
