// Ray casting of a lens seen from straight above its focus, reduced to one
// dimension and tabulated; and the root refinement both ray casters share.
#pragma once

#include <cmath>
#include <vector>

class epsLensSurround;

// A point of [lo, hi] where f reaches 0, for f(lo) < 0 ≤ f(hi), within
// tolerance, after at most maxEvaluations calls of f: a chord step along the
// bracket's secant (enough for short, nearly straight brackets), then
// Illinois regula falsi.
template <class Fn>
float epsRefineCrossing(const Fn& f, float lo, float fLo, float hi, float fHi, float tolerance,
                        int maxEvaluations)
{
    const float run = (hi - lo) / (fHi - fLo);
    float x = lo - fLo * run;
    int side = 0;
    for (int i = 0; i < maxEvaluations; ++i) {
        const float fx = f(x);
        if (i == 0 && std::fabs(fx * run) <= tolerance)
            return x - fx * run;
        if (fx < 0.0f) {
            lo = x;
            fLo = fx;
            fHi *= side < 0 ? 0.5f : 1.0f;
            side = -1;
        } else {
            hi = x;
            fHi = fx;
            fLo *= side > 0 ? 0.5f : 1.0f;
            side = 1;
        }
        const float next = lo - fLo * (hi - lo) / (fHi - fLo);
        const bool converged = std::fabs(next - x) <= tolerance;
        x = next;
        if (converged)
            break;
    }
    return x;
}

// The surround on one side of its sector as met by rays from an eye straight
// above the focus. Metrics are homogeneous, so along the ray through a point
// at surround distance c the ray meets the surround at distance ρ = λc when
// it has come the fraction λ of the way down, at height H(1 - λ). The first
// hit is the first ρ with φ(ρ) = ρ / (1 - k F(ρ)) ≥ c (k = 1 - 1/m, F the
// surface factor) and the magnification there is c / ρ. The table holds φ
// and its running maximum, so each query starts from a one-step bracket,
// found through buckets of equal width in φ; the bracket is refined on
// ρ - c (1 - k F(ρ)), which has the sign of φ - c and needs no division.
// Folds narrower than a step resolve to a crossing inside the first
// bracketing step. The surround must outlive the table or a rebuild.
class epsRadialRayTable {
public:
    static constexpr int kSteps = 2048;
    static constexpr int kBuckets = 1024;

    // width ≤ 0, a zero reach or no surround: nothing is covered.
    void build(const epsLensSurround* surround, float lensSize, float width, float k);

    // Surround distance (lens units) from which on nothing is covered, and
    // its square (-1 when nothing is).
    float outer() const { return _outer; }
    float outerSquared() const { return _outerSquared; }
    float inverseWidth() const { return _inverseWidth; }

    // Magnification at surround distance c of a covered point whose ray
    // passes above the flat top (body distance > m × lens size).
    float magnification(float c) const;

private:
    float lowering(float d) const;   // 1 - k F(d)
    int bucketOf(float phi) const;
    int firstStepReaching(float target) const;

    const epsLensSurround* _surround = nullptr;
    float _sigma = 0.0f;          // lens size in widths
    float _k = 0.0f;
    float _reach = 0.0f;
    float _step = 0.0f;
    float _inverseWidth = 0.0f;
    float _outer = -INFINITY;
    float _outerSquared = -1.0f;
    float _plateau = 1.0f;        // magnification where the ray meets the level at d = 0
    float _tolerance = 0.0f;
    std::vector<float> _lowering; // 1 - k F at d = i × step
    std::vector<float> _phi;      // φ at d = i × step, in widths
    std::vector<float> _maxPhi;   // running maximum of _phi
    float _bucketScale = 0.0f;    // buckets per unit of φ above _maxPhi[0]
    std::vector<int> _bucketFirst;   // first step whose _maxPhi reaches the bucket
};
