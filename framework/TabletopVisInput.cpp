// TabletopVis: picking, device contacts per user, Wii reports, contact sizes
// and touch indicators. Handlers change state; the frame draws.
#include "TabletopVis.h"

#include "VisComponent.h"

namespace {

// Front to back: a composite's own children before the composite itself.
VisComponent* pickIn(const ComponentList& list, double x, double y)
{
    for (std::size_t i = list.slotCount(); i-- > 0;) {
        VisComponent* c = list[i];
        if (c == nullptr || !c->isActiveForRendering())
            continue;
        if (const ComponentList* local = c->getLocalRenderList(); local && c->compositeManagesLocalRenderList())
            if (VisComponent* hit = pickIn(*local, x, y))
                return hit;
        double lx = 0.0;
        double ly = 0.0;
        if (c->isPickable() && c->getLocalCoordinates(x, y, lx, ly) && c->containsLocalPoint(lx, ly))
            return c;
    }
    return nullptr;
}

} // namespace

const TabletopVis::UserState* TabletopVis::userState(int user) const
{
    return user >= 0 && static_cast<std::size_t>(user) < _userStates.size() ? &_userStates[static_cast<std::size_t>(user)]
                                                                            : nullptr;
}

TabletopVis::UserState* TabletopVis::userState(int user)
{
    return const_cast<UserState*>(static_cast<const TabletopVis*>(this)->userState(user));
}

VisComponent* TabletopVis::pickComponent(double x, double y) const
{
    return pickIn(_renderList, x, y);
}

void TabletopVis::deliverContact(VisComponent* component, const UserState& state, int device)
{
    component->hitLocalBuffer(state.x, state.y, state.boundWidth, state.boundHeight, device);
}

void TabletopVis::devicePress(int x, int y, int value, int device)
{
    UserState* state = userState(device);
    if (state == nullptr)
        return;
    *state = {pickComponent(x, y), x, y, value, true, state->boundWidth, state->boundHeight,
              state->indicatorWidth, state->indicatorHeight};
    VisComponent* hit = state->last;
    if (hit == nullptr)
        return;
    if (!hit->hasStaticRenderOrder())
        moveComponentToRenderFront(hit);
    deliverContact(hit, *state, device);
}

TabletopVis::UserState* TabletopVis::updateUser(int x, int y, int value, int device)
{
    UserState* state = userState(device);
    if (state != nullptr) {
        state->x = x;
        state->y = y;
        state->value = value;
    }
    return state;
}

void TabletopVis::deviceMove(int x, int y, int value, int device)
{
    UserState* state = updateUser(x, y, value, device);
    if (state == nullptr)
        return;
    // Pointing without a contact (hover, joystick) finds its component; a
    // contact that started on nothing stays on nothing.
    if (state->last == nullptr && !state->down)
        state->last = pickComponent(x, y);
    if (state->last != nullptr)
        deliverContact(state->last, *state, device);
}

void TabletopVis::deviceRelease(int x, int y, int value, int device)
{
    UserState* state = updateUser(x, y, value, device);
    if (state == nullptr)
        return;
    state->down = false;
    if (state->last != nullptr)
        state->last->releaseLocalBuffer(x, y, device);
}

void TabletopVis::setLastComponent(int user, VisComponent* component)
{
    if (UserState* state = userState(user))
        state->last = component;
}

VisComponent* TabletopVis::getLastComponent(int user) const
{
    const UserState* state = userState(user);
    return state != nullptr ? state->last : nullptr;
}

bool TabletopVis::isContactDown(int user) const
{
    const UserState* state = userState(user);
    return state != nullptr && state->down;
}

int TabletopVis::getContactValue(int user) const
{
    const UserState* state = userState(user);
    return state != nullptr ? state->value : 0;
}

void TabletopVis::wiimoteEvent(unsigned, const std::vector<int>& pressed, const WiiCommunicationData& record)
{
    // Handlers may reorder the render list: deliver to a snapshot.
    std::vector<VisComponent*> targets;
    for (std::size_t i = _renderList.slotCount(); i-- > 0;)
        if (VisComponent* c = _renderList[i]; c != nullptr && c->isActiveForRendering())
            targets.push_back(c);
    beginDeferringDeletions();
    for (VisComponent* c : targets)
        if (_components.contains(c))
            c->wiimoteEvent(pressed, record);
    endDeferringDeletions();
}

// ---- Contact sizes and indicators ----

double TabletopVis::userField(int user, double UserState::*field) const
{
    const UserState* state = userState(user);
    return state != nullptr ? state->*field : 0.0;
}

void TabletopVis::setUserField(int user, double UserState::*field, double value)
{
    if (UserState* state = userState(user))
        state->*field = value;
}

void TabletopVis::setTouchBoundWidth(int user, double width) { setUserField(user, &UserState::boundWidth, width); }
void TabletopVis::setTouchBoundHeight(int user, double height) { setUserField(user, &UserState::boundHeight, height); }
double TabletopVis::getTouchBoundWidth(int user) const { return userField(user, &UserState::boundWidth); }
double TabletopVis::getTouchBoundHeight(int user) const { return userField(user, &UserState::boundHeight); }

void TabletopVis::resizeTouchIndicator(int user, double width, double height)
{
    setUserField(user, &UserState::indicatorWidth, width);
    setUserField(user, &UserState::indicatorHeight, height);
}

double TabletopVis::getTouchIndicatorWidth(int user) const { return userField(user, &UserState::indicatorWidth); }
double TabletopVis::getTouchIndicatorHeight(int user) const { return userField(user, &UserState::indicatorHeight); }
