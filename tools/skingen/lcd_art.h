#pragma once
// The LCD segments: indicators, digits, miss marks, the hero and the balloons.

#include <QImage>
#include <QPainterPath>

#include "skin_images.h"

namespace skingen {

// The darkened shape of an LCD image, in face coordinates (digit glyphs are
// drawn at the place of digit position 1, where they are seen).
QPainterPath segmentShape(zarvik::ImageId id);

// The picture of an LCD image: its shape as ink on a transparent picture of
// the image's size.
QImage drawSegment(zarvik::ImageId id);

}  // namespace skingen
