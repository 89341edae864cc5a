#pragma once
// Colours, shared geometry and painting helpers of the default skin's artwork.

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRect>

#include "qt_rect.h"
#include "skin_images.h"

class QPainter;

namespace skingen {

// The face and its LCD window (the place of the overlay above all segments).
inline constexpr QRect kFaceRect{0, 0, zarvik::kFaceWidth, zarvik::kFaceHeight};
inline constexpr QRect kLcdRect{145, 50, 264, 204};

// See-through colour of the face bitmap, outside the case.
inline const QColor kFaceKey{255, 0, 255};

// The liquid crystal: a light grey-green reflector and dark grey-black ink.
inline const QColor kLcdLight{206, 214, 190};
inline const QColor kLcdDark{186, 196, 170};
inline const QColor kInkTop{58, 62, 54};
inline const QColor kInkBottom{22, 24, 20};

QRect builtinRect(zarvik::ImageId id);

// A transparent ARGB picture of the given size.
QImage blankPicture(QSize size);

// Fills a path in face coordinates as darkened liquid crystal: a faint shadow
// on the reflector below and right of it, then the ink with a slight gradient.
void paintInk(QPainter& p, const QPainterPath& path);

// A stroke of the given width around a polyline, as a fillable outline.
QPainterPath strokeOf(const QPainterPath& line, double width,
                      Qt::PenCapStyle cap = Qt::RoundCap);

// Text as a path filling the box's height, condensed where it is too wide,
// centred in the box.
QPainterPath fittedText(const QString& text, const QRectF& box,
                        const QString& family = QStringLiteral("Liberation Sans"),
                        int weight = 700);

}  // namespace skingen
