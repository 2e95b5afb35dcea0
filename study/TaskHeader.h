// The task line that opens each per-task log, with the few items in which
// the touch, Wii Remote, Nunchuk and primitive logs differ.
#pragma once

#include <iosfwd>
#include <string>

struct TaskRecord;

struct TaskHeaderStyle
{
    // The primitive log names task types by what happens to the elements;
    // the input logs by what happens to the strokes.
    bool elementTaskNames = false;
    // For a primitive type other than 0, 1 or 3: write the task type again
    // ("Task: \t" type "\t") rather than nothing.
    bool repeatTaskForOtherPrimitiveType = true;
    // Items written right after the initial number of primitives, already
    // formatted (the primitive log's counts); usually empty.
    std::string afterInitialNumber;
};

// Writes the task's items on one line, each label followed by its value and
// a tab, then an empty line.
void writeTaskHeader(std::ostream& out, const TaskRecord& task, const TaskHeaderStyle& style);
