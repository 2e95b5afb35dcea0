// VisComponent: active buffers (owned, by tag) and passive buffers (borrowed,
// by tag, linked from the parent's active buffers).
#include "VisComponent.h"

#include <bit>

namespace {

std::uint32_t tagBit(int tag)
{
    return 1u << (tag - 1);
}

} // namespace

// ---- Active buffers ----

AbstractBuffer* VisComponent::getActiveBuffer(int tag) const
{
    return validTag(tag) && _active ? (*_active)[static_cast<std::size_t>(tag)].get() : nullptr;
}

void VisComponent::setActiveBuffer(int tag, std::unique_ptr<AbstractBuffer> buffer)
{
    if (!validTag(tag))
        return;
    if (!_active) {
        if (!buffer)
            return;
        _active = std::make_unique<ActiveBuffers>();
    }
    std::unique_ptr<AbstractBuffer>& slot = (*_active)[static_cast<std::size_t>(tag)];
    std::unique_ptr<AbstractBuffer> old = std::move(slot);
    slot = std::move(buffer);
    if (old)
        relinkChildren(tag, old.get(), slot.get());
}

void VisComponent::setActiveBuffer(int tag, AbstractBuffer* buffer)
{
    setActiveBuffer(tag, std::unique_ptr<AbstractBuffer>(buffer));
}

void VisComponent::removeActiveBuffers()
{
    if (!_active)
        return;
    const std::unique_ptr<ActiveBuffers> old = std::move(_active);
    unlinkChildrenFrom(*old);
}

// ---- Passive buffers ----

std::size_t VisComponent::passiveIndex(int tag) const
{
    return static_cast<std::size_t>(std::popcount(_passiveWanted & (tagBit(tag) - 1u)));
}

AbstractBuffer* VisComponent::getPassiveBuffer(int tag) const
{
    return wantsPassive(tag) ? _passive[passiveIndex(tag)] : nullptr;
}

void VisComponent::registerPassiveBuffer(int tag)
{
    if (!validTag(tag) || wantsPassive(tag))
        return;
    const auto count = static_cast<std::size_t>(std::popcount(_passiveWanted));
    const std::size_t at = passiveIndex(tag);
    auto grown = std::make_unique<AbstractBuffer*[]>(count + 1);
    for (std::size_t i = 0; i < count; ++i)
        grown[i < at ? i : i + 1] = _passive[i];
    grown[at] = _parent != nullptr ? _parent->getActiveBuffer(tag) : nullptr;
    _passive = std::move(grown);
    _passiveWanted |= tagBit(tag);
}

void VisComponent::setPassiveBuffer(int tag, AbstractBuffer* buffer)
{
    if (!validTag(tag))
        return;
    registerPassiveBuffer(tag);
    _passive[passiveIndex(tag)] = buffer;
}

void VisComponent::dropPassiveLinks()
{
    const auto count = static_cast<std::size_t>(std::popcount(_passiveWanted));
    for (std::size_t i = 0; i < count; ++i)
        _passive[i] = nullptr;
}

void VisComponent::connectBuffers(VisComponent* child)
{
    if (child == nullptr)
        return;
    std::size_t i = 0;
    for (int tag = 1; tag <= MaxBufferTag; ++tag)
        if (child->wantsPassive(tag))
            child->_passive[i++] = getActiveBuffer(tag);
}

void VisComponent::disconnectBuffers(VisComponent* child)
{
    if (child != nullptr)
        child->dropPassiveLinks();
}

void VisComponent::relinkChildren(int tag, const AbstractBuffer* old, AbstractBuffer* replacement)
{
    for (auto& entry : getChildren()) {
        VisComponent* child = entry.second;
        if (child->wantsPassive(tag)) {
            AbstractBuffer*& link = child->_passive[child->passiveIndex(tag)];
            if (link == old)
                link = replacement;
        }
    }
}

void VisComponent::unlinkChildrenFrom(const ActiveBuffers& buffers)
{
    for (auto& entry : getChildren()) {
        VisComponent* child = entry.second;
        std::size_t i = 0;
        for (int tag = 1; tag <= MaxBufferTag; ++tag) {
            if (!child->wantsPassive(tag))
                continue;
            AbstractBuffer*& link = child->_passive[i++];
            if (link != nullptr && link == buffers[static_cast<std::size_t>(tag)].get())
                link = nullptr;
        }
    }
}
