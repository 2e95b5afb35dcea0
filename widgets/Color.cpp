// Color: paint-to-display conversion, the display-to-paint look-up table and the mixing rule.
#include "Color.h"

#include <algorithm>
#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

// One output channel of the colour cube's eight corners (display RGB).
struct CubeCorners {
    int white, red, yellow, blue, orange, purple, green, black;
};

constexpr CubeCorners kCorners[3] = {
    // white red  yellow blue orange purple green black
    {255, 255, 255, 42, 255, 128, 0, 0},   // red channel
    {255, 0, 255, 95, 128, 0, 168, 0},     // green channel
    {255, 0, 0, 153, 0, 128, 51, 0},       // blue channel
};

constexpr float kPigmentStep = 0.00390625f;  // 1/256: full pigment is 255/256 of the way

// One channel of the paint-to-display conversion: along blue, then yellow, then red.
// Every value involved is a multiple of 1/256 below 2^16, so float arithmetic is exact here.
unsigned char convertChannel(const CubeCorners& c, float red, float yellow, float blue)
{
    const int p0 = static_cast<int>(c.white + (c.blue - c.white) * blue);
    const int p1 = static_cast<int>(c.red + (c.purple - c.red) * blue);
    const int p2 = static_cast<int>(c.yellow + (c.green - c.yellow) * blue);
    const int p3 = static_cast<int>(c.orange + (c.black - c.orange) * blue);
    const int q0 = static_cast<int>(p0 + (p2 - p0) * yellow);
    const int q1 = static_cast<int>(p1 + (p3 - p1) * yellow);
    return static_cast<unsigned char>(static_cast<int>(q0 + (q1 - q0) * red));
}

// trunc(from + (to - from) * amount / 256) in integers. The value lies between from and to,
// so it is never negative and truncation equals the flooring the shift does.
constexpr int lerpTrunc(int from, int to, int amount)
{
    return (from * 256 + (to - from) * amount) >> 8;
}

// For one channel, the blue and yellow steps of the conversion for every (yellow, blue) pair,
// indexed [yellow][blue]; only the red step is left to the loop over all paints.
struct YellowBluePlane {
    std::uint8_t q0[256][256];
    std::uint8_t q1[256][256];
};

void fillYellowBluePlane(const CubeCorners& c, YellowBluePlane& plane)
{
    for (int blue = 0; blue < 256; ++blue) {
        const int p0 = lerpTrunc(c.white, c.blue, blue);
        const int p1 = lerpTrunc(c.red, c.purple, blue);
        const int p2 = lerpTrunc(c.yellow, c.green, blue);
        const int p3 = lerpTrunc(c.orange, c.black, blue);
        for (int yellow = 0; yellow < 256; ++yellow) {
            plane.q0[yellow][blue] = static_cast<std::uint8_t>(lerpTrunc(p0, p2, yellow));
            plane.q1[yellow][blue] = static_cast<std::uint8_t>(lerpTrunc(p1, p3, yellow));
        }
    }
}

// Writes every paint into a zeroed table in paint order (red outermost, blue innermost), so a
// later paint overwrites an earlier one with the same display colour; many paints share one
// (about 16.8 million paints fill about 5.6 million entries).
void fillTable(unsigned char* table)
{
    const auto planes = std::make_unique<YellowBluePlane[]>(3);
    for (int c = 0; c < 3; ++c)
        fillYellowBluePlane(kCorners[c], planes[c]);
    const YellowBluePlane& pr = planes[0];
    const YellowBluePlane& pg = planes[1];
    const YellowBluePlane& pb = planes[2];

    std::uint32_t entry[256];  // table offset of paint (red, yellow, blue) for each blue
    for (int red = 0; red < 256; ++red) {
        for (int yellow = 0; yellow < 256; ++yellow) {
            for (int blue = 0; blue < 256; ++blue) {
                const int dr = lerpTrunc(pr.q0[yellow][blue], pr.q1[yellow][blue], red);
                const int dg = lerpTrunc(pg.q0[yellow][blue], pg.q1[yellow][blue], red);
                const int db = lerpTrunc(pb.q0[yellow][blue], pb.q1[yellow][blue], red);
                entry[blue] = static_cast<std::uint32_t>(((db * 256 + dg) * 256 + dr) * 3);
            }
            if (red == yellow) {  // the grey paint (red, red, red) shows as 255 - red
                const auto grey = static_cast<unsigned char>(255 - red);
                entry[red] = static_cast<std::uint32_t>(Color::lookUpIndex(grey, grey, grey));
            }
            for (int blue = 0; blue < 256; ++blue) {
                unsigned char* e = table + entry[blue];
                e[0] = static_cast<unsigned char>(red);
                e[1] = static_cast<unsigned char>(yellow);
                e[2] = static_cast<unsigned char>(blue);
            }
        }
    }
}

