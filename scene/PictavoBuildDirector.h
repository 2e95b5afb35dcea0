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
    // no scene: textures, fonts, canvases, stroke build canvases, context,
    // corner and stroke menus, then the demo's primitives and the palettes.
    void constructFirstDemo(PictavoBuilderGL& builder);
    void constructMosaicDemo(PictavoBuilderGL& builder);
    void constructPointillismDemo(PictavoBuilderGL& builder);
    void constructGeoStrokeDemo(PictavoBuilderGL& builder);

protected:
    // One builder call per configured entry, in document order.
    void constructTextures(PictavoBuilderGL& builder);
    void constructFonts(PictavoBuilderGL& builder);
    void constructCanvases(PictavoBuilderGL& builder);
    void constructBuildCanvases(PictavoBuilderGL& builder);
    void constructContextMenus(PictavoBuilderGL& builder);
    void constructCornerMenus(PictavoBuilderGL& builder);
    void constructStrokeMenus(PictavoBuilderGL& builder);
    void constructStrokes(PictavoBuilderGL& builder);
    void constructTiles(PictavoBuilderGL& builder);
    void constructPoints(PictavoBuilderGL& builder);
    void constructGeoStrokes(PictavoBuilderGL& builder);
    void constructPalettes(PictavoBuilderGL& builder);

    VelkConfiguration* _config;

private:
    void constructDemo(PictavoBuilderGL& builder, void (PictavoBuildDirector::*primitives)(PictavoBuilderGL&));
};
