// The bridge's mapping from a Remote's reports to the state it sends: the
// pointer from the infrared camera or, without a sensor bar in view, from
// the tilt; buttons; the Nunchuk; and the rumble that answers the border.
#include "RemoteMapping.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Degrees = 180.0 / 3.14159265358979323846;
constexpr int CameraWidth = 1024;
constexpr int CameraHeight = 768;
constexpr int NoDot = 1023;

float unit(double value) { return static_cast<float>(std::clamp(value, -1.0, 1.0)); }

// Roll and pitch in degrees from an acceleration in g (gravity only).
void tilt(const std::array<float, 3>& g, float& roll, float& pitch)
{
    roll = static_cast<float>(std::atan2(g[0], g[2]) * Degrees);
    pitch = static_cast<float>(std::atan2(g[1], g[2]) * Degrees);
}

} // namespace

RemoteMapping::RemoteMapping(int remote, float width, float height) : _width(width), _height(height)
{
    _state.remote = remote;
    _state.pointerX = width / 2.0f;
    _state.pointerY = height / 2.0f;
    _state.extra = {-1.0f, -1.0f, 0.0f};
}

void RemoteMapping::apply(const RemoteEvent& e)
{
    const auto& v = e.values;
    switch (e.kind) {
    case RemoteEvent::Key:
        if (e.key == "c")
            _state.c = e.down;
        else if (e.key == "z")
            _state.z = e.down;
        else if (const int i = WiiOsc::buttonIndex(e.key); i >= 0)
            _state.buttons[static_cast<std::size_t>(i)] = e.down;
        break;
    case RemoteEvent::Accel:
        for (std::size_t i = 0; i < 3; ++i)
            _state.accel[i] = static_cast<float>(v[i] / AccelPerG);
        tilt(_state.accel, _state.roll, _state.pitch);
        if (!_infrared)
            updatePointerFromTilt();
        break;
    case RemoteEvent::Infrared: {
        // The mean of the dots in view (a sensor bar shows two).
        double sx = 0.0, sy = 0.0;
        int dots = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            if (v[2 * i] == NoDot && v[2 * i + 1] == NoDot)
                continue;
            sx += v[2 * i];
            sy += v[2 * i + 1];
            ++dots;
        }
        _infrared = dots > 0;
        _state.extra = {-1.0f, -1.0f, static_cast<float>(dots)};
        if (_infrared) {
            const double mx = sx / dots, my = sy / dots;
            _state.extra[0] = static_cast<float>(mx);
            _state.extra[1] = static_cast<float>(my);
            // The camera sees the bar mirrored: pointing right moves the
            // dots left; pointing up moves them down the camera image.
            _state.pointerX = std::clamp(static_cast<float>((1.0 - mx / (CameraWidth - 1)) * _width), 0.0f, _width);
            _state.pointerY = std::clamp(static_cast<float>(my / (CameraHeight - 1) * _height), 0.0f, _height);
        } else {
            updatePointerFromTilt();
        }
        break;
    }
    case RemoteEvent::Extension:
        _state.nunchuk = e.nunchuk;
        if (!e.nunchuk) {
            _state.c = _state.z = false;
            _state.joystickX = _state.joystickY = 0.0f;
        }
        break;
    case RemoteEvent::Stick:
        // The program reads joystick y as positive towards the player.
        _state.joystickX = unit(v[0] / StickRange);
        _state.joystickY = unit(-v[1] / StickRange);
        _state.nunchukExtra[0] = static_cast<float>(v[0]);
        _state.nunchukExtra[1] = static_cast<float>(v[1]);
        break;
    case RemoteEvent::NunchukAccel:
        for (std::size_t i = 0; i < 3; ++i)
            _state.nunchukAccel[i] = static_cast<float>(v[i] / AccelPerG);
        tilt(_state.nunchukAccel, _state.nunchukRoll, _state.nunchukPitch);
        _state.nunchukExtra[2] = static_cast<float>(std::hypot(_state.nunchukAccel[0], _state.nunchukAccel[1],
                                                                _state.nunchukAccel[2]));
        break;
    }
}

void RemoteMapping::updatePointerFromTilt()
{
    // Level: the centre; tilting right or up by TiltToEdgeDegrees reaches
    // the right or top edge.
    const double fx = std::clamp(_state.roll / TiltToEdgeDegrees, -1.0, 1.0);
    const double fy = std::clamp(_state.pitch / TiltToEdgeDegrees, -1.0, 1.0);
    _state.pointerX = static_cast<float>(_width / 2.0 * (1.0 + fx));
    _state.pointerY = static_cast<float>(_height / 2.0 * (1.0 + fy));
}

void RemoteMapping::borderMessage(bool left, double nowMs)
{
    _rumbleUntilMs = left ? -1.0 : nowMs + RumbleMs;
}
