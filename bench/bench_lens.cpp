// Benchmark of the tool brush's drop-off profile: a 400 × 400 grid sampled
// through the lens's ray casting and, for comparison, directly from the
// surface height. Prints `name value` lines.
#include "LensProfile.h"
#include "epsLens.h"
#include "epsLensSurround.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int kSize = 400;
constexpr int kRuns = 21;

// The brush's lens for a size × size brush: round, flat top 0.3 R, Gaussian
// surround 0.7 R wide, magnification 2, focus at the centre.
struct BrushLens {
    epsLens lens;
    epsLensSurround surround;

    explicit BrushLens(int size)
    {
        const float radius = size / 2.0f;
        lens.setLensShape(epsEnums::ShapeRound);
        lens.setLensSize(0.3f * radius);
        surround.setWidth(0.7f * radius);
        surround.setDropOffType(epsEnums::DropOffGaussian);
        lens.setMagnification(2.0f);
        lens.setSurround(&surround);
        lens.setFocus({radius, radius});
    }
};

// Median wall time in ms of building the lens and sampling it with fill.
template <class Fill>
double medianMs(std::vector<float>& grid, Fill fill)
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        BrushLens brush(kSize);
        fill(brush.lens, grid.data(), kSize, kSize);
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::nth_element(times.begin(), times.begin() + kRuns / 2, times.end());
    return times[kRuns / 2];
}

} // namespace

int main()
{
    std::vector<float> rayCast(kSize * kSize);
    std::vector<float> direct(kSize * kSize);
    const double rayCastMs = medianMs(rayCast, sampleLensProfile);
    const double directMs = medianMs(direct, sampleDirectProfile);
    float maxDifference = 0.0f;
    for (std::size_t i = 0; i < rayCast.size(); ++i)
        maxDifference = std::max(maxDifference, std::fabs(rayCast[i] - direct[i]));
    std::printf("profile_ms_400 %.3f\n", rayCastMs);
    std::printf("profile_ms_400_direct %.3f\n", directMs);
    std::printf("profile_max_abs_difference %.6f\n", maxDifference);
    return 0;
}
