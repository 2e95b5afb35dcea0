// ToolBrushLeafGL: the brush component.
#include "ToolBrushLeafGL.h"

#include "epsLens.h"
#include "epsLensSurround.h"

ToolBrushLeafGL::ToolBrushLeafGL(TabletopVis* scene, double x, double y, double width, double height, int typeId,
                                 int owner)
    : VisComponentGL(scene, x, y, false, false, width, height, 0.0)
    , _typeId(typeId)
    , _owner(owner)
{
    setPickable(false);
}

ToolBrushLeafGL::~ToolBrushLeafGL() = default;

void ToolBrushLeafGL::setSize(double width, double height) { VisComponentGL::setSize(width, height); }
void ToolBrushLeafGL::renderIntoBuffers() {}
void ToolBrushLeafGL::renderInActiveBuffers() {}
void ToolBrushLeafGL::createActiveBuffers() {}
void ToolBrushLeafGL::initializePassiveBuffers() {}
void ToolBrushLeafGL::specificRender() {}
void ToolBrushLeafGL::animateMyself(double) {}
void ToolBrushLeafGL::clearErase() {}
void ToolBrushLeafGL::clearDirection() {}
void ToolBrushLeafGL::clearSizeDifference() {}
void ToolBrushLeafGL::clearTemporaryColor() {}
void ToolBrushLeafGL::clearSelection() {}
void ToolBrushLeafGL::clearDropoff() {}
void ToolBrushLeafGL::clearGradientOrientation() {}
void ToolBrushLeafGL::clearTemporaryOrientation() {}
void ToolBrushLeafGL::writeOrientation(int, int, int, int, int, bool) {}
void ToolBrushLeafGL::writeSizeDifference(int, int, float, bool) {}
void ToolBrushLeafGL::moveTo(double x, double y) { setPos(x, y); }
void ToolBrushLeafGL::show() { activateForRendering(); }
void ToolBrushLeafGL::hide() { deactivateForRendering(); }
void ToolBrushLeafGL::setSize(double size, bool) { setSize(size, size); }
void ToolBrushLeafGL::setHint(int hint) { _hint = hint; }
void ToolBrushLeafGL::adjust(double) {}
void ToolBrushLeafGL::endAdjust() {}
void ToolBrushLeafGL::notifyPress() {}
void ToolBrushLeafGL::notifyRelease() {}
void ToolBrushLeafGL::setRingMenu(const std::vector<unsigned>&, double, double, double) {}
int ToolBrushLeafGL::stampCreate(int, double, double) { return 0; }
void ToolBrushLeafGL::stampErase(float, double, double) {}
