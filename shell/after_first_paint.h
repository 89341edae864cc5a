#pragma once
// Work that a window's first frame does not need, run once the window has
// painted for the first time, so that the user sees the window sooner.

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <utility>

namespace zarvik {

class AfterFirstPaint : public QObject {
 public:
  static void run(QWidget& window, std::function<void()> work) {
    window.installEventFilter(new AfterFirstPaint(window, std::move(work)));
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      // A zero timer runs once this paint has been flushed to the window system.
      QTimer::singleShot(0, this, [this] {
        work_();
        deleteLater();
      });
    }
    return false;
  }

 private:
  AfterFirstPaint(QWidget& window, std::function<void()> work) : QObject(&window), work_(std::move(work)) {}
  std::function<void()> work_;
};

}  // namespace zarvik
