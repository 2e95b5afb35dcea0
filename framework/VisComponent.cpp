// VisComponent: geometry, conversions, family links, buffers and the default
// bodies of the framework's virtual operations. No GL.
#include "VisComponent.h"

#include "BufferTag.h"
#include "CellFrame.h"
#include "Kinematics.h"
#include "TabletopVis.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

unsigned long nextComponentId = 1;

// Whether a region map holds 0 at cell (x, y); maps of unsigned or byte
// cells are read, other cell types decline nothing.
bool regionDeclines(const AbstractBuffer* map, int x, int y)
{
    if (const auto* cells = dynamic_cast<const BufferTemplate<unsigned int>*>(map))
        return cells->getValue(x, y) == 0u;
    if (const auto* bytes = dynamic_cast<const BufferTemplate<unsigned char>*>(map))
        return bytes->getValue(x, y) == 0u;
    return false;
}

} // namespace

VisComponent::VisComponent(TabletopVis* scene, double x, double y, bool rotateAndTranslate, bool tossing,
                           double width, double height, double angle)
    : _scene(scene)
    , _id(nextComponentId++)
    , _ownPosition{x, y}
    , _width(std::max(width, 0.0))
    , _height(std::max(height, 0.0))
    , _unscaledWidth(_width)
    , _unscaledHeight(_height)
    , _rotateAndTranslate(rotateAndTranslate)
    , _tossing(tossing)
{
    setRotation(angle);
}

VisComponent::VisComponent(TabletopVis* scene, double width, double height)
    : VisComponent(scene, 0.0, 0.0, false, false, width, height)
{
}

VisComponent::~VisComponent()
{
    if (_scene != nullptr)
        _scene->forgetComponent(this);
    if (_renderLink.list != nullptr)
        _renderLink.list->remove(this);
    if (_ownerLink.list != nullptr)
        _ownerLink.list->remove(this);
    if (_parent != nullptr && _parent->_family)
        _parent->_family->children.erase(_id);
    if (_active)
        unlinkChildrenFrom(*_active);
    if (_family)
        for (auto& entry : _family->children)
            entry.second->_parent = nullptr;
}

VisComponent::ListLink& VisComponent::linkFor(ComponentList::Role role)
{
    return role == ComponentList::Role::Ownership ? _ownerLink : _renderLink;
}

const VisComponent::ListLink& VisComponent::linkFor(ComponentList::Role role) const
{
    return role == ComponentList::Role::Ownership ? _ownerLink : _renderLink;
}

// ---- Geometry and conversions ----

void VisComponent::setRotation(double degrees)
{
    _rotation = Kinematics::normalizeAngle(degrees);
    const double r = _rotation * std::numbers::pi / 180.0;
    _cos = std::cos(r);
    _sin = std::sin(r);
    geometryChanged();
}

double VisComponent::getSmallestSquareSurface() const
{
    const double side = std::min(_width, _height);
    return side * side;
}

void VisComponent::setUnscaledSize(double width, double height)
{
    _unscaledWidth = std::max(width, 0.0);
    _unscaledHeight = std::max(height, 0.0);
    geometryChanged();
}

void VisComponent::setCurrentScaleFactor(double factor)
{
    if (!(factor > 0.0))
        return;
    _scaleFactor = factor;
    setSize(_unscaledWidth * factor, _unscaledHeight * factor);
}

bool VisComponent::getLocalCoordinates(double deviceX, double deviceY, double& localX, double& localY) const
{
    CellFrame(*this).local(deviceX, deviceY, localX, localY);
    return localX >= 0.0 && localX < _width && localY >= 0.0 && localY < _height;
}

bool VisComponent::getHitLocalCoordinates(double deviceX, double deviceY, double& localX, double& localY) const
{
    if (getLocalCoordinates(deviceX, deviceY, localX, localY))
        return true;
    localX = OutsideLocal;
    localY = OutsideLocal;
    return false;
}

void VisComponent::getDeviceCoordinates(double localX, double localY, double& deviceX, double& deviceY) const
{
    const double ox = localX - 0.5 * _width;
    const double oy = localY - 0.5 * _height;
    deviceX = _position[0] + _cos * ox - _sin * oy;
    deviceY = _position[1] + _sin * ox + _cos * oy;
}

double VisComponent::cellsPerPixelX() const
{
    return _scene != nullptr ? _scene->getCellsPerPixelX() : 1.0;
}

double VisComponent::cellsPerPixelY() const
{
    return _scene != nullptr ? _scene->getCellsPerPixelY() : 1.0;
}

int VisComponent::getBufferXCoordinateFromLocal(double localX) const
{
    return CellFrame::floorToInt(getBufferXFromLocal(localX));
}

int VisComponent::getBufferYCoordinateFromLocal(double localY) const
{
    return CellFrame::floorToInt(getBufferYFromLocal(localY));
}

