// ToolBrushLeafGL: the brush component.
#include "ToolBrushLeafGL.h"

ToolBrushLeafGL::ToolBrushLeafGL(TabletopVis* scene, double x, double y, double width, double height, int typeId,
                                 int owner)
    : VisComponentGL(scene, x, y, false, false, width, height, 0.0)
    , _typeId(typeId)
    , _owner(owner)
{
    setPickable(false);
}
