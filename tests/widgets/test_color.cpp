// Colour model tests: paint-to-display conversion, the look-up table against a plain
// per-paint build, lookups through the table, table sharing, mixing.
#include "Color.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using Channels = std::array<int, 3>;

Channels channels(const Color& c)
{
    return {c.r, c.g, c.b};
}

Channels display(int r, int y, int b)
{
    Color c;
    c.convertRYBToRGB(r, y, b);
    return channels(c);
}

Channels lookUp(const Color& table, const Channels& rgb)
{
    Color c = table;
    c.convertRGBToRYBByTable(rgb[0], rgb[1], rgb[2]);
    return channels(c);
}

TEST(ColorConversion, CubeCornersAndGreys)
{
    const std::vector<std::pair<Channels, Channels>> cases = {
        {{0, 0, 0}, {255, 255, 255}},       // no pigment: white
        {{255, 255, 255}, {0, 0, 0}},       // all pigments: black
        {{100, 100, 100}, {155, 155, 155}}, // equal amounts: grey
        {{255, 0, 0}, {255, 0, 0}},
        {{0, 255, 0}, {255, 255, 0}},
        {{0, 0, 255}, {42, 95, 153}},
        {{255, 255, 0}, {255, 127, 0}},     // one 256th short of orange (255, 128, 0)
        {{255, 0, 255}, {127, 0, 127}},
        {{0, 255, 255}, {0, 167, 50}},
        {{1, 0, 0}, {255, 254, 254}},       // the smallest step already leaves white
    };
    for (const auto& [paint, expected] : cases)
        EXPECT_EQ(display(paint[0], paint[1], paint[2]), expected)
            << "paint " << ::testing::PrintToString(paint);
}

// Paint (100, 150, 200), red channel by hand: p = 88.59 155.78 55.78 55.78 -> 88 155 55 55;
// q = 68.66 96.41 -> 68 96; result 78.94 -> 78. Without the intermediate truncations the
// paint would show as (80, 105, 74).
TEST(ColorConversion, TruncatesEveryIntermediate)
{
    EXPECT_EQ(display(100, 150, 200), (Channels{78, 105, 73}));
    EXPECT_EQ(display(128, 64, 32), (Channels{230, 132, 97}));
}

// The table as the plain rule states it: every paint in order, later ones overwriting.
std::vector<unsigned char> referenceTable()
{
    std::vector<unsigned char> table(Color::lookUpTableBytes);
    Color c;
    for (int r = 0; r < 256; ++r)
        for (int y = 0; y < 256; ++y)
            for (int b = 0; b < 256; ++b) {
                c.convertRYBToRGB(r, y, b);
                unsigned char* e = &table[Color::lookUpIndex(c.r, c.g, c.b)];
                e[0] = r;
                e[1] = y;
                e[2] = b;
            }
    return table;
}

// One table for the tests that read it.
const Color& tableOwner()
{
    static const Color owner = [] {
        Color c;
        c.buildColorLookUpTable();
        return c;
    }();
    return owner;
}

TEST(ColorTable, EqualsThePlainPerPaintBuild)
{
    const std::vector<unsigned char> reference = referenceTable();
    const unsigned char* table = tableOwner().lookUpTable();
    ASSERT_NE(table, nullptr);
    std::size_t mismatches = 0;
    for (std::size_t i = 0; i < reference.size(); ++i) {
        if (table[i] != reference[i] && ++mismatches <= 5)
            ADD_FAILURE() << "entry " << i / 3 << " byte " << i % 3 << ": "
                          << int(table[i]) << " instead of " << int(reference[i]);
    }
    EXPECT_EQ(mismatches, 0u);
}

TEST(ColorTable, LookupsFindAPaintThatShowsTheSameEmptyEntriesKeepTheInput)
{
    const unsigned char* table = tableOwner().lookUpTable();
    int checked = 0;
    for (int i = 0; i < 256 * 256 * 256 && checked < 50; i += 4099) {
        const unsigned char* e = table + std::size_t(i) * 3;
        if (e[0] != 0 || e[1] != 0 || e[2] != 0)
            continue;
        const Channels rgb{i % 256, i / 256 % 256, i / 65536};
        EXPECT_EQ(lookUp(tableOwner(), rgb), rgb);
        ++checked;
    }
    EXPECT_EQ(checked, 50);

    // A paint's display colour finds a paint that shows the same.
    for (const Channels& paint : {Channels{0, 0, 255}, Channels{255, 255, 0}, Channels{100, 150, 200}}) {
        const Channels shown = display(paint[0], paint[1], paint[2]);
        const Channels found = lookUp(tableOwner(), shown);
        EXPECT_EQ(display(found[0], found[1], found[2]), shown) << ::testing::PrintToString(paint);
    }
    // Black is reached last by full pigment; white only by no pigment, whose entry is empty.
    EXPECT_EQ(lookUp(tableOwner(), {0, 0, 0}), (Channels{255, 255, 255}));
    EXPECT_EQ(lookUp(tableOwner(), {255, 255, 255}), (Channels{255, 255, 255}));

    Color noTable;
    noTable.convertRGBToRYBByTable(42, 95, 153);
    EXPECT_EQ(channels(noTable), (Channels{42, 95, 153}));
}

