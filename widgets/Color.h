// Color: three bytes holding either an RYB paint (pigment amounts) or an RGB display colour,
// with the paint-to-display conversion, the display-to-paint look-up table and paint mixing.
#pragma once

#include <cstddef>
#include <memory>

class Color
{
public:
    // Size of the look-up table: one three-byte entry per display colour (48 MiB).
    static constexpr std::size_t lookUpTableBytes = std::size_t(256) * 256 * 256 * 3;

    // Byte offset of the entry for display colour (red, green, blue): blue varies slowest.
    static constexpr std::size_t lookUpIndex(unsigned char red, unsigned char green,
                                             unsigned char blue)
    {
        return ((std::size_t(blue) * 256 + green) * 256 + red) * 3;
    }

    // (0, 0, 0) without a table.
    Color() = default;
    Color(unsigned char red, unsigned char green, unsigned char blue);

    void setRGB(unsigned char red, unsigned char green, unsigned char blue);

    // Becomes the display colour of the paint (red, yellow, blue): trilinear interpolation in
    // the colour cube, one 256th per pigment step, every intermediate truncated to a byte.
    void convertRYBToRGB(unsigned char red, unsigned char yellow, unsigned char blue);

    // Builds this colour's own table (replacing any it held): the entry of each display colour
    // holds the last paint, in order of red, then yellow, then blue amount, that produces it;
    // colours no paint produces hold (0, 0, 0). Takes a few tens of milliseconds.
    void buildColorLookUpTable();

    // Becomes the paint stored for display colour (red, green, blue), or (red, green, blue)
    // itself when that entry is empty or this colour holds no table.
    void convertRGBToRYBByTable(unsigned char red, unsigned char green, unsigned char blue);

    // The paint that mixing paints a and b gives; the result holds no table.
    static Color mixColors(const Color& a, const Color& b);

    // The table this colour built or was copied with, or null.
    const unsigned char* lookUpTable() const { return _lookUpTable.get(); }

    unsigned char r = 0;
    unsigned char g = 0;
    unsigned char b = 0;

private:
    // Copies share the table instead of duplicating 48 MiB. Shared ownership keeps it alive
    // while any holder remains, so a copy that outlives the colour that built it still reads a
    // valid table and nothing is freed twice; rebuilding gives this colour a new table and
    // leaves copies with the old one.
    std::shared_ptr<const unsigned char[]> _lookUpTable;
};
