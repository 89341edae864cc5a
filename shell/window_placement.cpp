#include "window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace zarvik {

namespace {

const QScreen* screenOf(const QWidget& window) {
  return window.screen() ? window.screen() : QGuiApplication::primaryScreen();
}

}  // namespace

void centreOnScreen(QWidget& window) {
  const QScreen* screen = screenOf(window);
  if (!screen) return;
  const QRect area = screen->geometry();
  window.move(area.left() + (area.width() - window.width()) / 2,
              area.top() + (area.height() - window.height()) / 2);
}

void keepOnScreen(QWidget& window, QPoint centre) {
  const QPoint wanted = centre - QPoint(window.width() / 2, window.height() / 2);
  const QScreen* screen = screenOf(window);
  if (!screen) return window.move(wanted);
  const QRect area = screen->geometry();
  window.move(std::max(area.left(), std::min(wanted.x(), area.right() + 1 - window.width())),
              std::max(area.top(), std::min(wanted.y(), area.bottom() + 1 - window.height())));
}

}  // namespace zarvik
