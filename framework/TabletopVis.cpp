// TabletopVis: construction and teardown, the component and render lists, and
// the frame (buffers, animation, motion, drawing; deletions after the frame).
#include "TabletopVis.h"

#include "VisComponent.h"

#include <algorithm>

namespace {

double cellsPerPixel(unsigned buffer, unsigned screen)
{
    return screen > 0 ? static_cast<double>(buffer) / screen : 1.0;
}

} // namespace

TabletopVis::TabletopVis(unsigned users, unsigned bufferWidth, unsigned bufferHeight, unsigned screenWidth,
                         unsigned screenHeight)
    : TabletopVis(users, bufferWidth, bufferHeight, screenWidth, screenHeight, false)
{
}

TabletopVis::TabletopVis(unsigned users, unsigned bufferWidth, unsigned bufferHeight, unsigned screenWidth,
                         unsigned screenHeight, bool useGL)
    : _useGL(useGL)
    , _bufferWidth(bufferWidth)
    , _bufferHeight(bufferHeight)
    , _screenWidth(screenWidth)
    , _screenHeight(screenHeight)
    , _cellsPerPixelX(cellsPerPixel(bufferWidth, screenWidth))
    , _cellsPerPixelY(cellsPerPixel(bufferHeight, screenHeight))
    , _userStates(users)
    , _ledger(std::make_shared<MemoryLedger>())
{
}

TabletopVis::~TabletopVis()
{
    destroyComponents();
    clearSharedResources();
}

void TabletopVis::destroyComponents()
{
    _tearingDown = true;
    for (VisComponent* c : _graveyard)
        delete c;
    _graveyard.clear();
    // Newest first: children a composite made after itself go before it.
    // Each component leaves the ownership list as it goes.
    for (std::size_t i = _components.slotCount(); i-- > 0;)
        delete _components[i];
}

// ---- Components ----

bool TabletopVis::addComponent(VisComponent* component, bool intoRenderList)
{
    if (component == nullptr || component->_scene != this || _components.contains(component))
        return false;
    _components.append(component);
    if (intoRenderList)
        moveComponentToRenderFront(component);
    return true;
}

void TabletopVis::detach(VisComponent* component)
{
    if (VisComponent* parent = component->getParent()) {
        parent->removeChild(component);
        if (component->getParent() == parent) {
            // The parent kept it: cut the links directly.
            if (parent->_family) {
                parent->_family->children.erase(component->getId());
                parent->_family->localRenderList.remove(component);
            }
            component->setParent(nullptr);
        }
    }
    // Copy: removeChild changes the map.
    const VisComponent::ChildMap children = component->getChildren();
    for (auto& entry : children)
        if (entry.second->getParent() == component && !component->removeChild(entry.second))
            entry.second->setParent(nullptr);
    removeComponentFromRenderList(component);
    forgetComponent(component);
}

void TabletopVis::deleteComponent(VisComponent* component)
{
    if (component == nullptr || component->_scene != this || !_components.contains(component))
        return;
    detach(component);
    _components.remove(component);
    if (_deferDepth > 0)
        _graveyard.push_back(component);
    else
        delete component;
}

void TabletopVis::removeComponentFromRenderList(VisComponent* component)
{
    if (component != nullptr && component->_renderLink.list != nullptr)
        component->_renderLink.list->remove(component);
}

void TabletopVis::moveComponentToRenderFront(VisComponent* component)
{
    if (component == nullptr || component->_scene != this)
        return;
    VisComponent* parent = component->getParent();
    ComponentList* local = parent != nullptr && parent->compositeManagesLocalRenderList()
        ? parent->getLocalRenderList()
        : nullptr;
    (local != nullptr ? *local : _renderList).append(component);
}

bool TabletopVis::setSteppedByParent(VisComponent* component, bool on)
{
    if (!_components.contains(component))
        return false;
    _components.setMarked(component, on);
    return true;
}

unsigned TabletopVis::countComponents() const
{
    return static_cast<unsigned>(_components.size());
}

void TabletopVis::forgetComponent(VisComponent* component)
{
    if (_tearingDown)
        return;
    for (UserState& user : _userStates)
        if (user.last == component)
            user.last = nullptr;
    const auto moving = std::find(_moving.begin(), _moving.end(), component);
    if (moving != _moving.end())
        _moving.erase(moving);
}

void TabletopVis::setScreensize(unsigned width, unsigned height)
{
    if (width == _screenWidth && height == _screenHeight)
        return;
    _screenWidth = width;
    _screenHeight = height;
    for (std::size_t i = 0; i < _components.slotCount(); ++i)
        if (VisComponent* c = _components[i])
            c->rebuildGraphicRepresentation();
}

// ---- Frame ----

double TabletopVis::render(unsigned users, double speed)
{
    const double measured = measureFrameSeconds();
    const double seconds = std::min(measured, MaxFrameSeconds);
    const double dt = speed * seconds;
    _inFrame = true;
    beginDeferringDeletions();
    ++_frameNumber;
    // Index loops: components made during a pass join it; deleted ones leave
    // a null slot and are freed after the frame.
    // Components their parent steps (setSteppedByParent) are skipped
    // without being touched.
    const auto next = [this](std::size_t i) { return _components.nextUnmarked(i); };
    for (std::size_t i = next(0); i < _components.slotCount(); i = next(i + 1))
        if (VisComponent* c = _components[i])
            c->renderIntoBuffers();
    // Components a few places ahead start loading what their animation
    // reads, so the cache misses of neighbours overlap.
    constexpr std::size_t Ahead = 4;
    for (std::size_t i = next(0); i < _components.slotCount(); i = next(i + 1)) {
        if (i + Ahead < _components.slotCount() && !_components.isMarked(i + Ahead))
            if (VisComponent* ahead = _components[i + Ahead])
                ahead->prefetchForAnimation();
        if (VisComponent* c = _components[i])
            c->animateMyself(dt);
    }
    if (_animating)
        for (std::size_t i = next(0); i < _components.slotCount(); i = next(i + 1))
            if (VisComponent* c = _components[i])
                c->doConstantAnimations(dt);
    advanceMotion(seconds);
    drawScene(users);
    _inFrame = false;
    endDeferringDeletions();
    return measured > 0.0 ? 1.0 / measured : 0.0;
}

double TabletopVis::measureFrameSeconds()
{
    const auto now = std::chrono::steady_clock::now();
    double seconds = 1.0 / 60.0;
    if (_hasLastFrameTime)
        seconds = std::chrono::duration<double>(now - _lastFrameTime).count();
    _lastFrameTime = now;
    _hasLastFrameTime = true;
    return _fixedFrameSeconds > 0.0 ? _fixedFrameSeconds : seconds;
}

void TabletopVis::trackMotion(VisComponent* component)
{
    if (std::find(_moving.begin(), _moving.end(), component) == _moving.end())
        _moving.push_back(component);
}

void TabletopVis::advanceMotion(double frameSeconds)
{
    for (std::size_t i = 0; i < _moving.size();) {
        if (_moving[i]->advanceMotion(frameSeconds)) {
            ++i;
        } else {
            _moving[i] = _moving.back();
            _moving.pop_back();
        }
    }
}

void TabletopVis::drawScene(unsigned) {}

void TabletopVis::endDeferringDeletions()
{
    if (_deferDepth == 0 || --_deferDepth > 0)
        return;
    std::vector<VisComponent*> dead;
    dead.swap(_graveyard);
    for (VisComponent* c : dead)
        delete c;
    _components.compact();
    _renderList.compact();
}
