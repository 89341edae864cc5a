#pragma once
// Collects the regions a window is asked to repaint (install it as the
// window's event filter).

#include <QEvent>
#include <QObject>
#include <QPaintEvent>
#include <QRegion>

struct PaintSpy : QObject {
  QRegion painted;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
};
