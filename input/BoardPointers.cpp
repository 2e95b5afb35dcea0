// Contacts of all touch sources onto the board's two pointers.
#include "BoardPointers.h"

std::optional<unsigned> BoardPointers::slotOf(ContactKey key) const
{
    for (unsigned i = 0; i < Count; ++i)
        if (_slots[i].holder == key)
            return i;
    return std::nullopt;
}

std::optional<int> BoardPointers::pointerId(ContactKey key) const
{
    if (const auto slot = slotOf(key))
        return idOf(*slot);
    return std::nullopt;
}

unsigned BoardPointers::heldCount() const
{
    unsigned held = 0;
    for (const Slot& slot : _slots)
        held += slot.holder.has_value() ? 1u : 0u;
    return held;
}

bool BoardPointers::press(ContactKey key, int x, int y, int width, int height)
{
    if (holds(key))
        return false;
    for (unsigned i = 0; i < Count; ++i) {
        if (_slots[i].holder)
            continue;
        _slots[i] = {key, {x, y}};
        _sink.OnDViTRawWidthHeight(width, height, idOf(i));
        _sink.OnXYDown(x, y, 0, idOf(i));
        return true;
    }
    return false;
}

bool BoardPointers::move(ContactKey key, int x, int y, int width, int height)
{
    const auto slot = slotOf(key);
    if (!slot)
        return false;
    _slots[*slot].last = {x, y};
    _sink.OnDViTRawWidthHeight(width, height, idOf(*slot));
    _sink.OnXYMove(x, y, 0, idOf(*slot));
    return true;
}

bool BoardPointers::release(ContactKey key, int x, int y)
{
    const auto slot = slotOf(key);
    if (!slot)
        return false;
    // Freed before the sink hears of it, so a sink that presses again from
    // inside the callback finds the pointer free.
    _slots[*slot] = {};
    _sink.OnXYUp(x, y, 0, idOf(*slot));
    return true;
}

bool BoardPointers::release(ContactKey key)
{
    const auto slot = slotOf(key);
    if (!slot)
        return false;
    const BoardPoint last = _slots[*slot].last;
    return release(key, last.x, last.y);
}

void BoardPointers::releaseAll(TouchSource source)
{
    for (const Slot& slot : _slots)
        if (slot.holder && (*slot.holder >> 32) == static_cast<std::uint32_t>(source))
            release(*slot.holder);
}
