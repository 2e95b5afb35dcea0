// Which of the board's two pointers a board pointer id belongs to.
#pragma once

// The pointer index is bit 8 of the board's pointer id, so 0 or 1; it is
// the device index handed to the framework and the jump filter's slot.
constexpr unsigned pointerIndex(int boardPointerId)
{
    return (static_cast<unsigned>(boardPointerId) >> 8) & 1u;
}
