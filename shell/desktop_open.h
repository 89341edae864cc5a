#pragma once
// The desktop's open operation for the documents and links of the menu, the
// splash and the about box. What the desktop cannot open is reported in the
// error box, naming the file or address and what is missing.

#include <QString>

class QUrl;
class QWidget;

namespace zarvik {

// Opens a link (web page, e-mail address) with the desktop's program for it.
void openOnDesktop(QWidget* parent, const QUrl& url);

// Opens a file of the current folder with the desktop's program for it. Only
// a regular file of a sane size is handed over: a FIFO or a device would hang
// the program that opens it.
void openFileOnDesktop(QWidget* parent, const QString& fileName);

}  // namespace zarvik
