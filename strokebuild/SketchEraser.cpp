// SketchEraser: wipes control points off sketched strokes and splits the rest.
#include "SketchEraser.h"

#include <algorithm>
#include <cmath>

namespace SketchEraser {

namespace {
constexpr std::size_t MinimumPoints = 3;
}

bool covers(double x0, double y0, double x1, double y1, double radius, const ControlPoint2D& cp)
{
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double len2 = dx * dx + dy * dy;
    double t = 0.0;
    if (len2 > 0.0)
        t = std::clamp(((cp.getX() - x0) * dx + (cp.getY() - y0) * dy) / len2, 0.0, 1.0);
    const double reach = radius + cp.getRadius();
    return cp.squaredDistanceTo(x0 + t * dx, y0 + t * dy) <= reach * reach;
}

std::unique_ptr<Stroke2d> makeStrokeFromRange(const Stroke2d& source, std::size_t first, std::size_t end)
{
    const auto& cps = source.getControlPoints();
    if (end > cps.size() || first >= end || end - first < MinimumPoints)
        return nullptr;
    const std::size_t n = end - first;
    std::vector<ControlPoint2D> points(cps.begin() + static_cast<std::ptrdiff_t>(first),
                                       cps.begin() + static_cast<std::ptrdiff_t>(end));
    for (std::size_t i = 0; i < n; ++i)
        points[i].setTag(static_cast<std::int32_t>(i));

    // Four floats (two side vertices) per point, as far as the source outline goes.
    const std::size_t available = source.getVertexFloatCount();
    const std::size_t from = std::min(4 * first, available);
    const std::size_t floats = std::min(4 * n, available - from);
    std::vector<std::uint32_t> indices(floats / 2);
    for (std::size_t i = 0; i < indices.size(); ++i)
        indices[i] = static_cast<std::uint32_t>(i);
    return std::make_unique<Stroke2d>(points, source.getVertices().data() + from, static_cast<std::uint32_t>(floats),
                                      indices.data(), static_cast<std::uint32_t>(indices.size()));
}

std::size_t eraseAlong(Strokes& strokes, double x0, double y0, double x1, double y1, double radius)
{
    std::size_t changed = 0;
    for (std::size_t s = 0; s < strokes.size();) {
        const Stroke2d& stroke = *strokes[s];
        const auto& cps = stroke.getControlPoints();
        const auto hit = [&](const ControlPoint2D& cp) { return covers(x0, y0, x1, y1, radius, cp); };
        const auto firstHit = std::find_if(cps.begin(), cps.end(), hit);
        if (firstHit == cps.end()) {
            ++s;
            continue;
        }
        const auto lastHit = std::find_if(cps.rbegin(), cps.rend(), hit);
        const auto first = static_cast<std::size_t>(firstHit - cps.begin());
        const auto afterLast = static_cast<std::size_t>(cps.rend() - lastHit);
        std::unique_ptr<Stroke2d> head = makeStrokeFromRange(stroke, 0, first);
        std::unique_ptr<Stroke2d> tail = makeStrokeFromRange(stroke, afterLast, cps.size());
        strokes.erase(strokes.begin() + static_cast<std::ptrdiff_t>(s));
        for (auto* part : {&head, &tail})
            if (*part)
                strokes.insert(strokes.begin() + static_cast<std::ptrdiff_t>(s++), std::move(*part));
        ++changed;
    }
    return changed;
}

} // namespace SketchEraser
