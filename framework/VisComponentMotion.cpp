// VisComponent: the built-in rotate-and-translate and tossing of a touched
// component, driven by contacts and advanced once per frame by the scene.
#include "VisComponent.h"

#include "BufferTag.h"
#include "Kinematics.h"
#include "TabletopVis.h"

#include <algorithm>

VisComponent::Motion& VisComponent::motion()
{
    if (!_motion)
        _motion = std::make_unique<Motion>();
    return *_motion;
}

void VisComponent::grabForRotateAndTranslate(int device, double x, double y)
{
    Motion& m = motion();
    m = Motion();
    m.device = device;
    m.touch = {x, y};
    if (_scene != nullptr)
        _scene->trackMotion(this);
}

void VisComponent::dragForRotateAndTranslate(double x, double y)
{
    if (!isGrabbed())
        return;
    Motion& m = *_motion;
    const Vector2d after(x, y);
    const Vector2d step = after - m.touch;
    if (step.squaredLength() == 0.0)
        return;
    const Vector2d centre(getXPos(), getYPos());
    const double quarterSquared = _scene != nullptr ? _scene->getQuaterSquaredRNTFactor() : 0.0;
    if (hasOrientation()
        && !Kinematics::inTranslateOnlyDisc(m.touch - centre, std::min(_width, _height), quarterSquared))
        m.pendingTurn += Kinematics::dragTurn(centre, m.touch, after);
    moveBy(step.x, step.y);
    m.frameDisplacement += step;
    m.touch = after;
}

void VisComponent::releaseRotateAndTranslate()
{
    if (!isGrabbed())
        return;
    Motion& m = *_motion;
    m.device = -1;
    m.pendingTurn = 0.0;
    m.frameDisplacement = Vector2d();
    const double cutoff = _scene != nullptr ? _scene->getTossingCutoff() : 0.0;
    m.tossing = _tossing && Kinematics::startsTossing(m.velocity, cutoff);
    if (!m.tossing)
        m.velocity = Vector2d();
}

bool VisComponent::advanceMotion(double frameSeconds)
{
    if (!_motion || _scene == nullptr)
        return false;
    Motion& m = *_motion;
    if (m.device >= 0) {
        const double turn = Kinematics::limitTurn(m.pendingTurn, frameSeconds, _scene->getRNTCircleTime());
        if (turn != 0.0) {
            const Kinematics::Pose turned = Kinematics::rotateAbout({{getXPos(), getYPos()}, _rotation}, m.touch, turn);
            moveBy(turned.centre.x - getXPos(), turned.centre.y - getYPos());
            rotate(turn);
            m.pendingTurn -= turn;
        }
        m.velocity = Kinematics::blendVelocity(m.velocity, m.frameDisplacement);
        m.frameDisplacement = Vector2d();
        return true;
    }
    if (!m.tossing)
        return false;
    // Over a parent with a slowdown field the field's cell is the factor.
    double factor = _scene->getTossingFriction();
    if (_parent != nullptr)
        if (const auto* slowdown = _parent->getActiveBufferAs<float>(SLOWDOWN_BUFFER)) {
            double lx = 0.0;
            double ly = 0.0;
            _parent->getLocalCoordinates(getXPos(), getYPos(), lx, ly);
            factor = slowdown->getValue(_parent->getBufferXCoordinateFromLocal(lx),
                                        _parent->getBufferYCoordinateFromLocal(ly));
        }
    const Vector2d step = Kinematics::tossStep(m.velocity, factor, _scene->getTossingCutoff());
    moveBy(step.x, step.y);
    m.tossing = m.velocity.squaredLength() > 0.0;
    return m.tossing;
}
