// ComponentList: an ordered list of components with O(1) removal, used for
// the scene's ownership list, its render list and composites' local lists.
#pragma once

#include <cstddef>
#include <vector>

class VisComponent;

// Removal leaves a hole (a null slot) so that a loop walking the slots by
// index is never disturbed; compact() closes the holes and keeps the order.
// Each component knows its slot in at most one list of each role, so removal
// and membership tests need no search.
//
// Walk it as: for (i = 0; i < list.slotCount(); ++i) if (auto* c = list[i]) ...
// Appending during such a walk is safe (the loop reads slotCount() each turn);
// compacting is not. The ownership list is compacted only by the scene,
// between frames; a render list compacts itself when half its slots are
// holes (nothing removes members while a render list is being walked).
class ComponentList
{
public:
    // Ownership: the scene's list of all its components, in creation order.
    // Render: a drawing order, back first; the last slot is the front.
    enum class Role { Ownership, Render };

    explicit ComponentList(Role role) : _role(role) {}
    ~ComponentList();   // members are forgotten, not deleted

    ComponentList(const ComponentList&) = delete;
    ComponentList& operator=(const ComponentList&) = delete;

    // Appends c at the end (the front of a render list). A component already
    // in another list of the same role is taken out of it first.
    void append(VisComponent* c);
    // Takes c out; nothing when c is not in this list.
    void remove(VisComponent* c);
    bool contains(const VisComponent* c) const;

    std::size_t slotCount() const { return _slots.size(); }
    VisComponent* operator[](std::size_t i) const { return _slots[i]; }   // null for a hole
    std::size_t size() const { return _slots.size() - _holes; }
    bool hasHoles() const { return _holes != 0; }

    // Closes the holes, keeping the order; invalidates slot indices.
    void compact();

    // One mark per member, kept through compaction, read by slot without
    // touching the member (the scene skips marked members in its frame
    // passes). Nothing for a component not in this list.
    void setMarked(const VisComponent* c, bool on);
    bool isMarked(std::size_t i) const { return _marks[i] != 0; }
    // The first slot from i on that is not marked (a hole is not), or
    // slotCount(); long runs of marked members pass eight at a time.
    std::size_t nextUnmarked(std::size_t i) const;

private:
    Role _role;
    std::vector<VisComponent*> _slots;
    std::vector<unsigned char> _marks;   // per slot
    std::size_t _holes = 0;
};
