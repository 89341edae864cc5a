#include "skin_check.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdint>
#include <cstdio>

#include "config_values.h"
#include "data_folder.h"
#include "ini_file.h"
#include "skin_loader.h"
#include "skin_picture.h"

namespace zarvik {

namespace fs = std::filesystem;

namespace {

// The fullscreen run needs a screen; its size only places the face and the
// logo, which are not checked.
constexpr QSize kScreenForCheck(1920, 1080);

// Integer keys outside the Image<N> sections, with the default a value that
// is no number silently becomes.
struct IntegerKey {
  const char* section;
  const char* key;
  int defaultValue;
};
constexpr IntegerKey kIntegerKeys[] = {
    {"Common", "GameWidth", kFaceWidth},  {"Common", "GameHeight", kFaceHeight},
    {"Fullscreen", "BackdropStretch", 0}, {"Fullscreen", "LogoPosition", 1},
    {"Manual", "ManualWidth", kManualSize.width()}, {"Manual", "ManualHeight", kManualSize.height()},
};
constexpr const char* kImageKeys[] = {"Left", "Top", "Width", "Height"};

bool inside(const Rect& r, const Rect& box) {
  return r.left >= box.left && r.top >= box.top &&
         int64_t(r.left) + r.width <= int64_t(box.left) + box.width &&
         int64_t(r.top) + r.height <= int64_t(box.top) + box.height;
}

QString describe(const Rect& r) {
  return QStringLiteral("%1, %2, %3 x %4").arg(r.left).arg(r.top).arg(r.width).arg(r.height);
}

QString sizeText(QSize size) { return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()); }

// A picture that loaded: neither empty nor the placeholder a missing or
// unreadable file gets (both already listed).
bool loaded(const QImage& picture) {
  static const QImage placeholder = placeholderImage();
  return !picture.isNull() && picture != placeholder;
}

class SkinChecker {
 public:
  SkinChecker(const SkinSources& sources, const IniFile& ini)
      : ini_(ini), config_(QString::fromStdString(sources.configFile.string())) {}

  void addOnce(const QStringList& lines) {
    for (const QString& line : lines)
      if (!problems_.contains(line)) problems_ << line;
  }

  void integer(const std::string& section, const char* key, int defaultValue) {
    const std::optional<std::string> text = ini_.value(section, key);
    if (text && !parseInteger(*text))
      add(section, key,
          QStringLiteral("'%1' is not a number; %2 is used")
              .arg(QString::fromStdString(*text), QString::number(defaultValue)));
  }

  void image(const Panel& panel, ImageId id) {
    const std::string section = "Image" + std::to_string(id + 1);
    const ImageSpec& kind = kSkinImages[id];
    if (!ini_.hasSection(section)) {
      add(section, nullptr, QStringLiteral("section missing; %1 shows nothing").arg(QLatin1String(kind.name)));
      return;
    }
    for (const char* key : kImageKeys) integer(section, key, 0);

    const Rect& box = panel[id].rect;
    const QImage picture = SkinPicture::imageOf(panel[id].picture);
    // btn_set_top's picture is scaled to its box; every other one is cut.
    if (id != btn_set_top && loaded(picture) && picture.size() != QSize(box.width, box.height))
      problems_ << QStringLiteral("%1 (%2): the picture is %3 pixels, its box (Width x Height) %4")
                       .arg(QString::fromStdString(section), picturePath(id), sizeText(picture.size()),
                            sizeText(QSize(box.width, box.height)));

    const Rect& face = panel[im_background].rect;
    const Rect& overlay = panel[im_background_screen_top].rect;
    const bool segment = kind.role == ImageRole::Segment || kind.role == ImageRole::Digit;
    if (id == im_background || kind.role == ImageRole::Glyph) return;  // glyphs are never shown
    if (!inside(box, face))
      add(section, nullptr, QStringLiteral("%1 (%2) lies outside the face, Image1 (%3)")
                                .arg(QLatin1String(kind.name), describe(box), describe(face)));
    else if (segment && !inside(box, overlay))
      add(section, nullptr, QStringLiteral("%1 (%2) lies outside the LCD overlay, Image2 (%3)")
                                .arg(QLatin1String(kind.name), describe(box), describe(overlay)));
  }

