#pragma once
// Text labels of the auxiliary windows: placed, with a font and a colour.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

namespace zarvik {

void setTextColour(QWidget& widget, QColor colour);

// A label at `place`; a place of no width sizes the label to its text.
QLabel* makeLabel(QWidget* parent, const QString& text, QRect place, const QFont& font, QColor colour,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

}  // namespace zarvik
