// Bounds checks of an OSC datagram, done before any OSC parser reads it.
#pragma once

#include <cstddef>

// Why a datagram was refused; Valid when it passed.
enum class OscProblem
{
    Valid,
    Empty,
    TooLarge,
    Misaligned,             // a size that is not a multiple of 4
    BadBundleHeader,        // starts with '#' but is not "#bundle\0" + time tag
    BadElementSize,         // a bundle element size below 4, unaligned, or past the bundle's end
    TooDeep,                // bundles nested deeper than MaxBundleDepth
    BadAddress,             // a message whose address does not start with '/'
    UnterminatedString,     // no NUL before the end, or padding that is not NUL
    MissingTypeTags,        // arguments without a ',' type tag string
    UnknownTypeTag,
    UnbalancedArray,
    ArgumentsExceedMessage, // an argument runs past the end of its message
    BadBlobSize,            // a blob whose size (padded) runs past its message
    TrailingBytes,          // bytes left after the last argument
};

const char* describe(OscProblem problem);

// Accepts exactly the OSC 1.0 packets (messages and bundles) whose every
// size, string and argument lies inside the datagram: a packet that passes
// can be handed to an OSC parser without it reading outside the bytes or
// looping. Stricter than the format where the format leaves room for
// mischief: string padding must be NUL, messages must end with their last
// argument, element sizes must be at least 4.
class OscPacketValidator
{
public:
    // Larger than any UDP datagram; keeps every offset far from overflow.
    static constexpr std::size_t MaxPacketSize = 65536;
    // A datagram is bundle depth 1; TUIO needs only that.
    static constexpr unsigned MaxBundleDepth = 8;

    static OscProblem check(const char* data, std::size_t size);
    static bool isValid(const char* data, std::size_t size) { return check(data, size) == OscProblem::Valid; }
};
