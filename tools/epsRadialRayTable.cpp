// Ray casting of a lens seen from straight above its focus.
#include "epsRadialRayTable.h"

#include "epsLensSurround.h"

#include <algorithm>
#include <cfloat>
#include <numeric>

namespace {
constexpr int kMaxRefineEvaluations = 8;
}

void epsRadialRayTable::build(const epsLensSurround* surround, float lensSize, float width, float k)
{
    _lowering.clear();
    _phi.clear();
    _maxPhi.clear();
    _outer = -INFINITY;
    _outerSquared = -1.0f;
    _inverseWidth = 0.0f;
    _surround = surround;
    if (!surround || !(width > 0.0f) || !(surround->reach() > 0.0f))
        return;
    _sigma = lensSize / width;
    _k = k;
    _reach = surround->reach();
    _step = _reach / kSteps;
    _inverseWidth = 1.0f / width;
    _outer = lensSize + _reach * width;
    _outerSquared = _outer * _outer;
    _plateau = 1.0f / lowering(0.0f);
    _tolerance = 4.0f * FLT_EPSILON * (_sigma + _reach);
    _lowering.resize(kSteps + 1);
    _phi.resize(kSteps + 1);
    _maxPhi.resize(kSteps + 1);
    for (int i = 0; i <= kSteps; ++i) {
        const float d = i == kSteps ? _reach : i * _step;
        _lowering[i] = lowering(d);
        _phi[i] = (_sigma + d) / _lowering[i];
    }
    std::partial_sum(_phi.begin(), _phi.end(), _maxPhi.begin(),
                     [](float a, float b) { return std::max(a, b); });
    const float span = _maxPhi[kSteps] - _maxPhi[0];
    _bucketScale = span > 0.0f ? kBuckets / span : 0.0f;
    _bucketFirst.resize(kBuckets + 1);
    int step = 1;
    for (int b = 0; b < kBuckets; ++b) {
        while (step <= kSteps && bucketOf(_maxPhi[step]) < b)
            ++step;
        _bucketFirst[b] = step;
    }
    _bucketFirst[kBuckets] = kSteps + 1;
}

// Bucket of a φ value; the same rounding at build and query time keeps the
// buckets' step ranges exact.
int epsRadialRayTable::bucketOf(float phi) const
{
    return int(std::min((phi - _maxPhi[0]) * _bucketScale, float(kBuckets - 1)));
}

// The first step i ≥ 1 with _maxPhi[i] ≥ target (> _maxPhi[0]); kSteps + 1
// when there is none.
int epsRadialRayTable::firstStepReaching(float target) const
{
    const int bucket = bucketOf(target);
    const auto first = _maxPhi.begin() + _bucketFirst[bucket];
    const auto last = _maxPhi.begin() + _bucketFirst[bucket + 1];
    return int(std::lower_bound(first, last, target) - _maxPhi.begin());
}

float epsRadialRayTable::lowering(float d) const
{
    return 1.0f - _k * _surround->factorAt(d);
}

float epsRadialRayTable::magnification(float c) const
{
    if (_phi.empty())
        return 1.0f;
    const float target = c * _inverseWidth;
    if (target <= _maxPhi[0])
        return _plateau;
    const int i = firstStepReaching(target);
    if (i > kSteps)
        return 1.0f;
    const float lo = (i - 1) * _step;
    const float hi = i == kSteps ? _reach : i * _step;
    const auto gap = [this, target](float d) { return _sigma + d - target * lowering(d); };
    const float gapLo = _sigma + lo - target * _lowering[i - 1];
    const float gapHi = _sigma + hi - target * _lowering[i];
    const float d = epsRefineCrossing(gap, lo, gapLo, hi, gapHi, _tolerance, kMaxRefineEvaluations);
    return target / (_sigma + d);
}