double VisComponent::getBufferXFromLocal(double localX) const { return CellFrame(*this).bufferX(localX); }
double VisComponent::getBufferYFromLocal(double localY) const { return CellFrame(*this).bufferY(localY); }
double VisComponent::getLocalXFromBuffer(double cellX) const { return cellX / cellsPerPixelX() - _bufferMargin; }
double VisComponent::getLocalYFromBuffer(double cellY) const { return cellY / cellsPerPixelY() - _bufferMargin; }

int VisComponent::getBufferWidth() const
{
    return std::max(1, static_cast<int>(std::lround((_width + 2.0 * _bufferMargin) * cellsPerPixelX())));
}

int VisComponent::getBufferHeight() const
{
    return std::max(1, static_cast<int>(std::lround((_height + 2.0 * _bufferMargin) * cellsPerPixelY())));
}

void VisComponent::computeInteractiveResizeCenter(double x, double y, double& width, double& height) const
{
    double lx = 0.0;
    double ly = 0.0;
    getLocalCoordinates(x, y, lx, ly);
    width = std::max(MinimumInteractiveSize, 2.0 * std::abs(lx - 0.5 * _width));
    height = std::max(MinimumInteractiveSize, 2.0 * std::abs(ly - 0.5 * _height));
}

// ---- Family ----

const VisComponent::ChildMap& VisComponent::getChildren() const
{
    static const ChildMap none;
    return _family ? _family->children : none;
}

ComponentList* VisComponent::getLocalRenderList() const
{
    return _family ? &_family->localRenderList : nullptr;
}

void VisComponent::enableChildren()
{
    if (!_family)
        _family = std::make_unique<Family>();
}

VisComponent::ChildMap& VisComponent::childMap()
{
    enableChildren();
    return _family->children;
}

int VisComponent::adoptChild(VisComponent* child, bool intoLocalList)
{
    if (child == nullptr || child == this || getComposite() == nullptr || !child->allowNesting())
        return 0;
    if (VisComponent* old = child->getParent()) {
        if (old == this)
            return 0;
        old->removeChild(child);
    }
    child->setParent(this);
    child->saveImportantAttributes();
    childMap()[child->getId()] = child;
    if (intoLocalList) {
        if (_scene != nullptr)
            _scene->removeComponentFromRenderList(child);
        _family->localRenderList.append(child);
    }
    connectBuffers(child);
    return 1;
}

int VisComponent::releaseChild(VisComponent* child)
{
    if (child == nullptr || !_family || _family->children.count(child->getId()) == 0)
        return 0;
    child->restoreImportantAttributes();
    child->setParent(nullptr);
    _family->children.erase(child->getId());
    _family->localRenderList.remove(child);
    if (_scene != nullptr)
        _scene->moveComponentToRenderFront(child);
    disconnectBuffers(child);
    return 1;
}

// ---- Virtual operations: defaults ----

void VisComponent::moveBy(double dx, double dy)
{
    _position[0] += dx;
    _position[1] += dy;
    geometryChanged();
}

void VisComponent::keepPositionAt(double* storage, bool copy)
{
    double* to = storage != nullptr ? storage : _ownPosition;
    if (copy && to != _position) {
        to[0] = _position[0];
        to[1] = _position[1];
    }
    _position = to;
}

void VisComponent::resizeAndRelocateChildren(double factorX, double factorY)
{
    for (auto& entry : getChildren()) {
        VisComponent* child = entry.second;
        double lx = 0.0;
        double ly = 0.0;
        getLocalCoordinates(child->getXPos(), child->getYPos(), lx, ly);
        double x = 0.0;
        double y = 0.0;
        getDeviceCoordinates(0.5 * _width + (lx - 0.5 * _width) * factorX,
                             0.5 * _height + (ly - 0.5 * _height) * factorY, x, y);
        child->setPos(x, y);
        child->childrenResizeAndRelocate(factorX, factorY);
    }
}

void VisComponent::childrenResizeAndRelocate(double, double) {}

void VisComponent::setWidth(double width) { setSize(width, _height); }
void VisComponent::setHeight(double height) { setSize(_width, height); }
void VisComponent::setSquareSize(double side) { setSize(side, side); }

void VisComponent::setSize(double width, double height)
{
    _width = std::max(width, 0.0);
    _height = std::max(height, 0.0);
    _unscaledWidth = _width / _scaleFactor;
    _unscaledHeight = _height / _scaleFactor;
    geometryChanged();
}

void VisComponent::interactiveResizeCenter(double x, double y)
{
    double width = 0.0;
    double height = 0.0;
    computeInteractiveResizeCenter(x, y, width, height);
    setSize(width, height);
}

void VisComponent::interactiveResizeTopLeft(double x, double y)
{
    double lx = 0.0;
    double ly = 0.0;
    getLocalCoordinates(x, y, lx, ly);
    double leftX = 0.0;
    double topY = 0.0;
    getDeviceCoordinates(0.0, _height, leftX, topY);
    const double width = std::max(MinimumInteractiveSize, lx);
    const double height = std::max(MinimumInteractiveSize, _height - ly);
    setSize(width, height);
    // The new centre lies half a size right of and below the kept corner.
    const double hx = 0.5 * width;
    const double hy = -0.5 * height;
    setPos(leftX + _cos * hx - _sin * hy, topY + _sin * hx + _cos * hy);
}

