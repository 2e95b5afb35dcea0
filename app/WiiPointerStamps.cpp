// Create and erase stamps of a tool brush along the Wii pointer's path.
#include "WiiPointerStamps.h"

#include "CanvasCompositeGL.h"
#include "ToolBrushLeafGL.h"

#include <algorithm>
#include <cmath>

namespace {

template <typename Stamp>
void along(double x0, double y0, double x1, double y1, Stamp stamp)
{
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const int count = std::max(1, static_cast<int>(std::ceil(std::hypot(dx, dy) / WiiPointerStamps::Spacing)));
    for (int i = 1; i <= count; ++i) {
        const double t = static_cast<double>(i) / count;
        stamp(x0 + t * dx, y0 + t * dy);
    }
}

} // namespace

int WiiPointerStamps::createAlong(ToolBrushLeafGL& brush, double x0, double y0, double x1, double y1, int amount)
{
    int created = 0;
    along(x0, y0, x1, y1, [&](double x, double y) { created += brush.stampCreate(amount, x, y); });
    return created;
}

void WiiPointerStamps::eraseAlong(ToolBrushLeafGL& brush, CanvasCompositeGL* canvas, double x0, double y0, double x1,
                                  double y1, float amount)
{
    along(x0, y0, x1, y1, [&](double x, double y) { brush.stampErase(-amount, x, y); });
    if (canvas != nullptr)
        canvas->markEraseDirty();
}
