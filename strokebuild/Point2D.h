// Point2D: a point of a drawn path or sketched shape, in the caller's coordinate space.
// Free operators build new points by scaling, adding and subtracting coordinates.
#pragma once

#include <utility>

class Point2D
{
public:
    Point2D() = default;
    Point2D(double x, double y);
    Point2D(const Point2D&) = default;
    Point2D(Point2D&&) = default;
    Point2D& operator=(const Point2D&) = default;
    Point2D& operator=(Point2D&&) = default;
    virtual ~Point2D() = default;

    // x() and y() return the same as getX() and getY().
    virtual double getX() const;
    virtual double x() const;
    virtual void setX(double x);
    virtual double getY() const;
    virtual double y() const;
    virtual void setY(double y);
    // Calls setX, then setY, so overrides of either take part.
    virtual void setXY(double x, double y);
    virtual void getXY(double& x, double& y) const;
    virtual std::pair<double, double> getXYPair() const;
    // Euclidean distance to (x, y), and its square (cheaper, for comparisons).
    virtual double distanceTo(double x, double y) const;
    virtual double squaredDistanceTo(double x, double y) const;

protected:
    double _x = 0.0;
    double _y = 0.0;
};

// Coordinate-wise arithmetic; the result is always a plain Point2D.
Point2D operator*(const Point2D& p, double factor);
Point2D operator*(double factor, const Point2D& p);
Point2D operator+(const Point2D& a, const Point2D& b);
Point2D operator-(const Point2D& a, const Point2D& b);
