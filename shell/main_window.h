#pragma once
// TForm1, the handheld's face: one borderless window that paints every layer
// itself (backdrop, logo, face, the 81 images, overlay, in-game menu button)
// and repaints only the rectangle of an image whose flag or picture changes.

#include <QImage>
#include <QWidget>
#include <optional>

#include "handheld.h"
#include "skin_loader.h"

class TForm1 : public QWidget, public zarvik::PanelObserver {
  Q_OBJECT

 public:
  struct Options {
    zarvik::SkinSources skin;
    std::optional<bool> fullscreen;  // else the stored FullscreenMode
  };

  TForm1(zarvik::Handheld& handheld, Options options, QWidget* parent = nullptr);
  ~TForm1() override;

  zarvik::Handheld& handheld() { return handheld_; }
  zarvik::Panel& panel() { return handheld_.panel; }

  bool IsFullscreen = true;

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

  const zarvik::FaceLayout& layout() const { return layout_; }

  // The in-game menu button's picture (drawn over everything in fullscreen mode).
  QImage btn_game_menu_background_picture;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void imageChanged(zarvik::ImageId id) override;
  void paintLayers(QPainter& painter, const QRect& dirty) const;
  void updateWindowMask();
  QSize screenSize() const;

  zarvik::Handheld& handheld_;
  zarvik::SkinSources skinSources_;
  zarvik::FaceLayout layout_;
};
