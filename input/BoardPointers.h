// The board's two pointers, shared by every touch source: each live contact
// of a source holds one pointer from its down to its up.
#pragma once

#include "TouchJumpFilter.h"
#include "TouchSink.h"

#include <array>
#include <cstdint>
#include <optional>

// A contact as its source names it: the source in the high 32 bits, the
// source's own contact number in the low 32, so sources never collide.
using ContactKey = std::uint64_t;

enum class TouchSource : std::uint32_t { QtTouch = 1, TuioCursor = 2, TuioBlob = 3, LogReplay = 4 };

constexpr ContactKey contactKey(TouchSource source, std::uint32_t contact)
{
    return (static_cast<ContactKey>(source) << 32) | contact;
}

// Reports contacts to the sink as board pointers 0 and 1 (pointer ids 0 and
// 256). A contact that arrives while both pointers are held is refused; its
// source may try again with a later report.
class BoardPointers
{
public:
    static constexpr unsigned Count = 2;

    // `sink` is not owned and must outlive this object.
    explicit BoardPointers(TouchSink& sink) : _sink(sink) {}

    // A new contact at board (x, y) with its size: takes a free pointer and
    // reports the size, then the down. False, with nothing reported, when
    // the key already holds a pointer or none is free.
    bool press(ContactKey key, int x, int y, int width, int height);
    // Reports the size, then the move, of a held contact. False when the
    // key holds no pointer.
    bool move(ContactKey key, int x, int y, int width, int height);
    // Reports the up at (x, y) and frees the pointer.
    bool release(ContactKey key, int x, int y);
    // The same at the contact's last reported position.
    bool release(ContactKey key);
    // Releases every contact of one source (a cancelled touch sequence, a
    // replay that stops).
    void releaseAll(TouchSource source);

    bool holds(ContactKey key) const { return slotOf(key).has_value(); }
    // Pointer id (index in bit 8) held by the key.
    std::optional<int> pointerId(ContactKey key) const;
    unsigned heldCount() const;

private:
    struct Slot
    {
        std::optional<ContactKey> holder;
        BoardPoint last;
    };

    std::optional<unsigned> slotOf(ContactKey key) const;
    static int idOf(unsigned slot) { return static_cast<int>(slot << 8); }

    TouchSink& _sink;
    std::array<Slot, Count> _slots{};
};
