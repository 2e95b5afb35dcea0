// Kinematics: the pure motion rules of touched objects, rotate-and-translate
// with one contact and tossing after release. No state, no GL.
#pragma once

#include "Vector2d.h"

// Conventions: positions in device pixels (origin bottom left, y up); angles
// in degrees, counter-clockwise positive; velocities in pixels per frame.
namespace Kinematics {

// Where an object is: its centre and its rotation.
struct Pose
{
    Vector2d centre;
    double rotation = 0.0;
};

// Angle that turns direction `from` onto direction `to`, in (-180, 180];
// 0 when either vector is zero.
double angleBetween(const Vector2d& from, const Vector2d& to);

// Brings an angle into (-180, 180].
double normalizeAngle(double degrees);

// Rotate-and-translate with one contact. The object is pulled at the touched
// point like a sheet dragged across a table: the touched point follows the
// finger and the centre trails behind it, so the object turns towards the
// direction of the drag. A drag from `before` to `after` translates by
// (after - before) and asks for the turn returned here: the angle between
// (before - centre) and (after - centre), centre taken before the drag.
double dragTurn(const Vector2d& centre, const Vector2d& before, const Vector2d& after);

// The central translate-only disc: a contact whose offset from the centre has
// a squared length of at most quarterSquaredFactor * smallestSide^2 only
// moves the object (quarterSquaredFactor = factor^2 / 4, so the disc's radius
// is factor times half the smaller side).
bool inTranslateOnlyDisc(const Vector2d& offset, double smallestSide, double quarterSquaredFactor);

// The part of a pending turn applied in one frame. circleTime is the shortest
// time in seconds for a full turn: at most 360 * frameSeconds / circleTime
// degrees per frame. circleTime <= 0 applies the whole turn at once.
double limitTurn(double pendingDegrees, double frameSeconds, double circleTime);

// The pose turned by degrees about pivot; a point at pivot stays where it is.
Pose rotateAbout(const Pose& pose, const Vector2d& pivot, double degrees);

// Velocity of a held object, smoothed over frames: the mean of the previous
// estimate and this frame's displacement.
Vector2d blendVelocity(const Vector2d& previous, const Vector2d& frameDisplacement);

// Whether a released object with this velocity starts tossing.
bool startsTossing(const Vector2d& velocity, double cutoff);

// One frame of tossing: returns the displacement of this frame (the current
// velocity) and multiplies the velocity by factor; when the new speed is below
// cutoff the velocity becomes zero and tossing ends after this displacement.
Vector2d tossStep(Vector2d& velocity, double factor, double cutoff);

} // namespace Kinematics
