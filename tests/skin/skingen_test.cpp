// skingen redraws every committed file of the default skin and the program's
// icons: run it into a temporary folder and compare. Bitmaps, icons and Config.ini must match
// byte for byte; PNG and JPEG files pixel for pixel, since their encoders
// may differ in their bytes between library versions.

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList filesUnder(const QString& root, const QString& sub) {
  QStringList files;
  QDirIterator it(root + '/' + sub, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) files << QDir(root).relativeFilePath(it.next());
  files.sort();
  return files;
}

QByteArray bytesOf(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(Skingen, RedrawsTheCommittedSkin) {
  QTemporaryDir out;
  ASSERT_TRUE(out.isValid());
  QProcess skingen;
  skingen.start(QStringLiteral(SKINGEN_PATH), {out.path(), QStringLiteral("--icons"), out.filePath("icons")});
  ASSERT_TRUE(skingen.waitForFinished(120000));
  ASSERT_EQ(skingen.exitCode(), 0) << skingen.readAllStandardError().toStdString();

  const QString committed = QStringLiteral(ZARVIK_SKIN_DIR), icons = QStringLiteral(ZARVIK_ICON_DIR);
  // The same set of files, under Graphics/ and Config.ini, and the icons.
  EXPECT_EQ(filesUnder(out.path(), QStringLiteral("Graphics")), filesUnder(committed, QStringLiteral("Graphics")));
  EXPECT_EQ(filesUnder(out.filePath("icons"), {}), filesUnder(icons, {}));
  QStringList generated = filesUnder(out.path(), QStringLiteral("Graphics"));
  generated << QStringLiteral("Config.ini") << filesUnder(out.path(), QStringLiteral("icons"));
  ASSERT_GT(generated.size(), 87);
  for (const QString& file : generated) {
    SCOPED_TRACE(file.toStdString());
    const QString keptFile = file.startsWith(QLatin1String("icons/")) ? icons + file.mid(5) : committed + '/' + file;
    const QByteArray fresh = bytesOf(out.filePath(file)), kept = bytesOf(keptFile);
    ASSERT_FALSE(fresh.isEmpty());
    if (fresh == kept) continue;
    ASSERT_TRUE(file.endsWith(QLatin1String(".png")) || file.endsWith(QLatin1String(".jpg")))
        << "differs from the committed file: run the regenerate-skin target";
    const QImage a = QImage::fromData(fresh).convertToFormat(QImage::Format_ARGB32);
    const QImage b = QImage::fromData(kept).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(a.size(), b.size());
    // JPEG decoders may round differently: allow a little per channel there.
    const int tolerance = file.endsWith(QLatin1String(".jpg")) ? 3 : 0;
    for (int y = 0; y < a.height(); ++y)
      for (int x = 0; x < a.width(); ++x) {
        const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
        ASSERT_LE(std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q)) +
                      std::abs(qAlpha(p) - qAlpha(q)),
                  tolerance)
            << "pixel " << x << "," << y;
      }
  }
}

}  // namespace
