// The second OSC socket: bound on the bridge's port, yet never taking the
// bridge's datagrams.
#pragma once

#include <QtGlobal>

class QUdpSocket;

namespace WiiSendSocket {

// Binds `socket` to 127.0.0.1:sendPort sharing the address (SO_REUSEADDR),
// so a listener that also shares it may bind the port before or after, and
// connects it to 127.0.0.1:silentPort, a peer that never sends (the receive
// socket's port). Linux delivers a datagram to one socket of a shared port;
// a connected socket only takes datagrams from its peer, so every datagram
// sent to the port, the program's own included, reaches the listener. A
// failed bind is not an error: the socket then sends from any free port.
// Returns whether the socket is bound on sendPort.
bool bind(QUdpSocket& socket, quint16 sendPort, quint16 silentPort);

} // namespace WiiSendSocket
