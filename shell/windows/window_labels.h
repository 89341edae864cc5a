#pragma once
// The auxiliary windows' look: their dark blue ground, and text labels
// placed with a font and a colour.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

namespace zarvik {

inline const QColor kDialogBlue(8, 41, 82);

// Fills a window's background with a colour.
void fillBackground(QWidget& window, QColor colour);

void setTextColour(QWidget& widget, QColor colour);

// Gives a label its text, font and colour and puts it at `place`; a place of
// no width sizes the label to its text.
void placeLabel(QLabel& label, const QString& text, QRect place, const QFont& font, QColor colour,
                Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
// A new label, placed as above.
QLabel* makeLabel(QWidget* parent, const QString& text, QRect place, const QFont& font, QColor colour,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

}  // namespace zarvik
