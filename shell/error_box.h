#pragma once
// The error message box: QMessageBox::critical titled "Error" with one OK
// button, over its parent, or centred on the screen when the parent is not
// shown; its text is also written to stderr. Tests replace the box, so that
// nothing waits for a click.

#include <QString>
#include <functional>

class QWidget;

namespace zarvik {

using ErrorBoxHandler = std::function<void(QWidget* parent, const QString& text)>;

void showErrorBox(QWidget* parent, const QString& text);
// Replaces the box; an empty handler restores it. Returns the previous one.
ErrorBoxHandler setErrorBoxHandler(ErrorBoxHandler handler);

}  // namespace zarvik
