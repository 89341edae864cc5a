#pragma once
// Records what the desktop is asked to open, for the given URL schemes,
// instead of starting a browser, a mail program or an editor.

#include <QDesktopServices>
#include <QObject>
#include <QStringList>
#include <QUrl>

class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  explicit UrlRecorder(QStringList schemes = {"https", "mailto"}) : schemes_(std::move(schemes)) {
    for (const QString& scheme : schemes_) QDesktopServices::setUrlHandler(scheme, this, "open");
  }
  ~UrlRecorder() override {
    for (const QString& scheme : schemes_) QDesktopServices::unsetUrlHandler(scheme);
  }
  QStringList opened;
 public slots:
  void open(const QUrl& url) { opened << url.toString(); }

 private:
  QStringList schemes_;
};
