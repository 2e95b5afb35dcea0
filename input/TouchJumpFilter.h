// Holds back board moves that jump implausibly far from the last accepted
// position of the same pointer.
#pragma once

#include <array>

// A position in board coordinates.
struct BoardPoint
{
    int x = 0;
    int y = 0;

    friend bool operator==(const BoardPoint&, const BoardPoint&) = default;
};

// One last accepted position per pointer index (0 or 1, see pointerIndex);
// both start at (0, 0). Indices are taken modulo 2.
class TouchJumpFilter
{
public:
    // Largest accepted squared step: 200 board units.
    static constexpr long long MaxStepSquared = 40000;

    // A press starts the pointer's track at (x, y) without filtering.
    void press(unsigned index, int x, int y);

    // Returns where a move to (x, y) is reported: (x, y) itself when it lies
    // within 200 units of the last accepted position, which it then becomes;
    // otherwise the last accepted position, which stays.
    BoardPoint move(unsigned index, int x, int y);

    BoardPoint lastAccepted(unsigned index) const { return _last[index & 1u]; }

private:
    std::array<BoardPoint, 2> _last{};
};
