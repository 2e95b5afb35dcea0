// ControlPoint2D: a point of a sketched stroke with its radius (half the stroke width there),
// a per-point value and a tag that the stroke builder uses as the point's index.
#pragma once

#include "Point2D.h"

#include <cstdint>

class ControlPoint2D : public Point2D
{
public:
    ControlPoint2D() = default;
    ControlPoint2D(std::int32_t tag, double x, double y, double radius, double value);

    virtual double getRadius() const;
    // Sets the radius and keeps the diameter at twice it.
    virtual void setRadius(double r);
    virtual std::int32_t getTag() const;
    virtual void setTag(std::int32_t tag);
    virtual double getValue() const;
    virtual void setValue(double value);
    virtual double getDiameter() const;

protected:
    double _radius = 0.0;
    double _diameter = 0.0; // always 2 * _radius
    double _value = 0.0;
    std::int32_t _tag = 0;
};
