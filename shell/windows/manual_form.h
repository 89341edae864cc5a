#pragma once
// TManualForm, the manual viewer: a borderless, stay-on-top window showing one
// of eight page pictures, with a close button and two page-turning buttons.
// Its size and pages come from Config.ini. Keys: Esc closes, Left and Right
// turn pages (on release, never past the first or last page). Dragging the
// page moves the window. Closing only hides it; it reopens on the same page.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <array>
#include <cstdint>

#include "key_codes.h"
#include "skin_loader.h"

class TManualForm : public QWidget {
  Q_OBJECT

 public:
  explicit TManualForm(zarvik::SkinSources sources, QWidget* parent = nullptr);

  // Puts page ManualPage on display and shows the page buttons that can act.
  void Vid_Show_Page();

  // The buttons' press and release actions, shared by mouse and keyboard.
  void Inp_left_down();
  void Inp_left_up();
  void Inp_right_down();
  void Inp_right_up();
  void Inp_esc_down();
  void Inp_esc_up();

  static constexpr int kPageCount = 8;

 protected:
  // A picture of the window at a place, drawn unscaled from its top-left
  // corner and cut at the place's edges.
  struct Image {
    QRect rect;
    bool visible = true;
    QImage picture;
  };

  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

  int ManualPage = 1;
  std::array<QImage, kPageCount> PageImages;  // im_page_01 .. im_page_08, the store of pages
  Image im_page_top;                          // the page on display
  QRect sh_page_top;                          // the drag area, outlined in black
  // Each button is its pressed picture under its released one: hiding the
  // released picture shows the button pressed.
  Image btn_close_down, btn_close_up;
  Image btn_left_down, btn_left_up;
  Image btn_right_down, btn_right_up;

 private:
  struct Button;
  static const std::array<Button, 3> kButtons;

  void FormCreate();
  void FormShow();
  void LoadManualPages();
  void FormKeyDown(std::uint16_t key);
  void FormKeyUp(std::uint16_t key);
  void sh_page_topMouseDown(QPoint point);
  void sh_page_topMouseMove(QPoint globalPoint);

  void setButtonVisible(const Button& button, bool visible);
  const Button* buttonForKey(std::uint16_t key) const;
  // What takes a press at `point`: a button's released picture, or else,
  // unless a pressed picture lies there, the drag area.
  const Button* buttonAt(QPoint point) const;
  bool pressedPictureAt(QPoint point) const;
  // Forgets held keys and presses the window will never see released, and
  // gives the held buttons their released look back.
  void releaseHeld();

  zarvik::SkinSources sources_;
  zarvik::KeyCodeTracker keyCodes_;
  const Button* pressedButton_ = nullptr;  // held by the left mouse button
  bool dragging_ = false;
  QPoint dragStart_;  // the press point, in window coordinates
};
