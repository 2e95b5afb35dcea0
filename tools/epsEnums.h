// Enumerations shared by the lens and its surround, and the small point types
// the lens works with.
#pragma once

// Base of epsLens and epsLensSurround: the numbers their setters take.
class epsEnums {
public:
    // Drop-off function of a surround (setDropOffType).
    enum DropOffType {
        DropOffManhattan = 0,
        DropOffLinear = 1,
        DropOffGaussian = 2,
        DropOffHemispheric = 3,
        DropOffCosine = 4,
        DropOffDropGaussian = 5,
        DropOffPower = 6,        // epsPower, or epsParabolic / epsLinear / epsManhattan
        DropOffHyperbolic = 7,
        DropOffTrueLinear = 8,
    };

    // Distance metric (setMetricType). MetricOfLens: take the owning lens's.
    enum MetricType {
        MetricLOne = 0,
        MetricLTwo = 1,
        MetricLThree = 2,
        MetricLInfinity = 3,
        MetricOfLens = 4,
    };

    // Shape of the lens body: which metric measures "inside the body".
    enum LensShape {
        ShapeDiamond = 0,        // L1, stretched by the lens's scale values
        ShapeEllipse = 1,        // L2, stretched by the lens's scale values
        ShapeSuperellipse = 2,   // L3, stretched by the lens's scale values
        ShapeRectangle = 3,      // L-infinity, stretched by the lens's scale values
        ShapeOfMetricType = 4,   // the lens's metric type, stretched likewise
        ShapeRound = 5,          // unscaled L2 whatever the scale values (tool brush)
    };

    // The six scale values a lens holds and a surround may inherit.
    enum ScaleValue {
        ScaleX = 0,
        ScaleY = 1,
        ScaleXPositive = 2,
        ScaleXNegative = 3,
        ScaleYPositive = 4,
        ScaleYNegative = 5,
        ScaleValueCount = 6,
    };

protected:
    ~epsEnums() = default;
};

struct epsPoint {
    float x = 0.0f;
    float y = 0.0f;
};

struct epsPoint3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};
