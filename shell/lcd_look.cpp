#include "lcd_look.h"

#include <QPainter>
#include <algorithm>
#include <chrono>

#include "skin_loader.h"
#include "skin_picture.h"

namespace zarvik {

namespace {

bool isLcdElement(ImageId id) {
  const ImageRole role = kSkinImages[id].role;
  return role == ImageRole::Segment || role == ImageRole::Digit;
}

}  // namespace

int64_t LcdLook::steadyMilliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

LcdLook::LcdLook(const Panel& panel, std::function<void(const Rect&, bool)> repaint,
                 std::function<int64_t()> clockMs)
    : panel_(panel), repaint_(std::move(repaint)), clockMs_(std::move(clockMs)) {
  frameTimer_.setInterval(kFrameMs);
  connect(&frameTimer_, &QTimer::timeout, this, &LcdLook::frame);
}

void LcdLook::setEnabled(bool on) {
  enabled_ = on;
  silhouettes_.clear();
  frameTimer_.stop();
  for (int i = 0; i < kImageCount; ++i) fades_[i] = atRest(drawnPicture(ImageId(i)));
}

LcdLook::Fade LcdLook::atRest(Picture picture) {
  Fade fade;
  fade.shown = std::move(picture);
  return fade;
}

Picture LcdLook::drawnPicture(ImageId id) const {
  const Image& image = panel_[id];
  return image.visible ? image.picture : Picture();
}

bool LcdLook::draws(ImageId id) const { return enabled_ && isLcdElement(id); }

Rect LcdLook::reach(const Rect& r) { return {r.left, r.top, r.width + kShadowOffset, r.height + kShadowOffset}; }

double LcdLook::shownLevel(const Fade& fade, int64_t now) const {
  return std::min(1.0, fade.shownFrom + double(now - fade.shownSince) / kDarkenMs);
}

double LcdLook::leavingLevel(const Fade& fade, int64_t now) const {
  return std::max(0.0, fade.leavingFrom - double(now - fade.leavingSince) / kClearMs);
}

bool LcdLook::settled(const Fade& fade, int64_t now) const {
  return (!fade.shown || shownLevel(fade, now) >= 1) && (!fade.leaving || leavingLevel(fade, now) <= 0);
}

// A picture going back to the one it was clearing from darkens again from
// where that had got to; any other starts from clear.
void LcdLook::imageChanged(ImageId id, bool fade) {
  if (!enabled_ || !isLcdElement(id)) return;
  Fade& f = fades_[id];
  const Picture drawn = drawnPicture(id);
  if (drawn == f.shown) return;
  const int64_t now = clockMs_();
  if (!fade) {
    f = atRest(drawn);
    silhouettes_.clear();  // a new skin's pictures
    return;
  }
  const double returning = drawn && drawn == f.leaving ? leavingLevel(f, now) : 0;
  f.leaving = f.shown;
  f.leavingFrom = f.shown ? shownLevel(f, now) : 0;
  f.leavingSince = now;
  f.shown = drawn;
  f.shownFrom = returning;
  f.shownSince = now;
  if (!frameTimer_.isActive()) frameTimer_.start();
}

void LcdLook::frame() {
  const int64_t now = clockMs_();
  bool stillChanging = false;
  for (int i = 0; i < kImageCount; ++i) {
    Fade& f = fades_[i];
    if (!f.leaving && f.shownFrom >= 1) continue;  // at rest since the last frame
    const bool rests = settled(f, now);
    if (rests) f = atRest(f.shown);
    else stillChanging = true;
    repaint_(reach(panel_[ImageId(i)].rect), rests);
  }
  if (!stillChanging) frameTimer_.stop();
}

// A shadow is the picture's shape in black: light pixels of a picture (its
// edges, highlights) darken the reflector as much as its ink.
const QImage& LcdLook::silhouette(const QImage& picture) const {
  QImage& shape = silhouettes_[picture.cacheKey()];
  if (shape.isNull()) {
    shape = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&shape);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(shape.rect(), Qt::black);
  }
  return shape;
}

void LcdLook::drawPicture(QPainter& painter, ImageId id, const Picture& picture, double darkness,
                          bool shadow) const {
  if (!picture || darkness <= 0) return;
  const QImage image = SkinPicture::imageOf(picture);
  const int offset = shadow ? kShadowOffset : 0;
  const QRect box = toQRect(panel_[id].rect).translated(offset, offset);
  painter.save();
  painter.setClipRect(box, Qt::IntersectClip);
  painter.setOpacity(darkness);
  painter.drawImage(box.topLeft(), shadow ? silhouette(image) : image);
  painter.restore();
}

void LcdLook::paintShadows(QPainter& painter, const QRect& dirty) const {
  if (!enabled_) return;
  const int64_t now = clockMs_();
  const QRect lcd = toQRect(panel_[im_background_screen_top].rect);
  const QRect area = painter.worldTransform().inverted().mapRect(QRectF(dirty)).toAlignedRect() & lcd;
  painter.save();
  painter.setClipRect(lcd, Qt::IntersectClip);
  for (int i = 0; i < kImageCount; ++i) {
    const Fade& f = fades_[i];
    if (!isLcdElement(ImageId(i)) || (!f.shown && !f.leaving) ||
        !toQRect(panel_[ImageId(i)].rect).translated(kShadowOffset, kShadowOffset).intersects(area))
      continue;
    drawPicture(painter, ImageId(i), f.leaving, kShadowOpacity * leavingLevel(f, now), true);
    drawPicture(painter, ImageId(i), f.shown, kShadowOpacity * shownLevel(f, now), true);
  }
  painter.restore();
}

void LcdLook::paintSegment(QPainter& painter, ImageId id) const {
  const int64_t now = clockMs_();
  const Fade& f = fades_[id];
  drawPicture(painter, id, f.leaving, leavingLevel(f, now), false);
  drawPicture(painter, id, f.shown, shownLevel(f, now), false);
}

}  // namespace zarvik
