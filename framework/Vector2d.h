// Vector2d: a 2-D vector of doubles for directions, offsets and normals.
// A plain value type: no allocation, no GL, every operation constexpr or inline.
#pragma once

#include <cmath>

struct Vector2d
{
    double x = 0.0;
    double y = 0.0;

    constexpr Vector2d() = default;
    constexpr Vector2d(double xValue, double yValue) : x(xValue), y(yValue) {}

    // Component access: 0 is x, any other index is y.
    constexpr double& operator[](int i) { return i == 0 ? x : y; }
    constexpr double operator[](int i) const { return i == 0 ? x : y; }

    constexpr double dot(const Vector2d& other) const { return x * other.x + y * other.y; }
    constexpr double squaredLength() const { return x * x + y * y; }
    double length() const { return std::sqrt(squaredLength()); }

    // The vector turned a quarter turn counter-clockwise: (-y, x).
    constexpr Vector2d perp() const { return {-y, x}; }

    // Scales this vector to length 1 and returns it. The zero vector (and any
    // vector whose length is not a positive finite number) becomes the zero
    // vector, so callers never see NaN.
    Vector2d& normalize()
    {
        const double len = length();
        if (len > 0.0 && std::isfinite(len)) {
            x /= len;
            y /= len;
        } else {
            x = 0.0;
            y = 0.0;
        }
        return *this;
    }

    // A unit-length copy; this vector is unchanged. Zero stays zero as above.
    Vector2d normalized() const
    {
        Vector2d copy = *this;
        return copy.normalize();
    }

    constexpr Vector2d& operator+=(const Vector2d& o) { x += o.x; y += o.y; return *this; }
    constexpr Vector2d& operator-=(const Vector2d& o) { x -= o.x; y -= o.y; return *this; }
    constexpr Vector2d& operator*=(double s) { x *= s; y *= s; return *this; }

    friend constexpr Vector2d operator+(Vector2d a, const Vector2d& b) { return a += b; }
    friend constexpr Vector2d operator-(Vector2d a, const Vector2d& b) { return a -= b; }
    friend constexpr Vector2d operator-(const Vector2d& a) { return {-a.x, -a.y}; }
    friend constexpr Vector2d operator*(Vector2d a, double s) { return a *= s; }
    friend constexpr Vector2d operator*(double s, Vector2d a) { return a *= s; }
    friend constexpr bool operator==(const Vector2d& a, const Vector2d& b) = default;
};
