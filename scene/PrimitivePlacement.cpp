// Random placement of the primitives a demo starts with.
#include "PrimitivePlacement.h"

#include "Random.h"

namespace {

double scaled(double extent)
{
    return static_cast<double>(randomValue()) * extent / 32767.0;
}

} // namespace

namespace Placement {

PrimitivePlacement point(double screenWidth, double screenHeight)
{
    PrimitivePlacement p;
    p.x = scaled(screenWidth - 1.0);
    p.y = scaled(screenHeight + 40.0);
    return p;
}

PrimitivePlacement tile(double screenWidth, double screenHeight)
{
    PrimitivePlacement p;
    p.rotation = scaled(360.0);
    p.x = scaled(screenWidth - 1.0);
    p.y = scaled(screenHeight);
    return p;
}

PrimitivePlacement geoStroke(double screenWidth, double screenHeight)
{
    PrimitivePlacement p;
    p.rotation = scaled(360.0);
    p.x = scaled(screenWidth - 1.0);
    p.y = scaled(screenHeight + 40.0);
    return p;
}

PrimitivePlacement stroke(double screenWidth, double screenHeight)
{
    const int imageIndex = static_cast<int>(scaled(9.0));
    PrimitivePlacement p = geoStroke(screenWidth, screenHeight);
    p.imageIndex = imageIndex;
    return p;
}

} // namespace Placement
