// AbstractImageGL: the base of pictures with their own drawing: a picking
// hook, an image hook and interaction hints over the picture.
#pragma once

#include "BasicImageGL.h"

class AbstractImageGL : public BasicImageGL
{
public:
    // No texture yet (setTextureID); moves and turns by touch, no tossing.
    AbstractImageGL(TabletopVis* scene, double x, double y, double width, double height, double angle = 0.0);

    // renderImage, then renderInteractionHints.
    void specificRender() override;
    // renderPicking.
    void specificRenderForPicking() override;

    // ---- Own virtual operations ----
    // The picture's rectangle, in the current colour.
    virtual void renderPicking();
    // The picture; renderBasic here.
    virtual void renderImage();
    // While grabbed: an outline in the scene's highlight colour and the
    // resize corner (the bottom-right eighth).
    virtual void renderInteractionHints();
};
