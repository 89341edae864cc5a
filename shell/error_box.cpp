#include "error_box.h"

#include <QDebug>
#include <QMessageBox>

namespace zarvik {
namespace {
ErrorBoxHandler handler;
}

void showErrorBox(QWidget* parent, const QString& text) {
  // Also on stderr, where a terminal or the session's log keeps it after the
  // box is dismissed.
  qWarning().noquote() << "Error:" << text;
  if (handler) {
    handler(parent, text);
    return;
  }
  // A box is placed over its parent; over a window that is not shown yet (the
  // face parked off the screen at start-up) it would land in a corner of the
  // screen. Without a parent it is centred.
  if (parent && !parent->isVisible()) parent = nullptr;
  QMessageBox::critical(parent, QStringLiteral("Error"), text);
}

ErrorBoxHandler setErrorBoxHandler(ErrorBoxHandler replacement) {
  return std::exchange(handler, std::move(replacement));
}

}  // namespace zarvik
