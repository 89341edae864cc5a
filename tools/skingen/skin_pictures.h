#pragma once
// Every picture of the skin, drawn once, and how each is stored in its file.

#include <QColor>
#include <QImage>
#include <QString>
#include <array>
#include <vector>

#include "skin_images.h"

namespace skingen {

// How a skin picture is stored. Together the kinds use every decoder the
// program has for skin pictures: PNG with alpha, bitmaps with a key colour
// (the colour of their bottom-left pixel), opaque bitmaps and icons.
enum class FileKind { Png, KeyedBmp, OpaqueBmp, Ico };

struct SkinFile {
  QString fileName;  // within the skin folder
  FileKind kind;
  QColor key;        // the see-through colour of a keyed bitmap
};

SkinFile skinFileFor(zarvik::ImageId id);

// What the LCD shows and which buttons are held, for composed views.
struct Display {
  std::vector<zarvik::ImageId> lit;          // segments shown
  std::array<int, 4> digits{-1, -1, -1, -1};  // glyph at each position, -1 blank
  std::vector<zarvik::ImageId> pressed;      // buttons held down (their _top image)

  static Display allSegments();  // every segment lit, 8888
};

class SkinPictures {
 public:
  // Draws every picture. Throws std::runtime_error when a keyed bitmap would
  // not have its key colour in its bottom-left pixel.
  SkinPictures();

  // The picture as written to its file (a keyed bitmap holds its key colour).
  const QImage& stored(zarvik::ImageId id) const { return stored_[id]; }
  // The picture as the program draws it: keyed pixels see-through.
  const QImage& shown(zarvik::ImageId id) const { return shown_[id]; }

  // The face as the program's window shows it for the given display.
  QImage compose(const Display& display) const;

 private:
  std::array<QImage, zarvik::kImageCount> stored_;
  std::array<QImage, zarvik::kImageCount> shown_;
};

}  // namespace skingen
