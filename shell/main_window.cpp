#include "main_window.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "application_state.h"
#include "error_box.h"
#include "game_menu.h"
#include "game_menu_art.h"
#include "skin_picture.h"
#include "window_placement.h"
#include "window_system.h"

using namespace zarvik;

namespace {

// Drawing order above the face: segments, digits and released buttons, then
// the pressed pictures (shown over their released ones), then the overlay.
const std::array<ImageId, kImageCount> kPaintOrder = [] {
  std::array<ImageId, kImageCount> order{};
  std::size_t n = 0;
  order[n++] = im_background;
  for (int i = 0; i < kImageCount; ++i)
    if (ImageId(i) != im_background && ImageId(i) != im_background_screen_top &&
        kSkinImages[i].role != ImageRole::Pressed)
      order[n++] = ImageId(i);
  for (int i = 0; i < kImageCount; ++i)
    if (kSkinImages[i].role == ImageRole::Pressed) order[n++] = ImageId(i);
  order[n++] = im_background_screen_top;
  return order;
}();

constexpr int kMaxListedProblems = 12;

// Makes every opaque pixel of exactly `colour` transparent.
void clearColour(QImage& picture, QRgb colour) {
  const QRgb opaque = colour | 0xff000000u;
  for (int y = 0; y < picture.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int x = 0; x < picture.width(); ++x)
      if (line[x] == opaque) line[x] = 0;
  }
}

// The largest side of a zoomed windowed face, in window pixels: a large skin
// is zoomed less, so that its picture never takes gigabytes.
constexpr int kMaxZoomedExtent = 8192;

}  // namespace

TForm1::TForm1(Handheld& handheld, Options options, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint),
      handheld_(handheld),
      skinSources_(std::move(options.skin)),
      lcdLook_(handheld.panel, [this](const Rect& rect, bool settled) { lookRepaint(rect, settled); }, options.lcdLookClock) {
  setAttribute(Qt::WA_OpaquePaintEvent);  // paintEvent covers every pixel
  if (translucent_) setAttribute(Qt::WA_TranslucentBackground);
  handheld_.panel.observer = this;
  settingsStore_ = options.settingsStore;
  resize(kFaceSize);
  FormCreate(options.fullscreen, options.zoom);
  lcdLook_.setEnabled(options.lcdLook.value_or(handheld_.settings().readBool("LcdLook", false)));
  QTimer::singleShot(0, this, &TForm1::showSplashIfNeverActivated);
}

TForm1::~TForm1() {
  if (handheld_.panel.observer == this) handheld_.panel.observer = nullptr;
}

QSize TForm1::screenSize() const {
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  return s ? s->size() : kFaceSize;
}

void TForm1::LoadSkin() {
  loadingSkin_ = true;  // the shape is recomputed whole afterwards
  SkinLoadReport report = loadSkin(skinSources_, IsFullscreen, screenSize(), handheld_.panel, layout_);
  loadingSkin_ = false;
  if (report.configMissing) {
    showErrorBox(this, kConfigMissingMessage);
    terminateApplication();
  } else {
    placeFace();
  }
  if (gameMenu_) gameMenu_->setVisible(layout_.menuButtonVisible);
  updateWindowMask();
  update();

  if (!report.problems.isEmpty()) {
    QStringList lines = report.problems.mid(0, kMaxListedProblems);
    if (report.problems.size() > kMaxListedProblems)
      lines << tr("... and %1 more.").arg(report.problems.size() - kMaxListedProblems);
    showErrorBox(this, tr("Some of the skin could not be loaded:") + "\n\n" + lines.join('\n'));
  }
}

// A fullscreen face placed on the screen asks the window manager for the
// fullscreen state, so that it covers the desktop's panels as fullscreen
// programs do; parked off the screen or windowed, it holds no such state.
void TForm1::moveEvent(QMoveEvent* event) {
  const bool onScreen = pos().x() >= 0 && pos().y() >= 0;
  setWindowState(IsFullscreen && onScreen ? windowState() | Qt::WindowFullScreen
                                          : windowState() & ~Qt::WindowFullScreen);
  QWidget::moveEvent(event);
}

// The input shape of a translucent X window can be set only once it exists.
void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (translucent_) applyShape();
}

