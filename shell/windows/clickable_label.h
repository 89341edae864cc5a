#pragma once
// A label that acts on a left click: a link text, or a picture button that
// shows its pressed picture while the left button is held on it. The click
// comes on release over the label, as with a push button; the second click of
// a double click presses it again but is no second click.

#include <QLabel>
#include <QPixmap>

class ClickableLabel : public QLabel {
  Q_OBJECT

 public:
  explicit ClickableLabel(QWidget* parent = nullptr);
  // A picture button: `released` normally, `pressed` while held.
  void setPictures(const QPixmap& released, const QPixmap& pressed);

 signals:
  void clicked();
  // The left button let go after a press on the label, after any click.
  void leftReleased();
  // The pointer entered (true) or left (false) the label.
  void hovered(bool inside);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QPixmap released_;
  QPixmap pressed_;
  bool held_ = false;
  bool secondClick_ = false;  // held by the second press of a double click
};