  void manualPages(const ManualPages& manual) {
    const std::string dir = folderValue(ini_.readString("Manual", "ManualDir", kDefaultManualDir));
    for (int n = 1; n <= int(manual.pages.size()); ++n) {
      const QImage& page = manual.pages[n - 1];
      if (loaded(page) && page.size() != manual.clientSize)
        problems_ << QStringLiteral("Manual page %1 (%2%1.bmp): the page is %3 pixels, the viewer "
                                    "(ManualWidth x ManualHeight) %4")
                         .arg(n)
                         .arg(QString::fromStdString(dir), sizeText(page.size()), sizeText(manual.clientSize));
    }
  }

  QStringList problems() const { return problems_; }

 private:
  void add(const std::string& section, const char* key, const QString& what) {
    QString where = QStringLiteral("%1, [%2]").arg(config_, QString::fromStdString(section));
    if (key) where += ' ' + QLatin1String(key);
    problems_ << where + ": " + what;
  }

  // The picture file as Config.ini names it (SkinDir and Filename).
  QString picturePath(ImageId id) const {
    return QString::fromStdString(readImageEntry(ini_, id + 1).path.value_or(""));
  }

  const IniFile& ini_;
  const QString config_;
  QStringList problems_;
};

}  // namespace

QStringList checkSkin(const fs::path& folder) {
  const SkinSources sources = SkinSources::forFolder(folder);
  const QString config = QString::fromStdString(sources.configFile.string());
  const std::optional<IniFile> ini = IniFile::load(sources.configFile);
  if (!ini) {
    std::error_code ec;
    return {config + (fs::exists(sources.configFile, ec)
                          ? QStringLiteral(": not readable (a regular file of at most %1 MB is)")
                                .arg(IniFile::kMaxFileBytes / (1024 * 1024))
                          : QStringLiteral(": not found"))};
  }

  // Both window modes load the same pictures: a problem is listed once.
  SkinChecker checker(sources, *ini);
  Panel panels[2];
  for (bool fullscreen : {false, true}) {
    FaceLayout layout;
    const SkinLoadReport report = loadSkin(sources, fullscreen, kScreenForCheck, panels[fullscreen], layout);
    checker.addOnce(report.problems);
    checker.addOnce(report.missingFiles);
  }
  const ManualPages manual = loadManualPages(sources);
  checker.addOnce(manual.problems);
  checker.addOnce(manual.missingFiles);

  for (const IntegerKey& key : kIntegerKeys) checker.integer(key.section, key.key, key.defaultValue);
  // The windowed places: those of the face area, without a fullscreen offset.
  for (int id = 0; id < kImageCount; ++id) checker.image(panels[false], ImageId(id));
  checker.manualPages(manual);
  return checker.problems();
}

int printSkinProblems(const QString& folder, const QString& dataDirOption) {
  QString dir = folder;
  if (dir.isEmpty()) {
    const DataFolderSearch data = findDataFolder(dataDirOption, qEnvironmentVariable("ZARVIK_DATA_DIR"),
                                                 QCoreApplication::applicationDirPath());
    if (data.folder.isEmpty()) {
      std::fprintf(stderr, "%s\n", qPrintable(data.error));
      return 1;
    }
    dir = data.folder;
  }
  const QFileInfo info(dir);
  if (!info.isDir()) {
    std::fprintf(stderr, "The skin folder %s %s.\n", qPrintable(dir), info.exists() ? "is not a folder" : "does not exist");
    return 1;
  }
  const QStringList problems = checkSkin(dir.toStdString());
  for (const QString& line : problems) std::printf("%s\n", line.toUtf8().constData());
  return problems.isEmpty() ? 0 : 1;
}

}  // namespace zarvik