void TForm1::placeFace() {
  const QSize face = layout_.faceSize;
  faceScale_ = 1;
  faceOrigin_ = layout_.faceOffset;
  if (!IsFullscreen) {
    faceScale_ = std::clamp(kMaxZoomedExtent / std::max(face.width(), face.height()), 1, Zoom);
    setFixedSize(windowSize());
    return;
  }
  // Fullscreen: the zoomed face keeps the centre the skin gives it, moved
  // only as far as it takes to lie whole on the screen.
  if (Zoom > 1)
    faceScale_ = std::max(1, std::min(layout_.clientSize.width() / face.width(),
                                      layout_.clientSize.height() / face.height()));
  if (faceScale_ > 1) {
    const QSize zoomed = face * faceScale_;
    const QPoint origin = layout_.faceOffset + QPoint(face.width() / 2, face.height() / 2) -
                          QPoint(zoomed.width() / 2, zoomed.height() / 2);
    faceOrigin_ = {std::clamp(origin.x(), 0, layout_.clientSize.width() - zoomed.width()),
                   std::clamp(origin.y(), 0, layout_.clientSize.height() - zoomed.height())};
  }
  setFixedSize(windowSize());
}

QSize TForm1::windowSize() const { return IsFullscreen ? layout_.clientSize : layout_.clientSize * faceScale_; }

void TForm1::setZoom(int zoom) {
  zoom = std::clamp(zoom, 1, kMaxZoom);
  if (zoom == Zoom) return;
  Zoom = zoom;
  handheld_.settings().writeInteger("Zoom", Zoom);
  const QRect before = geometry();
  placeFace();
  updateWindowMask();
  update();
  // A parked window stays parked until it is placed.
  if (!IsFullscreen && !isParked(*this))
    keepOnScreen(*this, before.center());
}

void TForm1::setLcdLook(bool on) {
  if (on == lcdLook_.enabled()) return;
  lcdLook_.setEnabled(on);
  handheld_.settings().writeInteger("LcdLook", on ? 1 : 0);
  update();
}

QRect TForm1::toWindow(const Rect& rect) const {
  const QPoint topLeft = faceOrigin_ + (QPoint(rect.left, rect.top) - layout_.faceOffset) * faceScale_;
  return QRect(topLeft, QSize(rect.width, rect.height) * faceScale_);
}

std::optional<ImageId> TForm1::imageAt(QPoint point) const {
  for (auto it = kPaintOrder.rbegin(); it != kPaintOrder.rend(); ++it) {
    const Image& image = handheld_.panel[*it];
    if (image.visible && toWindow(image.rect).contains(point)) return *it;
  }
  return std::nullopt;
}

void TForm1::imageChanged(ImageId id) {
  // A segment the look draws looks the same at the start of its fade: its
  // frames repaint it, and the last one checks the shape (lookRepaint).
  if (lcdLook_.draws(id)) return lcdLook_.imageChanged(id, !loadingSkin_);
  const QRect box = toWindow(handheld_.panel[id].rect);
  update(box);
  if (layout_.seeThrough && !loadingSkin_) updateWindowMask(box);
}

void TForm1::lookRepaint(const Rect& rect, bool settled) {
  update(toWindow(rect));
  if (settled && layout_.seeThrough) updateWindowMask(toWindow(rect));
}

void TForm1::paintEvent(QPaintEvent* event) {
  // Nobody sees the parked face (behind the splash): the window that the
  // user waits for is drawn sooner.
  if (isParked(*this)) return;
  QPainter painter(this);
  const QRect dirty = event->rect();
  if (!translucent_ || !layout_.seeThrough) return paintLayers(painter, dirty);
  // A translucent window: the see-through colour becomes transparent.
  QImage part(dirty.size(), QImage::Format_ARGB32_Premultiplied);
  QPainter partPainter(&part);
  partPainter.translate(-dirty.topLeft());
  paintLayers(partPainter, dirty);
  partPainter.end();
  clearColour(part, *layout_.seeThrough);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(dirty.topLeft(), part);
}

QImage TForm1::composedPicture() const {
  QImage picture(windowSize(), QImage::Format_RGB32);
  QPainter painter(&picture);
  paintLayers(painter, picture.rect());
  return picture;
}

