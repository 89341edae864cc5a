#include "error_box.h"

#include <QMessageBox>

namespace zarvik {
namespace {
ErrorBoxHandler handler;
}

void showErrorBox(QWidget* parent, const QString& text) {
  if (handler) handler(parent, text);
  else QMessageBox::critical(parent, QStringLiteral("Error"), text);
}

ErrorBoxHandler setErrorBoxHandler(ErrorBoxHandler replacement) {
  return std::exchange(handler, std::move(replacement));
}

}  // namespace zarvik
