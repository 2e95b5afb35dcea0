// Benchmark of the colour look-up table: Color's build against a plain build that converts
// every paint on its own. Prints `name value` lines and checks that both tables agree.
#include "Color.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kRuns = 7;

// Every paint converted by itself and written in order, later paints overwriting.
std::vector<unsigned char> buildStraightforward()
{
    std::vector<unsigned char> table(Color::lookUpTableBytes);
    Color c;
    for (int r = 0; r < 256; ++r)
        for (int y = 0; y < 256; ++y)
            for (int b = 0; b < 256; ++b) {
                c.convertRYBToRGB(r, y, b);
                unsigned char* e = &table[Color::lookUpIndex(c.r, c.g, c.b)];
                e[0] = static_cast<unsigned char>(r);
                e[1] = static_cast<unsigned char>(y);
                e[2] = static_cast<unsigned char>(b);
            }
    return table;
}

template <typename Build>
double medianMs(Build build)
{
    std::vector<double> ms;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        build();
        ms.push_back(std::chrono::duration<double, std::milli>(
                         std::chrono::steady_clock::now() - start)
                         .count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

}  // namespace

int main()
{
    Color owner;
    const double fastMs = medianMs([&owner] { owner.buildColorLookUpTable(); });

    std::vector<unsigned char> plain;
    const double plainMs = medianMs([&plain] { plain = buildStraightforward(); });

    const bool identical =
        std::memcmp(owner.lookUpTable(), plain.data(), Color::lookUpTableBytes) == 0;
    std::printf("lut_build_ms %.1f\n", fastMs);
    std::printf("lut_build_ms_straightforward %.1f\n", plainMs);
    std::printf("lut_tables_identical %d\n", identical ? 1 : 0);
    return identical ? 0 : 1;
}
