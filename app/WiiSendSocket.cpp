// The second OSC socket: bound on the bridge's port, yet never taking the
// bridge's datagrams.
#include "WiiSendSocket.h"

#include <QUdpSocket>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

bool WiiSendSocket::bind(QUdpSocket& socket, quint16 sendPort, quint16 silentPort)
{
    if (!socket.bind(QHostAddress::LocalHost, sendPort, QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint))
        return false;
    // Connected natively: Qt's own connect would make the socket refuse
    // datagrams to any other address than the peer.
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(silentPort);
    peer.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::connect(static_cast<int>(socket.socketDescriptor()), reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
    return true;
}
