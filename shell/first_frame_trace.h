#pragma once
// Start-up tracing for the start-up benchmark: with
// QT_LOGGING_RULES="zarvik.startup.info=true", logs once per top-level window
// the monotonic time (CLOCK_MONOTONIC, microseconds) at which its first frame
// has been painted and handed to the window system:
//   zarvik.startup: first frame TForm1 at 123456789 us
// Header-only, so that the bench's bare window measures itself the same way.

#include <QCoreApplication>
#include <QEvent>
#include <QLoggingCategory>
#include <QSet>
#include <QTimer>
#include <QWidget>
#include <time.h>

namespace zarvik {

class FirstFrameTrace : public QObject {
 public:
  // Watches the application's windows only while the category is enabled.
  static void installIfEnabled(QCoreApplication& app) {
    if (category().isInfoEnabled()) app.installEventFilter(new FirstFrameTrace(&app));
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint || !watched->isWidgetType() ||
        !static_cast<QWidget*>(watched)->isWindow() || painted_.contains(watched))
      return false;
    painted_.insert(watched);
    // A zero timer runs once this paint and its flush to the window system are done.
    const char* name = watched->metaObject()->className();
    QTimer::singleShot(0, this, [name] {
      timespec now{};
      clock_gettime(CLOCK_MONOTONIC, &now);
      qCInfo(category, "first frame %s at %lld us", name,
             static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000);
    });
    return false;
  }

 private:
  explicit FirstFrameTrace(QObject* parent) : QObject(parent) {}
  static const QLoggingCategory& category() {
    static const QLoggingCategory startup("zarvik.startup", QtWarningMsg);
    return startup;
  }
  QSet<QObject*> painted_;
};

}  // namespace zarvik
