// Jump filter of board moves.
#include "TouchJumpFilter.h"

void TouchJumpFilter::press(unsigned index, int x, int y)
{
    _last[index & 1u] = {x, y};
}

BoardPoint TouchJumpFilter::move(unsigned index, int x, int y)
{
    BoardPoint& last = _last[index & 1u];
    const long long dx = static_cast<long long>(x) - last.x;
    const long long dy = static_cast<long long>(y) - last.y;
    if (dx * dx + dy * dy <= MaxStepSquared)
        last = {x, y};
    return last;
}
