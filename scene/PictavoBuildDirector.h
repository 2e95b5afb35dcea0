// The director: knows which parts each demo scene consists of and has the
// builder make them from the configuration, in order.
#pragma once

#include "VisualizationBuildDirector.h"

class PictavoBuilderGL;
class VelkConfiguration;

class PictavoBuildDirector : public VisualizationBuildDirector
{
public:
    // `config` is not owned and must outlive the director.
    explicit PictavoBuildDirector(VelkConfiguration* config) : _config(config) {}

    // Each fills the builder's scene and does nothing while the builder has
    // no scene. Parts whose components the program does not have yet are
    // skipped: today a demo is its textures and fonts.
    void constructFirstDemo(PictavoBuilderGL& builder);
    void constructMosaicDemo(PictavoBuilderGL& builder);
    void constructPointillismDemo(PictavoBuilderGL& builder);
    void constructGeoStrokeDemo(PictavoBuilderGL& builder);

protected:
    // One builder call per configured entry, in document order.
    void constructTextures(PictavoBuilderGL& builder);
    void constructFonts(PictavoBuilderGL& builder);

    VelkConfiguration* _config;
};
