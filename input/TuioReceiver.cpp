// TUIO frames to board contacts.
#include "TuioReceiver.h"

#include "BoardGeometry.h"
#include "OscPacketValidator.h"

#include <osc/OscException.h>
#include <osc/OscReceivedElements.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// A position or size argument: TUIO sends floats; doubles and ints are taken too.
bool readNumber(const osc::ReceivedMessageArgument& arg, double& value)
{
    if (arg.IsFloat())
        value = arg.AsFloatUnchecked();
    else if (arg.IsDouble())
        value = arg.AsDoubleUnchecked();
    else if (arg.IsInt32())
        value = arg.AsInt32Unchecked();
    else
        return false;
    return std::isfinite(value);
}

} // namespace

TuioReceiver::TuioReceiver(BoardPointers& pointers, unsigned boardWidth, unsigned boardHeight)
    : _pointers(pointers)
    , _boardWidth(boardWidth)
    , _boardHeight(boardHeight)
{
}

TuioReceiver::~TuioReceiver() = default;

void TuioReceiver::setBoardSize(unsigned width, unsigned height)
{
    _boardWidth = width;
    _boardHeight = height;
}

bool TuioReceiver::receive(const char* data, std::size_t size)
{
    if (!OscPacketValidator::isValid(data, size)) {
        ++_counters.invalid;
        return false;
    }
    // Everything is read before anything is applied: a datagram the parser
    // refuses halfway changes nothing.
    std::vector<Frames> frames;
    try {
        const osc::ReceivedPacket packet(data, size);
        if (packet.IsBundle()) {
            readBundle(osc::ReceivedBundle(packet), frames);
        } else {
            readMessage(osc::ReceivedMessage(packet), frames.emplace_back());
        }
    } catch (const osc::Exception&) {
        ++_counters.invalid;
        return false;
    }
    ++_counters.accepted;
    for (const Frames& frame : frames) {
        if (frame.cursor.touched)
            apply(_cursor, frame.cursor);
        if (frame.blob.touched)
            apply(_blob, frame.blob);
    }
    return true;
}

// One frame per bundle; a nested bundle is a frame of its own, applied
// after the frame of the bundle that holds it. The validator bounds the depth.
void TuioReceiver::readBundle(const osc::ReceivedBundle& bundle, std::vector<Frames>& frames) const
{
    const std::size_t index = frames.size();
    frames.emplace_back();
    for (auto element = bundle.ElementsBegin(); element != bundle.ElementsEnd(); ++element) {
        if (element->IsBundle())
            readBundle(osc::ReceivedBundle(*element), frames);
        else
            readMessage(osc::ReceivedMessage(*element), frames[index]);
    }
}

void TuioReceiver::readMessage(const osc::ReceivedMessage& message, Frames& frames)
{
    Frame* frame = nullptr;
    if (std::strcmp(message.AddressPattern(), "/tuio/2Dcur") == 0)
        frame = &frames.cursor;
    else if (std::strcmp(message.AddressPattern(), "/tuio/2Dblb") == 0)
        frame = &frames.blob;
    auto arg = message.ArgumentsBegin();
    const auto end = message.ArgumentsEnd();
    // Other profiles (tagged objects) and messages without a command are ignored.
    if (frame == nullptr || arg == end || !arg->IsString())
        return;
    frame->touched = true;
    const char* command = arg->AsStringUnchecked();
    ++arg;
    if (std::strcmp(command, "alive") == 0) {
        frame->hasAlive = true;
        frame->alive.clear();
        for (; arg != end; ++arg)
            if (arg->IsInt32())
                frame->alive.push_back(arg->AsInt32Unchecked());
    } else if (std::strcmp(command, "fseq") == 0) {
        if (arg != end && arg->IsInt32()) {
            frame->hasFseq = true;
            frame->fseq = arg->AsInt32Unchecked();
        }
    } else if (std::strcmp(command, "set") == 0) {
        if (arg == end || !arg->IsInt32())
            return;
        Placement placement;
        placement.session = arg->AsInt32Unchecked();
        ++arg;
        // Cursor: x y X Y m. Blob: x y a w h f X Y A m r. Only the leading
        // position (and the blob's size) matter; a short set is ignored.
        double values[5] = {};
        const unsigned needed = frame == &frames.blob ? 5 : 2;
        for (unsigned i = 0; i < needed; ++i, ++arg)
            if (arg == end || !readNumber(*arg, values[i]))
                return;
        placement.x = values[0];
        placement.y = values[1];
        placement.width = values[3];
        placement.height = values[4];
        frame->placements.push_back(placement);
    }
}

bool TuioReceiver::isLate(const Profile& profile, const Frame& frame) const
{
    if (!frame.hasFseq || frame.fseq == -1 || !profile.seenFrame)
        return false;
    const std::int64_t behind = std::int64_t{profile.lastFseq} - frame.fseq;
    return behind > 0 && behind < RestartDistance;
}

void TuioReceiver::apply(Profile& profile, const Frame& frame)
{
    if (isLate(profile, frame)) {
        ++_counters.lateFrames;
        return;
    }
    if (frame.hasFseq && frame.fseq != -1) {
        profile.seenFrame = true;
        profile.lastFseq = frame.fseq;
    }
    const auto alive = [&frame](std::int32_t session) {
        return std::find(frame.alive.begin(), frame.alive.end(), session) != frame.alive.end();
    };
    // Ends first, so that pointers they free can go to contacts that begin
    // in the same frame.
    if (frame.hasAlive) {
        for (auto it = profile.held.begin(); it != profile.held.end();) {
            if (alive(*it)) {
                ++it;
                continue;
            }
            _pointers.release(contactKey(profile.source, static_cast<std::uint32_t>(*it)));
            it = profile.held.erase(it);
        }
    }
    for (const Placement& p : frame.placements) {
        // A set for a session the same frame declares gone is stale.
        if (frame.hasAlive && !alive(p.session))
            continue;
        const ContactKey key = contactKey(profile.source, static_cast<std::uint32_t>(p.session));
        const BoardPoint at = toBoard(p.x, p.y);
        const int width = profile.hasSizes ? sizeToBoard(p.width, _boardWidth) : 0;
        const int height = profile.hasSizes ? sizeToBoard(p.height, _boardHeight) : 0;
        if (profile.held.count(p.session) != 0)
            _pointers.move(key, at.x, at.y, width, height);
        else if (_pointers.press(key, at.x, at.y, width, height))
            profile.held.insert(p.session);
        // Otherwise both pointers are taken: the session tries again with its next set.
    }
}

void TuioReceiver::releaseAll()
{
    for (Profile* profile : {&_cursor, &_blob}) {
        _pointers.releaseAll(profile->source);
        profile->held.clear();
    }
}

// Normalised positions cover the board: 0 is the first board unit, 1 the
// last, to the nearest unit.
BoardPoint TuioReceiver::toBoard(double x, double y) const
{
    const auto scale = [](double v, unsigned extent) {
        return extent == 0 ? 0 : roundToInt(std::clamp(v, 0.0, 1.0) * (extent - 1));
    };
    return {scale(x, _boardWidth), scale(y, _boardHeight)};
}

int TuioReceiver::sizeToBoard(double size, unsigned extent) const
{
    return roundToInt(std::clamp(size, 0.0, 1.0) * extent);
}
