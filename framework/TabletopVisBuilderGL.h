// TabletopVisBuilderGL: the builder whose scenes are TabletopVisGL (drawn
// when built with a current GL context, headless otherwise).
#pragma once

#include "TabletopVisBuilder.h"

class TabletopVisBuilderGL : public TabletopVisBuilder
{
protected:
    TabletopVis* makeVis(unsigned users, unsigned bufferWidth, unsigned bufferHeight, unsigned screenWidth,
                         unsigned screenHeight) override;
};
