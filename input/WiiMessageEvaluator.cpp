// Wii Remote and Nunchuk state over OSC: validates each datagram, walks the
// three Wii messages into per-Remote records and hands the results on.
#include "WiiMessageEvaluator.h"

#include "OscPacketValidator.h"

#include <osc/OscException.h>
#include <osc/OscReceivedElements.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstring>
#include <ostream>

namespace {

constexpr const char* StateAddress = "/glovepie/wiidata";
constexpr const char* CreateAddress = "/glovepie/wiiaction/createobjects";
constexpr const char* EraseAddress = "/glovepie/wiiaction/eraseobjects";

// The Remote's button flags of arguments 11 to 21, with their codes.
struct ButtonArgument
{
    bool WiiCommunicationData::*flag;
    int code;
};
constexpr std::array<ButtonArgument, 11> RemoteButtons{{
    {&WiiCommunicationData::up, WiiCommunicationData::BUTTON_UP},
    {&WiiCommunicationData::down, WiiCommunicationData::BUTTON_DOWN},
    {&WiiCommunicationData::right, WiiCommunicationData::BUTTON_RIGHT},
    {&WiiCommunicationData::left, WiiCommunicationData::BUTTON_LEFT},
    {&WiiCommunicationData::a, WiiCommunicationData::BUTTON_A},
    {&WiiCommunicationData::b, WiiCommunicationData::BUTTON_B},
    {&WiiCommunicationData::plus, WiiCommunicationData::BUTTON_PLUS},
    {&WiiCommunicationData::minus, WiiCommunicationData::BUTTON_MINUS},
    {&WiiCommunicationData::home, WiiCommunicationData::BUTTON_HOME},
    {&WiiCommunicationData::one, WiiCommunicationData::BUTTON_ONE},
    {&WiiCommunicationData::two, WiiCommunicationData::BUTTON_TWO},
}};

// The OSC type each position of the state message takes: i, f or b (T/F).
char stateType(int k)
{
    if (k == 0)
        return 'i';
    if ((k >= 11 && k <= 24) || k == 35)
        return 'b';
    return 'f';
}

bool fits(char wanted, char tag)
{
    return wanted == 'b' ? (tag == 'T' || tag == 'F') : tag == wanted;
}

// Lists the button code once in pressed or released when the flag changed.
void noteEdge(bool now, bool before, int code, std::vector<int>& pressed, std::vector<int>& released)
{
    if (now && !before)
        pressed.push_back(code);
    else if (!now && before)
        released.push_back(code);
}

float* remoteFloat(WiiCommunicationData& d, int k)
{
    switch (k) {
    case 3: return &d.gx;
    case 4: return &d.gy;
    case 5: return &d.gz;
    case 6: case 7: case 8: return &d.extra[static_cast<std::size_t>(k - 6)];
    case 9: return &d.roll;
    default: return &d.pitch;   // 10
    }
}

float* nunchukFloat(NunchukCommunicationData& n, int k)
{
    switch (k) {
    case 25: return &n.joystickX;
    case 26: return &n.joystickY;
    case 27: return &n.gx;
    case 28: return &n.gy;
    case 29: return &n.gz;
    case 30: case 31: case 32: return &n.extra[static_cast<std::size_t>(k - 30)];
    case 33: return &n.roll;
    default: return &n.pitch;   // 34
    }
}

// Pointer coordinates within [0, limit]; a reading that is not a number is 0.
float clampPointer(float raw, float limit)
{
    return std::isnan(raw) ? 0.0f : std::clamp(raw, 0.0f, limit);
}

// The joystick step in whole pixels. Readings lie within [-1, 1]; anything
// wild is held to a step no window needs, so the conversion stays defined.
int joystickStep(double value)
{
    constexpr double Limit = 1e6;
    return std::isnan(value) ? 0 : static_cast<int>(std::clamp(value, -Limit, Limit));
}

double steadySeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace

WiiMessageEvaluator::WiiMessageEvaluator(const WiiInputSettings& settings, WiiEventTarget& target, std::ostream& out)
    : _settings(settings)
    , _target(target)
    , _out(out)
    , _wiiData(settings.wiis)
    , _previousWiiData(settings.wiis)
    , _clock(steadySeconds)
{
}

WiiMessageEvaluator::Kind WiiMessageEvaluator::kindOf(const char* address)
{
    if (std::strcmp(address, StateAddress) == 0)
        return Kind::State;
    if (std::strcmp(address, CreateAddress) == 0)
        return Kind::Create;
    if (std::strcmp(address, EraseAddress) == 0)
        return Kind::Erase;
    return Kind::None;
}

std::string WiiMessageEvaluator::typeProblem(Kind kind, const char* typeTags)
{
    const std::size_t count = std::strlen(typeTags);
    if (kind == Kind::State) {
        // Missing trailing arguments are allowed; they leave their fields as they are.
        const std::size_t checked = std::min<std::size_t>(count, StateArguments);
        for (std::size_t k = 0; k < checked; ++k)
            if (!fits(stateType(static_cast<int>(k)), typeTags[k]))
                return "wrong argument type at position " + std::to_string(k);
        return count == 0 ? "missing argument: Remote number" : "";
    }
    // The action messages: Remote number (i), then an optional amount.
    if (count == 0)
        return "missing argument: Remote number";
    if (typeTags[0] != 'i')
        return "wrong argument type at position 0";
    const char amountType = kind == Kind::Create ? 'i' : 'f';
    if (count > 1 && typeTags[1] != amountType)
        return "wrong argument type at position 1";
    return "";
}

void WiiMessageEvaluator::drop(const std::string& why)
{
    ++_dropped;
    ++_droppedSinceReport;
    const double now = _clock();
    if (now - _lastReport < 1.0)
        return;
    _out << "WiiMessageEvaluator: dropped a datagram (" << why << ")";
    if (_droppedSinceReport > 1)
        _out << "; " << _droppedSinceReport << " dropped since the last report";
    _out << std::endl;
    _droppedSinceReport = 0;
    _lastReport = now;
}

bool WiiMessageEvaluator::evaluateDatagram(const char* data, std::size_t size)
{
    if (_settings.wiis == 0)
        return false;
    if (const OscProblem problem = OscPacketValidator::check(data, size); problem != OscProblem::Valid) {
        drop(describe(problem));
        return false;
    }
    try {
        const osc::ReceivedPacket packet(data, static_cast<osc::osc_bundle_element_size_t>(size));
        if (packet.IsBundle()) {
            drop("a bundle where one message belongs");
            return false;
        }
        const osc::ReceivedMessage message(packet);
        const Kind kind = kindOf(message.AddressPattern());
        if (kind == Kind::None)
            return false;
        const char* tags = message.TypeTags();
        if (const std::string problem = typeProblem(kind, tags != nullptr ? tags : ""); !problem.empty()) {
            drop(problem);
            return false;
        }
        switch (kind) {
        case Kind::State: evaluateWiimoteData(message); break;
        case Kind::Create: evaluateCreateObjectsMessage(message); break;
        case Kind::Erase: evaluateEraseObjectsMessage(message); break;
        case Kind::None: break;
        }
    } catch (const osc::Exception& e) {
        drop(e.what());
        return false;
    }
    return true;
}

void WiiMessageEvaluator::evaluateWiimoteData(const osc::ReceivedMessage& message)
{
    int remote = -1;
    bool valid = false;
    std::vector<int> pressed;
    std::vector<int> released;
    WiiCommunicationData* current = nullptr;
    const WiiCommunicationData* previous = nullptr;
    float rawX = 0.0f;
    float rawY = 0.0f;

    int k = 0;
    for (auto arg = message.ArgumentsBegin(); arg != message.ArgumentsEnd(); ++arg, ++k) {
        if (k == 0) {
            remote = static_cast<int>(arg->AsInt32());
            valid = remote >= 0 && remote < static_cast<int>(_wiiData.size());
            if (valid) {
                const auto i = static_cast<std::size_t>(remote);
                _previousWiiData[i] = _wiiData[i];
                current = &_wiiData[i];
                previous = &_previousWiiData[i];
                current->index = remote;
                rawX = current->pointerX;
                rawY = current->pointerY;
            }
            continue;
        }
        if (!valid)
            continue;
        WiiCommunicationData& d = *current;
        NunchukCommunicationData& n = d.nunchuk();
        if (k == 1) {
            rawX = arg->AsFloat();
            d.pointerX = clampPointer(rawX, _settings.width);
        } else if (k == 2) {
            rawY = arg->AsFloat();
            d.pointerY = clampPointer(rawY, _settings.height);
        } else if (k <= 10) {
            *remoteFloat(d, k) = arg->AsFloat();
        } else if (k <= 21) {
            const ButtonArgument& button = RemoteButtons[static_cast<std::size_t>(k - 11)];
            d.*button.flag = arg->AsBool();
            noteEdge(d.*button.flag, previous->*button.flag, button.code, pressed, released);
        } else if (k == 22) {
            d.hasNunchuk(arg->AsBool());
        } else if (k == 23) {
            n.c = arg->AsBool();
            noteEdge(n.c, previous->nunchuk().c, WiiCommunicationData::BUTTON_C, pressed, released);
        } else if (k == 24) {
            if (!d.hasNunchuk())
                continue;
            n.z = arg->AsBool();
            noteEdge(n.z, previous->nunchuk().z, WiiCommunicationData::BUTTON_Z, pressed, released);
            if (n.z && !previous->nunchuk().z)
                _zReleased = false;
            else if (!n.z && previous->nunchuk().z)
                _zReleased = true;
        } else if (k <= 34) {
            if (d.hasNunchuk())
                *nunchukFloat(n, k) = arg->AsFloat();
        } else if (k == 35) {
            _previousNunchukIgnoreInput = _nunchukIgnoreInput;
            _nunchukIgnoreInput = arg->AsBool();
        } else {
            _out << "ArgNum: " << k << "\n"
                 << "More args: implement in wii class and when interpreting UPD package.\n";
        }
    }
    _lastPressed = pressed;
    _lastReleased = released;
    if (!valid || !_target.isReady())
        return;

    const auto i = static_cast<unsigned>(remote);
    if (!_nunchukIgnoreInput)
        _target.setNunchukIgnored(false);
    else if (!_previousNunchukIgnoreInput)
        _target.setNunchukIgnored(true);
    pointerEvents(i, rawX, rawY, pressed);
    const WiiCommunicationData& record = _wiiData[i];
    if (record.hasNunchuk()) {
        const double f = _settings.joystickSpeedFactor;
        const int dx = joystickStep(f * record.nunchuk().joystickX);
        const int dy = joystickStep(record.nunchuk().joystickY * f);
        _target.wiiJoystickEvent(dx, dy, device(i), pressed, record, _zReleased);
    }
}

void WiiMessageEvaluator::pointerEvents(unsigned i, float rawX, float rawY, const std::vector<int>& pressed)
{
    const WiiCommunicationData& previous = _previousWiiData[i];
    const WiiCommunicationData& current = _wiiData[i];
    const float px = previous.pointerX;
    const float py = previous.pointerY;
    const float w = _settings.width;
    const float h = _settings.height;

    // The pointer reached an edge when its path from the previous point
    // (inside or on other edges) meets that edge; the first edge met wins.
    float t = 2.0f;
    const auto meet = [&t](float from, float to, float edge) {
        if (from != edge && ((to <= edge && from > edge) || (to >= edge && from < edge)))
            t = std::min(t, (edge - from) / (to - from));
    };
    if (rawX <= 0.0f)
        meet(px, rawX, 0.0f);
    if (rawX >= w)
        meet(px, rawX, w);
    if (rawY <= 0.0f)
        meet(py, rawY, 0.0f);
    if (rawY >= h)
        meet(py, rawY, h);

    float x = 0.0f;
    float y = 0.0f;
    if (t <= 1.0f) {
        x = std::clamp(px + t * (rawX - px), 0.0f, w);
        y = std::clamp(py + t * (rawY - py), 0.0f, h);
        _target.wiiBorderEvent(x, y, device(i), pressed, current);
    } else {
        const bool remoteButton = std::any_of(pressed.begin(), pressed.end(), [](int code) {
            return code != WiiCommunicationData::BUTTON_C && code != WiiCommunicationData::BUTTON_Z;
        });
        if (!remoteButton)
            return;
        x = std::trunc(0.5f * (px + current.pointerX));
        y = std::trunc(0.5f * (py + current.pointerY));
        _target.wiiButtonEvent(x, y, device(i), pressed, current);
    }
    _lastBorderPoint[0] = x;
    _lastBorderPoint[1] = y;
}

void WiiMessageEvaluator::evaluateCreateObjectsMessage(const osc::ReceivedMessage& message)
{
    auto arg = message.ArgumentsBegin();
    const auto remote = static_cast<int>(arg->AsInt32());
    int amount = DefaultCreateAmount;
    if (++arg != message.ArgumentsEnd())
        amount = static_cast<int>(arg->AsInt32());
    if (remote >= 0 && remote < static_cast<int>(_wiiData.size()) && _target.isReady())
        _target.createObjectsAt(static_cast<float>(amount));
}

void WiiMessageEvaluator::evaluateEraseObjectsMessage(const osc::ReceivedMessage& message)
{
    auto arg = message.ArgumentsBegin();
    const auto remote = static_cast<int>(arg->AsInt32());
    float amount = DefaultEraseAmount;
    if (++arg != message.ArgumentsEnd())
        amount = arg->AsFloat();
    if (remote >= 0 && remote < static_cast<int>(_wiiData.size()) && _target.isReady())
        _target.eraseObjectsAt(amount);
}
