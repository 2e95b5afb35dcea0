// TUIO 1.1 touch input: cursor (/tuio/2Dcur) and blob (/tuio/2Dblb) frames
// from UDP datagrams, reported as board contacts.
#pragma once

#include "BoardPointers.h"

#include <cstddef>
#include <cstdint>
#include <set>
#include <vector>

namespace osc {
class ReceivedBundle;
class ReceivedMessage;
} // namespace osc

// Each bundle is one tracker frame per profile: "alive" lists the session
// ids on the surface, "set" places one session, "fseq" numbers the frame.
// A session's first set presses a board pointer, later sets move it, and it
// is released when it leaves the alive list. Positions and sizes arrive
// normalised (0 to 1, origin top left) and are scaled to board units, so the
// posture ranges apply to blob sizes unchanged; cursors have size 0.
//
// Every datagram passes OscPacketValidator before the OSC parser sees it; a
// datagram that fails, or that the parser still refuses, changes nothing.
class TuioReceiver
{
public:
    // A frame number this much below the last one means the tracker started
    // again, not that the frame is late.
    static constexpr std::int32_t RestartDistance = 100;

    struct Counters
    {
        std::uint64_t accepted = 0;
        std::uint64_t invalid = 0;    // refused by the validator or the parser
        std::uint64_t lateFrames = 0; // frames dropped by the fseq rule
    };

    // `pointers` is not owned and must outlive the receiver.
    TuioReceiver(BoardPointers& pointers, unsigned boardWidth, unsigned boardHeight);
    ~TuioReceiver();

    TuioReceiver(const TuioReceiver&) = delete;
    TuioReceiver& operator=(const TuioReceiver&) = delete;

    void setBoardSize(unsigned width, unsigned height);

    // One UDP datagram: a bundle (possibly holding bundles) or a lone
    // message, which counts as a frame of its own. False when refused.
    bool receive(const char* data, std::size_t size);

    // Ends every contact (the receiver stops listening).
    void releaseAll();

    const Counters& counters() const { return _counters; }
    // Sessions of a profile that hold a board pointer.
    const std::set<std::int32_t>& cursorSessions() const { return _cursor.held; }
    const std::set<std::int32_t>& blobSessions() const { return _blob.held; }

private:
    // One "set": session, position, size (normalised).
    struct Placement
    {
        std::int32_t session = 0;
        double x = 0.0;
        double y = 0.0;
        double width = 0.0;
        double height = 0.0;
    };

    // What one bundle says about one profile.
    struct Frame
    {
        bool hasAlive = false;
        std::vector<std::int32_t> alive;
        std::vector<Placement> placements;
        bool hasFseq = false;
        std::int32_t fseq = 0;
        bool touched = false; // the bundle held a message of this profile
    };

    struct Profile
    {
        TouchSource source;
        bool hasSizes;
        std::set<std::int32_t> held;
        bool seenFrame = false;
        std::int32_t lastFseq = 0;
    };

    struct Frames
    {
        Frame cursor;
        Frame blob;
    };

    void readBundle(const osc::ReceivedBundle& bundle, std::vector<Frames>& frames) const;
    static void readMessage(const osc::ReceivedMessage& message, Frames& frames);
    bool isLate(const Profile& profile, const Frame& frame) const;
    void apply(Profile& profile, const Frame& frame);
    BoardPoint toBoard(double x, double y) const;
    int sizeToBoard(double size, unsigned extent) const;

    BoardPointers& _pointers;
    unsigned _boardWidth;
    unsigned _boardHeight;
    Profile _cursor{TouchSource::TuioCursor, false, {}};
    Profile _blob{TouchSource::TuioBlob, true, {}};
    Counters _counters;
};
