#include "manual_form.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <utility>

#include "error_box.h"
#include "manual_buttons.h"
#include "window_placement.h"

using zarvik::ManualGlyph;

// A button: its two pictures, what it shows, the corner it keeps its
// distance from, and its press and release actions.
struct TManualForm::Button {
  Image TManualForm::*up;
  Image TManualForm::*down;
  ManualGlyph glyph;
  Qt::Corner corner;
  void (TManualForm::*press)();
  void (TManualForm::*release)();
};

const std::array<TManualForm::Button, 3> TManualForm::kButtons{{
    {&TManualForm::btn_close_up, &TManualForm::btn_close_down, ManualGlyph::Cross, Qt::TopRightCorner,
     &TManualForm::Inp_esc_down, &TManualForm::Inp_esc_up},
    {&TManualForm::btn_left_up, &TManualForm::btn_left_down, ManualGlyph::LeftChevron, Qt::BottomLeftCorner,
     &TManualForm::Inp_left_down, &TManualForm::Inp_left_up},
    {&TManualForm::btn_right_up, &TManualForm::btn_right_down, ManualGlyph::RightChevron,
     Qt::BottomRightCorner, &TManualForm::Inp_right_down, &TManualForm::Inp_right_up},
}};

namespace {

enum { kClose, kLeft, kRight };  // indexes of kButtons

constexpr int kButtonMargin = 4;  // from the button's corner of the window

QRect buttonRect(QSize client, Qt::Corner corner) {
  const QSize size = zarvik::kManualButtonSize;
  const bool onLeft = corner == Qt::TopLeftCorner || corner == Qt::BottomLeftCorner;
  const bool onTop = corner == Qt::TopLeftCorner || corner == Qt::TopRightCorner;
  return QRect(onLeft ? kButtonMargin : client.width() - kButtonMargin - size.width(),
               onTop ? kButtonMargin : client.height() - kButtonMargin - size.height(), size.width(),
               size.height());
}

}  // namespace

