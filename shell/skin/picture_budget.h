#pragma once
// What every picture decoder checks before it allocates pixels, and the
// cropping of a picture decoded whole.

#include <QtGlobal>
#include <algorithm>

#include "picture_loader.h"

namespace zarvik {

// Neither side of a picture can exceed this, so width x height never
// overflows whatever a header says.
inline constexpr qint64 kMaxSide = 1LL << 24;

inline bool sizeAcceptable(qint64 width, qint64 height, qint64 maxPixels) {
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
         width * height <= std::min(maxPixels, kMaxPicturePixels);
}

// Keeps `keep`'s part of a picture decoded whole, all of it without `keep`:
// a deep copy, so that the whole one is freed.
void keepPart(DecodedPicture& picture, const PartToKeep& keep);

}  // namespace zarvik
