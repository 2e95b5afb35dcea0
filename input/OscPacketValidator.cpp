// OSC datagram bounds checks.
#include "OscPacketValidator.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr char BundleTag[8] = {'#', 'b', 'u', 'n', 'd', 'l', 'e', '\0'};
constexpr std::size_t BundleHeaderSize = 16; // tag and 8-byte time tag

std::uint32_t readUInt32(const unsigned char* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

// Walks one region [begin, end) of the datagram; offsets are relative to
// the datagram start, end is always a multiple of 4.
class Walker
{
public:
    explicit Walker(const unsigned char* bytes) : _bytes(bytes) {}

    OscProblem bundle(std::size_t begin, std::size_t end, unsigned depth) const
    {
        if (depth > OscPacketValidator::MaxBundleDepth)
            return OscProblem::TooDeep;
        if (end - begin < BundleHeaderSize || std::memcmp(_bytes + begin, BundleTag, sizeof BundleTag) != 0)
            return OscProblem::BadBundleHeader;
        std::size_t at = begin + BundleHeaderSize;
        while (at < end) {
            // Read as unsigned: a "negative" size is simply far too large.
            const std::uint32_t size = readUInt32(_bytes + at);
            at += 4;
            if (size < 4 || size % 4 != 0 || size > end - at)
                return OscProblem::BadElementSize;
            const OscProblem problem = element(at, at + size, depth + 1);
            if (problem != OscProblem::Valid)
                return problem;
            at += size;
        }
        return OscProblem::Valid;
    }

    OscProblem element(std::size_t begin, std::size_t end, unsigned depth) const
    {
        return _bytes[begin] == '#' ? bundle(begin, end, depth) : message(begin, end);
    }

private:
    // Size of the NUL-terminated, NUL-padded string at `at`, or 0 when it
    // does not end inside [at, end). Padding must be NUL so that a parser
    // that looks only at every fourth byte finds the same end.
    std::size_t string(std::size_t at, std::size_t end) const
    {
        const void* nul = std::memchr(_bytes + at, 0, end - at);
        if (nul == nullptr)
            return 0;
        const std::size_t length = static_cast<std::size_t>(static_cast<const unsigned char*>(nul) - (_bytes + at)) + 1;
        const std::size_t padded = (length + 3) & ~std::size_t{3};
        if (padded > end - at)
            return 0;
        for (std::size_t i = length; i < padded; ++i)
            if (_bytes[at + i] != 0)
                return 0;
        return padded;
    }

    OscProblem message(std::size_t begin, std::size_t end) const
    {
        if (_bytes[begin] != '/')
            return OscProblem::BadAddress;
        const std::size_t address = string(begin, end);
        if (address == 0)
            return OscProblem::UnterminatedString;
        std::size_t at = begin + address;
        if (at == end)
            return OscProblem::Valid; // an address alone: no arguments
        if (_bytes[at] != ',')
            return OscProblem::MissingTypeTags;
        const std::size_t tagsSize = string(at, end);
        if (tagsSize == 0)
            return OscProblem::UnterminatedString;
        const std::size_t tags = at + 1;
        at += tagsSize;
        return arguments(tags, at, end);
    }

    // Type tags from `tag` up to their NUL; argument data from `at` to `end`.
    OscProblem arguments(std::size_t tag, std::size_t at, std::size_t end) const
    {
        unsigned arrays = 0;
        for (; _bytes[tag] != 0; ++tag) {
            std::size_t need = 0;
            switch (_bytes[tag]) {
            case 'i': case 'f': case 'c': case 'r': case 'm': need = 4; break;
            case 'h': case 't': case 'd': need = 8; break;
            case 'T': case 'F': case 'N': case 'I': break;
            case '[': ++arrays; break;
            case ']':
                if (arrays == 0)
                    return OscProblem::UnbalancedArray;
                --arrays;
                break;
            case 's': case 'S':
                if (at == end)
                    return OscProblem::ArgumentsExceedMessage;
                need = string(at, end);
                if (need == 0)
                    return OscProblem::UnterminatedString;
                break;
            case 'b': {
                if (end - at < 4)
                    return OscProblem::ArgumentsExceedMessage;
                const std::uint64_t padded = (std::uint64_t{readUInt32(_bytes + at)} + 3) & ~std::uint64_t{3};
                if (padded > end - at - 4)
                    return OscProblem::BadBlobSize;
                need = 4 + static_cast<std::size_t>(padded);
                break;
            }
            default: return OscProblem::UnknownTypeTag;
            }
            if (need > end - at)
                return OscProblem::ArgumentsExceedMessage;
            at += need;
        }
        if (arrays != 0)
            return OscProblem::UnbalancedArray;
        return at == end ? OscProblem::Valid : OscProblem::TrailingBytes;
    }

    const unsigned char* _bytes;
};

} // namespace

OscProblem OscPacketValidator::check(const char* data, std::size_t size)
{
    if (data == nullptr || size == 0)
        return OscProblem::Empty;
    if (size > MaxPacketSize)
        return OscProblem::TooLarge;
    if (size % 4 != 0)
        return OscProblem::Misaligned;
    return Walker(reinterpret_cast<const unsigned char*>(data)).element(0, size, 1);
}

const char* describe(OscProblem problem)
{
    switch (problem) {
    case OscProblem::Valid: return "valid";
    case OscProblem::Empty: return "empty datagram";
    case OscProblem::TooLarge: return "datagram too large";
    case OscProblem::Misaligned: return "size not a multiple of 4";
    case OscProblem::BadBundleHeader: return "bad bundle header";
    case OscProblem::BadElementSize: return "bad bundle element size";
    case OscProblem::TooDeep: return "bundles nested too deeply";
    case OscProblem::BadAddress: return "address does not start with '/'";
    case OscProblem::UnterminatedString: return "unterminated or badly padded string";
    case OscProblem::MissingTypeTags: return "arguments without type tags";
    case OscProblem::UnknownTypeTag: return "unknown type tag";
    case OscProblem::UnbalancedArray: return "unbalanced array brackets";
    case OscProblem::ArgumentsExceedMessage: return "arguments exceed the message";
    case OscProblem::BadBlobSize: return "blob size exceeds the message";
    case OscProblem::TrailingBytes: return "bytes after the last argument";
    }
    return "unknown problem";
}