TManualForm::TManualForm(zarvik::SkinSources sources, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), sources_(std::move(sources)) {
  setWindowTitle(tr("Manual"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(415, 270);
  FormCreate();
}

void TManualForm::FormCreate() {
  for (const Button& button : kButtons) {
    (this->*button.up).picture = zarvik::manualButtonPicture(button.glyph, false);
    (this->*button.down).picture = zarvik::manualButtonPicture(button.glyph, true);
  }
  setButtonVisible(kButtons[kLeft], false);
  LoadManualPages();
  Vid_Show_Page();
  zarvik::centreOnScreen(*this);
}

void TManualForm::LoadManualPages() {
  const zarvik::ManualPages manual = zarvik::loadManualPages(sources_);
  setFixedSize(manual.clientSize);
  im_page_top.rect = sh_page_top = QRect(QPoint(0, 0), manual.clientSize);
  PageImages = manual.pages;
  for (const Button& button : kButtons)
    (this->*button.up).rect = (this->*button.down).rect = buttonRect(manual.clientSize, button.corner);
  if (!manual.problems.isEmpty())
    zarvik::showErrorBox(this, tr("Some manual pages could not be loaded:") + "\n\n" + manual.problems.join('\n'));
}

void TManualForm::showEvent(QShowEvent* event) {
  FormShow();
  QWidget::showEvent(event);
}

void TManualForm::FormShow() { Vid_Show_Page(); }

void TManualForm::Vid_Show_Page() {
  im_page_top.picture = PageImages[ManualPage - 1];
  if (ManualPage == 1) {
    setButtonVisible(kButtons[kLeft], false);
  } else if (ManualPage == kPageCount) {
    setButtonVisible(kButtons[kRight], false);
  } else {
    setButtonVisible(kButtons[kLeft], true);
    setButtonVisible(kButtons[kRight], true);
  }
  update();
}

void TManualForm::setButtonVisible(const Button& button, bool visible) {
  (this->*button.up).visible = (this->*button.down).visible = visible;
}

void TManualForm::Inp_left_down() {
  btn_left_up.visible = false;
  update();
}

// The page stays within its bounds even when a key and the mouse both work
// the same button and both release it.
void TManualForm::Inp_left_up() {
  if (ManualPage > 1) --ManualPage;
  Vid_Show_Page();
}

void TManualForm::Inp_right_down() {
  btn_right_up.visible = false;
  update();
}

void TManualForm::Inp_right_up() {
  if (ManualPage < kPageCount) ++ManualPage;
  Vid_Show_Page();
}

void TManualForm::Inp_esc_down() {
  btn_close_up.visible = false;
  update();
}

void TManualForm::Inp_esc_up() {
  btn_close_up.visible = true;
  hide();
}

const TManualForm::Button* TManualForm::buttonForKey(std::uint16_t key) const {
  if (key == zarvik::vk::Escape) return &kButtons[kClose];
  if (key == zarvik::vk::Left && ManualPage > 1) return &kButtons[kLeft];
  if (key == zarvik::vk::Right && ManualPage < kPageCount) return &kButtons[kRight];
  return nullptr;
}

// A held key's auto-repeat arrives as further presses: they only repeat the
// pressed look, and the page turns once, on the release.
void TManualForm::FormKeyDown(std::uint16_t key) {
  if (const Button* button = buttonForKey(key)) (this->*button->press)();
}

void TManualForm::FormKeyUp(std::uint16_t key) {
  if (const Button* button = buttonForKey(key)) (this->*button->release)();
}

void TManualForm::keyPressEvent(QKeyEvent* event) { FormKeyDown(keyCodes_.press(*event)); }

void TManualForm::keyReleaseEvent(QKeyEvent* event) {
  if (const std::uint16_t key = keyCodes_.release(*event)) FormKeyUp(key);
}

const TManualForm::Button* TManualForm::buttonAt(QPoint point) const {
  for (const Button& button : kButtons) {
    const Image& up = this->*button.up;
    if (up.visible && up.rect.contains(point)) return &button;
  }
  return nullptr;
}

bool TManualForm::pressedPictureAt(QPoint point) const {
  for (const Button& button : kButtons) {
    const Image& down = this->*button.down;
    if (down.visible && down.rect.contains(point)) return true;
  }
  return false;
}

// Mouse handlers act on the left button only. A press on a released picture
// presses its button (the window keeps the mouse, so the release comes here
// wherever the pointer is); a press on the page starts a drag.
void TManualForm::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint point = event->position().toPoint();
  if (const Button* button = buttonAt(point)) {
    pressedButton_ = button;
    (this->*button->press)();
  } else if (!pressedPictureAt(point) && sh_page_top.contains(point)) {
    sh_page_topMouseDown(point);
  }
}

void TManualForm::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_ && event->buttons().testFlag(Qt::LeftButton))
    sh_page_topMouseMove(event->globalPosition().toPoint());
}

void TManualForm::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = false;
  if (const Button* button = std::exchange(pressedButton_, nullptr)) (this->*button->release)();
}

void TManualForm::sh_page_topMouseDown(QPoint point) {
  dragStart_ = point;
  dragging_ = zarvik::dragFollowsPointer(*this);
}

// Placed from the pointer's screen position, so that the press point stays
// under the pointer: the window-relative position of a motion queued before
// the last move is stale.
void TManualForm::sh_page_topMouseMove(QPoint globalPoint) { move(globalPoint - dragStart_); }

void TManualForm::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && !isActiveWindow()) releaseHeld();
  QWidget::changeEvent(event);
}

void TManualForm::releaseHeld() {
  keyCodes_.releaseAll();
  pressedButton_ = nullptr;
  dragging_ = false;
  for (const Button& button : kButtons) (this->*button.up).visible = (this->*button.down).visible;
  update();
}

void TManualForm::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  const auto draw = [&painter](const Image& image) {
    if (!image.visible) return;
    painter.save();
    painter.setClipRect(image.rect);
    painter.drawImage(image.rect.topLeft(), image.picture);
    painter.restore();
  };
  draw(im_page_top);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(sh_page_top.adjusted(0, 0, -1, -1));
  for (const Button& button : kButtons) {
    draw(this->*button.down);
    draw(this->*button.up);
  }
}
