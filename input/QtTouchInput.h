// The Qt side of touch input: touch events of the GL surface, the TUIO UDP
// socket and the timer that plays a touch log.
#pragma once

#include "TouchPointTracker.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

class QTouchEvent;
class QUdpSocket;
class TouchLogReplay;
class TuioReceiver;

// The points of a touch event in the tracker's terms: window position and
// the ellipse diameters (0 when the screen reports none).
std::vector<TouchPoint> touchPoints(const QTouchEvent& event);

// Reads every datagram of its UDP socket into a TuioReceiver.
class TuioUdpSource : public QObject
{
    Q_OBJECT

public:
    // `receiver` is not owned and must outlive the source.
    TuioUdpSource(TuioReceiver& receiver, QObject* parent = nullptr);

    // Binds to `port` on every interface (trackers often run on another
    // machine). False, with a message, when the port cannot be bound.
    bool listen(quint16 port);
    quint16 port() const;

private slots:
    void readPendingDatagrams();

private:
    TuioReceiver& _receiver;
    QUdpSocket* _socket;
};

// Plays a touch log in real time from the event loop: a single-shot timer
// wakes it when the next entry is due.
class TouchLogPlayer : public QObject
{
    Q_OBJECT

public:
    TouchLogPlayer(std::unique_ptr<TouchLogReplay> replay, QObject* parent = nullptr);
    ~TouchLogPlayer() override;

    // Starts (or restarts the clock of) playback; the first entry plays at once.
    void start();
    bool isPlaying() const { return _timer.isActive(); }
    const TouchLogReplay& replay() const { return *_replay; }

signals:
    void finished();

private slots:
    void step();

private:
    std::unique_ptr<TouchLogReplay> _replay;
    QTimer _timer;
    QElapsedTimer _clock;
};
