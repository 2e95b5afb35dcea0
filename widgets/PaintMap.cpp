// PaintMap: row-by-row rasterising of bands and discs into the paint map.
#include "PaintMap.h"

#include <algorithm>
#include <cmath>

namespace PaintMap {

namespace {

// Narrows [lo, hi] to the x where v0 + x * slope lies in [min, max].
void narrow(double v0, double slope, double min, double max, double& lo, double& hi)
{
    if (slope == 0.0) {
        if (v0 < min || v0 > max)
            hi = lo - 1.0;
        return;
    }
    double a = (min - v0) / slope, b = (max - v0) / slope;
    if (a > b)
        std::swap(a, b);
    lo = std::max(lo, a);
    hi = std::min(hi, b);
}

unsigned char* cellAt(BufferTemplate<unsigned char>& map, int x, int y)
{
    return map.cells() + (static_cast<std::size_t>(y) * map.getWidth() + x) * 3;
}

} // namespace

void clear(BufferTemplate<unsigned char>& map) { map.fillEntireBufferWith3DValue(Empty, Empty, Empty); }

void drawBand(BufferTemplate<unsigned char>& map, Vector2d a, Vector2d b, double halfWidth, const Color& paintA,
              const Color& paintB, Clip clip)
{
    if (map.getDimension() != 3)
        return;
    const Vector2d d = b - a;
    const double lengthSquared = d.squaredLength();
    if (lengthSquared == 0.0 || halfWidth <= 0.0)
        return;
    const double length = std::sqrt(lengthSquared);
    const int y0 = std::max({0, clip.y0, static_cast<int>(std::floor(std::min(a.y, b.y) - halfWidth))});
    const int y1 = std::min({map.getHeight() - 1, clip.y1, static_cast<int>(std::ceil(std::max(a.y, b.y) + halfWidth))});
    // Along the axis t = ((c - a) . d) / |d|^2, across it s = ((c - a) x d) / |d|.
    const double tx = d.x / lengthSquared, sx = d.y / length;
    const int channelsA[3] = {paintA.r, paintA.g, paintA.b};
    const int channelsB[3] = {paintB.r, paintB.g, paintB.b};
    for (int y = y0; y <= y1; ++y) {
        const double cy = y + 0.5 - a.y;
        const double t0 = (0.5 - a.x) * tx + cy * d.y / lengthSquared;   // t at x = 0
        const double s0 = ((0.5 - a.x) * d.y - cy * d.x) / length;        // s at x = 0
        double lo = std::max(0, clip.x0), hi = std::min(map.getWidth() - 1, clip.x1);
        narrow(t0, tx, 0.0, 1.0, lo, hi);
        narrow(s0, sx, -halfWidth, halfWidth, lo, hi);
        if (hi < lo)
            continue;
        const int xa = static_cast<int>(std::ceil(lo)), xb = static_cast<int>(std::floor(hi));
        if (xb < xa)
            continue;
        // Along a row each channel is linear in x: step it in 1/65536 units.
        const double ta = std::clamp(t0 + xa * tx, 0.0, 1.0);
        int value[3], step[3];
        for (int c = 0; c < 3; ++c) {
            const double span = channelsB[c] - channelsA[c];
            value[c] = static_cast<int>(std::lround((channelsA[c] + ta * span) * 65536.0)) + 32768;
            step[c] = static_cast<int>(std::lround(tx * span * 65536.0));
        }
        // Within [xa, xb] the weight stays in [0, 1] (up to a few 1/65536
        // of rounding), so every value stays within its two end bytes.
        unsigned char* cell = cellAt(map, xa, y);
        int r = value[0], g = value[1], b = value[2];
        for (int x = xa; x <= xb; ++x, cell += 3) {
            cell[0] = static_cast<unsigned char>(r >> 16);
            cell[1] = static_cast<unsigned char>(g >> 16);
            cell[2] = static_cast<unsigned char>(b >> 16);
            r += step[0];
            g += step[1];
            b += step[2];
        }
    }
}

void drawDisc(BufferTemplate<unsigned char>& map, Vector2d centre, double radius, const Color& paint, Clip clip)
{
    if (map.getDimension() != 3 || radius <= 0.0)
        return;
    const int y0 = std::max({0, clip.y0, static_cast<int>(std::floor(centre.y - radius))});
    const int y1 = std::min({map.getHeight() - 1, clip.y1, static_cast<int>(std::ceil(centre.y + radius))});
    for (int y = y0; y <= y1; ++y) {
        const double dy = y + 0.5 - centre.y;
        const double span = radius * radius - dy * dy;
        if (span < 0.0)
            continue;
        const double half = std::sqrt(span);
        const int xa = std::max({0, clip.x0, static_cast<int>(std::ceil(centre.x - half - 0.5))});
        const int xb = std::min({map.getWidth() - 1, clip.x1, static_cast<int>(std::floor(centre.x + half - 0.5))});
        for (int x = xa; x <= xb; ++x) {
            unsigned char* cell = cellAt(map, x, y);
            cell[0] = paint.r;
            cell[1] = paint.g;
            cell[2] = paint.b;
        }
    }
}

} // namespace PaintMap
