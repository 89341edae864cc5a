#include "pixel_style.h"

#include <QComboBox>
#include <QAbstractItemView>
#include <QImage>
#include <QStyleOption>
#include <QStyledItemDelegate>

namespace zarvik {

namespace {

// Qt's style scales its sizes by the resolution of an option's font
// metrics: metrics taken on a 96-dpi device keep them at 100 %.
QFontMetrics metricsAt100Percent(const QFont& font) {
  static QImage device = [] {
    QImage image(1, 1, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);  // 96 dpi
    image.setDotsPerMeterY(3780);
    return image;
  }();
  return QFontMetrics(font, &device);
}

// Calls `draw` with a copy of the option whose metrics are at 100 %, for the
// kinds of option the windows' controls give; others pass unchanged.
template <typename Draw>
auto at100Percent(const QStyleOption* option, const QWidget* widget, Draw draw) {
  const QFont font = widget ? widget->font() : QFont();
  const auto adjusted = [&](auto copy) {
    copy.fontMetrics = metricsAt100Percent(font);
    return draw(&copy);
  };
  if (!option) return adjusted(QStyleOption());
  if (const auto* o = qstyleoption_cast<const QStyleOptionComboBox*>(option)) return adjusted(*o);
  if (const auto* o = qstyleoption_cast<const QStyleOptionButton*>(option)) return adjusted(*o);
  if (const auto* o = qstyleoption_cast<const QStyleOptionViewItem*>(option)) return adjusted(*o);
  if (const auto* o = qstyleoption_cast<const QStyleOptionFrame*>(option)) return adjusted(*o);
  if (const auto* o = qstyleoption_cast<const QStyleOptionSlider*>(option)) return adjusted(*o);
  if (option->type == QStyleOption::SO_Default) return adjusted(*option);
  return draw(option);
}

constexpr char kScrollingList[] = "zarvikScrollingList";

class FixedHeightItems : public QStyledItemDelegate {
 public:
  FixedHeightItems(int height, QObject* parent) : QStyledItemDelegate(parent), height_(height) {}
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), height_};
  }

 private:
  int height_;
};

}  // namespace

PixelStyle::PixelStyle(QObject* owner) { setParent(owner); }

void PixelStyle::use(QWidget& control) { control.setStyle(this); }

void PixelStyle::useForScrollingList(QComboBox& list, int itemHeight, int visibleItems) {
  use(list);
  list.setProperty(kScrollingList, true);
  list.setItemDelegate(new FixedHeightItems(itemHeight, &list));
  list.setMaxVisibleItems(visibleItems);
  list.view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

int PixelStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                          QStyleHintReturn* data) const {
  if (hint == SH_ComboBox_Popup && widget && widget->property(kScrollingList).toBool()) return 0;
  return QProxyStyle::styleHint(hint, option, widget, data);
}

int PixelStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
  return at100Percent(option, widget,
                      [&](const QStyleOption* o) { return QProxyStyle::pixelMetric(metric, o, widget); });
}

void PixelStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const {
  at100Percent(option, widget,
               [&](const QStyleOption* o) { QProxyStyle::drawPrimitive(element, o, painter, widget); });
}

void PixelStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                             const QWidget* widget) const {
  at100Percent(option, widget,
               [&](const QStyleOption* o) { QProxyStyle::drawControl(element, o, painter, widget); });
}

void PixelStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                    QPainter* painter, const QWidget* widget) const {
  at100Percent(option, widget, [&](const QStyleOption* o) {
    QProxyStyle::drawComplexControl(control, static_cast<const QStyleOptionComplex*>(o), painter, widget);
  });
}

QRect PixelStyle::subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const {
  return at100Percent(option, widget,
                      [&](const QStyleOption* o) { return QProxyStyle::subElementRect(element, o, widget); });
}

QRect PixelStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                                 const QWidget* widget) const {
  return at100Percent(option, widget, [&](const QStyleOption* o) {
    return QProxyStyle::subControlRect(control, static_cast<const QStyleOptionComplex*>(o), part, widget);
  });
}

QSize PixelStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                   const QWidget* widget) const {
  return at100Percent(option, widget, [&](const QStyleOption* o) {
    return QProxyStyle::sizeFromContents(type, o, size, widget);
  });
}

}  // namespace zarvik
