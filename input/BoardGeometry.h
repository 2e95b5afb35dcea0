// How board coordinates map onto the GL surface.
#pragma once

#include "TouchJumpFilter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

// Rounds to the nearest int, saturating at the ends of the int range (NaN
// gives 0), so coordinates from outside can never overflow a conversion.
inline int roundToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(std::lround(value));
}

// A point on the surface in device pixels, origin at the bottom left.
struct DevicePoint
{
    int x = 0;
    int y = 0;

    friend bool operator==(const DevicePoint&, const DevicePoint&) = default;
};

// The board spans the whole surface: board resolution against surface size
// in pixels. Board y grows downwards, device y upwards. Board unit u lies in
// pixel floor(u x pixels / units), so the board's first and last units land
// in the surface's first and last pixels.
struct BoardGeometry
{
    unsigned boardWidth = 4000;
    unsigned boardHeight = 4000;
    int surfaceWidth = 0;
    int surfaceHeight = 0;

    // Pixels per board unit.
    double scaleX() const { return boardWidth > 0 ? surfaceWidth / static_cast<double>(boardWidth) : 0.0; }
    double scaleY() const { return boardHeight > 0 ? surfaceHeight / static_cast<double>(boardHeight) : 0.0; }

    // Board (0, 0) is device (0, height - 1).
    DevicePoint toDevice(int x, int y) const
    {
        return {toPixels(x, surfaceWidth, boardWidth), surfaceHeight - 1 - toPixels(y, surfaceHeight, boardHeight)};
    }

    // The board unit at the centre of a device pixel: toDevice gives the
    // pixel back while a pixel spans at least two board units.
    BoardPoint fromDevice(int x, int y) const
    {
        return fromWindow(x + 0.5, static_cast<double>(surfaceHeight) - 1 - y + 0.5);
    }

    // A surface position in logical pixels with the origin at the top left
    // (window coordinates).
    BoardPoint fromWindow(double x, double y) const
    {
        return {roundToInt(std::floor(toUnits(x, boardWidth, surfaceWidth))),
                roundToInt(std::floor(toUnits(y, boardHeight, surfaceHeight)))};
    }

    // Pixel lengths in board units, to the nearest unit.
    int widthToBoard(double pixels) const { return roundToInt(toUnits(pixels, boardWidth, surfaceWidth)); }
    int heightToBoard(double pixels) const { return roundToInt(toUnits(pixels, boardHeight, surfaceHeight)); }

private:
    // floor(units x pixels / extent) in 64 bits, saturated to int.
    static int toPixels(int units, int pixels, unsigned extent)
    {
        if (extent == 0)
            return 0;
        const std::int64_t product = std::int64_t{units} * pixels;
        const auto divisor = static_cast<std::int64_t>(extent);
        std::int64_t quotient = product / divisor;
        if (product % divisor != 0 && product < 0)
            --quotient;
        return static_cast<int>(std::clamp<std::int64_t>(quotient, std::numeric_limits<int>::min(),
                                                         std::numeric_limits<int>::max()));
    }

    static double toUnits(double pixels, unsigned extent, int surface)
    {
        return surface > 0 ? pixels * extent / surface : 0.0;
    }
};
