// SketchRaster: sketched strokes into a square RGBA element image.
#include "SketchRaster.h"

#include "SketchPen.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace SketchRaster {

namespace {

constexpr int Subsamples = 2;          // per pixel and axis
constexpr double MarginFraction = 0.02;

struct Box
{
    double minX = std::numeric_limits<double>::max();
    double minY = std::numeric_limits<double>::max();
    double maxX = std::numeric_limits<double>::lowest();
    double maxY = std::numeric_limits<double>::lowest();
    void add(double x, double y, double r = 0.0)
    {
        minX = std::min(minX, x - r);
        minY = std::min(minY, y - r);
        maxX = std::max(maxX, x + r);
        maxY = std::max(maxY, y + r);
    }
    bool empty() const { return minX > maxX; }
};

// Sample grid of one byte per sample, with the sketch-to-grid mapping.
struct Mask
{
    int side;
    std::vector<std::uint8_t> cells;
    double scale = 1.0, offsetX = 0.0, offsetY = 0.0;

    double gx(double x) const { return (x - offsetX) * scale; }
    double gy(double y) const { return (y - offsetY) * scale; }

    void triangle(double ax, double ay, double bx, double by, double cx, double cy)
    {
        ax = gx(ax), ay = gy(ay), bx = gx(bx), by = gy(by), cx = gx(cx), cy = gy(cy);
        const double area = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
        if (area == 0.0)
            return;
        const int x0 = std::max(0, static_cast<int>(std::floor(std::min({ax, bx, cx}))));
        const int x1 = std::min(side - 1, static_cast<int>(std::ceil(std::max({ax, bx, cx}))));
        const int y0 = std::max(0, static_cast<int>(std::floor(std::min({ay, by, cy}))));
        const int y1 = std::min(side - 1, static_cast<int>(std::ceil(std::max({ay, by, cy}))));
        const double sign = area > 0.0 ? 1.0 : -1.0;
        for (int y = y0; y <= y1; ++y) {
            const double py = y + 0.5;
            for (int x = x0; x <= x1; ++x) {
                const double px = x + 0.5;
                const double e0 = ((bx - ax) * (py - ay) - (by - ay) * (px - ax)) * sign;
                const double e1 = ((cx - bx) * (py - by) - (cy - by) * (px - bx)) * sign;
                const double e2 = ((ax - cx) * (py - cy) - (ay - cy) * (px - cx)) * sign;
                if (e0 >= 0.0 && e1 >= 0.0 && e2 >= 0.0)
                    cells[static_cast<std::size_t>(y) * static_cast<std::size_t>(side) + static_cast<std::size_t>(x)] = 1;
            }
        }
    }

    void disc(double x, double y, double r)
    {
        const double cx = gx(x), cy = gy(y), rr = r * scale;
        const int x0 = std::max(0, static_cast<int>(std::floor(cx - rr)));
        const int x1 = std::min(side - 1, static_cast<int>(std::ceil(cx + rr)));
        const int y0 = std::max(0, static_cast<int>(std::floor(cy - rr)));
        const int y1 = std::min(side - 1, static_cast<int>(std::ceil(cy + rr)));
        for (int py = y0; py <= y1; ++py)
            for (int px = x0; px <= x1; ++px) {
                const double dx = px + 0.5 - cx, dy = py + 0.5 - cy;
                if (dx * dx + dy * dy <= rr * rr)
                    cells[static_cast<std::size_t>(py) * static_cast<std::size_t>(side) + static_cast<std::size_t>(px)] = 1;
            }
    }
};

bool drawnAsStrip(const Stroke2d& stroke)
{
    return stroke.getNumControlPoints() >= SketchPen::MinStripPoints && stroke.getIndexCount() >= 3;
}

Box boundsOf(const std::vector<std::unique_ptr<Stroke2d>>& strokes, bool asStrips)
{
    Box box;
    for (const auto& stroke : strokes) {
        if (asStrips) {
            if (!drawnAsStrip(*stroke))
                continue;
            const auto& v = stroke->getVertices();
            for (std::uint32_t i = 0; i + 1 < stroke->getVertexFloatCount(); i += 2)
                box.add(v[i], v[i + 1]);
        } else {
            for (const ControlPoint2D& cp : stroke->getControlPoints())
                box.add(cp.getX(), cp.getY(), cp.getRadius());
        }
    }
    return box;
}

} // namespace

RGBAImage render(const std::vector<std::unique_ptr<Stroke2d>>& strokes, bool asStrips, int side)
{
    RGBAImage image;
    image.width = image.height = std::max(side, 1);
    image.pixels.assign(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 4, 0);
    const Box box = boundsOf(strokes, asStrips);
    if (box.empty())
        return image;

    Mask mask{image.width * Subsamples, {}};
    mask.cells.assign(static_cast<std::size_t>(mask.side) * static_cast<std::size_t>(mask.side), 0);
    const double extent = std::max({box.maxX - box.minX, box.maxY - box.minY, 1e-6});
    const double usable = mask.side * (1.0 - 2.0 * MarginFraction);
    mask.scale = usable / extent;
    mask.offsetX = 0.5 * (box.minX + box.maxX) - 0.5 * mask.side / mask.scale;
    mask.offsetY = 0.5 * (box.minY + box.maxY) - 0.5 * mask.side / mask.scale;

    for (const auto& stroke : strokes) {
        if (asStrips) {
            if (!drawnAsStrip(*stroke))
                continue;
            const auto& v = stroke->getVertices();
            const auto& idx = stroke->getIndices();
            for (std::uint32_t k = 0; k + 2 < stroke->getIndexCount(); ++k) {
                const std::uint32_t a = idx[k], b = idx[k + 1], c = idx[k + 2];
                mask.triangle(v[2 * a], v[2 * a + 1], v[2 * b], v[2 * b + 1], v[2 * c], v[2 * c + 1]);
            }
        } else {
            for (const ControlPoint2D& cp : stroke->getControlPoints())
                mask.disc(cp.getX(), cp.getY(), cp.getRadius());
        }
    }

    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            int covered = 0;
            for (int sy = 0; sy < Subsamples; ++sy)
                for (int sx = 0; sx < Subsamples; ++sx)
                    covered += mask.cells[static_cast<std::size_t>(y * Subsamples + sy) * static_cast<std::size_t>(mask.side)
                                          + static_cast<std::size_t>(x * Subsamples + sx)];
            unsigned char* px = image.at(x, y);
            px[0] = px[1] = px[2] = 255;
            px[3] = static_cast<unsigned char>(covered * 255 / (Subsamples * Subsamples));
        }
    return image;
}

} // namespace SketchRaster
