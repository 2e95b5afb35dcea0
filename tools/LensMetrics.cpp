// Distance metrics of the lens: factor bookkeeping and selection.
#include "LensMetrics.h"

#include "epsEnums.h"

void epsScaledMetric::setFactors(float xPositive, float xNegative, float yPositive, float yNegative)
{
    _xPositive = xPositive;
    _xNegative = xNegative;
    _yPositive = yPositive;
    _yNegative = yNegative;
}

bool epsMetricSet::applyScales(const epsScaleValues& s)
{
    const float xPositive = s[epsEnums::ScaleX] * s[epsEnums::ScaleXPositive];
    const float xNegative = -(s[epsEnums::ScaleX] * s[epsEnums::ScaleXNegative]);
    const float yPositive = s[epsEnums::ScaleY] * s[epsEnums::ScaleYPositive];
    const float yNegative = -(s[epsEnums::ScaleY] * s[epsEnums::ScaleYNegative]);
    epsScaledMetric* scaled[] = {&_distanceLOne, &_distanceLTwo, &_distanceLThree, &_distanceLInfinity};
    for (epsScaledMetric* m : scaled)
        m->setFactors(xPositive, xNegative, yPositive, yNegative);
    const bool xUnscaled = xPositive == 1.0f && xNegative == -1.0f;
    const bool yUnscaled = yPositive == 1.0f && yNegative == -1.0f;
    return xUnscaled && yUnscaled;
}

const epsMetric* epsMetricSet::metric(int type, bool scaled) const
{
    const epsMetric* simple[] = {&_simpleLOne, &_simpleLTwo, &_simpleLThree, &_simpleLInfinity};
    const epsMetric* distance[] = {&_distanceLOne, &_distanceLTwo, &_distanceLThree, &_distanceLInfinity};
    if (type < 0 || type > 3)
        return nullptr;
    return scaled ? distance[type] : simple[type];
}
