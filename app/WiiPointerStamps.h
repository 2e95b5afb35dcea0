// Create and erase stamps of a tool brush along the Wii pointer's path.
#pragma once

class CanvasCompositeGL;
class ToolBrushLeafGL;

namespace WiiPointerStamps {

// Spacing of the stamps along the path, in pixels.
inline constexpr double Spacing = 10.0;

// Stamps every Spacing pixels from (x0, y0) to (x1, y1) in device pixels:
// once at (x1, y1) when the points coincide, never again at (x0, y0), which
// the previous path ended on. Returns the primitives created.
int createAlong(ToolBrushLeafGL& brush, double x0, double y0, double x1, double y1, int amount);
// The erase stroke: erase marks of strength amount (> 0) along the path;
// the canvas clears them after one frame.
void eraseAlong(ToolBrushLeafGL& brush, CanvasCompositeGL* canvas, double x0, double y0, double x1, double y1,
                float amount);

} // namespace WiiPointerStamps
