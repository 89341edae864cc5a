#include "skin_writer.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

#include "art_style.h"
#include "fullscreen_art.h"
#include "manual_pages.h"
#include "skin_pictures.h"

namespace skingen {
namespace {

using namespace zarvik;

const QString kSkinDir = QStringLiteral("Graphics\\Skin\\");
const QString kBackdropDir = QStringLiteral("Graphics\\Backdrops\\");
const QString kManualDir = QStringLiteral("Graphics\\Manual\\");
const QString kBackdropFile = QStringLiteral("backdrop.jpg");
const QString kLogoFile = QStringLiteral("logo.png");

// A folder of Config.ini, as a path under the skin's root.
QString localPath(const QString& folder, const QString& file = {}) {
  return QString(folder).replace('\\', '/') + file;
}

// Colours in Config.ini are $00BBGGRR.
QString configColour(const QColor& c) {
  return QStringLiteral("$00%1%2%3")
      .arg(c.blue(), 2, 16, QChar('0'))
      .arg(c.green(), 2, 16, QChar('0'))
      .arg(c.red(), 2, 16, QChar('0'));
}

bool saveImage(const QImage& image, const QString& path, const char* format, int quality, QString* error) {
  QImageWriter writer(path, format);
  if (quality >= 0) writer.setQuality(quality);
  if (writer.write(image)) return true;
  *error = QStringLiteral("Cannot write %1: %2").arg(path, writer.errorString());
  return false;
}

// A single-image 32-bit icon. Written here rather than by Qt's icon writer,
// whose mask rows carry uninitialised padding, so that the bytes are the same
// on every run.
QByteArray encodeIcon(const QImage& picture) {
  const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
  const int w = image.width(), h = image.height();
  const int maskStride = ((w + 31) / 32) * 4;
  const quint32 bitmapSize = 40 + quint32(w * h * 4 + maskStride * h);
  QByteArray bytes;
  QDataStream out(&bytes, QIODevice::WriteOnly);
  out.setByteOrder(QDataStream::LittleEndian);
  out << quint16(0) << quint16(1) << quint16(1);                      // icon directory, one image
  out << quint8(w) << quint8(h) << quint8(0) << quint8(0)              // its entry
      << quint16(1) << quint16(32) << bitmapSize << quint32(6 + 16);
  out << quint32(40) << qint32(w) << qint32(2 * h) << quint16(1) << quint16(32)  // bitmap header
      << quint32(0) << quint32(bitmapSize - 40) << qint32(0) << qint32(0) << quint32(0) << quint32(0);
  for (int y = h - 1; y >= 0; --y)  // colours, bottom row first
    for (int x = 0; x < w; ++x) {
      const QRgb p = image.pixel(x, y);
      out << quint8(qBlue(p)) << quint8(qGreen(p)) << quint8(qRed(p)) << quint8(qAlpha(p));
    }
  for (int y = h - 1; y >= 0; --y) {  // the transparency mask
    QByteArray row(maskStride, '\0');
    for (int x = 0; x < w; ++x)
      if (qAlpha(image.pixel(x, y)) == 0) row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
    out.writeRawData(row.constData(), int(row.size()));
  }
  return bytes;
}

bool saveBytes(const QByteArray& bytes, const QString& path, QString* error) {
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) return true;
  *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
  return false;
}

bool saveText(const QString& text, const QString& path, QString* error) {
  return saveBytes(text.toUtf8(), path, error);
}

bool savePicture(const QImage& image, FileKind kind, const QString& path, QString* error) {
  switch (kind) {
    case FileKind::Png: return saveImage(image, path, "png", -1, error);
    case FileKind::Ico: return saveBytes(encodeIcon(image), path, error);
    case FileKind::KeyedBmp:
    case FileKind::OpaqueBmp: return saveImage(image, path, "bmp", -1, error);
  }
  return false;
}

}  // namespace

