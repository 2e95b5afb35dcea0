// Task line of the per-task logs.
#include "TaskHeader.h"

#include "TaskRecord.h"

#include <ostream>

namespace {

// Task-type label of the touch, Wii Remote and Nunchuk logs; nullptr when
// the type has no name.
const char* strokeTaskName(int type)
{
    switch (type) {
    case 0: return "Task: \t Create strokes \t";
    case 1: return "Task: \t  Orient strokes in a line \t";
    case 2: return "Task: \t Orient strokes circular \t";
    case 3: return "Task: \t Orient strokes in a star shape \t";
    case 5: return "Task: \t Repel strokes outward \t";
    default: return nullptr;
    }
}

// Task-type label of the primitive log.
const char* elementTaskName(int type)
{
    switch (type) {
    case 0: return "Task: \t Create Elements \t";
    case 1: return "Task: \t Orient Elements linear/follow \t";
    case 2: return "Task: \t Orient Elements circular \t";
    case 3: return "Task: \t Orient Elements radial \t";
    default: return nullptr;
    }
}

const char* primitiveTypeName(int elementsType)
{
    switch (elementsType) {
    case 0: return "Primitive Type: \t Points \t";
    case 1: return "Primitive Type: \t Tiles \t";
    case 3: return "Primitive Type: \t Strokes \t";
    default: return nullptr;
    }
}

void writeUnnamedTask(std::ostream& out, int type)
{
    out << "Task: \t" << type << "\t";
}

} // namespace

void writeTaskHeader(std::ostream& out, const TaskRecord& task, const TaskHeaderStyle& style)
{
    out << "Task Nr: \t" << task.number << "\t";
    out << "Block Nr: \t " << task.blockNumber << " \t";
    if (task.inputDevice == 0)
        out << "Input Device: \t Direct Touch + Nunchuk \t";
    else if (task.inputDevice == 1)
        out << "Input Device: \t WiiRemote + Nunchuk \t";
    out << "Starts Sequence: \t" << task.startsSequence << "\t";
    out << "Ends Sequence: \t" << task.endsSequence << "\t";

    if (const char* name = style.elementTaskNames ? elementTaskName(task.type) : strokeTaskName(task.type))
        out << name;
    else
        writeUnnamedTask(out, task.type);

    if (const char* name = primitiveTypeName(task.elementsType))
        out << name;
    else if (style.repeatTaskForOtherPrimitiveType)
        writeUnnamedTask(out, task.type);

    out << "Initial Number of Primitives: \t" << task.elementsInitNumber << "\t";
    out << style.afterInitialNumber;
    out << "Target Area Start X: \t" << task.targetStartX[0] << "\t";
    out << "Target Area Start Y: \t" << task.targetStartY[0] << "\t";
    out << "Target Area End X: \t" << task.targetEndX[0] << "\t";
    out << "Target Area End Y: \t" << task.targetEndY[0] << "\t";
    out << "Target Area Diameter: \t" << task.targetDiameter[0] << "\t";
    out << "\n\n";
}
