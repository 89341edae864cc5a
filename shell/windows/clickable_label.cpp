#include "clickable_label.h"

#include <QMouseEvent>

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
  if (rect().contains(event->position().toPoint())) emit clicked();
}
