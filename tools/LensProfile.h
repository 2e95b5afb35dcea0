// Sampling a lens into a grid of magnification minus one: the drop-off
// profile a tool brush stamps with (1 on the flat top for m = 2, 0 outside).
#pragma once

class epsLens;

// out: width × height floats, cell (x, y) at y * width + x, sampled at the
// point (x, y) in the lens's coordinates.

// Through the ray casting: magnificationAt(x, y) - 1.
void sampleLensProfile(const epsLens& lens, float* out, int width, int height);

// Without ray casting: the magnification H / (H - h) - 1 of the surface
// right above each cell. Its flat top spans the lens size where the ray-cast
// profile's spans m × lens size.
void sampleDirectProfile(const epsLens& lens, float* out, int width, int height);
