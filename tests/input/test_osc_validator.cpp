// OSC datagram validation: what is refused and why, the two packets that
// hang or over-read the OSC parser, and nesting depth. (Agreement with the
// parser on everything accepted is the datagram fuzzer's check.)
#include "OscPacketValidator.h"
#include "TouchTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using osctest::Bytes;

OscProblem check(const Bytes& bytes) { return OscPacketValidator::check(bytes.data(), bytes.size()); }

Bytes raw(std::initializer_list<unsigned char> bytes)
{
    return Bytes(bytes.begin(), bytes.end());
}

Bytes concat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes tuioFrame()
{
    using namespace osctest;
    return bundle({message("/tuio/2Dblb", {std::string("alive"), 3}),
                   message("/tuio/2Dblb", {std::string("set"), 3, 0.5f, 0.5f, 0.0f, 0.02f, 0.02f, 0.0004f,
                                           0.0f, 0.0f, 0.0f, 0.0f, 0.0f}),
                   message("/tuio/2Dblb", {std::string("fseq"), 12})});
}

} // namespace

TEST(OscPacketValidator, AcceptsWellFormedPackets)
{
    using namespace osctest;
    EXPECT_EQ(check(tuioFrame()), OscProblem::Valid);
    EXPECT_EQ(check(bundle({})), OscProblem::Valid);
    EXPECT_EQ(check(raw({'/', 'a', 0, 0})), OscProblem::Valid) << "an address alone";
    EXPECT_EQ(check(message("/x", {})), OscProblem::Valid) << "empty type tag string";
    // A blob of 5 bytes padded to 8, then an int.
    EXPECT_EQ(check(raw({'/', 'b', 0, 0, ',', 'b', 'i', 0, 0, 0, 0, 5, 1, 2, 3, 4, 5, 0, 0, 0, 0, 0, 0, 7})),
              OscProblem::Valid);
    EXPECT_EQ(check(raw({'/', 'a', 0, 0, ',', '[', 'T', ']', 0, 0, 0, 0})), OscProblem::Valid);
}

TEST(OscPacketValidator, RefusesMalformedPacketsForTheirReason)
{
    using namespace osctest;
    const Bytes frame = tuioFrame();
    const Bytes oneFloat = message("/tuio/2Dcur", {1.0f});
    const struct {
        const char* what;
        Bytes bytes;
        OscProblem problem;
    } cases[] = {
        {"empty", {}, OscProblem::Empty},
        {"truncated by one byte", Bytes(frame.begin(), frame.end() - 1), OscProblem::Misaligned},
        {"truncated inside the last element", Bytes(frame.begin(), frame.end() - 4), OscProblem::BadElementSize},
        {"argument cut off", Bytes(oneFloat.begin(), oneFloat.end() - 4), OscProblem::ArgumentsExceedMessage},
        {"too large", Bytes(OscPacketValidator::MaxPacketSize + 4, '/'), OscProblem::TooLarge},
        {"unterminated address", raw({'/', 'a', 'b', 'c'}), OscProblem::UnterminatedString},
        {"address padding not NUL", raw({'/', 'a', 0, 'x', ',', 0, 0, 0}), OscProblem::UnterminatedString},
        {"unterminated string argument", raw({'/', 'a', 0, 0, ',', 's', 0, 0, 'a', 'b', 'c', 'd'}),
         OscProblem::UnterminatedString},
        {"address without slash", raw({'a', 0, 0, 0}), OscProblem::BadAddress},
        {"arguments without type tags", raw({'/', 'a', 0, 0, 'i', 0, 0, 0, 0, 0, 0, 1}), OscProblem::MissingTypeTags},
        {"unknown type tag", raw({'/', 'a', 0, 0, ',', 'i', 'Q', 0, 0, 0, 0, 1}), OscProblem::UnknownTypeTag},
        {"array closed before opened", raw({'/', 'a', 0, 0, ',', ']', 0, 0}), OscProblem::UnbalancedArray},
        {"bytes after the arguments", raw({'/', 'a', 0, 0, ',', 0, 0, 0, 0, 0, 0, 1}), OscProblem::TrailingBytes},
        {"blob larger than the message", raw({'/', 'a', 0, 0, ',', 'b', 0, 0, 0, 0, 0, 100, 1, 2, 3, 4}),
         OscProblem::BadBlobSize},
        // Padding this size to 4 wraps a 32-bit sum to 0: the parser would read far past the end.
        {"blob size that wraps when padded", raw({'/', 'a', 0, 0, ',', 'b', 0, 0, 0xFF, 0xFF, 0xFF, 0xFD}),
         OscProblem::BadBlobSize},
        {"not a bundle tag", concat(raw({'#', 'b', 'u', 'n', 'd', 'l', 'X', 0}), Bytes(8, 0)),
         OscProblem::BadBundleHeader},
        {"element size 0", concat(bundle({}), raw({0, 0, 0, 0})), OscProblem::BadElementSize},
        {"element size not aligned", concat(bundle({}), raw({0, 0, 0, 2, '/', 'a', 0, 0})),
         OscProblem::BadElementSize},
        // The parser steps by size + 4: by nothing for -4, so it never reaches the end.
        {"element size -4", concat(bundle({}), raw({0xFF, 0xFF, 0xFF, 0xFC})), OscProblem::BadElementSize},
        {"negative element size", concat(bundle({}), raw({0x80, 0, 0, 0})), OscProblem::BadElementSize},
        {"element past the bundle", concat(bundle({}), raw({0, 0, 0, 8, '/', 'a', 0, 0})),
         OscProblem::BadElementSize},
        {"bad element inside a nested bundle", bundle({bundle({raw({'a', 0, 0, 0})})}), OscProblem::BadAddress},
    };
    for (const auto& c : cases)
        EXPECT_EQ(check(c.bytes), c.problem) << c.what << ": " << describe(check(c.bytes));
}

TEST(OscPacketValidator, LimitsBundleNesting)
{
    Bytes packet = osctest::message("/a", {1});
    for (unsigned depth = 1; depth <= OscPacketValidator::MaxBundleDepth + 1; ++depth) {
        packet = osctest::bundle({packet});
        EXPECT_EQ(check(packet), depth <= OscPacketValidator::MaxBundleDepth ? OscProblem::Valid : OscProblem::TooDeep);
    }
}