void TForm1::paintLayers(QPainter& painter, const QRect& dirty) const {
  const QRect client(QPoint(0, 0), layout_.clientSize);
  painter.fillRect(dirty, layout_.windowColour);

  if (layout_.backdrop.visible) {
    if (layout_.backdrop.stretched) painter.drawImage(client, layout_.backdrop.picture);
    else painter.drawImage(layout_.backdrop.place, layout_.backdrop.picture);
  }
  if (layout_.logo.visible && layout_.logo.rect.intersects(dirty)) {
    painter.save();
    painter.setClipRect(layout_.logo.rect, Qt::IntersectClip);
    painter.drawImage(layout_.logo.rect.topLeft(), layout_.logo.picture);
    painter.restore();
  }

  // The images in skin pixels, each one a square of faceScale_ window pixels
  // (no smoothing: whole pixels stay crisp).
  painter.save();
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.translate(faceOrigin_);
  painter.scale(faceScale_, faceScale_);
  painter.translate(-layout_.faceOffset);
  for (ImageId id : kPaintOrder) {
    if (lcdLook_.draws(id)) {
      if (toWindow(LcdLook::reach(handheld_.panel[id].rect)).intersects(dirty)) lcdLook_.paintSegment(painter, id);
      continue;
    }
    const Image& image = handheld_.panel[id];
    const QRect box = toQRect(image.rect);
    if (!image.visible || !image.picture || !toWindow(image.rect).intersects(dirty)) continue;
    const QImage picture = SkinPicture::imageOf(image.picture);
    if (id == btn_set_top) {
      painter.drawImage(box, picture);  // the one picture scaled to its box
    } else {
      painter.save();
      painter.setClipRect(box, Qt::IntersectClip);
      painter.drawImage(box.topLeft(), picture);
      painter.restore();
    }
    if (id == im_background) lcdLook_.paintShadows(painter, dirty);
  }
  painter.restore();

  if (layout_.menuButtonVisible) {
    const QRect box = gameMenuBackgroundRect();
    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    // Drawn when first needed: the caption of the unfolded menu is the only
    // text on the face, and the face then starts without loading fonts.
    if (gameMenu_ && gameMenu_->isOpen()) {
      static const QImage unfolded = drawGameMenuBackground(true);
      painter.drawImage(0, 0, unfolded);
    } else {
      static const QImage folded = drawGameMenuBackground(false);
      painter.drawImage(0, 0, folded);
    }
    painter.restore();
  }
}

// The window's shape: every pixel of exactly the see-through colour shows the
// desktop and lets presses through. It is computed whole when LoadSkin has
// run; a segment or button shown or hidden recomputes its own rectangle only,
// and the window's shape is set again only if that part changed (with a skin
// whose segments lie inside the face's outline, never).
void TForm1::updateWindowMask() {
  shape_ = layout_.seeThrough ? QRegion(windowMask()) : QRegion();
  applyShape();
}

// A translucent window shows the desktop through its transparent pixels
// already: the shape is only where it takes presses.
void TForm1::applyShape() {
  if (translucent_) setInputRegion(*this, shape_);
  else if (layout_.seeThrough) setMask(shape_);
  else clearMask();
}

void TForm1::updateWindowMask(const QRect& changed) {
  const QRect box = changed & QRect(QPoint(0, 0), windowSize());
  if (box.isEmpty()) return;
  QImage part(box.size(), QImage::Format_RGB32);
  QPainter painter(&part);
  painter.translate(-box.topLeft());
  paintLayers(painter, box);
  painter.end();
  const QRegion shown = QRegion(seeThroughMask(part)).translated(box.topLeft());
  if (shown.xored(shape_.intersected(box)).isEmpty()) return;
  shape_ = shape_.subtracted(box).united(shown);
  applyShape();
}

// MaskInColor marks the key pixels with 1 bits, which QBitmap takes as
// colour0 (clear) of its region: what remains is every other pixel.
QBitmap TForm1::seeThroughMask(const QImage& picture) const {
  return QBitmap::fromImage(picture.createMaskFromColor(*layout_.seeThrough | 0xff000000u, Qt::MaskInColor));
}

QBitmap TForm1::windowMask() const {
  if (!layout_.seeThrough) return QBitmap();
  return seeThroughMask(composedPicture());
}
