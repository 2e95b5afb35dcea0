// Checks the generated run directory: every file the default configuration
// names is there and loads, and the stroke generator's variants differ.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSet>
#include <QXmlStreamReader>

#include <vector>

namespace {

QString runDir() { return qEnvironmentVariable("PICTAVO_RUN_DIR"); }

struct NamedFile {
  QString element;
  QString path;   // relative to the run directory
};

struct Configuration {
  std::vector<NamedFile> files;   // every attribute naming an image or font, and every expanded pattern
  std::vector<QString> patterns;
  bool wellFormed = false;
};

Configuration readConfiguration() {
  Configuration config;
  QFile file(runDir() + QStringLiteral("/config.xml"));
  if (!file.open(QIODevice::ReadOnly))
    return config;
  QXmlStreamReader xml(&file);
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement)
      continue;
    const QString element = xml.name().toString();
    for (const QXmlStreamAttribute& a : xml.attributes()) {
      const QString value = a.value().toString();
      const bool file = value.endsWith(QLatin1String(".png")) || value.endsWith(QLatin1String(".jpg")) ||
                        value.endsWith(QLatin1String(".ttf"));
      if (file && !value.contains(QLatin1Char('%')))
        config.files.push_back({element, value});
    }
    if (element == QLatin1String("textures")) {
      const QString pattern = xml.attributes().value(QLatin1String("source")).toString();
      const int count = xml.attributes().value(QLatin1String("number")).toInt();
      config.patterns.push_back(pattern);
      for (int i = 1; i <= count; ++i)
        config.files.push_back({element, QString(pattern).replace(QLatin1String("%d"), QString::number(i))});
    }
  }
  config.wellFormed = !xml.hasError();
  return config;
}

QImage load(const QString& relative) { return QImage(runDir() + QLatin1Char('/') + relative); }

TEST(RunDirectory, EveryConfiguredFileExistsAndLoads) {
  ASSERT_FALSE(runDir().isEmpty()) << "PICTAVO_RUN_DIR is not set";
  const Configuration config = readConfiguration();
  ASSERT_TRUE(config.wellFormed) << "config.xml is missing or not well-formed";

  // The builder skips a pattern of 45 characters or more without a word.
  ASSERT_EQ(config.patterns.size(), 1u);
  EXPECT_LT(config.patterns[0].size(), 45);
  EXPECT_EQ(config.patterns[0].count(QLatin1String("%d")), 1);

  int images = 0, fonts = 0;
  for (const NamedFile& f : config.files) {
    if (f.path.endsWith(QLatin1String(".ttf"))) {
      QFile font(runDir() + QLatin1Char('/') + f.path);
      ASSERT_TRUE(font.open(QIODevice::ReadOnly)) << f.path.toStdString();
      const QByteArray magic = font.read(4);
      EXPECT_TRUE(magic == QByteArray("\0\1\0\0", 4) || magic == "true") << f.path.toStdString();
      ++fonts;
    } else {
      EXPECT_FALSE(load(f.path).isNull()) << f.element.toStdString() << ": " << f.path.toStdString();
      ++images;
    }
  }
  EXPECT_EQ(fonts, 3);
  EXPECT_GT(images, 63 + 41);   // stroke images, palette textures and more
}

TEST(StrokeImages, EveryImageOfAnElementIsDifferent) {
  for (int e = 0; e < 7; ++e) {
    QSet<QByteArray> seen;
    for (int v = 0; v < 9; ++v) {
      const QImage image = load(QStringLiteral("textures/strokes/stroke%1.png").arg(9 * e + v + 1)).convertToFormat(QImage::Format_ARGB32);
      const QByteArray bytes(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
      EXPECT_FALSE(seen.contains(bytes)) << "element " << e << " variant " << v << " repeats an earlier one";
      seen.insert(bytes);
    }
  }
}

}  // namespace
