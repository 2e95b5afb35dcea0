// Wii Remote and Nunchuk state over OSC: validates each datagram, walks the
// three Wii messages into per-Remote records and hands the results on.
#pragma once

#include "WiiCommunicationData.h"

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace osc {
class ReceivedMessage;
}

// What the evaluation calls: the GL surface and, behind it, the canvas.
// Pointer positions are window pixels with the origin at the bottom left.
class WiiEventTarget
{
public:
    virtual ~WiiEventTarget() = default;
    // False while no scene stands: then nothing is handed on.
    virtual bool isReady() const = 0;
    virtual void setNunchukIgnored(bool ignored) = 0;
    virtual void wiiJoystickEvent(int dx, int dy, int device, const std::vector<int>& pressed,
                                  const WiiCommunicationData& record, bool zReleased) = 0;
    virtual void wiiButtonEvent(float x, float y, int device, const std::vector<int>& pressed,
                                const WiiCommunicationData& record) = 0;
    virtual void wiiBorderEvent(float x, float y, int device, const std::vector<int>& pressed,
                                const WiiCommunicationData& record) = 0;
    virtual void createObjectsAt(float amount) = 0;
    virtual void eraseObjectsAt(float amount) = 0;
};

struct WiiInputSettings
{
    unsigned wiis = 0;              // configured Remotes; 0 ignores every message
    unsigned firstDevice = 1;       // device id of Remote 0 (the direct-touch users come first)
    float width = 700.0f;           // window size the pointer is kept within
    float height = 525.0f;
    float joystickSpeedFactor = 10.0f;
};

// Owns the current and previous record of every Remote, the Z-released
// flag, the Nunchuk-ignore input and the last border point. Holds no Qt and
// no GL: the main window feeds it datagrams, tests and fuzzers feed it bytes.
class WiiMessageEvaluator
{
public:
    static constexpr int StateArguments = 36;
    static constexpr int DefaultCreateAmount = 5;
    static constexpr float DefaultEraseAmount = 5.0f;

    // `target` and `out` must outlive the evaluator; `out` takes the
    // messages of extra arguments and of dropped datagrams.
    WiiMessageEvaluator(const WiiInputSettings& settings, WiiEventTarget& target, std::ostream& out);

    // One datagram: validated, parsed as one message and dispatched by its
    // address. A datagram that fails validation or whose arguments have the
    // wrong types changes nothing and is reported in one line (at most one
    // line per second however many arrive). Returns whether it was applied.
    bool evaluateDatagram(const char* data, std::size_t size);

    // The three handlers. They expect the argument types evaluateDatagram
    // checks; oscpack throws osc::Exception for others.
    void evaluateWiimoteData(const osc::ReceivedMessage& message);
    void evaluateCreateObjectsMessage(const osc::ReceivedMessage& message);
    void evaluateEraseObjectsMessage(const osc::ReceivedMessage& message);

    unsigned remoteCount() const { return static_cast<unsigned>(_wiiData.size()); }
    const WiiCommunicationData& wiiData(unsigned i) const { return _wiiData.at(i); }
    const WiiCommunicationData& previousWiiData(unsigned i) const { return _previousWiiData.at(i); }
    bool isZReleased() const { return _zReleased; }
    bool nunchukIgnoreInput() const { return _nunchukIgnoreInput; }
    float lastBorderX() const { return _lastBorderPoint[0]; }
    float lastBorderY() const { return _lastBorderPoint[1]; }
    // Button codes newly pressed and newly released by the latest state message.
    const std::vector<int>& lastPressed() const { return _lastPressed; }
    const std::vector<int>& lastReleased() const { return _lastReleased; }
    // Datagrams dropped as malformed since the start.
    unsigned long droppedCount() const { return _dropped; }
    // Seconds of a monotonic clock; tests replace it to see the report limit.
    void setClock(std::function<double()> clock) { _clock = std::move(clock); }

private:
    enum class Kind { None, State, Create, Erase };
    static Kind kindOf(const char* address);
    // Empty when the message's type tags fit its kind, else why not.
    static std::string typeProblem(Kind kind, const char* typeTags);
    void drop(const std::string& why);
    // Border or button handling after a state message of Remote i.
    void pointerEvents(unsigned i, float rawX, float rawY, const std::vector<int>& pressed);
    int device(unsigned i) const { return static_cast<int>(_settings.firstDevice + i); }

    WiiInputSettings _settings;
    WiiEventTarget& _target;
    std::ostream& _out;
    std::vector<WiiCommunicationData> _wiiData;
    std::vector<WiiCommunicationData> _previousWiiData;
    bool _zReleased = true;
    bool _nunchukIgnoreInput = false;
    bool _previousNunchukIgnoreInput = false;
    float _lastBorderPoint[2] = {0.0f, 0.0f};
    std::vector<int> _lastPressed;
    std::vector<int> _lastReleased;
    unsigned long _dropped = 0;
    unsigned long _droppedSinceReport = 0;
    double _lastReport = -1e9;
    std::function<double()> _clock;
};
