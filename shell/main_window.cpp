#include "main_window.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

#include "application_state.h"
#include "error_box.h"
#include "game_menu_art.h"
#include "skin_picture.h"

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

}  // namespace

TForm1::TForm1(Handheld& handheld, Options options, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint),
      handheld_(handheld),
      skinSources_(std::move(options.skin)) {
  setAttribute(Qt::WA_OpaquePaintEvent);  // paintEvent covers every pixel
  handheld_.panel.observer = this;
  settingsStore_ = options.settingsStore;
  resize(kFaceSize);
  FormCreate(options.fullscreen);
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
    setFixedSize(layout_.clientSize);
  }
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

std::optional<ImageId> TForm1::imageAt(QPoint point) const {
  for (auto it = kPaintOrder.rbegin(); it != kPaintOrder.rend(); ++it) {
    const Image& image = handheld_.panel[*it];
    if (image.visible && toQRect(image.rect).contains(point)) return *it;
  }
  return std::nullopt;
}

void TForm1::imageChanged(ImageId id) {
  const QRect box = toQRect(handheld_.panel[id].rect);
  update(box);
  if (layout_.seeThrough && !loadingSkin_) updateWindowMask(box);
}

void TForm1::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  paintLayers(painter, event->rect());
}

QImage TForm1::composedPicture() const {
  QImage picture(layout_.clientSize, QImage::Format_RGB32);
  QPainter painter(&picture);
  paintLayers(painter, picture.rect());
  return picture;
}

void TForm1::paintLayers(QPainter& painter, const QRect& dirty) const {
  const QRect client(QPoint(0, 0), layout_.clientSize);
  painter.fillRect(dirty, layout_.windowColour);

  if (layout_.backdrop.visible) {
    const QImage& picture = layout_.backdrop.picture;
    if (layout_.backdrop.stretched) {
      painter.drawImage(client, picture);
    } else {
      const QPoint centred((client.width() - picture.width()) / 2, (client.height() - picture.height()) / 2);
      painter.drawImage(centred, picture);
    }
  }
  if (layout_.logo.visible && layout_.logo.rect.intersects(dirty)) {
    painter.save();
    painter.setClipRect(layout_.logo.rect, Qt::IntersectClip);
    painter.drawImage(layout_.logo.rect.topLeft(), layout_.logo.picture);
    painter.restore();
  }

  for (ImageId id : kPaintOrder) {
    const Image& image = handheld_.panel[id];
    const QRect box = toQRect(image.rect);
    if (!image.visible || !image.picture || !box.intersects(dirty)) continue;
    const QImage picture = SkinPicture::imageOf(image.picture);
    if (id == btn_set_top) {
      painter.drawImage(box, picture);  // the one picture scaled to its box
    } else {
      painter.save();
      painter.setClipRect(box, Qt::IntersectClip);
      painter.drawImage(box.topLeft(), picture);
      painter.restore();
    }
  }

  if (layout_.menuButtonVisible) {
    const QRect box = gameMenuBackgroundRect();
    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    // Drawn when first needed: the caption of the unfolded menu is the only
    // text on the face, and the face then starts without loading fonts.
    if (GameMenuOpen) {
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
  if (layout_.seeThrough) setMask(shape_);
  else clearMask();
}

void TForm1::updateWindowMask(const QRect& changed) {
  const QRect box = changed & QRect(QPoint(0, 0), layout_.clientSize);
  if (box.isEmpty()) return;
  QImage part(box.size(), QImage::Format_RGB32);
  QPainter painter(&part);
  painter.translate(-box.topLeft());
  paintLayers(painter, box);
  painter.end();
  const QRegion shown = QRegion(seeThroughMask(part)).translated(box.topLeft());
  if (shown.xored(shape_.intersected(box)).isEmpty()) return;
  shape_ = shape_.subtracted(box).united(shown);
  setMask(shape_);
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
