// TabletopVisGL: the scene drawn with OpenGL 1.x — render order, picking
// view, touch indicators and the renderer's 2-D state.
#pragma once

#include "TabletopVis.h"

// Constructed while a GL context is current, the scene draws and makes GL
// textures and fonts; constructed without one it is headless and behaves as
// TabletopVis (logic tests use that). Destroy a GL scene with its context
// current: components free their display lists, the libraries their
// textures and fonts.
class TabletopVisGL : public TabletopVis
{
public:
    TabletopVisGL(unsigned users, unsigned bufferWidth, unsigned bufferHeight, unsigned screenWidth,
                  unsigned screenHeight);

    // Blending with source alpha, no depth test, no lighting, smooth shading,
    // normalised normals, modulated textures; fastest hints with hardware
    // optimisation. Light set-up is left to the visualization. Headless: nothing.
    void initializeRenderer() override;

    // Whether a GL context is current in this thread.
    static bool hasCurrentContext();

protected:
    // The render list back to front (or the picking view), then the touch
    // indicators of the first `users` users. Does not clear the frame buffer.
    void drawScene(unsigned users) override;
    virtual void drawTouchIndicators(unsigned users);
    // Flat id colours of every active component, composites' children included.
    virtual void drawPickingView(const ComponentList& list);
};
