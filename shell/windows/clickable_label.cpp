#include "clickable_label.h"

#include <QMouseEvent>
#include <utility>

ClickableLabel::ClickableLabel(QWidget* parent) : QLabel(parent) {
  setCursor(Qt::PointingHandCursor);
}

void ClickableLabel::setPictures(const QPixmap& released, const QPixmap& pressed) {
  released_ = released;
  pressed_ = pressed;
  setPixmap(released_);
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  held_ = true;
  if (!pressed_.isNull()) setPixmap(pressed_);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !held_) return;
  held_ = false;
  if (!released_.isNull()) setPixmap(released_);
  if (!std::exchange(secondClick_, false) && rect().contains(event->position().toPoint())) emit clicked();
  emit leftReleased();
}

void ClickableLabel::enterEvent(QEnterEvent* event) {
  emit hovered(true);
  QLabel::enterEvent(event);
}

void ClickableLabel::leaveEvent(QEvent* event) {
  emit hovered(false);
  QLabel::leaveEvent(event);
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  mousePressEvent(event);
  secondClick_ = held_;
}
