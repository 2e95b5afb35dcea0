// The surround of a lens: settings, derived parameters and the choice of the
// metric and the drop-off function.
#include "epsLensSurround.h"

#include "epsLens.h"

namespace {
constexpr float kInherit = -1.0f;
constexpr float kPowerManhattanAbove = 500.0f;

// Stores value when ok; returns whether it did.
bool accept(bool ok, float& slot, float value)
{
    if (ok)
        slot = value;
    return ok;
}
} // namespace

epsLensSurround::epsLensSurround()
    : _metric(_metrics.metric(MetricLTwo, false))
{
    _linear.setRippleAmplitude(_linearRippleAmplitude);
    _gaussian.configure(_gaussianEdgeValue, _gaussianRippleAmplitude);
    _dropGaussian.configure(_gaussianEdgeValue, _gaussianRippleAmplitude);
    _hyperbolic.setC(_hyperbolicC);
    _power.setExponent(_powerExponent);
    selectDropOff();
}

epsLensSurround::~epsLensSurround()
{
    if (_owner)
        _owner->surroundDestroyed();
}

void epsLensSurround::setDropOffType(int type)
{
    _dropOffType = type;
    selectDropOff();
    changed();
}
int epsLensSurround::getDropOffType() const { return _dropOffType; }

void epsLensSurround::setWidth(float width) { store(_width, width); }
float epsLensSurround::getWidth() const { return _width; }

void epsLensSurround::setSecondScale(float scale) { store(_secondScale, scale); }
float epsLensSurround::getSecondScale() const { return _secondScale; }

void epsLensSurround::setMetricType(int type)
{
    _metricType = type;
    selectMetric();
    changed();
}
int epsLensSurround::getMetricType() const { return _metricType; }

void epsLensSurround::setScaleValue(ScaleValue which, float value)
{
    if (accept(value >= 0.0f || value == kInherit, _scales[which], value)) {
        selectMetric();
        changed();
    }
}
void epsLensSurround::setXScale(float value) { setScaleValue(ScaleX, value); }
float epsLensSurround::getXScale() const { return _scales[ScaleX]; }
void epsLensSurround::setYScale(float value) { setScaleValue(ScaleY, value); }
float epsLensSurround::getYScale() const { return _scales[ScaleY]; }
void epsLensSurround::setXPositiveFactor(float value) { setScaleValue(ScaleXPositive, value); }
float epsLensSurround::getXPositiveFactor() const { return _scales[ScaleXPositive]; }
void epsLensSurround::setXNegativeFactor(float value) { setScaleValue(ScaleXNegative, value); }
float epsLensSurround::getXNegativeFactor() const { return _scales[ScaleXNegative]; }
void epsLensSurround::setYPositiveFactor(float value) { setScaleValue(ScaleYPositive, value); }
float epsLensSurround::getYPositiveFactor() const { return _scales[ScaleYPositive]; }
void epsLensSurround::setYNegativeFactor(float value) { setScaleValue(ScaleYNegative, value); }
float epsLensSurround::getYNegativeFactor() const { return _scales[ScaleYNegative]; }

void epsLensSurround::setStartAngle(float degrees) { store(_startAngle, degrees); }
float epsLensSurround::getStartAngle() const { return _startAngle; }

void epsLensSurround::setEndAngle(float degrees) { store(_endAngle, degrees); }
float epsLensSurround::getEndAngle() const { return _endAngle; }

void epsLensSurround::setGaussianRippleAmplitude(float amplitude)
{
    if (accept(amplitude >= 0.0f && amplitude <= 1.0f, _gaussianRippleAmplitude, amplitude)) {
        _gaussian.configure(_gaussianEdgeValue, amplitude);
        _dropGaussian.configure(_gaussianEdgeValue, amplitude);
        changed();
    }
}
float epsLensSurround::getGaussianRippleAmplitude() const { return _gaussianRippleAmplitude; }

