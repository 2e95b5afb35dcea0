// Mean of the last 40 per-frame rates, as shown in the information bar.
#pragma once

#include <array>
#include <cmath>

class FrameRateAverage
{
public:
    static constexpr unsigned Size = 40;

    // Adds the rate of one frame and returns the mean of the ring to one
    // decimal. Empty slots count as 0, so the first 39 frames read low.
    float add(double rate)
    {
        _fpsSum -= _fpsHistory[_fpsIndex];
        _fpsSum += rate;
        _fpsHistory[_fpsIndex] = rate;
        _fpsIndex = (_fpsIndex + 1) % Size;
        // sum / 40 to one decimal: trunc(sum / 40 * 10 + 0.5) / 10.
        return static_cast<float>(std::trunc(_fpsSum * 0.25 + 0.5) * 0.1);
    }

    double sum() const { return _fpsSum; }

private:
    std::array<double, Size> _fpsHistory{};
    double _fpsSum = 0.0;
    unsigned _fpsIndex = 0;
};
