// The canvas's shared control table (controlBuffer, a 10 x 10 float grid):
// the names of its cells, the codes written into them, and the one accessor
// that knows how a (row, column) cell is stored. GL-free.
#pragma once

#include "BufferTemplate.h"

// A cell of the table, addressed (row, column). It is stored at grid cell
// (x = column, y = row); only ControlTable::get and ControlTable::set know that.
struct ControlCell
{
    int row;
    int column;
    constexpr bool operator==(const ControlCell&) const = default;
};

// Tool action codes of cell Action; the amount of code c is cell (c, 1).
enum class ActionCode : int
{
    Size = 1,            // grow or shrink by the amount (initial code)
    Orientation = 2,     // amount: the OrientationStyle
    Color = 3,           // amount: the paint colour (3,1..3)
    CreateErase = 4,     // amount > 0 creates, < 0 erases, 0 does nothing
    Move = 5,            // amount: the MoveStyle
    Idle = 8,
    SizeDifference = 9,  // amount: size change per frame
};

// Orientation styles of the amount of ActionCode::Orientation.
enum class OrientationStyle : int
{
    Radial = 0,
    Circular = 1,
    Random = 2,
    Follow = 3,
};

// Move styles of the amount of ActionCode::Move: 0 to 2 copy the brush's
// vector fields (towards the focus, away from it, away and jittered); 3 and
// 4 follow the brush's motion.
enum class MoveStyle : int
{
    Attraction = 0,
    Repulsion = 1,
    Scatter = 2,
    Follow = 3,
    FollowAlternate = 4,
};

// Kinds of element new primitives are made of (cell ElementKind).
enum class ElementKind : int
{
    Stroke = 0,   // textured strokes wearing element image ElementImage
    Tile = 1,
    Point = 2,
};

namespace ControlCells {
inline constexpr ControlCell Action{0, 0};          // the ActionCode
inline constexpr ControlCell PressMark{0, 1};       // 1 while the palette is pressed
inline constexpr ControlCell BrushSize{0, 2};       // diameter of the create stamp, in pixels
inline constexpr ControlCell PrimitiveType{0, 3};   // only primitives of this type animate and pick
inline constexpr ControlCell HighlightType{0, 4};   // the highlighted primitive type
inline constexpr ControlCell HighlightSwitch{0, 5}; // nonzero: highlighting on
inline constexpr ControlCell PaintPickMark{0, 6};   // 1 after a paint pick, 0 after release
inline constexpr ControlCell ElementKindCell{4, 2}; // the ElementKind of new primitives
inline constexpr ControlCell ElementImage{4, 4};    // element image index of kind Stroke
inline constexpr ControlCell BrushX{6, 0};          // brush position, canvas buffer cells
inline constexpr ControlCell BrushY{6, 1};

// The amount of an action code: cell (code, 1).
constexpr ControlCell amountOf(ActionCode code) { return {static_cast<int>(code), 1}; }
inline constexpr ControlCell SizeAmount = amountOf(ActionCode::Size);
inline constexpr ControlCell OrientationStyleCell = amountOf(ActionCode::Orientation);
inline constexpr ControlCell CreateEraseAmount = amountOf(ActionCode::CreateErase);
inline constexpr ControlCell MoveStyleCell = amountOf(ActionCode::Move);
inline constexpr ControlCell SizeDifferenceAmount = amountOf(ActionCode::SizeDifference);
// The paint colour, RGB 0 to 255: the amount of ActionCode::Color and the two
// cells beside it.
inline constexpr ControlCell PaintRed = amountOf(ActionCode::Color);
inline constexpr ControlCell PaintGreen{3, 2};
inline constexpr ControlCell PaintBlue{3, 3};
} // namespace ControlCells

// Reads and writes cells of a control table; a missing table reads 0 and
// takes no write.
class ControlTable
{
public:
    static constexpr int Size = 10;   // rows and columns

    static float get(const BufferTemplate<float>* table, ControlCell cell)
    {
        return table != nullptr ? table->getValue(cell.column, cell.row) : 0.0f;
    }
    static void set(BufferTemplate<float>* table, ControlCell cell, float value)
    {
        if (table != nullptr)
            table->setValue(cell.column, cell.row, value);
    }
    static ActionCode action(const BufferTemplate<float>* table)
    {
        return static_cast<ActionCode>(static_cast<int>(get(table, ControlCells::Action)));
    }
    static void setAction(BufferTemplate<float>* table, ActionCode code)
    {
        set(table, ControlCells::Action, static_cast<float>(static_cast<int>(code)));
    }
};