// Copies share the table and keep it alive; run under AddressSanitizer to catch a double free.
TEST(ColorTableSharing, CopiesShareTheTableAndOutliveItsBuilder)
{
    EXPECT_EQ(Color().lookUpTable(), nullptr);
    EXPECT_EQ(Color(1, 2, 3).lookUpTable(), nullptr);

    Color copy;
    const unsigned char* first = nullptr;
    {
        Color builder(5, 6, 7);
        builder.buildColorLookUpTable();
        first = builder.lookUpTable();
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(channels(builder), (Channels{5, 6, 7}));  // building leaves the channels

        copy = builder;
        Color copied(builder);
        EXPECT_EQ(copy.lookUpTable(), first);
        EXPECT_EQ(copied.lookUpTable(), first);

        builder.buildColorLookUpTable();  // a rebuild leaves the copies their table
        EXPECT_NE(builder.lookUpTable(), first);
        EXPECT_EQ(copy.lookUpTable(), first);
    }
    copy.convertRGBToRYBByTable(0, 0, 0);  // the builder is gone; its table is still readable
    EXPECT_EQ(channels(copy), (Channels{255, 255, 255}));

    const Color mixed = Color::mixColors(copy, Color(1, 2, 3));
    EXPECT_EQ(mixed.lookUpTable(), nullptr);
}

// One case per class of paint pair the rule tells apart: which paint is
// grey (all three amounts equal; two equal amounts are not enough, in any
// pair of channels), which grey (none, full, other), the caps at 255 and
// the truncations.
TEST(ColorMixing, EachClassOfPaintPair)
{
    struct Case {
        Channels a, b, mixed;
    };
    const std::vector<Case> cases = {
        {{0, 0, 0}, {255, 0, 0}, {127, 0, 0}},              // no pigment halves the other
        {{0, 0, 0}, {7, 9, 11}, {3, 4, 5}},                 // ... truncating
        {{255, 255, 255}, {10, 200, 0}, {137, 255, 127}},   // full pigment adds 127, capped
        {{255, 255, 255}, {128, 127, 1}, {255, 254, 128}},  // ... the cap starts at 128
        {{60, 60, 60}, {11, 200, 0}, {35, 130, 30}},        // other greys average, truncating
        {{255, 0, 0}, {0, 0, 0}, {127, 0, 0}},              // a grey second paint alike
        {{10, 200, 0}, {255, 255, 255}, {137, 255, 127}},
        {{11, 200, 0}, {60, 60, 60}, {35, 130, 30}},
        {{100, 100, 100}, {255, 255, 255}, {177, 177, 177}}, // both grey: the first decides
        {{255, 255, 255}, {100, 100, 100}, {227, 227, 227}},
        {{255, 0, 0}, {0, 255, 0}, {191, 191, 0}},          // colours: 0.75 of each
        {{170, 1, 0}, {169, 0, 3}, {254, 0, 2}},            // ... truncated, 339 x 0.75
        {{170, 1, 0}, {170, 0, 3}, {255, 0, 2}},            // ... capped from 340 x 0.75 on
        {{100, 100, 50}, {10, 20, 30}, {82, 90, 60}},       // red = yellow, other blue: a colour
        {{10, 20, 30}, {100, 100, 50}, {82, 90, 60}},
        {{100, 50, 100}, {10, 20, 30}, {82, 52, 97}},       // red = blue
        {{50, 100, 100}, {10, 20, 30}, {45, 90, 97}},       // yellow = blue
        {{255, 255, 0}, {0, 0, 255}, {191, 191, 191}},      // near full and near no pigment
        {{0, 0, 1}, {255, 0, 0}, {191, 0, 0}},
    };
    for (const auto& [a, b, mixed] : cases) {
        const Color result =
            Color::mixColors(Color(a[0], a[1], a[2]), Color(b[0], b[1], b[2]));
        EXPECT_EQ(channels(result), mixed)
            << ::testing::PrintToString(a) << " with " << ::testing::PrintToString(b);
    }
}

}  // namespace
