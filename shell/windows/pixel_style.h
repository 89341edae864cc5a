#pragma once
// The style of the controls that the auxiliary windows lay out in pixels
// (drop-down lists, buttons, check boxes): drawn as on a desktop at 100 %,
// whatever scale the desktop's fonts are set to. Qt's style grows its arrows,
// margins and indicators with the desktop's font resolution (at 150 % the key
// dialog's lists cut "<RIGHT ARROW>" short), while these windows keep their
// pixel sizes.

#include <QProxyStyle>

class QComboBox;

namespace zarvik {

class PixelStyle : public QProxyStyle {
 public:
  // Lives as long as `owner` (the window whose controls use it).
  explicit PixelStyle(QObject* owner);

  // Gives a control this style.
  void use(QWidget& control);
  // Gives a drop-down list this style, opening as a short scrolling list of
  // `visibleItems` items `itemHeight` pixels high (Qt's style would open a
  // long list as a column of larger rows over the whole screen).
  void useForScrollingList(QComboBox& list, int itemHeight, int visibleItems);

  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override;
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget) const override;
  QRect subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const override;
  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                       const QWidget* widget) const override;
  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override;
};

}  // namespace zarvik
