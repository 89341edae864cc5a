#include "window_labels.h"

#include <QLabel>

namespace zarvik {

void fillBackground(QWidget& window, QColor colour) {
  QPalette palette = window.palette();
  palette.setColor(QPalette::Window, colour);
  window.setPalette(palette);
  window.setAutoFillBackground(true);
}

void setTextColour(QWidget& widget, QColor colour) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::WindowText, colour);
  widget.setPalette(palette);
}

void placeLabel(QLabel& label, const QString& text, QRect place, const QFont& font, QColor colour,
                Qt::Alignment alignment) {
  label.setText(text);
  label.setFont(font);
  label.setAlignment(alignment);
  if (place.width() > 0) {
    label.setGeometry(place);
  } else {
    label.move(place.topLeft());
    label.adjustSize();
  }
  setTextColour(label, colour);
}

QLabel* makeLabel(QWidget* parent, const QString& text, QRect place, const QFont& font, QColor colour,
                  Qt::Alignment alignment) {
  auto* label = new QLabel(parent);
  placeLabel(*label, text, place, font, colour, alignment);
  return label;
}

}  // namespace zarvik
