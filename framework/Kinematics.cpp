// Kinematics: rotate-and-translate and tossing as pure functions.
#include "Kinematics.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Kinematics {

namespace {
constexpr double DegreesPerRadian = 180.0 / std::numbers::pi;
} // namespace

double normalizeAngle(double degrees)
{
    double a = std::fmod(degrees, 360.0);
    if (a <= -180.0)
        a += 360.0;
    else if (a > 180.0)
        a -= 360.0;
    return a;
}

double angleBetween(const Vector2d& from, const Vector2d& to)
{
    if (from.squaredLength() == 0.0 || to.squaredLength() == 0.0)
        return 0.0;
    const double cross = from.x * to.y - from.y * to.x;
    return normalizeAngle(std::atan2(cross, from.dot(to)) * DegreesPerRadian);
}

double dragTurn(const Vector2d& centre, const Vector2d& before, const Vector2d& after)
{
    return angleBetween(before - centre, after - centre);
}

bool inTranslateOnlyDisc(const Vector2d& offset, double smallestSide, double quarterSquaredFactor)
{
    return offset.squaredLength() <= quarterSquaredFactor * smallestSide * smallestSide;
}

double limitTurn(double pendingDegrees, double frameSeconds, double circleTime)
{
    if (circleTime <= 0.0)
        return pendingDegrees;
    const double most = 360.0 * std::max(frameSeconds, 0.0) / circleTime;
    return std::clamp(pendingDegrees, -most, most);
}

Pose rotateAbout(const Pose& pose, const Vector2d& pivot, double degrees)
{
    const double r = degrees / DegreesPerRadian;
    const double c = std::cos(r);
    const double s = std::sin(r);
    const Vector2d d = pose.centre - pivot;
    return {pivot + Vector2d(c * d.x - s * d.y, s * d.x + c * d.y), normalizeAngle(pose.rotation + degrees)};
}

Vector2d blendVelocity(const Vector2d& previous, const Vector2d& frameDisplacement)
{
    return 0.5 * (previous + frameDisplacement);
}

bool startsTossing(const Vector2d& velocity, double cutoff)
{
    return velocity.length() >= cutoff && velocity.squaredLength() > 0.0;
}

Vector2d tossStep(Vector2d& velocity, double factor, double cutoff)
{
    const Vector2d displacement = velocity;
    velocity *= factor;
    if (velocity.length() < cutoff || velocity.squaredLength() == 0.0)
        velocity = Vector2d();
    return displacement;
}

} // namespace Kinematics
