#include "window_labels.h"

#include <QLabel>

namespace zarvik {

void setTextColour(QWidget& widget, QColor colour) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::WindowText, colour);
  widget.setPalette(palette);
}

QLabel* makeLabel(QWidget* parent, const QString& text, QRect place, const QFont& font, QColor colour,
                  Qt::Alignment alignment) {
  auto* label = new QLabel(text, parent);
  label->setFont(font);
  label->setAlignment(alignment);
  if (place.width() > 0) {
    label->setGeometry(place);
  } else {
    label->move(place.topLeft());
    label->adjustSize();
  }
  setTextColour(*label, colour);
  return label;
}

}  // namespace zarvik
