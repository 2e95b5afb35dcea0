// The director: knows which parts each demo scene consists of and has the
// builder make them from the configuration, in order.
#include "PictavoBuildDirector.h"

#include "PictavoBuilderGL.h"
#include "VelkConfiguration.h"

void PictavoBuildDirector::constructFirstDemo(PictavoBuilderGL& builder)
{
    if (!builder.getVis())
        return;
    constructTextures(builder);
    constructFonts(builder);
}

void PictavoBuildDirector::constructMosaicDemo(PictavoBuilderGL& builder)
{
    if (!builder.getVis())
        return;
    constructTextures(builder);
    constructFonts(builder);
    // The mosaic loads its fonts once more at the end; fonts already loaded
    // are kept, so this only matters for entries added in between.
    constructFonts(builder);
}

void PictavoBuildDirector::constructPointillismDemo(PictavoBuilderGL& builder)
{
    constructFirstDemo(builder);
}

void PictavoBuildDirector::constructGeoStrokeDemo(PictavoBuilderGL& builder)
{
    constructFirstDemo(builder);
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
