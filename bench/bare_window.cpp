// The yardstick of the start-up benchmark: a bare Qt frameless window that
// paints one picture, traced like the face (first_frame.h).
//   bench_bare_window PICTURE [--fullscreen | --blink]
// Fullscreen, the picture is centred on black. With --blink, a 7 x 16 patch
// (the size of the clock's colon) is inverted and repainted twice a second:
// the least that a clock display can cost.

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstring>

#include "first_frame.h"

namespace {

class BareWindow : public QWidget {
 public:
  explicit BareWindow(QImage picture) : picture_(std::move(picture)) {
    setWindowFlags(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(picture_.size());
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    if (picture_.size() != size()) painter.fillRect(rect(), Qt::black);
    painter.drawImage((width() - picture_.width()) / 2, (height() - picture_.height()) / 2,
                      picture_);
    if (inverted_) painter.fillRect(kPatch, Qt::black);
  }

 public:
  void blink() {
    inverted_ = !inverted_;
    update(kPatch);
  }

 private:
  static constexpr QRect kPatch{263, 150, 7, 16};
  QImage picture_;
  bool inverted_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  zarvik::FirstFrameWatch::traceFirstFrames(app);
  const QImage picture = argc > 1 ? QImage(QString::fromLocal8Bit(argv[1])) : QImage();
  if (picture.isNull()) {
    std::fprintf(stderr, "usage: %s PICTURE [--fullscreen] (a readable picture)\n", argv[0]);
    return 2;
  }
  BareWindow window(picture);
  QTimer blinker;
  QObject::connect(&blinker, &QTimer::timeout, &window, &BareWindow::blink);
  if (argc > 2 && std::strcmp(argv[2], "--fullscreen") == 0) {
    window.showFullScreen();
  } else {
    window.show();
    if (argc > 2 && std::strcmp(argv[2], "--blink") == 0) blinker.start(500);
  }
  return app.exec();
}
