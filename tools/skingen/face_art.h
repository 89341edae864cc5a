#pragma once
// The handheld's case and face, the glass over the LCD and the button pictures.

#include <QImage>

#include "skin_images.h"

namespace skingen {

// The face without its button caps: the case, the printed plate and frame,
// the LCD window and the holes the buttons sit in. Outside the case every
// pixel is the key colour.
QImage drawFaceBase();

// The face as it is seen: the base with every button cap released.
QImage drawFace(const QImage& faceBase);

// The overlay above all segments: glass sheen and the shadow of the LCD's
// frame, nearly transparent everywhere.
QImage drawOverlay();

// A button picture: the face around the button and its cap, released or
// pressed, filling the image's whole (opaque) rectangle.
QImage drawButton(const QImage& faceBase, zarvik::ImageId id);

}  // namespace skingen
