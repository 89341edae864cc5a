#pragma once
// TManualForm, the manual viewer: a borderless, stay-on-top window showing one
// of eight page pictures. Its size and pages come from Config.ini.

#include <QImage>
#include <QRect>
#include <QWidget>
#include <array>

#include "skin_loader.h"

class TManualForm : public QWidget {
  Q_OBJECT

 public:
  struct PageImage {
    QRect rect;
    bool visible = false;
    QImage picture;
  };

  explicit TManualForm(zarvik::SkinSources sources, QWidget* parent = nullptr);

  // Sizes the window and its full-size elements, and loads the eight pages.
  void LoadManualPages();
  // Puts a copy of page ManualPage's picture on display.
  void Vid_Show_Page();

  int ManualPage = 1;
  std::array<PageImage, 8> im_page;  // im_page_01 .. im_page_08; PageImages[n-1]
  PageImage im_page_top;             // the page on display
  QRect sh_page_top;                 // the drag area, outlined in black

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  zarvik::SkinSources sources_;
};
