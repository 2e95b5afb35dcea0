// What task mode draws over the canvas: the target areas of each task set
// up, and the line of text at the bottom of the screen.
#pragma once

#include "GLDisplayList.h"

#include <map>
#include <string>

class FTFont;
struct TaskRecord;

// Owns one range of display lists per task index; GL calls need the
// surface's context current. Empty (and context-free) until a target is built.
class TaskOverlayGL
{
public:
    // Compiles each of the record's target areas (pixels, origin bottom left)
    // into a display list, replacing the lists of task index: a spot (start
    // = end) is a filled circle with an orange rim, a horizontal or vertical
    // segment a capsule of the area's diameter around it; a slanted segment
    // draws nothing.
    void buildTaskTarget(int index, const TaskRecord& record);
    // Calls the target lists of task index; nothing when none were built.
    void drawTarget(int index) const;
    // Draws text at y = 50, centred on the window by the estimate
    // width / 2 - trunc(length * pixelSize * 0.25). Nothing without a font.
    static void drawText(FTFont* font, const std::string& text, int windowWidth, int pixelSize);
    // Frees every list (context current); idempotent.
    void release() { _targets.clear(); }

    int builtTasks() const { return static_cast<int>(_targets.size()); }

private:
    std::map<int, GLDisplayList> _targets;
};
