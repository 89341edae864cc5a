#include "skin_loader.h"

#include <QDir>
#include <algorithm>

#include "config_values.h"
#include "ini_file.h"
#include "picture_loader.h"
#include "skin_picture.h"

namespace zarvik {

namespace fs = std::filesystem;

namespace {

// All the pictures one run loads take at most this many pixels together
// (192 MB drawn): a few large pictures, or one used by many images, cannot
// take the machine's memory.
constexpr qint64 kMaxSkinPixels = 48LL * 1024 * 1024;

constexpr char kPlaceholderShown[] = "the red placeholder square is shown";

// A Config.ini colour: low byte red, then green, then blue.
QColor colourFromValue(int value) {
  return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}

class SkinRun {
 public:
  SkinRun(const SkinSources& sources, const IniFile& ini, SkinLoadReport& report)
      : sources_(sources), ini_(ini), report_(report) {}

  std::string string(const char* section, const char* key, const char* defaultValue) const {
    return ini_.readString(section, key, defaultValue);
  }
  int integer(const char* section, const char* key, int defaultValue) const {
    return readInteger(ini_, section, key, defaultValue);
  }

  // A window size, by readExtent's rule; a refused one is reported.
  int extent(const char* section, const char* key, int defaultValue) {
    const Extent extent = readExtent(ini_, section, key, defaultValue);
    if (extent.refused)
      problem(QStringLiteral("%1, [%2] %3").arg(configName(), section, key),
              QStringLiteral("'%1' is not a usable size (1 to %2 pixels)")
                  .arg(QString::fromStdString(*extent.refused))
                  .arg(kMaxWindowExtent));
    return extent.value;
  }

  // A colour has no fallback in the file format; a bad one is reported and
  // the default used, so the window still comes up.
  QColor colour(const char* section, const char* key, const char* defaultValue) {
    const std::string text = string(section, key, defaultValue);
    if (auto value = parseInteger(text)) return colourFromValue(*value);
    problem(QStringLiteral("%1, [%2] %3").arg(configName(), section, key),
            QStringLiteral("'%1' is not a valid integer value").arg(QString::fromStdString(text)));
    return colourFromValue(*parseInteger(defaultValue));
  }

  // The file a path of Config.ini names; one not found is listed under
  // `where` with what the program shows instead.
  std::optional<fs::path> find(const std::string& path, const QString& where, const char* instead) {
    std::optional<fs::path> file = findFile(path, sources_.baseDir);
    if (!file)
      report_.missingFiles << QStringLiteral("%1 (%2): file not found; %3")
                                  .arg(where, QString::fromStdString(path), QLatin1String(instead));
    return file;
  }

  // Decodes a picture (or only the part `keep` chooses) within what is left
  // of the run's pixel budget, which counts the pixels kept; a failure is
  // reported under `where` and gives nothing.
  std::optional<DecodedPicture> decode(const fs::path& file, const QString& where,
                                       const std::string& written, const PartToKeep& keep = {}) {
    const qint64 allowed = std::min(kMaxPicturePixels, pixelsLeft_);
    DecodedPicture picture = loadPicture(file, allowed, keep);
    if (picture.ok()) {
      pixelsLeft_ -= qint64(picture.image.width()) * picture.image.height();
      return picture;
    }
    if (picture.overBudget && allowed < kMaxPicturePixels)
      picture.error = QStringLiteral("not loaded: all the pictures together may take at most %1 million pixels")
                          .arg(double(kMaxSkinPixels) / 1e6, 0, 'f', 1);
    problem(QStringLiteral("%1 (%2)").arg(where, QString::fromStdString(written)), picture.error);
    return std::nullopt;
  }

 private:
  QString configName() const { return QString::fromStdString(sources_.configFile.string()); }
  void problem(const QString& where, const QString& what) { report_.problems << where + ": " + what; }

