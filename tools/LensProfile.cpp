// Sampling a lens into a grid of magnification minus one.
#include "LensProfile.h"

#include "epsLens.h"
#include "epsLensSurround.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// One row of a round lens seen from above: normalized distance beyond the
// flat top (0 on it), drop-off, then k F / (1 - k F) = 1 / (1 - k F) - 1.
// The first and last loops vectorise; the middle one calls the drop-off.
struct RoundRow {
    float focusX, size, inverseWidth, k;
    const epsLensSurround* surround;

    void operator()(float dy, float* d, float* f, float* out, int width) const
    {
        const float dy2 = dy * dy;
        for (int x = 0; x < width; ++x) {
            const float dx = float(x) - focusX;
            d[x] = std::max(std::sqrt(dx * dx + dy2) - size, 0.0f) * inverseWidth;
        }
        for (int x = 0; x < width; ++x)
            f[x] = surround->factorAt(d[x]);
        for (int x = 0; x < width; ++x) {
            // 1 on the flat top (drop-offs never exceed 1); a max, not a branch.
            const float lift = k * std::max(f[x], float(d[x] <= 0.0f));
            out[x] = lift / (1.0f - lift);
        }
    }
};

} // namespace

void sampleLensProfile(const epsLens& lens, float* out, int width, int height)
{
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out[y * width + x] = lens.magnificationAt({float(x), float(y)}) - 1.0f;
}

void sampleDirectProfile(const epsLens& lens, float* out, int width, int height)
{
    const epsLensSurround* surround = lens.getSurround();
    if (!lens.isRadiallySymmetric()) {
        const float distance = lens.getViewDistance();
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const float h = lens.surfaceHeightAt({float(x), float(y)});
                out[y * width + x] = distance / (distance - h) - 1.0f;
            }
        return;
    }
    const RoundRow row = {lens.getFocus().x, lens.getLensSize(), 1.0f / surround->getWidth(),
                          1.0f - 1.0f / lens.getMagnification(), surround};
    std::vector<float> scratch(2 * std::size_t(width));
    for (int y = 0; y < height; ++y)
        row(float(y) - lens.getFocus().y, scratch.data(), scratch.data() + width, out + y * width, width);
}
