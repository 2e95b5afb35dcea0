// TabletopVisBuilderGL: makes GL scenes.
#include "TabletopVisBuilderGL.h"

#include "TabletopVisGL.h"

TabletopVis* TabletopVisBuilderGL::makeVis(unsigned users, unsigned bufferWidth, unsigned bufferHeight,
                                           unsigned screenWidth, unsigned screenHeight)
{
    return new TabletopVisGL(users, bufferWidth, bufferHeight, screenWidth, screenHeight);
}
