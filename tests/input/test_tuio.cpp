// TUIO sessions: contacts begin with their first set, move with later sets
// and end when they leave the alive list; blob sizes arrive in board units;
// late frames, foreign profiles and malformed datagrams change nothing.
#include "BoardPointers.h"
#include "TouchTestSupport.h"
#include "TuioReceiver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using osctest::Arg;
using osctest::Bytes;
using Calls = std::vector<std::string>;

// A contact of a frame; cursors ignore the size.
struct Contact
{
    int session;
    float x;
    float y;
    float width = 0.0f;
    float height = 0.0f;
};

const char* const Cur = "/tuio/2Dcur";
const char* const Blb = "/tuio/2Dblb";

Bytes frame(const char* profile, const std::vector<int>& alive, const std::vector<Contact>& sets, int fseq)
{
    std::vector<Arg> aliveArgs{std::string("alive")};
    aliveArgs.insert(aliveArgs.end(), alive.begin(), alive.end());
    std::vector<Bytes> elements{osctest::message(profile, aliveArgs)};
    const bool blob = std::string(profile) == Blb;
    for (const Contact& c : sets)
        elements.push_back(blob ? osctest::message(profile, {std::string("set"), c.session, c.x, c.y, 0.0f, c.width,
                                                             c.height, c.width * c.height, 0.0f, 0.0f, 0.0f, 0.0f,
                                                             0.0f})
                                : osctest::message(profile, {std::string("set"), c.session, c.x, c.y, 0.0f, 0.0f,
                                                             0.0f}));
    elements.push_back(osctest::message(profile, {std::string("fseq"), fseq}));
    return osctest::bundle(elements);
}


class TuioSession : public ::testing::Test
{
protected:
    bool send(const Bytes& datagram) { return _tuio.receive(datagram.data(), datagram.size()); }

    RecordingSink _sink;
    BoardPointers _pointers{_sink};
    TuioReceiver _tuio{_pointers, 4000, 3000};
};

} // namespace

TEST_F(TuioSession, CursorBeginsMovesAndEndsWhenItLeavesAlive)
{
    ASSERT_TRUE(send(frame(Cur, {5}, {{5, 0.25f, 0.5f}}, 1)));
    EXPECT_EQ(_sink.take(), (Calls{"size 0x0 #0", "down 1000 1500 #0"})) << "cursors have no size";
    send(frame(Cur, {5}, {{5, 0.5f, 1.0f}}, 2));
    EXPECT_EQ(_sink.take(), (Calls{"size 0x0 #0", "move 2000 2999 #0"})) << "1.0 is the last board unit";
    // Keep-alive: the contact stays and nothing is reported.
    send(frame(Cur, {5}, {}, 3));
    send(frame(Cur, {5}, {}, 4));
    EXPECT_TRUE(_sink.take().empty());
    EXPECT_EQ(_tuio.cursorSessions().count(5), 1u);
    send(frame(Cur, {}, {}, 5));
    EXPECT_EQ(_sink.take(), (Calls{"up 2000 2999 #0"}));
    EXPECT_EQ(_pointers.heldCount(), 0u);
}

TEST_F(TuioSession, AThirdContactWaitsForAFreePointer)
{
    send(frame(Cur, {1, 2, 3}, {{1, 0.1f, 0.1f}, {2, 0.2f, 0.2f}, {3, 0.3f, 0.3f}}, 1));
    EXPECT_EQ(_sink.take(), (Calls{"size 0x0 #0", "down 400 300 #0", "size 0x0 #256", "down 800 600 #256"}));
    // Session 1 ends; in the same frame session 3 takes the freed pointer.
    send(frame(Cur, {2, 3}, {{3, 0.35f, 0.3f}}, 2));
    EXPECT_EQ(_sink.take(), (Calls{"up 400 300 #0", "size 0x0 #0", "down 1400 900 #0"}));
    // A set for a session the same frame declares gone is stale.
    send(frame(Cur, {3}, {{2, 0.9f, 0.9f}}, 3));
    EXPECT_EQ(_sink.take(), (Calls{"up 800 600 #256"}));
}

