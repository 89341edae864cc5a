#include "window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace zarvik {

void centreOnScreen(QWidget& window) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->geometry();
  window.move(area.left() + (area.width() - window.width()) / 2,
              area.top() + (area.height() - window.height()) / 2);
}

}  // namespace zarvik
