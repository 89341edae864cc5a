#pragma once
// TForm1, the handheld's face: one borderless window that paints every layer
// itself (backdrop, logo, face, the 81 images, overlay, in-game menu button)
// and repaints only the rectangle of an image whose flag or picture changes.

#include <QBitmap>
#include <QImage>
#include <QRegion>
#include <QWidget>
#include <optional>

#include "handheld.h"
#include "key_bindings.h"
#include "key_codes.h"
#include "skin_loader.h"

class QMenu;
class TSplashForm;
namespace zarvik {
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
  };

  TForm1(zarvik::Handheld& handheld, Options options, QWidget* parent = nullptr);
  ~TForm1() override;

  zarvik::Handheld& handheld() { return handheld_; }
  zarvik::Panel& panel() { return handheld_.panel; }

  bool IsFullscreen = true;

  // Keyboard and mouse bindings of the five buttons.
  zarvik::KeyBindings KeyBindings;
  // Sets the hints of the six hint-carrying button images from KeyBindings.
  void UpdateButtonHints();
  // The hint shown over an image; empty for an image without one.
  QString hintOf(zarvik::ImageId id) const;

  // Key dispatch by Windows-style key code, modifiers ignored.
  void FormKeyDown(std::uint16_t key);
  void FormKeyUp(std::uint16_t key);

  // Shown on the first activation while SplashPending is set.
  TSplashForm* splashForm = nullptr;

  QMenu* pm_0_menu = nullptr;

  // Lays the window out from Config.ini for IsFullscreen and loads the skin's
  // pictures. A missing Config.ini shows the error and tells the application
  // to terminate; other problems are listed in one error box.
  void LoadSkin();
  // Switches the window mode: LoadSkin again, then centre the window.
  void setFullscreen(bool on);
  void centreOnScreen();

  // The topmost shown image whose rectangle holds the point (window pixels).
  std::optional<zarvik::ImageId> imageAt(QPoint point) const;

  // The window's picture as it would be painted now, all layers composed.
  QImage composedPicture() const;
  // The window's shape in windowed mode: set where the composed picture is
  // not exactly the see-through colour. Null in fullscreen mode.
  QBitmap windowMask() const;

  const zarvik::FaceLayout& layout() const { return layout_; }

  // The in-game menu button's picture (drawn over everything in fullscreen mode).
  QImage btn_game_menu_background_picture;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;  // FormActivate
  void closeEvent(QCloseEvent* event) override;  // FormClose
  bool event(QEvent* event) override;  // tool tips
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void FormCreate(std::optional<bool> fullscreen);
  void FormActivate();
  void FormClose();
  void imageChanged(zarvik::ImageId id) override;
  // The image under a point as the mouse sees it: a shown pressed picture
  // counts as its button's clickable image.
  std::optional<zarvik::ImageId> mouseTargetAt(QPoint point) const;
  bool isDragArea(zarvik::ImageId id) const;
  void releaseHeldButtons();
  void paintLayers(QPainter& painter, const QRect& dirty) const;
  void updateWindowMask();
  void updateWindowMask(const QRect& changed);
  QBitmap seeThroughMask(const QImage& picture) const;
  QSize screenSize() const;

  zarvik::Handheld& handheld_;
  zarvik::SkinSources skinSources_;
  zarvik::FaceLayout layout_;
  QRegion shape_;             // the window's shape in windowed mode
  bool loadingSkin_ = false;  // LoadSkin is changing every picture

  zarvik::QtSettingsStore* settingsStore_ = nullptr;
  std::array<QString, zarvik::kImageCount> hints_;
  zarvik::KeyCodeTracker keyCodes_;
  int pressedButton_ = 0;  // the button (1..5) that a held left button pressed
  bool dragging_ = false;  // a held left button pressed a drag area in windowed mode
  QPoint DragStart;        // the pointer, in window pixels, at the last drag press
};
