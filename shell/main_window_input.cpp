// TForm1's keyboard, mouse and gamepads: the five buttons worked by their
// bound keys, by left clicks on their pictures and by pads, the hints naming
// the keys, pointer shapes, dragging the window in windowed mode, and the
// zoom keys.

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QToolTip>

#include "main_window.h"
#include "sdl_gamepad.h"
#include "window_placement.h"

using namespace zarvik;

void TForm1::UpdateButtonHints() {
  hints_.fill(QString());
  for (const ButtonHint& hint : buttonHints(KeyBindings))
    hints_[hint.image] = QString::fromStdString(hint.text);
}

QString TForm1::hintOf(ImageId id) const { return hints_[id]; }

void TForm1::applyKeyChoices(const std::array<int, kButtonCount>& keyIndexes) {
  for (int n = 1; n <= kButtonCount; ++n) {
    KeyBindings[n].KeyIndex = keyIndexes[n - 1];
    KeyBindings.AssignWord(n);
  }
  KeyBindings.save(handheld_.settings());
  UpdateButtonHints();
}

void TForm1::FormKeyDown(std::uint16_t key) {
  if (const int n = KeyBindings.bindingFor(key)) pressButton(handheld_, n, true);
}

void TForm1::FormKeyUp(std::uint16_t key) {
  if (const int n = KeyBindings.bindingFor(key)) releaseButton(n);
}

// A face that a modal window blocks (the key dialog is open) takes no
// presses from pads, as it takes none from keys; the release of an ignored
// press is ignored too.
void TForm1::gamepadButtonDown(Button button) {
  const int n = button;
  if (!isEnabled() || inputBlocked_) return;
  padHeld_[n - 1] = true;
  pressButton(handheld_, n, true);
}

void TForm1::gamepadButtonUp(Button button) {
  const int n = button;
  const bool keyOrMouseHolds = keyCodes_.holds(KeyBindings[n].VirtualKey) || pressedButton_ == n;
  if (std::exchange(padHeld_[n - 1], false) && !keyOrMouseHolds) pressButton(handheld_, n, false);
}

// The release of a key or of the mouse; a button a pad still holds stays down.
void TForm1::releaseButton(int n) {
  if (!padHeld_[n - 1]) pressButton(handheld_, n, false);
}

int TForm1::zoomStep(const QKeyEvent& event) {
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  if (!modifiers.testFlag(Qt::ControlModifier) || (modifiers & (Qt::AltModifier | Qt::MetaModifier))) return 0;
  switch (event.key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: return 1;  // '+' without its Shift
    case Qt::Key_Minus: return -1;
    default: return 0;
  }
}

bool TForm1::isLcdLookKey(const QKeyEvent& event) const {
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  return event.key() == Qt::Key_L && modifiers.testFlag(Qt::ControlModifier) &&
         !(modifiers & (Qt::AltModifier | Qt::MetaModifier)) && !KeyBindings.bindingFor(virtualKeyCode(event.key(), modifiers));
}

// A held key repeats its press (each repetition reaches the down action,
// which ignores a button already held); X11's auto-repeat releases do not
// count as releases. A menu shortcut acts once per press, and only alone.
// The zoom keys act on the window alone: their press, and through its scan
// code their release, reach neither the bindings nor the menu's shortcuts.
// Ctrl and L switch the LCD look once however long they are held.
void TForm1::keyPressEvent(QKeyEvent* event) {
  if (const int step = zoomStep(*event)) {
    if (const quint32 scan = event->nativeScanCode()) keyCodes_.ignoreHeld({scan});
    setZoom(Zoom + step);
    return;
  }
  if (isLcdLookKey(*event)) {
    bool repeat = false;
    keyCodes_.press(*event, &repeat);
    if (!repeat) setLcdLook(!lcdLook_.enabled());
    return;
  }
  bool repeat = false;
  const std::uint16_t key = keyCodes_.press(*event, &repeat);
  constexpr Qt::KeyboardModifiers kModifiers =
      Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
  if (!repeat && !(event->modifiers() & kModifiers) && menuShortcut(key)) return;
  FormKeyDown(key);
}

void TForm1::keyReleaseEvent(QKeyEvent* event) {
  if (const std::uint16_t key = keyCodes_.release(*event)) FormKeyUp(key);
}

std::optional<ImageId> TForm1::mouseTargetAt(QPoint point) const {
  const std::optional<ImageId> id = imageAt(point);
  if (id)
    if (const int n = buttonOf(*id)) return kButtonInputs[n - 1].clickable;
  return id;
}

bool TForm1::isDragArea(ImageId id) const {
  return id == im_background || id == im_background_screen_top || id == btn_set_top;
}

// The in-game menu lies over everything as a widget of its own, which takes
// the presses on it.
void TForm1::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint point = event->position().toPoint();
  dragging_ = false;
  const std::optional<ImageId> target = mouseTargetAt(point);
  if (!target) return;
  if (const int n = buttonOf(*target)) {
    pressedButton_ = n;
    pressButton(handheld_, n, true);
  } else if (isDragArea(*target) && !IsFullscreen) {
    DragStart = point;
    dragging_ = dragFollowsPointer(*this);
  }
}

// The window keeps the mouse while a button is held, so the release of a
// pressed button arrives here even when the pointer has left its picture.
void TForm1::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = false;
  if (const int n = std::exchange(pressedButton_, 0)) releaseButton(n);
}

void TForm1::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  if (event->buttons() == Qt::NoButton) {
    const std::optional<ImageId> target = mouseTargetAt(point);
    if (target && buttonOf(*target)) setCursor(Qt::PointingHandCursor);
    else if (target == btn_set_top) setCursor(Qt::WhatsThisCursor);
    else unsetCursor();
    return;
  }
  // The window follows the pointer so that the pressed point stays under it.
  // Placed from the pointer's screen position: the window-relative position
  // of a motion queued before the last move is stale.
  if (dragging_ && !IsFullscreen && event->buttons().testFlag(Qt::LeftButton))
    move(event->globalPosition().toPoint() - DragStart);
}

bool TForm1::event(QEvent* event) {
  if (event->type() == QEvent::WindowBlocked || event->type() == QEvent::WindowUnblocked)
    inputBlocked_ = event->type() == QEvent::WindowBlocked;
  if (event->type() != QEvent::ToolTip) return QWidget::event(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const std::optional<ImageId> target =
      gameMenuBackgroundRect().contains(help->pos()) ? std::nullopt : mouseTargetAt(help->pos());
  const QString hint = target ? hints_[*target] : QString();
  if (hint.isEmpty()) {
    QToolTip::hideText();
    event->ignore();
  } else {
    QToolTip::showText(help->globalPos(), hint, this, toWindow(handheld_.panel[*target].rect));
  }
  return true;
}

// Releases every button held by a key or by the mouse. Called when the
// window loses the keyboard (another window, the context menu) or the mouse
// (the context menu takes it): their releases would never arrive here, and
// the buttons would stay down. Pads keep their buttons: SDL reports their
// releases whichever window has the keyboard.
void TForm1::releaseHeldButtons() {
  for (const std::uint16_t key : keyCodes_.releaseAll()) FormKeyUp(key);
  if (const int n = std::exchange(pressedButton_, 0)) releaseButton(n);
  dragging_ = false;
}

void TForm1::focusOutEvent(QFocusEvent* event) {
  releaseHeldButtons();
  QWidget::focusOutEvent(event);
}

void TForm1::contextMenuEvent(QContextMenuEvent* event) {
  releaseHeldButtons();
  pm_0_menu->popup(event->globalPos());
}
