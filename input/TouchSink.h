// The board callbacks: what every touch source calls and the GL surface
// implements.
#pragma once

// Positions are board coordinates: board units, origin at the top left, y
// downwards, 0 to resolution - 1 on each axis ("smartboard" resolution).
// Contact sizes are board units too. The pointer id carries the board's
// pointer index in bit 8 (pointerIndex); z is the input's own value.
class TouchSink
{
public:
    virtual ~TouchSink() = default;

    virtual void OnXYDown(int x, int y, int z, int id) = 0;
    virtual void OnXYMove(int x, int y, int z, int id) = 0;
    virtual void OnXYUp(int x, int y, int z, int id) = 0;
    // Size of contact `id`, reported before its down and each move.
    virtual void OnDViTRawWidthHeight(int width, int height, int id) = 0;
};
