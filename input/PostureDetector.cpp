// Ring of contact reports and the posture decision.
#include "PostureDetector.h"

#include <cmath>

namespace {

// Bounds come from configured doubles; truncate toward zero, keeping values
// outside the int range (and NaN) defined.
int truncateBound(double value)
{
    if (std::isnan(value))
        return 0;
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

// The sums are unsigned 32-bit: each update is done in double and truncated,
// saturating at the ends of the range rather than wrapping.
std::uint32_t toSum(double value)
{
    if (!(value > 0.0))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<std::uint32_t>::max()))
        return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(value);
}

bool inCornerZone(unsigned x, unsigned y)
{
    return (x < 300 || x > 1100) && (y > 700 || y < 230);
}

// Replaces one ring slot and returns the new average (sum shifted right by
// two bits).
double replaceSample(double& slot, std::uint32_t& sum, double value)
{
    sum = toSum(sum - slot);
    slot = value;
    sum = toSum(sum + value);
    return static_cast<double>(sum >> 2);
}

} // namespace

PostureDetector::PostureDetector(const PostureRanges& ranges)
    : _ranges{truncateBound(ranges.penMin),        truncateBound(ranges.penMax),
              truncateBound(ranges.oneFingerMin),  truncateBound(ranges.oneFingerMax),
              truncateBound(ranges.twoFingersMin), truncateBound(ranges.twoFingersMax),
              truncateBound(ranges.fistMin),       truncateBound(ranges.fistMax),
              truncateBound(ranges.handMin),       truncateBound(ranges.handMax)}
{
    reset();
}

void PostureDetector::reset()
{
    _areaSum = _widthSum = _heightSum = 0;
    _areaSamples.fill(EmptySample);
    _widthSamples.fill(EmptySample);
    _heightSamples.fill(EmptySample);
    _xSamples.fill(EmptySample);
    _ySamples.fill(EmptySample);
    _sampleIndex = 0;
    _averageArea = _averageWidth = _averageHeight = 0.0;
    _filled = false;
    _posture = Posture::None;
    _previousPosture = Posture::None;
}

void PostureDetector::addSample(unsigned x, unsigned y, unsigned width, unsigned height)
{
    double area = static_cast<double>(width) * static_cast<double>(height);
    if (inCornerZone(x, y))
        area *= 2.0;
    const double w = width;
    const double h = height;
    const unsigned slot = _sampleIndex;
    _sampleIndex = (_sampleIndex + 1) % SampleCount;

    // Filling: reports 1 to 4 are stored with their positions.
    if (_areaSamples[SampleCount - 1] == EmptySample) {
        _areaSamples[slot] = area;
        _widthSamples[slot] = w;
        _heightSamples[slot] = h;
        _xSamples[slot] = x;
        _ySamples[slot] = y;
        _areaSum = toSum(_areaSum + area);
        _widthSum = toSum(_widthSum + w);
        _heightSum = toSum(_heightSum + h);
        return;
    }

    _previousPosture = _posture;
    // Report 5 only averages reports 1 to 4; it is not stored, so report 6
    // replaces slot 1.
    if (!_filled) {
        _averageArea = static_cast<double>(_areaSum >> 2);
        _averageWidth = static_cast<double>(_widthSum >> 2);
        _averageHeight = static_cast<double>(_heightSum >> 2);
        _filled = true;
        return;
    }

    _averageArea = replaceSample(_areaSamples[slot], _areaSum, area);
    _averageWidth = replaceSample(_widthSamples[slot], _widthSum, w);
    _averageHeight = replaceSample(_heightSamples[slot], _heightSum, h);
    _posture = classify(_averageArea, _previousPosture);
}

Posture PostureDetector::classify(double area, Posture previous) const
{
    // Tried in posture order, so overlapping ranges go to the earlier one;
    // a decided posture only ever matches itself.
    for (int p = static_cast<int>(Posture::Pen); p <= static_cast<int>(Posture::Hand); ++p) {
        const auto posture = static_cast<Posture>(p);
        const bool inRange = _ranges[2 * p] <= area && area <= _ranges[2 * p + 1];
        if (inRange && (previous == posture || previous == Posture::None))
            return posture;
    }
    if (previous == Posture::Unknown || previous == Posture::None)
        return Posture::Unknown;
    return previous;
}

double PostureDetector::getSampleX(unsigned slot) const
{
    return slot < SampleCount ? _xSamples[slot] : EmptySample;
}

double PostureDetector::getSampleY(unsigned slot) const
{
    return slot < SampleCount ? _ySamples[slot] : EmptySample;
}
