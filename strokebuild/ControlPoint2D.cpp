// ControlPoint2D: radius, diameter, value and tag of a stroke's control point.
#include "ControlPoint2D.h"

ControlPoint2D::ControlPoint2D(std::int32_t tag, double x, double y, double radius, double value)
    : Point2D(x, y), _radius(radius), _diameter(2.0 * radius), _value(value), _tag(tag)
{
}

double ControlPoint2D::getRadius() const { return _radius; }

void ControlPoint2D::setRadius(double r)
{
    _radius = r;
    _diameter = 2.0 * r;
}

std::int32_t ControlPoint2D::getTag() const { return _tag; }
void ControlPoint2D::setTag(std::int32_t tag) { _tag = tag; }
double ControlPoint2D::getValue() const { return _value; }
void ControlPoint2D::setValue(double value) { _value = value; }
double ControlPoint2D::getDiameter() const { return _diameter; }