// The table's zeroed memory. The fill scatters 16.8 million writes across 48 MiB: with 4 KiB
// pages nearly every write misses the TLB (about 80 ms here) and first touches fault page by
// page (about 120 ms more). On Linux the table is therefore mapped on a 2 MiB boundary, asks
// for huge pages and is populated in one call, and the whole build takes about 40 ms. Both
// requests are hints: if refused, anonymous pages still arrive zeroed on first touch. Under
// AddressSanitizer the table comes from the heap, where the sanitizer tracks its lifetime.
std::shared_ptr<unsigned char[]> allocateZeroedTable()
{
#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__)
    constexpr std::size_t kHugePage = std::size_t(2) << 20;
    constexpr std::size_t kMapped = Color::lookUpTableBytes + kHugePage;  // room to align
    void* mapped = mmap(nullptr, kMapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS,
                        -1, 0);
    if (mapped != MAP_FAILED) {
        const std::uintptr_t aligned =
            (reinterpret_cast<std::uintptr_t>(mapped) + kHugePage - 1) & ~(kHugePage - 1);
        auto* table = reinterpret_cast<unsigned char*>(aligned);
        madvise(table, Color::lookUpTableBytes, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE
        madvise(table, Color::lookUpTableBytes, MADV_POPULATE_WRITE);
#endif
        return std::shared_ptr<unsigned char[]>(
            table, [mapped](unsigned char*) { munmap(mapped, kMapped); });
    }
#endif
    return std::shared_ptr<unsigned char[]>(new unsigned char[Color::lookUpTableBytes]());
}

bool isGrey(const Color& c)
{
    return c.r == c.g && c.g == c.b;
}

// Mixing with a grey paint: no pigment halves the other paint, full pigment adds 127 to each
// channel (at most 255), any other grey averages the two.
Color mixWithGrey(const Color& grey, const Color& other)
{
    const auto channel = [&grey](int greyAmount, int otherAmount) {
        if (grey.r == 0)
            return static_cast<unsigned char>(otherAmount / 2);
        if (grey.r == 255)
            return static_cast<unsigned char>(std::min(otherAmount + 127, 255));
        return static_cast<unsigned char>((greyAmount + otherAmount) / 2);
    };
    return Color(channel(grey.r, other.r), channel(grey.g, other.g), channel(grey.b, other.b));
}

}  // namespace

Color::Color(unsigned char red, unsigned char green, unsigned char blue)
    : r(red), g(green), b(blue)
{
}

void Color::setRGB(unsigned char red, unsigned char green, unsigned char blue)
{
    r = red;
    g = green;
    b = blue;
}

void Color::convertRYBToRGB(unsigned char red, unsigned char yellow, unsigned char blue)
{
    if (red == yellow && yellow == blue) {
        const auto grey = static_cast<unsigned char>(255 - red);
        setRGB(grey, grey, grey);
        return;
    }
    const float R = red * kPigmentStep;
    const float Y = yellow * kPigmentStep;
    const float B = blue * kPigmentStep;
    setRGB(convertChannel(kCorners[0], R, Y, B), convertChannel(kCorners[1], R, Y, B),
           convertChannel(kCorners[2], R, Y, B));
}

void Color::buildColorLookUpTable()
{
    std::shared_ptr<unsigned char[]> table = allocateZeroedTable();
    fillTable(table.get());
    _lookUpTable = std::move(table);
}

void Color::convertRGBToRYBByTable(unsigned char red, unsigned char green, unsigned char blue)
{
    if (_lookUpTable) {
        const unsigned char* e = _lookUpTable.get() + lookUpIndex(red, green, blue);
        if (e[0] != 0 || e[1] != 0 || e[2] != 0) {
            setRGB(e[0], e[1], e[2]);
            return;
        }
    }
    setRGB(red, green, blue);
}

Color Color::mixColors(const Color& a, const Color& b)
{
    if (isGrey(a))
        return mixWithGrey(a, b);
    if (isGrey(b))
        return mixWithGrey(b, a);
    // trunc(0.75 * x + 0.75 * y), which is exactly 3 (x + y) / 4 in integers, capped at 255.
    const auto channel = [](int x, int y) {
        return static_cast<unsigned char>(std::min(3 * (x + y) / 4, 255));
    };
    return Color(channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b));
}