bool VisComponent::isResizingReal() const { return true; }
void VisComponent::rotate(double degrees) { setRotation(_rotation + degrees); }
bool VisComponent::hasOrientation() const { return true; }
bool VisComponent::checkPositionForRNT(double, double) const { return true; }
void VisComponent::animationEnded() {}
void VisComponent::saveImportantAttributes() { _storingImportantAttributes = true; }
void VisComponent::restoreImportantAttributes() { _storingImportantAttributes = false; }
bool VisComponent::isStoringImportantAttributes() const { return _storingImportantAttributes; }
int VisComponent::addChild(VisComponent*) { return 0; }
int VisComponent::removeChild(VisComponent*) { return 0; }
VisComponent* VisComponent::getComposite() { return nullptr; }
bool VisComponent::allowNesting() const { return true; }
bool VisComponent::childrenShowInteractionHandles() const { return true; }

int VisComponent::hitLocalBuffer(int x, int y, double, double, int device)
{
    if (!_rotateAndTranslate)
        return 0;
    if (!isGrabbed()) {
        if (!checkPositionForRNT(x, y))
            return 0;
        grabForRotateAndTranslate(device, x, y);
        return 1;
    }
    if (_motion->device != device)
        return 0;
    dragForRotateAndTranslate(x, y);
    return 1;
}

int VisComponent::releaseLocalBuffer(int, int, int device)
{
    if (isGrabbed() && _motion->device == device)
        releaseRotateAndTranslate();
    return 0;
}

void VisComponent::setParent(VisComponent* parent) { _parent = parent; }
void VisComponent::render() {}
void VisComponent::renderForPicking() {}
void VisComponent::renderIntoBuffers() {}
void VisComponent::invalidatePassiveBuffers() { dropPassiveLinks(); }
bool VisComponent::hasStaticRenderOrder() const { return false; }
bool VisComponent::compositeManagesLocalRenderList() const { return false; }
bool VisComponent::isResizing() const { return false; }
void VisComponent::rebuildGraphicRepresentation() {}
bool VisComponent::isAnimatingDirection() const { return false; }
bool VisComponent::isAnimatingOrienation() const { return false; }
bool VisComponent::isAnimatingAbsoluteSize() const { return false; }
bool VisComponent::isAnimatingRelativeSize() const { return false; }
double VisComponent::getXRelativeScalePos() const { return 1.0; }
double VisComponent::getYRelativeScalePos() const { return 1.0; }
double VisComponent::getOneOverX() const { return 1.0; }
double VisComponent::getOneOverY() const { return 1.0; }
int VisComponent::wiimoteEvent(const std::vector<int>&, const WiiCommunicationData&) { return 0; }

void VisComponent::animateMyself(double)
{
    if (_sizeProgress < 1.0)
        stepSizeEasing();
}

void VisComponent::doConstantAnimations(double) {}
void VisComponent::specificRender() {}
void VisComponent::specificRenderForPicking() {}
void VisComponent::pickingPreparation() {}
void VisComponent::initialize() {}
void VisComponent::doCommonTransformations() {}
void VisComponent::createActiveBuffers() {}
void VisComponent::initializePassiveBuffers() {}

void VisComponent::recreateActiveBuffers()
{
    removeActiveBuffers();
    createActiveBuffers();
    renderInActiveBuffers();
    for (auto& entry : getChildren())
        connectBuffers(entry.second);
}

void VisComponent::renderInGlobalBuffers() {}
void VisComponent::renderInActiveBuffers() {}

bool VisComponent::containsLocalPoint(double localX, double localY) const
{
    const AbstractBuffer* map = getActiveBuffer(HIT_BUFFER);
    return map == nullptr
        || !regionDeclines(map, getBufferXCoordinateFromLocal(localX), getBufferYCoordinateFromLocal(localY));
}

// ---- Size easing ----

void VisComponent::animateToSize(double width, double height)
{
    _targetWidth = width;
    _targetHeight = height;
    _sizeTargetPending = true;
    _sizeAnimationEnding = true;
    _sizeProgress = 0.0;
    geometryChanged();
}

void VisComponent::stepSizeEasing()
{
    const double w0 = _width;
    const double h0 = _height;
    const double tw = _sizeTargetPending ? _targetWidth : w0;
    const double th = _sizeTargetPending ? _targetHeight : h0;
    // Fifty steps of 0.02 end exactly at the target despite rounding.
    _sizeProgress += SizeProgressStep;
    if (_sizeProgress > 1.0 - 1e-9)
        _sizeProgress = 1.0;
    if (_sizeProgress < 1.0) {
        setSize(w0 + (tw - w0) * _sizeProgress, h0 + (th - h0) * _sizeProgress);
        return;
    }
    setSize(tw, th);
    _sizeTargetPending = false;
    const bool ending = _sizeAnimationEnding;
    _sizeAnimationEnding = false;
    geometryChanged();
    if (ending)
        animationEnded();
}
