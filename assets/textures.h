// Shared pieces of the texture generator: a portable random source, periodic
// noise, the file writer and the entry points of each group of textures.
#pragma once

#include <QImage>
#include <QString>

#include <cstdint>
#include <vector>

namespace textures {

// xorshift64* generator. The standard distributions differ between library
// implementations, so every value is derived here to keep the output identical
// on every build.
class Rng {
public:
  explicit Rng(std::uint64_t seed);
  std::uint32_t next();
  double uniform();                       // [0, 1)
  double range(double lo, double hi);     // [lo, hi)
  double signedUnit() { return range(-1.0, 1.0); }

private:
  std::uint64_t _state;
};

// Value noise on a square lattice that wraps every `period` cells, so images
// built from it tile seamlessly when the image size is a multiple of the
// lattice spacing.
class PeriodicNoise {
public:
  PeriodicNoise(int period, std::uint64_t seed);
  double at(double x, double y) const;    // [0, 1), x and y in lattice cells

private:
  int _period;
  std::vector<float> _values;
};

// One-dimensional smooth noise in [0, 1) along a line, for bristle streaks.
class LineNoise {
public:
  LineNoise(int cells, std::uint64_t seed);
  double at(double x) const;              // x in cells; clamps at the ends

private:
  std::vector<float> _values;
};

double smoothstep(double edge0, double edge1, double x);
double clamp01(double x);

// Writes generated images below a root directory, creating folders on the way.
class Output {
public:
  explicit Output(const QString& root);
  // Saves `image` at `relativePath`; the suffix picks the format (png or jpg).
  void save(const QImage& image, const QString& relativePath);
  int written() const { return _written; }
  bool failed() const { return _failed; }

private:
  QString _root;
  int _written = 0;
  bool _failed = false;
};

// Element `element` (0..6), variant `variant` (0 the plain image, 1..8 the
// random instances) of the brush-stroke images: 256 x 128, shape in alpha.
QImage strokeElementImage(int element, int variant);

// Every group writes all of its files through `out`.
void writeStrokeImages(Output& out);    // strokes.cpp
void writeSurfaces(Output& out);        // surfaces.cpp: paper, palette disc
void writePaletteIcons(Output& out);    // icons.cpp
void writeMenus(Output& out);           // menus.cpp
void writeTaskImages(Output& out, const QString& fontFamily);  // tasks.cpp

}  // namespace textures
