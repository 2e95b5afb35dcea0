// Numbers under which components publish and find their property buffers.
// Canvas buffers are shared with its children; the others are a component's own.
#pragma once

enum BUFFERTAG : int {
    SPEED_BUFFER = 1,                 // int: per-cell speed; points take it as their dab shape index
    SIZE_BUFFER = 2,                  // float: target primitive size
    SIZE_ABS_DIFF_BUFFER = 4,         // float: size change requested by a brush
    DIRECTION_BUFFER = 5,             // 2 floats: movement vector per cell
    TEMP_DIRECTION_BUFFER = 6,        // 2 floats: brush working copy of the movement vectors
    ORIENTATION_BUFFER = 7,           // 2 floats: kept orientation vector per cell
    TEMP_ORIENTATION_BUFFER = 8,      // 2 floats: orientations primitives turn towards
    GRADIENT_ORIENTATION_BUFFER = 9,  // 2 floats: (angle in degrees, validity) of the distance field
    COLOR_BUFFER = 10,                // 3 bytes: RGB colour per cell (palette: its mixing-area paint map)
    TEMP_COLOR_BUFFER = 11,           // 3 bytes: brush working colour
    PRIM_COLOR_BUFFER = 12,           // primitive colour: named by a dump entry, never created
    ERASE_BUFFER = 13,                // float: nonzero where primitives erase themselves
    DODGING_BUFFER = 14,              // 2 floats: tile centres, cleared every frame
    HIT_BUFFER = 15,                  // unsigned: a component's region-id map used for picking
    SLOWDOWN_BUFFER = 17,             // float: tossing speed factor, ramped to 0 at the border
    CONTROL_BUFFER = 18,              // float, 10 x 10: the shared control table
    DROPOFF_BUFFER = 19,              // float: a brush's drop-off weights
    STAMP_MASK_BUFFER = 20,           // float: a brush's stamp mask for erasing
    MOVE_FIELD_0_BUFFER = 21,         // 2 floats: a brush's vector field of move style 0
    MOVE_FIELD_1_BUFFER = 22,         // 2 floats: a brush's vector field of move style 1
    MOVE_FIELD_2_BUFFER = 23,         // 2 floats: a brush's vector field of move style 2 (jittered)
    SELECTION_BUFFER = 25,            // bool: cells selected by a brush
    CONTEXT_SELECTION_BUFFER = 26,    // bool: selection shared with the context menu
    DEPTH_BUFFER = 27,                // double: distance field of the feature curve
    GRADIENT_BUFFER = 28,             // 2 doubles: central differences of the depth buffer
    TARGET_AREA_BUFFER = 29,          // bool: cells inside the current task's target area
    ITEM_INDEX_BUFFER = 30,           // unsigned: stroke menu grid item index per cell
    STROKE_MASK_BUFFER = 32,          // bool: strokes draw themselves where true
};
