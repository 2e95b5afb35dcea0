// Point-in-polygon test for outlines kept as point lists.
#pragma once

#include "Vector2d.h"

#include <vector>

// Even-odd crossing test of p against the closed polygon through the points
// in order (the last joins the first). False for fewer than three points.
inline bool polygonContains(const std::vector<Vector2d>& polygon, const Vector2d& p)
{
    if (polygon.size() < 3)
        return false;
    bool inside = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const Vector2d& a = polygon[i];
        const Vector2d& b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}
