// The demo scenes the build director can construct; the numbers are those
// of startup.demo_type and the demo commands.
#pragma once

#include <optional>

enum class Demo : int
{
    Strokes = 0,
    Mosaic = 1,
    Pointillism = 2,
    StrokeShapes = 3,
};

// The demo of a number; none outside 0 to 3.
constexpr std::optional<Demo> demoOf(long long number)
{
    if (number < static_cast<int>(Demo::Strokes) || number > static_cast<int>(Demo::StrokeShapes))
        return std::nullopt;
    return static_cast<Demo>(number);
}
