#pragma once
// The face drawn as a reflective twisted-nematic panel: a segment darkens
// over kDarkenMs and clears over kClearMs (real panels clear more slowly than
// they darken), a digit's old picture clearing while its new one darkens,
// and every dark segment casts a faint shadow on the reflector behind the
// glass, kShadowOffset skin pixels down and to the right, its own picture's
// shape in black, kept within the LCD area. It is only a way of drawing what the
// panel holds: the handheld's segments and timers never wait for it. Its
// frame timer runs only while a segment is changing; each frame repaints the
// changing segments' rectangles alone, the first one kFrameMs after the
// change (at the change itself a fade looks as before it). Off, it draws nothing and the face is
// drawn as ever.

#include <QHash>
#include <QImage>
#include <QObject>
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>

#include "panel.h"

class QPainter;

namespace zarvik {

class LcdLook : public QObject {
  Q_OBJECT

 public:
  static constexpr int kDarkenMs = 60;
  static constexpr int kClearMs = 120;
  static constexpr int kShadowOffset = 2;       // skin pixels
  static constexpr double kShadowOpacity = 0.2;  // of a segment's own darkness
  static constexpr int kFrameMs = 40;  // clearing in three frames, darkening in two

  // `repaint` is asked to redraw a rectangle of skin pixels, `settled` when
  // its segment has come to rest; `clockMs` reads a monotonic clock (tests
  // give their own).
  LcdLook(const Panel& panel, std::function<void(const Rect&, bool settled)> repaint,
          std::function<int64_t()> clockMs = steadyMilliseconds);

  bool enabled() const { return enabled_; }
  // Switched on, the panel is taken as it stands, with no fade.
  void setEnabled(bool on);

  // The panel changed an image's flag or picture: a segment starts to fade,
  // or, without `fade` (a skin being loaded), takes its new picture at once.
  void imageChanged(ImageId id, bool fade = true);
  // Whether the look draws this image (a segment or a digit, while enabled):
  // the face then leaves it to paintSegment.
  bool draws(ImageId id) const;
  // The part of the face an image's drawing covers: its rectangle and its
  // shadow's.
  static Rect reach(const Rect& rect);

  // With the painter in skin pixels: the shadows of the segments as dark as
  // they are now, where they fall within `dirty` (window pixels); then one
  // segment as it looks now.
  void paintShadows(QPainter& painter, const QRect& dirty) const;
  void paintSegment(QPainter& painter, ImageId id) const;

  // Brings the fades to the clock's time: repaints what changed since the
  // last frame and stops the frame timer once nothing is changing.
  void frame();
  bool changing() const { return frameTimer_.isActive(); }

  static int64_t steadyMilliseconds();

 private:
  // What one image shows: the picture it is darkening to (or holds), and the
  // one it is clearing from.
  struct Fade {
    Picture shown;
    double shownFrom = 1;  // its darkness at shownSince
    int64_t shownSince = 0;
    Picture leaving;
    double leavingFrom = 0;
    int64_t leavingSince = 0;
  };
  static Fade atRest(Picture picture);
  double shownLevel(const Fade& fade, int64_t now) const;
  double leavingLevel(const Fade& fade, int64_t now) const;
  bool settled(const Fade& fade, int64_t now) const;
  Picture drawnPicture(ImageId id) const;
  const QImage& silhouette(const QImage& picture) const;
  void drawPicture(QPainter& painter, ImageId id, const Picture& picture, double darkness, bool shadow) const;

  const Panel& panel_;
  std::function<void(const Rect&, bool)> repaint_;
  std::function<int64_t()> clockMs_;
  bool enabled_ = false;
  std::array<Fade, kImageCount> fades_{};
  mutable QHash<qint64, QImage> silhouettes_;  // by the picture's cache key
  QTimer frameTimer_;
};

}  // namespace zarvik