QString configText() {
  QString text;
  auto line = [&text](const QString& key, const QString& value) { text += key + '=' + value + '\n'; };
  text += QStringLiteral("[Common]\n");
  line(QStringLiteral("SkinDir"), kSkinDir);
  line(QStringLiteral("GameWidth"), QString::number(kFaceRect.width()));
  line(QStringLiteral("GameHeight"), QString::number(kFaceRect.height()));
  text += QStringLiteral("\n[VideoMode]\n");
  line(QStringLiteral("TranspColor"), QStringLiteral("$00ff00ff"));
  text += QStringLiteral("\n[Fullscreen]\n");
  line(QStringLiteral("BackdropDir"), kBackdropDir);
  line(QStringLiteral("BackdropFile"), kBackdropFile);
  line(QStringLiteral("BackdropStretch"), QStringLiteral("0"));
  line(QStringLiteral("BgColor"), configColour(kBackdropColour));
  line(QStringLiteral("GameOffsetX"), QStringLiteral("Center"));
  line(QStringLiteral("GameOffsetY"), QStringLiteral("Center"));
  line(QStringLiteral("LogoFile"), kLogoFile);
  line(QStringLiteral("LogoPosition"), QStringLiteral("1"));
  text += QStringLiteral("\n[Manual]\n");
  line(QStringLiteral("ManualDir"), kManualDir);
  line(QStringLiteral("ManualWidth"), QString::number(kManualWidth));
  line(QStringLiteral("ManualHeight"), QString::number(kManualHeight));
  for (int i = 0; i < kImageCount; ++i) {
    const Rect& r = kSkinImages[i].builtin;
    text += QStringLiteral("\n[Image%1]\n").arg(i + 1);
    line(QStringLiteral("Filename"), skinFileFor(ImageId(i)).fileName);
    line(QStringLiteral("Left"), QString::number(r.left));
    line(QStringLiteral("Top"), QString::number(r.top));
    line(QStringLiteral("Width"), QString::number(r.width));
    line(QStringLiteral("Height"), QString::number(r.height));
  }
  return text;
}

bool writeSkin(const SkinPictures& skin, const QString& folder, QString* error) {
  const QDir root(folder);
  for (const QString& dir : {kSkinDir, kBackdropDir, kManualDir})
    if (!root.mkpath(localPath(dir))) {
      *error = QStringLiteral("Cannot create the folder %1").arg(root.filePath(localPath(dir)));
      return false;
    }
  if (!saveText(configText(), root.filePath(QStringLiteral("Config.ini")), error)) return false;

  // Images that share a file (the blank digit positions) write it once.
  QStringList written;
  for (int i = 0; i < kImageCount; ++i) {
    const SkinFile file = skinFileFor(ImageId(i));
    if (written.contains(file.fileName)) continue;
    written << file.fileName;
    if (!savePicture(skin.stored(ImageId(i)), file.kind, root.filePath(localPath(kSkinDir, file.fileName)), error))
      return false;
  }
  if (!saveImage(drawBackdrop(), root.filePath(localPath(kBackdropDir, kBackdropFile)), "jpg", 90, error) ||
      !saveImage(drawLogo(), root.filePath(localPath(kBackdropDir, kLogoFile)), "png", -1, error))
    return false;
  QStringList problems;
  const auto pages = drawManualPages(skin, &problems);
  if (!problems.isEmpty()) {
    *error = problems.join('\n');
    return false;
  }
  for (int n = 1; n <= kManualPageCount; ++n)
    if (!saveImage(pages[n - 1], root.filePath(localPath(kManualDir, QStringLiteral("%1.bmp").arg(n))), "bmp", -1,
                   error))
      return false;
  return true;
}

namespace {

// The face in a game, the Right button held.
Display gameInProgress() {
  Display game;
  game.lit = {im_panel_game_a, heroPart(3, 1), heroPart(3, 3), itemStep(3, 5), itemStep(1, 4), itemStep(2, 2),
              itemGot(1), itemTarget(1), itemTarget(2), itemTarget(3), missMark(1)};
  game.digits = {-1, -1, 2, 7};
  game.pressed = {btn_right_top};
  return game;
}

}  // namespace

bool writePreview(const SkinPictures& skin, const QString& file, QString* error) {
  const int gap = 16;
  QImage preview(kFaceRect.width() * 2 + gap, kFaceRect.height(), QImage::Format_ARGB32_Premultiplied);
  preview.fill(Qt::transparent);
  QPainter p(&preview);
  p.drawImage(0, 0, skin.compose(Display::allSegments()));
  p.drawImage(kFaceRect.width() + gap, 0, skin.compose(gameInProgress()));
  p.end();
  return saveImage(preview, file, "png", -1, error);
}

QImage drawIcon(const SkinPictures& skin, int size) {
  const int margin = std::max(1, size / 32);
  const QImage face = skin.compose(gameInProgress())
                          .scaled(size - 2 * margin, size - 2 * margin, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
  icon.fill(Qt::transparent);
  QPainter p(&icon);
  p.drawImage((size - face.width()) / 2, (size - face.height()) / 2, face);
  p.end();
  return icon;
}

bool writeIcons(const SkinPictures& skin, const QString& folder, QString* error) {
  if (!QDir().mkpath(folder)) {
    *error = QStringLiteral("Cannot create the folder %1").arg(folder);
    return false;
  }
  for (int size : kIconSizes)
    if (!saveImage(drawIcon(skin, size), QDir(folder).filePath(QStringLiteral("%1x%1.png").arg(size)), "png", 0,
                   error))
      return false;
  return true;
}

}  // namespace skingen