TEST_F(TuioSession, BlobSizesArriveInBoardUnitsBeforeEachDownAndMove)
{
    send(frame(Blb, {9}, {{9, 0.5f, 0.5f, 0.02f, 0.03f}}, 1));
    EXPECT_EQ(_sink.take(), (Calls{"size 80x90 #0", "down 2000 1500 #0"}));
    send(frame(Blb, {9}, {{9, 0.5f, 0.5f, 2.0f, -1.0f}}, 2));
    EXPECT_EQ(_sink.take(), (Calls{"size 4000x0 #0", "move 2000 1500 #0"})) << "sizes are clamped to the board";
    // Blobs and cursors are separate profiles with separate sessions and frame numbers.
    send(frame(Cur, {9}, {{9, 0.0f, 0.0f}}, 1));
    EXPECT_EQ(_sink.take(), (Calls{"size 0x0 #256", "down 0 0 #256"}));
}

TEST_F(TuioSession, LateFramesAreDroppedUnlessTheTrackerRestarted)
{
    send(frame(Cur, {1}, {{1, 0.1f, 0.1f}}, 500));
    _sink.take();
    send(frame(Cur, {1}, {{1, 0.2f, 0.1f}}, 499));
    send(frame(Cur, {}, {}, 401)); // 99 behind: late too, so the contact survives
    EXPECT_TRUE(_sink.take().empty());
    EXPECT_EQ(_tuio.counters().lateFrames, 2u);
    // Frame -1 is always taken and leaves the frame number alone.
    send(frame(Cur, {1}, {{1, 0.15f, 0.1f}}, -1));
    send(frame(Cur, {1}, {{1, 0.3f, 0.1f}}, 499));
    EXPECT_EQ(_sink.take(), (Calls{"size 0x0 #0", "move 600 300 #0"}));
    // The same number again is not late.
    send(frame(Cur, {1}, {{1, 0.125f, 0.1f}}, 500));
    EXPECT_EQ(_sink.take().size(), 2u);
    // 100 behind: a restarted tracker, whose frames count from there.
    send(frame(Cur, {}, {}, 400));
    EXPECT_EQ(_sink.take(), (Calls{"up 500 300 #0"}));
    send(frame(Cur, {2}, {{2, 0.5f, 0.5f}}, 401));
    EXPECT_EQ(_sink.take().size(), 2u);
}

TEST_F(TuioSession, LoneMessagesShortSetsAndObjects)
{
    // A message outside a bundle is a frame of its own; objects are not ours;
    // a set too short for a blob is ignored.
    EXPECT_TRUE(send(osctest::message("/tuio/2Dcur", {std::string("set"), 4, 0.5f, 0.5f, 0.0f, 0.0f, 0.0f})));
    EXPECT_EQ(_sink.take().size(), 2u);
    EXPECT_TRUE(send(osctest::message("/tuio/2Dobj", {std::string("alive")})));
    send(osctest::message("/tuio/2Dblb", {std::string("set"), 6, 0.5f, 0.5f, 0.0f, 0.1f}));
    EXPECT_TRUE(_sink.take().empty());
}

TEST_F(TuioSession, MalformedDatagramsChangeNothing)
{
    send(frame(Cur, {1}, {{1, 0.5f, 0.5f}}, 1));
    _sink.take();
    const Bytes ending = frame(Cur, {}, {}, 2);
    Bytes wrap = osctest::bundle({});
    for (unsigned char b : {0xFF, 0xFF, 0xFF, 0xFC})
        wrap.push_back(static_cast<char>(b));
    Bytes deep = ending;
    for (int i = 0; i < 20; ++i)
        deep = osctest::bundle({deep});
    Bytes badTag = ending;
    badTag[badTag.size() - 14] = 'Q'; // fseq's type tag "i"
    const std::vector<Bytes> bad{
        Bytes(ending.begin(), ending.end() - 1), Bytes(ending.begin(), ending.end() - 4), wrap, deep, badTag,
        Bytes{'/', 't', 'u', 'i'},
    };
    for (const Bytes& datagram : bad)
        EXPECT_FALSE(send(datagram));
    EXPECT_TRUE(_sink.take().empty());
    EXPECT_EQ(_tuio.counters().invalid, bad.size());
    EXPECT_EQ(_tuio.cursorSessions().count(1), 1u);
    // The receiver still works.
    EXPECT_TRUE(send(ending));
    EXPECT_EQ(_sink.take(), (Calls{"up 2000 1500 #0"}));
}
