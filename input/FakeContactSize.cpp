// Contact sizes of the fake postures.
#include "FakeContactSize.h"

#include <algorithm>
#include <cmath>
#include <utility>

double fakeContactSide(const PostureRanges& ranges, Posture posture)
{
    std::pair<double, double> range;
    switch (posture) {
    case Posture::Pen: range = {ranges.penMin, ranges.penMax}; break;
    case Posture::OneFinger: range = {ranges.oneFingerMin, ranges.oneFingerMax}; break;
    case Posture::TwoFingers: range = {ranges.twoFingersMin, ranges.twoFingersMax}; break;
    case Posture::Fist: range = {ranges.fistMin, ranges.fistMax}; break;
    case Posture::Hand: range = {ranges.handMin, ranges.handMax}; break;
    default: return 0.0;
    }
    const auto [low, high] = range;
    if (!(high > 0.0) || !(high >= low))
        return 0.0;
    const double area = high >= 2.0 * low ? (low + high / 2.0) / 2.0 : (low + high) / 2.0;
    return std::floor(std::sqrt(std::max(area, 0.0)));
}
