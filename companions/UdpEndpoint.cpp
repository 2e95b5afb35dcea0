// A loopback UDP socket for the companions: sends datagrams to the program
// and listens on a port the program shares.
#include "UdpEndpoint.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

namespace {

bool toAddress(const std::string& host, std::uint16_t port, sockaddr_in& address)
{
    address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    const std::string numeric = host == "localhost" ? "127.0.0.1" : host;
    return inet_pton(AF_INET, numeric.c_str(), &address.sin_addr) == 1;
}

} // namespace

UdpEndpoint::UdpEndpoint() : _fd(::socket(AF_INET, SOCK_DGRAM, 0)) {}

UdpEndpoint::~UdpEndpoint()
{
    if (_fd >= 0)
        ::close(_fd);
}

bool UdpEndpoint::listen(const std::string& host, std::uint16_t port)
{
    sockaddr_in address{};
    const int on = 1;
    if (!toAddress(host, port, address) || ::setsockopt(_fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0
        || ::bind(_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        std::cerr << "UdpEndpoint: cannot listen on " << host << ":" << port << ": " << std::strerror(errno) << std::endl;
        return false;
    }
    return true;
}

bool UdpEndpoint::sendTo(const std::string& host, std::uint16_t port, const std::vector<char>& datagram)
{
    sockaddr_in address{};
    if (!toAddress(host, port, address))
        return false;
    return ::sendto(_fd, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&address),
                    sizeof address) == static_cast<ssize_t>(datagram.size());
}

std::vector<char> UdpEndpoint::receive(int timeoutMs)
{
    pollfd p{_fd, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0)
        return {};
    std::vector<char> buffer(65536);
    const ssize_t n = ::recv(_fd, buffer.data(), buffer.size(), 0);
    buffer.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return buffer;
}