void epsLensSurround::setLinearRippleAmplitude(float amplitude)
{
    if (accept(amplitude >= 0.0f, _linearRippleAmplitude, amplitude)) {
        _linear.setRippleAmplitude(amplitude);
        changed();
    }
}
float epsLensSurround::getLinearRippleAmplitude() const { return _linearRippleAmplitude; }

void epsLensSurround::setHyperbolicC(float c)
{
    if (accept(c >= 0.0f, _hyperbolicC, c)) {
        _hyperbolic.setC(c);
        changed();
    }
}
float epsLensSurround::getHyperbolicC() const { return _hyperbolicC; }

void epsLensSurround::setPowerExponent(float exponent)
{
    if (accept(exponent > 0.0f, _powerExponent, exponent)) {
        _power.setExponent(exponent);
        if (_dropOffType == DropOffPower)
            selectPowerFamily();
        changed();
    }
}
float epsLensSurround::getPowerExponent() const { return _powerExponent; }

void epsLensSurround::setGaussianEdgeValue(float value)
{
    if (accept(value > 0.0f && value <= 0.5f, _gaussianEdgeValue, value)) {
        _gaussian.configure(value, _gaussianRippleAmplitude);
        _dropGaussian.configure(value, _gaussianRippleAmplitude);
        selectDropOff();   // the reach of type 5 follows the cutoff
        changed();
    }
}
float epsLensSurround::getGaussianEdgeValue() const { return _gaussianEdgeValue; }

float epsLensSurround::reach() const { return _reach; }

epsScaleValues epsLensSurround::resolvedScales() const
{
    epsScaleValues resolved = _scales;
    for (int i = 0; i < ScaleValueCount; ++i)
        if (resolved[i] == kInherit)
            resolved[i] = _owner ? _owner->getScaleValue(ScaleValue(i)) : 1.0f;
    return resolved;
}

void epsLensSurround::selectDropOff()
{
    const epsDropOff* byType[] = {&_manhattan, &_linear, &_gaussian, &_hemispheric, &_cosine,
                                  &_dropGaussian, &_power, &_hyperbolic, &_trueLinear};
    if (_dropOffType == DropOffPower)
        selectPowerFamily();
    else if (_dropOffType >= 0 && _dropOffType <= DropOffTrueLinear)
        _dropOff = byType[_dropOffType];
    switch (_dropOffType) {
    case DropOffManhattan: _reach = 0.0f; break;
    case DropOffGaussian: _reach = 2.0f; break;
    case DropOffDropGaussian: _reach = _dropGaussian.cutoff(); break;
    default: _reach = 1.0f; break;
    }
}

// Type 6: (1 - d)^exponent through the cheaper equal function for the
// exponents 2 and 1; above 500 the power counts as 0 (a hard edge).
void epsLensSurround::selectPowerFamily()
{
    if (_powerExponent == 2.0f)
        _dropOff = &_parabolic;
    else if (_powerExponent == 1.0f)
        _dropOff = &_linear;
    else if (_powerExponent > kPowerManhattanAbove)
        _dropOff = &_manhattan;
    else
        _dropOff = &_power;
}

void epsLensSurround::selectMetric()
{
    if (!_owner)
        return;
    const int type = _metricType == MetricOfLens ? _owner->getMetricType() : _metricType;
    const bool unscaled = _metrics.applyScales(resolvedScales());
    if (const epsMetric* chosen = _metrics.metric(type, !unscaled))
        _metric = chosen;
    _squaredDistance = type == MetricLTwo && unscaled;
}

void epsLensSurround::store(float& slot, float value)
{
    slot = value;
    changed();
}

void epsLensSurround::changed()
{
    if (_owner)
        _owner->surroundChanged();
}

void epsLensSurround::setOwner(epsLens* lens)
{
    _owner = lens;
    ownerChanged();
}

void epsLensSurround::ownerChanged()
{
    if (!_owner)
        return;
    _trueLinear.setK(_owner->getMagnification());
    selectMetric();
}
