#pragma once
// TForm1, the handheld's face: one borderless window that paints every layer
// itself (backdrop, logo, face, the 81 images, overlay, in-game menu button)
// and repaints only the rectangle of an image whose flag or picture changes.
// The face may be zoomed by a whole factor, each skin pixel drawn as a square
// of window pixels; image rectangles stay in skin pixels (the panel's), and
// toWindow maps them onto the window.

#include <QBitmap>
#include <QImage>
#include <QRegion>
#include <QWidget>
#include <optional>

#include "deferred_window.h"
#include "handheld.h"
#include "key_bindings.h"
#include "key_codes.h"
#include "lcd_look.h"
#include "skin_loader.h"
#include "window_system.h"

class QAction;
class QMenu;
class TSplashForm;
namespace zarvik {
class GameMenu;
class QtSettingsStore;
}

class TForm1 : public QWidget, public zarvik::PanelObserver {
  Q_OBJECT

 public:
  struct Options {
    zarvik::SkinSources skin;
    std::optional<bool> fullscreen;  // else the stored FullscreenMode
    // The store behind the handheld's settings: opened by FormCreate,
    // released by FormClose. Null when the settings need no opening.
    zarvik::QtSettingsStore* settingsStore = nullptr;
    std::optional<int> zoom = std::nullopt;  // 1..kMaxZoom, else the stored Zoom
    std::optional<bool> lcdLook = std::nullopt;  // else the stored LcdLook
    std::function<int64_t()> lcdLookClock = zarvik::LcdLook::steadyMilliseconds;  // the look's fades' time
  };

  TForm1(zarvik::Handheld& handheld, Options options, QWidget* parent = nullptr);
  ~TForm1() override;

  zarvik::Panel& panel() { return handheld_.panel; }
  bool isFullscreen() const { return IsFullscreen; }

  // Keyboard and mouse bindings of the five buttons.
  const zarvik::KeyBindings& keyBindings() const { return KeyBindings; }
  // Binds button n (1 to 5) to the key of index keyIndexes[n-1] of the key
  // table, stores each index as Key<n> and renames the keys in the hints.
  void applyKeyChoices(const std::array<int, zarvik::kButtonCount>& keyIndexes);
  // Sets the hints of the six hint-carrying button images from KeyBindings.
  void UpdateButtonHints();
  // The hint shown over an image; empty for an image without one.
  QString hintOf(zarvik::ImageId id) const;

  // Key dispatch by Windows-style key code, modifiers ignored.
  void FormKeyDown(std::uint16_t key);
  void FormKeyUp(std::uint16_t key);
  // A gamepad's press and release of a button. A button held by a pad and
  // by a key or the mouse is released when the last of them lets go.
  void gamepadButtonDown(zarvik::Button button);
  void gamepadButtonUp(zarvik::Button button);

  // The windows that the menu opens (built when first opened, or given) and
  // the splash window, created after the face. A splash window given is
  // shown on the face's first activation (SplashPending); none is given when
  // the play action has already run.
  struct Windows {
    zarvik::DeferredWindow about;
    zarvik::DeferredWindow manual;
    zarvik::DeferredWindow keys;
    TSplashForm* splash = nullptr;
  };
  void attachWindows(Windows windows) {
    windows_ = std::move(windows);
    SplashPending = windows_.splash != nullptr;
  }

  static constexpr int kMenuRows = 13;
  static constexpr int kFullscreenRow = 10;    // pm_10_fullscreen
  static constexpr int kSplashScreenRow = 11;  // pm_11_splashscreen

  // The menu's preparation, run before it opens and before a shortcut acts.
  void pm_0_menuPopup();
  // The entries' actions, for the context menu and the in-game menu.
  void pm_1_aboutClick();
  void pm_2_readmeClick();
  void pm_3_whatsnewClick();
  void pm_4_manualClick();
  void pm_6_configClick();
  void pm_7_keysClick();
  void pm_8_hiscoreClick();
  void pm_10_fullscreenClick();
  void pm_11_splashscreenClick();
  void pm_14_exitClick();

  // The in-game menu (fullscreen mode, game_menu.h): the button folds and
  // unfolds it.
  void btn_game_menu_topClick();
  void Vid_Display_Game_Menu(bool open);
  // The entry of the context menu in row `row` (1 to 13).
  QAction* menuEntry(int row) const { return MenuEntries[row - 1]; }

  // Lays the window out from Config.ini for IsFullscreen and loads the skin's
  // pictures. A missing Config.ini shows the error and tells the application
  // to terminate; other problems are listed in one error box.
  void LoadSkin();

