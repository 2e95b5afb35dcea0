// make_textures: draws every texture of the run directory with QPainter/QImage.
// Usage: make_textures <run directory> <font file for task texts>
#include "textures.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_textures <run directory> <font file>\n");
    return 2;
  }
  // Headless: the offscreen platform still gives QPainter a font engine.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const auto started = std::chrono::steady_clock::now();

  const int fontId = QFontDatabase::addApplicationFont(QString::fromLocal8Bit(argv[2]));
  const QStringList families = QFontDatabase::applicationFontFamilies(fontId);
  if (fontId < 0 || families.isEmpty()) {
    std::fprintf(stderr, "make_textures: cannot load font %s\n", argv[2]);
    return 1;
  }

  textures::Output out(QString::fromLocal8Bit(argv[1]));
  textures::writeSurfaces(out);
  textures::writeStrokeImages(out);
  textures::writePaletteIcons(out);
  textures::writeMenus(out);
  textures::writeTaskImages(out, families.first());
  if (out.failed())
    return 1;

  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - started);
  std::printf("make_textures: wrote %d files in %lld ms\n", out.written(),
              static_cast<long long>(ms.count()));
  return 0;
}
