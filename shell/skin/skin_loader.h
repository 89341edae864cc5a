#pragma once
// The two loaders of Config.ini: LoadSkin lays out the main window for a window
// mode and loads the 81 skin images; LoadManualPages sizes the manual viewer
// and loads its eight pages. Both re-read the file and every picture each run.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <array>
#include <filesystem>
#include <optional>

#include "config_values.h"
#include "game_menu_art.h"
#include "panel.h"
#include "qt_rect.h"

namespace zarvik {

// Where a skin comes from: Config.ini, and the folder its relative paths are
// taken from (the program's current folder).
struct SkinSources {
  std::filesystem::path configFile;
  std::filesystem::path baseDir;

  // Config.ini (in any letter case) and every path from `folder`.
  static SkinSources forFolder(const std::filesystem::path& folder);
  // The same from the current folder: the data folder.
  static SkinSources forProgram();
};

inline constexpr QSize kFaceSize(kFaceWidth, kFaceHeight);

// The manual's folder when Config.ini names none.
inline constexpr char kDefaultManualDir[] = "Graphics\\Manual\\";

// What LoadSkin sets on the main window besides the panel's images.
struct FaceLayout {
  QSize clientSize = kFaceSize;
  QColor windowColour{Qt::black};
  std::optional<QRgb> seeThrough;  // windowed mode: pixels of this colour show the desktop
  QPoint faceOffset;               // where the face area lies in the window
  QSize faceSize = kFaceSize;      // the face area: GameWidth x GameHeight

  // Unstretched, the picture is centred on the screen and holds only the
  // part of it that lies on the screen, drawn at `place`.
  struct Backdrop {
    QImage picture;
    QPoint place;
    bool visible = false;
    bool stretched = false;
  } backdrop;
  struct Logo {
    QImage picture;
    QRect rect;
    bool visible = false;
  } logo;

  bool menuButtonVisible = false;  // btn_game_menu_top and btn_game_menu_background
  QSize menuButtonBackgroundSize = kGameMenuButtonSize;
};

struct SkinLoadReport {
  bool configMissing = false;
  QStringList problems;  // each names the file and, for an image, its Image<N> section
  // Named pictures not found: the program shows the placeholder (or no
  // backdrop or logo) without a message; skin checks list them.
  QStringList missingFiles;
};

inline const char* const kConfigMissingMessage =
    "Configuration file (Config.ini) not found. Please reinstall the game.";

// LoadSkin for the given window mode on a screen of the given size. Sets the
// pictures of the panel (telling its observer) and the images' places, and
// the layout. With Config.ini missing, nothing but the menu button changes.
// A problem with one picture or colour is reported and the run goes on: the
// image shows the placeholder, a colour takes its default, a backdrop or logo
// stays as it was.
SkinLoadReport loadSkin(const SkinSources& sources, bool fullscreen, QSize screenSize,
                        Panel& panel, FaceLayout& layout);

inline constexpr QSize kManualSize(415, 270);  // when Config.ini gives none

struct ManualPages {
  QSize clientSize = kManualSize;
  std::array<QImage, 8> pages;  // 1.bmp to 8.bmp, the placeholder for a missing one
  QStringList problems;
  QStringList missingFiles;  // as in SkinLoadReport
};

// LoadManualPages: without Config.ini every value takes its default.
ManualPages loadManualPages(const SkinSources& sources);

}  // namespace zarvik
