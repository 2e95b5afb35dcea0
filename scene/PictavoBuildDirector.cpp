// The director: knows which parts each demo scene consists of and has the
// builder make them from the configuration, in order.
#include "PictavoBuildDirector.h"

#include "PictavoBuilderGL.h"
#include "VelkConfiguration.h"

#include <algorithm>

void PictavoBuildDirector::constructFirstDemo(PictavoBuilderGL& builder)
{
    constructDemo(builder, &PictavoBuildDirector::constructStrokes);
}

void PictavoBuildDirector::constructMosaicDemo(PictavoBuilderGL& builder)
{
    if (!builder.getVis())
        return;
    constructTextures(builder);
    constructFonts(builder);
    constructCanvases(builder);
    constructBuildCanvases(builder);
    constructContextMenus(builder);
    constructCornerMenus(builder);
    constructStrokeMenus(builder);
    constructTiles(builder);
    constructPalettes(builder);
    // The mosaic loads its fonts once more at the end; fonts already loaded
    // are kept, so this only matters for entries added in between.
    constructFonts(builder);
}

void PictavoBuildDirector::constructPointillismDemo(PictavoBuilderGL& builder)
{
    constructDemo(builder, &PictavoBuildDirector::constructPoints);
}

void PictavoBuildDirector::constructGeoStrokeDemo(PictavoBuilderGL& builder)
{
    constructDemo(builder, &PictavoBuildDirector::constructGeoStrokes);
}

void PictavoBuildDirector::constructDemo(PictavoBuilderGL& builder,
                                         void (PictavoBuildDirector::*primitives)(PictavoBuilderGL&))
{
    if (!builder.getVis())
        return;
    constructTextures(builder);
    constructFonts(builder);
    constructCanvases(builder);
    constructBuildCanvases(builder);
    constructContextMenus(builder);
    constructCornerMenus(builder);
    constructStrokeMenus(builder);
    (this->*primitives)(builder);
    constructPalettes(builder);
}

void PictavoBuildDirector::constructTextures(PictavoBuilderGL& builder)
{
    for (std::size_t i = 0; i < _config->_texturesNumber.size(); ++i)
        builder.buildTextures(_config->_texturesNumber[i], _config->_texturesSource[i]);
}

void PictavoBuildDirector::constructFonts(PictavoBuilderGL& builder)
{
    for (std::size_t i = 0; i < _config->_fontFile.size(); ++i)
        builder.buildFont(_config->_fontFile[i], _config->_fontSize[i]);
}

void PictavoBuildDirector::constructCanvases(PictavoBuilderGL& builder)
{
    const int smallerSide = static_cast<int>(std::min(_config->_mainwindowWidth, _config->_mainwindowHeight));
    for (std::size_t i = 0; i < _config->_canvasSurfaceBorder.size(); ++i)
        builder.buildCanvas(_config->_canvasSurfaceBorder[i], _config->_canvasSurfaceOverflow[i],
                            _config->_canvasSurfaceTexture[i], _config->_canvasSurfaceNumberOfToolbrushes[i],
                            smallerSide, static_cast<float>(_config->_canvasSurfaceInitialStrokeWidth[i]),
                            static_cast<int>(_config->_startupDemoType));
}

void PictavoBuildDirector::constructBuildCanvases(PictavoBuilderGL& builder)
{
    for (std::size_t i = 0; i < _config->_geostrokesBuildCanvasSurfaceBorder.size(); ++i)
        builder.buildStrokeBuildCanvas(_config->_geostrokesBuildCanvasSurfaceBorder[i],
                                       _config->_geostrokesBuildCanvasSurfaceOverflow[i]);
}

void PictavoBuildDirector::constructStrokeMenus(PictavoBuilderGL& builder)
{
    const auto& c = *_config;
    for (std::size_t i = 0; i < c._strokemenuWidth.size(); ++i)
        builder.buildStrokeMenu(c._strokemenuWidth[i], c._strokemenuHeight[i], c._strokemenuXpos[i],
                                c._strokemenuYpos[i], c._strokemenuOpacity[i], c._strokemenuRnt[i],
                                c._strokemenuTossing[i],
                                i < c._strokemenuTextures.size() ? c._strokemenuTextures[i]
                                                                 : std::vector<std::string>{});
}

void PictavoBuildDirector::constructContextMenus(PictavoBuilderGL& builder)
{
    const VelkConfiguration& c = *_config;
    for (std::size_t i = 0; i < c._contextmenuWidth.size(); ++i)
        builder.buildContextMenu(c._contextmenuWidth[i], c._contextmenuHeight[i], c._contextmenuXpos[i],
                                 c._contextmenuYpos[i], c._contextmenuOpacity[i], c._contextmenuRnt[i],
                                 c._contextmenuTossing[i], c._contextmenuTextures[i]);
}

void PictavoBuildDirector::constructCornerMenus(PictavoBuilderGL& builder)
{
    const VelkConfiguration& c = *_config;
    for (std::size_t i = 0; i < c._cornermenuWidth.size(); ++i)
        builder.buildCornerMenu(c._cornermenuWidth[i], c._cornermenuHeight[i], c._cornermenuXpos[i],
                                c._cornermenuYpos[i], c._cornermenuOpacity[i], c._cornermenuRnt[i],
                                c._cornermenuTossing[i], c._cornermenuTextures[i]);
}

void PictavoBuildDirector::constructStrokes(PictavoBuilderGL& builder)
{
    for (std::size_t i = 0; i < _config->_strokesNumber.size(); ++i)
        builder.buildStrokes(_config->_strokesWidth[i], _config->_strokesHeight[i], _config->_strokesNumber[i],
                             _config->_strokesDoBumpMapping[i]);
}

void PictavoBuildDirector::constructTiles(PictavoBuilderGL& builder)
{
    for (std::size_t i = 0; i < _config->_tilesNumber.size(); ++i)
        builder.buildTiles(_config->_tilesWidth[i], _config->_tilesHeight[i], _config->_tilesNumber[i],
                           _config->_tilesDoDodging[i]);
}

void PictavoBuildDirector::constructPoints(PictavoBuilderGL& builder)
{
    for (std::size_t i = 0; i < _config->_pointsNumber.size(); ++i)
        builder.buildPoints(_config->_pointsWidth[i], _config->_pointsHeight[i], _config->_pointsNumber[i]);
}

void PictavoBuildDirector::constructGeoStrokes(PictavoBuilderGL& builder)
{
    for (std::size_t i = 0; i < _config->_geostrokesNumber.size(); ++i)
        builder.buildGeoStrokes(_config->_geostrokesWidth[i], _config->_geostrokesHeight[i],
                                _config->_geostrokesNumber[i], _config->_geostrokesNumSegments[i]);
}

void PictavoBuildDirector::constructPalettes(PictavoBuilderGL& builder)
{
    for (std::size_t i = 0; i < _config->_paletteWidth.size(); ++i)
        builder.buildPalette(_config->_paletteWidth[i], _config->_paletteHeight[i], _config->_paletteXpos[i],
                             _config->_paletteYpos[i], _config->_paletteOpacity[i],
                             _config->_paletteToolbrushTypeId[i], _config->_paletteDefaultToolbrushSize[i],
                             _config->_paletteTextures[i]);
}
