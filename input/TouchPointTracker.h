// Touch-screen points (as a windowing system reports them) to board contacts.
#pragma once

#include "BoardGeometry.h"
#include "BoardPointers.h"

#include <cstdint>
#include <vector>

// One point of a touch event, in the surface's logical pixels with the
// origin at the top left; width and height are the contact's diameters,
// 0 when the screen reports none.
struct TouchPoint
{
    enum class Phase { Pressed, Moved, Stationary, Released };

    std::uint32_t id = 0;
    Phase phase = Phase::Pressed;
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
};

// A point that is pressed takes a board pointer, moves move it, and its
// release frees it. Points that found no free pointer are ignored until
// they are released. Positions and sizes go to board units through the
// surface geometry, so postures work from a screen that reports sizes.
class TouchPointTracker
{
public:
    // `pointers` and `geometry` are not owned and must outlive the tracker.
    TouchPointTracker(BoardPointers& pointers, const BoardGeometry& geometry)
        : _pointers(pointers)
        , _geometry(geometry)
    {
    }

    // The points of one touch event.
    void update(const std::vector<TouchPoint>& points);
    // The touch sequence was cancelled: every contact ends where it was.
    void cancel() { _pointers.releaseAll(TouchSource::QtTouch); }

private:
    BoardPointers& _pointers;
    const BoardGeometry& _geometry;
};
