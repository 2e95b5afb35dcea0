// ComponentList: slots with holes, each member knowing its own slot.
#include "ComponentList.h"

#include "VisComponent.h"

#include <cstdint>
#include <cstring>

ComponentList::~ComponentList()
{
    for (VisComponent* c : _slots)
        if (c != nullptr)
            c->linkFor(_role) = {};
}

void ComponentList::append(VisComponent* c)
{
    if (c == nullptr)
        return;
    VisComponent::ListLink& link = c->linkFor(_role);
    if (link.list != nullptr)
        link.list->remove(c);
    link = {this, _slots.size()};
    _slots.push_back(c);
    _marks.push_back(0);
}

void ComponentList::remove(VisComponent* c)
{
    if (!contains(c))
        return;
    VisComponent::ListLink& link = c->linkFor(_role);
    _slots[link.index] = nullptr;
    _marks[link.index] = 0;
    link = {};
    ++_holes;
    // Render lists are never walked by index while members leave, so they
    // close their holes once half the slots are empty.
    if (_holes == _slots.size() || (_role == Role::Render && 2 * _holes > _slots.size()))
        compact();
}

void ComponentList::setMarked(const VisComponent* c, bool on)
{
    if (contains(c))
        _marks[c->linkFor(_role).index] = on ? 1 : 0;
}

bool ComponentList::contains(const VisComponent* c) const
{
    return c != nullptr && c->linkFor(_role).list == this;
}

void ComponentList::compact()
{
    if (_holes == 0)
        return;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < _slots.size(); ++i) {
        VisComponent* c = _slots[i];
        if (c == nullptr)
            continue;
        c->linkFor(_role).index = kept;
        _marks[kept] = _marks[i];
        _slots[kept++] = c;
    }
    _slots.resize(kept);
    _marks.resize(kept);
    _holes = 0;
}

std::size_t ComponentList::nextUnmarked(std::size_t i) const
{
    constexpr std::uint64_t AllMarked = 0x0101010101010101u;
    const std::size_t n = _marks.size();
    for (; i + 8 <= n; i += 8) {
        std::uint64_t eight = 0;
        std::memcpy(&eight, _marks.data() + i, sizeof eight);
        if (eight != AllMarked)
            break;
    }
    while (i < n && _marks[i] != 0)
        ++i;
    return i;
}