  // The topmost shown image whose rectangle holds the point (window pixels).
  std::optional<zarvik::ImageId> imageAt(QPoint point) const;

  // The window's picture as it would be painted now, all layers composed.
  QImage composedPicture() const;
  // The window's shape in windowed mode: set where the composed picture is
  // not exactly the see-through colour. Null in fullscreen mode.
  QBitmap windowMask() const;

  const zarvik::FaceLayout& layout() const { return layout_; }

  // The zoom chosen for the face (1 to kMaxZoom): the windowed face's scale
  // (less for a skin so large that the window would pass 8192 pixels); in
  // fullscreen mode, above 1 it draws the face at the largest whole scale
  // that fits the screen.
  static constexpr int kMaxZoom = 4;
  int zoom() const { return Zoom; }
  // Sets the zoom (clamped to 1..kMaxZoom), stores it as Zoom and lays the
  // window out again: resized about its centre and kept on the screen.
  void setZoom(int zoom);
  // The scale the face is drawn at now, and an image rectangle (skin pixels)
  // in window pixels.
  int faceScale() const { return faceScale_; }
  QRect toWindow(const zarvik::Rect& rect) const;

  // The face drawn as a liquid-crystal panel (lcd_look.h). Switching it
  // stores LcdLook.
  zarvik::LcdLook& lcdLook() { return lcdLook_; }
  void setLcdLook(bool on);

 protected:
  QMenu* pm_0_menu = nullptr;
  zarvik::GameMenu* gameMenu_ = nullptr;  // the in-game menu, over the face's top-left corner

  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;  // FormActivate
  void moveEvent(QMoveEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;  // FormClose
  bool event(QEvent* event) override;  // tool tips, blocking by a modal window
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void FormCreate(std::optional<bool> fullscreen, std::optional<int> zoom);
  void FormActivate();
  void showSplashIfNeverActivated();
  void FormClose();
  void imageChanged(zarvik::ImageId id) override;
  void lookRepaint(const zarvik::Rect& rect, bool settled);
  // The image under a point as the mouse sees it: a shown pressed picture
  // counts as its button's clickable image.
  std::optional<zarvik::ImageId> mouseTargetAt(QPoint point) const;
  bool isDragArea(zarvik::ImageId id) const;
  void releaseHeldButtons();
  void releaseButton(int n);
  // Ctrl and + (or =) / Ctrl and -: +1 / -1; 0 for any other key.
  static int zoomStep(const QKeyEvent& event);
  // Ctrl and L, unless L works one of the buttons.
  bool isLcdLookKey(const QKeyEvent& event) const;
  // The face's scale and origin for the zoom and window mode, and the
  // window's size from them.
  void placeFace();
  QSize windowSize() const;
  void paintLayers(QPainter& painter, const QRect& dirty) const;
  void updateWindowMask();
  void updateWindowMask(const QRect& changed);
  void applyShape();
  QBitmap seeThroughMask(const QImage& picture) const;
  QSize screenSize() const;
  void createMenu();
  // Runs the entry of a menu shortcut key; false when the key is none.
  bool menuShortcut(std::uint16_t key);
  QRect gameMenuBackgroundRect() const;

  zarvik::Handheld& handheld_;
  zarvik::SkinSources skinSources_;
  zarvik::FaceLayout layout_;
  QRegion shape_;             // the window's shape in windowed mode
  // The see-through colour is made transparent rather than cut away (the
  // display composites windows: Wayland, XWayland).
  const bool translucent_ = zarvik::seeThroughByTranslucency();
  bool loadingSkin_ = false;  // LoadSkin is changing every picture

  zarvik::QtSettingsStore* settingsStore_ = nullptr;
  std::array<QString, zarvik::kImageCount> hints_;
  zarvik::KeyCodeTracker keyCodes_;
  int pressedButton_ = 0;  // the button (1..5) that a held left button pressed
  bool dragging_ = false;  // a held left button pressed a drag area in windowed mode
  QPoint DragStart;        // the pointer, in window pixels, at the last drag press
  std::array<bool, zarvik::kButtonCount> padHeld_{};  // [n - 1]: a pad holds button n
  bool inputBlocked_ = false;  // a modal window (the key dialog) takes the face's input

  Windows windows_;
  bool SplashPending = false;  // the splash window is still to be shown; cleared once
  bool IsFullscreen = true;
  int Zoom = 1;
  int faceScale_ = 1;
  QPoint faceOrigin_;  // where the face area's top-left corner lies, in window pixels
  zarvik::KeyBindings KeyBindings;
  std::array<QAction*, kMenuRows> MenuEntries{};
  zarvik::LcdLook lcdLook_;
};
