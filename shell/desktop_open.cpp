#include "desktop_open.h"

#include <QDesktopServices>
#include <QDir>
#include <QStandardPaths>
#include <QUrl>

#include "error_box.h"
#include "regular_file.h"

namespace zarvik {

namespace {

// Qt's open operation on Linux (on X and on Wayland alike, outside a
// sandbox) starts xdg-open, or failing that a desktop's or browser's own
// opener; it fails when it finds none of them or cannot start the one found.
QString whyNotOpened() {
  const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (opener.isEmpty())
    return QStringLiteral("no program to open it was found: xdg-open, which opens files and links on "
                          "Linux desktops, is not installed (Debian package xdg-utils).");
  return QStringLiteral("the desktop's open command %1 could not be started.").arg(opener);
}

void open(QWidget* parent, const QUrl& url, const QString& shownAs) {
  if (!QDesktopServices::openUrl(url))
    showErrorBox(parent, QStringLiteral("Cannot open %1: %2").arg(shownAs, whyNotOpened()));
}

}  // namespace

void openOnDesktop(QWidget* parent, const QUrl& url) { open(parent, url, url.toString()); }

// The name is made absolute here: a relative file URL means nothing to xdg-open.
void openFileOnDesktop(QWidget* parent, const QString& fileName) {
  const QString path = QDir::current().absoluteFilePath(fileName);
  const QString shownAs = QDir::toNativeSeparators(path);
  if (const auto problem = checkRegularFile(path.toStdString(), kMaxDocumentBytes)) {
    showErrorBox(parent, QStringLiteral("Cannot open %1: %2.").arg(shownAs, QString::fromStdString(problem->message)));
    return;
  }
  open(parent, QUrl::fromLocalFile(path), shownAs);
}

}  // namespace zarvik
