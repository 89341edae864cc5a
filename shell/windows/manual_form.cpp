#include "manual_form.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "error_box.h"

TManualForm::TManualForm(zarvik::SkinSources sources, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), sources_(std::move(sources)) {
  setWindowTitle(tr("Manual"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(415, 270);
  im_page[0].visible = true;
  im_page_top.visible = true;
  LoadManualPages();
  Vid_Show_Page();
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move((screen->size().width() - width()) / 2, (screen->size().height() - height()) / 2);
}

void TManualForm::LoadManualPages() {
  const zarvik::ManualPages manual = zarvik::loadManualPages(sources_);
  const QRect client(QPoint(0, 0), manual.clientSize);
  setFixedSize(manual.clientSize);
  im_page_top.rect = client;
  sh_page_top = client;
  for (std::size_t i = 0; i < im_page.size(); ++i) {
    im_page[i].picture = manual.pages[i];
    im_page[i].rect = client;
  }
  if (!manual.problems.isEmpty())
    zarvik::showErrorBox(this, tr("Some manual pages could not be loaded:") + "\n\n" + manual.problems.join('\n'));
  update();
}

void TManualForm::Vid_Show_Page() {
  im_page_top.picture = im_page[ManualPage - 1].picture;
  update();
}

void TManualForm::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painter.setClipRect(im_page_top.rect);
  painter.drawImage(im_page_top.rect.topLeft(), im_page_top.picture);
  painter.setClipping(false);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(sh_page_top.adjusted(0, 0, -1, -1));
}