  const SkinSources& sources_;
  const IniFile& ini_;
  SkinLoadReport& report_;
  qint64 pixelsLeft_ = kMaxSkinPixels;
};

// Fullscreen offset of the face area: a non-zero integer places it, anything
// else ("Center", 0, junk) centres it, truncating toward zero.
int faceOffset(const std::string& text, int screenExtent, int clientExtent) {
  const int value = parseInteger(text).value_or(0);
  return value != 0 ? value : (screenExtent - clientExtent) / 2;
}

// Where a picture of the given size centred on the screen has its top-left
// corner (rounded toward zero when the sizes differ by an odd number).
QPoint centredOn(QSize screenSize, QSize picture) {
  return {(screenSize.width() - picture.width()) / 2, (screenSize.height() - picture.height()) / 2};
}

void loadFullscreen(SkinRun& run, QSize screenSize, FaceLayout& layout) {
  // A reload whose backdrop or logo fails shows none, as its message says,
  // rather than the one an earlier load left.
  layout.backdrop.visible = false;
  layout.logo.visible = false;
  const std::string backdropDir = folderValue(run.string("Fullscreen", "BackdropDir", "Graphics\\Backdrops\\"));
  if (auto name = fileNameValue(run.string("Fullscreen", "BackdropFile", "nil"))) {
    if (auto file = run.find(backdropDir + *name, "[Fullscreen] BackdropFile", "no backdrop is shown")) {
      // A stretched backdrop is kept whole, a centred one only where it lies on the screen.
      const bool stretched = run.integer("Fullscreen", "BackdropStretch", 0) == 1;
      const auto onScreen = [screenSize](QSize whole) {
        return QRect(-centredOn(screenSize, whole), screenSize);
      };
      const PartToKeep keep = stretched ? PartToKeep() : PartToKeep(onScreen);
      if (auto picture = run.decode(*file, "[Fullscreen] BackdropFile", backdropDir + *name, keep)) {
        layout.backdrop.picture = drawnImage(*picture, false);
        layout.backdrop.place = centredOn(screenSize, picture->wholeSize) + picture->part.topLeft();
        layout.backdrop.stretched = stretched;
        layout.backdrop.visible = true;
      }
    }
  }

  layout.windowColour = run.colour("Fullscreen", "BgColor", "$00000000");
  layout.seeThrough.reset();

  layout.faceOffset = {
      faceOffset(run.string("Fullscreen", "GameOffsetX", "Center"), screenSize.width(), layout.clientSize.width()),
      faceOffset(run.string("Fullscreen", "GameOffsetY", "Center"), screenSize.height(), layout.clientSize.height())};
  layout.clientSize = screenSize;

  if (auto name = fileNameValue(run.string("Fullscreen", "LogoFile", "nil"))) {
    if (auto file = run.find(backdropDir + *name, "[Fullscreen] LogoFile", "no logo is shown")) {
      if (auto picture = run.decode(*file, "[Fullscreen] LogoFile", backdropDir + *name)) {
        FaceLayout::Logo& logo = layout.logo;
        logo.picture = drawnImage(*picture, true);
        logo.rect.setSize(logo.picture.size());
        logo.visible = true;
        const int right = layout.clientSize.width() - logo.rect.width();
        const int bottom = layout.clientSize.height() - logo.rect.height();
        switch (run.integer("Fullscreen", "LogoPosition", 1)) {
          case 0: logo.rect.moveTo(0, 0); break;
          case 1: logo.rect.moveTo(right, 0); break;
          case 2: logo.rect.moveTo(0, bottom); break;
          case 3: logo.rect.moveTo(right, bottom); break;
          default: break;  // keeps its place
        }
      }
    }
  }
}

void loadWindowed(SkinRun& run, FaceLayout& layout) {
  layout.faceOffset = {0, 0};
  const QColor key = run.colour("VideoMode", "TranspColor", "$00ff00ff");
  layout.windowColour = key;
  layout.seeThrough = key.rgb();
  layout.backdrop.visible = false;
  layout.logo.visible = false;
}

void loadImages(SkinRun& run, const IniFile& ini, Panel& panel, QPoint offset) {
  for (int n = 1; n <= kImageCount; ++n) {
    const ImageId id = ImageId(n - 1);
    const ImageEntry entry = readImageEntry(ini, n, offset.x(), offset.y());
    if (const std::optional<std::string>& written = entry.path) {
      const QString section = QStringLiteral("Image%1").arg(n);
      QImage image;
      if (auto file = run.find(*written, section, kPlaceholderShown)) {
        const ImageRole role = kSkinImages[id].role;
        const bool transparent = role != ImageRole::Button && role != ImageRole::Pressed;
        if (auto picture = run.decode(*file, section, *written))
          image = drawnImage(*picture, transparent);
      }
      panel.setPicture(id, SkinPicture::make(image.isNull() ? placeholderImage() : image));
    }
    panel.images[id].rect = entry.rect;
  }
}

}  // namespace

SkinSources SkinSources::forFolder(const fs::path& folder) {
  return {findFile("Config.ini", folder).value_or(folder / "Config.ini"), folder};
}

// The program makes its data folder the current one before any window exists.
SkinSources SkinSources::forProgram() { return forFolder(QDir::currentPath().toStdString()); }

SkinLoadReport loadSkin(const SkinSources& sources, bool fullscreen, QSize screenSize, Panel& panel,
                        FaceLayout& layout) {
  SkinLoadReport report;
  const std::optional<IniFile> ini = IniFile::load(sources.configFile);
  if (!ini) {
    report.configMissing = true;
  } else {
    SkinRun run(sources, *ini, report);
    layout.clientSize = {run.extent("Common", "GameWidth", kFaceWidth), run.extent("Common", "GameHeight", kFaceHeight)};
    layout.faceSize = layout.clientSize;
    if (fullscreen) loadFullscreen(run, screenSize, layout);
    else loadWindowed(run, layout);
    loadImages(run, *ini, panel, layout.faceOffset);
  }
  layout.menuButtonVisible = fullscreen;
  layout.menuButtonBackgroundSize = kGameMenuButtonSize;
  return report;
}

ManualPages loadManualPages(const SkinSources& sources) {
  ManualPages manual;
  const IniFile ini = IniFile::load(sources.configFile).value_or(IniFile());
  SkinLoadReport report;
  SkinRun run(sources, ini, report);
  const std::string dir = folderValue(run.string("Manual", "ManualDir", kDefaultManualDir));
  manual.clientSize = {run.extent("Manual", "ManualWidth", kManualSize.width()),
                       run.extent("Manual", "ManualHeight", kManualSize.height())};
  for (int n = 1; n <= 8; ++n) {
    const std::string written = dir + std::to_string(n) + ".bmp";
    QImage page;
    const QString where = QStringLiteral("Manual page %1").arg(n);
    if (auto file = run.find(written, where, kPlaceholderShown)) {
      if (auto picture = run.decode(*file, where, written))
        page = drawnImage(*picture, false);
    }
    manual.pages[n - 1] = page.isNull() ? placeholderImage() : page;
  }
  manual.problems = report.problems;
  manual.missingFiles = report.missingFiles;
  return manual;
}

}  // namespace zarvik
