// ToolBrushLeafGL: the invisible brush through which painting actions reach
// the canvas buffers. The canvas owns one per user as a child.
#pragma once

#include "VisComponentGL.h"

// This first version is the component only: it takes no contacts (picking
// looks past it to the canvas) and stamps nothing yet.
class ToolBrushLeafGL : public VisComponentGL
{
public:
    // Centre (x, y) and size in device pixels; typeId is the brush type,
    // owner the user the brush belongs to.
    ToolBrushLeafGL(TabletopVis* scene, double x, double y, double width, double height, int typeId, int owner);

    int getTypeId() const { return _typeId; }
    int getOwner() const { return _owner; }

private:
    int _typeId;
    int _owner;
};
