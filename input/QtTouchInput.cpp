// Touch events, the TUIO socket and touch log playback on the Qt event loop.
#include "QtTouchInput.h"

#include "TouchLogReplay.h"
#include "TuioReceiver.h"

#include <QByteArray>
#include <QNetworkDatagram>
#include <QTouchEvent>
#include <QUdpSocket>

#include <cmath>
#include <iostream>

std::vector<TouchPoint> touchPoints(const QTouchEvent& event)
{
    std::vector<TouchPoint> points;
    points.reserve(static_cast<std::size_t>(event.points().size()));
    for (const QEventPoint& point : event.points()) {
        TouchPoint::Phase phase = TouchPoint::Phase::Stationary;
        switch (point.state()) {
        case QEventPoint::Pressed: phase = TouchPoint::Phase::Pressed; break;
        case QEventPoint::Updated: phase = TouchPoint::Phase::Moved; break;
        case QEventPoint::Released: phase = TouchPoint::Phase::Released; break;
        default: break;
        }
        const QSizeF size = point.ellipseDiameters();
        points.push_back({static_cast<std::uint32_t>(point.id()), phase, point.position().x(), point.position().y(),
                          size.width(), size.height()});
    }
    return points;
}

TuioUdpSource::TuioUdpSource(TuioReceiver& receiver, QObject* parent)
    : QObject(parent)
    , _receiver(receiver)
    , _socket(new QUdpSocket(this))
{
    connect(_socket, &QUdpSocket::readyRead, this, &TuioUdpSource::readPendingDatagrams);
}

bool TuioUdpSource::listen(quint16 port)
{
    if (_socket->bind(QHostAddress::Any, port))
        return true;
    std::cout << "TuioUdpSource: cannot listen on UDP port " << port << ": "
              << _socket->errorString().toStdString() << std::endl;
    return false;
}

quint16 TuioUdpSource::port() const { return _socket->localPort(); }

void TuioUdpSource::readPendingDatagrams()
{
    while (_socket->hasPendingDatagrams()) {
        const QByteArray data = _socket->receiveDatagram().data();
        _receiver.receive(data.constData(), static_cast<std::size_t>(data.size()));
    }
}

TouchLogPlayer::TouchLogPlayer(std::unique_ptr<TouchLogReplay> replay, QObject* parent)
    : QObject(parent)
    , _replay(std::move(replay))
{
    _timer.setSingleShot(true);
    _timer.setTimerType(Qt::PreciseTimer);
    connect(&_timer, &QTimer::timeout, this, &TouchLogPlayer::step);
}

TouchLogPlayer::~TouchLogPlayer() = default;

void TouchLogPlayer::start()
{
    _clock.start();
    _timer.start(0);
}

void TouchLogPlayer::step()
{
    const std::optional<double> wait = _replay->advance(static_cast<double>(_clock.nsecsElapsed()) * 1e-9);
    if (!wait) {
        emit finished();
        return;
    }
    // Whole milliseconds, rounded up so the entry is due when the timer fires.
    _timer.start(static_cast<int>(std::min(std::ceil(*wait * 1000.0), 3600.0 * 1000.0)));
}
