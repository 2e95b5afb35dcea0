// PaintMap: drawing into the palette's mixing-area paint map, a three-byte
// grid of RYB paints in which (10, 10, 10) marks an empty cell. GL-free.
#pragma once

#include "BufferTemplate.h"
#include "Color.h"
#include "Vector2d.h"

namespace PaintMap {

inline constexpr unsigned char Empty = 10;

// Whether a cell's paint means "no paint here": any channel equal to Empty.
inline bool isEmpty(unsigned char r, unsigned char g, unsigned char b)
{
    return r == Empty || g == Empty || b == Empty;
}

// Every cell empty.
void clear(BufferTemplate<unsigned char>& map);

// Cells x0..x1, y0..y1 (inclusive) that drawing may touch; the palette
// limits drawing to its mixing area, the only place the map is read.
struct Clip
{
    int x0, y0, x1, y1;
};
inline constexpr Clip Everywhere{0, 0, 1 << 30, 1 << 30};

// The band from a to b (buffer coordinates) of the given half-width (cells):
// a cell whose centre projects onto the axis at fraction t (0 at a, 1 at b)
// and lies within halfWidth of it takes the paint (1 - t) x paintA + t x
// paintB, each channel rounded (ties up). A band of zero length writes nothing.
void drawBand(BufferTemplate<unsigned char>& map, Vector2d a, Vector2d b, double halfWidth, const Color& paintA,
              const Color& paintB, Clip clip = Everywhere);

// Cells whose centres lie within radius (cells) of centre take paint.
void drawDisc(BufferTemplate<unsigned char>& map, Vector2d centre, double radius, const Color& paint,
              Clip clip = Everywhere);

} // namespace PaintMap
