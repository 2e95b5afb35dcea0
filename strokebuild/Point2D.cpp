// Point2D: coordinates, distances and coordinate-wise arithmetic.
#include "Point2D.h"

#include <cmath>

Point2D::Point2D(double x, double y) : _x(x), _y(y) {}

double Point2D::getX() const { return _x; }
double Point2D::x() const { return _x; }
void Point2D::setX(double x) { _x = x; }
double Point2D::getY() const { return _y; }
double Point2D::y() const { return _y; }
void Point2D::setY(double y) { _y = y; }

void Point2D::setXY(double x, double y)
{
    setX(x);
    setY(y);
}

void Point2D::getXY(double& x, double& y) const
{
    x = _x;
    y = _y;
}

std::pair<double, double> Point2D::getXYPair() const { return {_x, _y}; }

double Point2D::distanceTo(double x, double y) const { return std::sqrt(squaredDistanceTo(x, y)); }

double Point2D::squaredDistanceTo(double x, double y) const
{
    const double dx = _x - x;
    const double dy = _y - y;
    return dx * dx + dy * dy;
}

Point2D operator*(const Point2D& p, double factor) { return {p.getX() * factor, p.getY() * factor}; }
Point2D operator*(double factor, const Point2D& p) { return p * factor; }
Point2D operator+(const Point2D& a, const Point2D& b) { return {a.getX() + b.getX(), a.getY() + b.getY()}; }
Point2D operator-(const Point2D& a, const Point2D& b) { return {a.getX() - b.getX(), a.getY() - b.getY()}; }
