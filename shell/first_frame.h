#pragma once
// The start-up log, and work that waits for a window's first frame.
//
// With QT_LOGGING_RULES="zarvik.startup.info=true" the program logs its
// start-up and shutdown steps in category zarvik.startup, and, for the
// start-up benchmark, the monotonic time (CLOCK_MONOTONIC, microseconds) at
// which each top-level window's first frame has been painted and handed to
// the window system:
//   zarvik.startup: first frame TForm1 at 123456789 us
// Header-only, so that the bench's bare window measures itself the same way.

#include <QCoreApplication>
#include <QEvent>
#include <QLoggingCategory>
#include <QSet>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <time.h>
#include <utility>

namespace zarvik {

inline const QLoggingCategory& lcStartup() {
  static const QLoggingCategory category("zarvik.startup", QtWarningMsg);
  return category;
}

// Watches paint events for the first one of each top-level window it sees,
// and runs its work once that frame is out: a zero timer started by the
// paint event runs once the paint and its flush to the window system are done.
class FirstFrameWatch : public QObject {
 public:
  // Runs `work` once `window` has painted its first frame.
  static void afterFirstFrame(QWidget& window, std::function<void()> work) {
    window.installEventFilter(new FirstFrameWatch(&window, true, [work = std::move(work)](const char*) { work(); }));
  }

  // Logs the first frame of every top-level window while the start-up log
  // is enabled.
  static void traceFirstFrames(QCoreApplication& app) {
    if (!lcStartup().isInfoEnabled()) return;
    app.installEventFilter(new FirstFrameWatch(&app, false, [](const char* window) {
      timespec now{};
      clock_gettime(CLOCK_MONOTONIC, &now);
      qCInfo(lcStartup, "first frame %s at %lld us", window,
             static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000);
    }));
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint || !watched->isWidgetType() ||
        !static_cast<QWidget*>(watched)->isWindow() || painted_.contains(watched))
      return false;
    painted_.insert(watched);
    if (once_) watched->removeEventFilter(this);
    QTimer::singleShot(0, this, [this, window = watched->metaObject()->className()] {
      work_(window);
      if (once_) deleteLater();
    });
    return false;
  }

 private:
  using Work = std::function<void(const char* windowClass)>;
  FirstFrameWatch(QObject* parent, bool once, Work work) : QObject(parent), once_(once), work_(std::move(work)) {}

  const bool once_;  // one window's first frame, then the watch ends
  Work work_;
  QSet<QObject*> painted_;
};

}  // namespace zarvik
