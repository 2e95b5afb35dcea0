// Random placement of the primitives a demo starts with.
#pragma once

// Where a new primitive goes on a screen of width W and height H, in device
// pixels (origin bottom left) and degrees. Each value takes its own
// randomValue() in the order the fields are listed for its kind.
struct PrimitivePlacement
{
    int imageIndex = 0; // strokes only: image texture 0 to 9
    double rotation = 0.0;
    double x = 0.0;
    double y = 0.0;
};

namespace Placement {

// x = r (W - 1) / 32767, y = r (H + 40) / 32767.
PrimitivePlacement point(double screenWidth, double screenHeight);
// rotation = r 360 / 32767, x = r (W - 1) / 32767, y = r H / 32767.
PrimitivePlacement tile(double screenWidth, double screenHeight);
// rotation, then x and y as for a point.
PrimitivePlacement geoStroke(double screenWidth, double screenHeight);
// image index trunc(r 9 / 32767), then rotation, x and y as for a stroke shape.
PrimitivePlacement stroke(double screenWidth, double screenHeight);

} // namespace Placement
