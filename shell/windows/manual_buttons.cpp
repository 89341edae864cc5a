#include "manual_buttons.h"

#include <array>
#include <string_view>

namespace zarvik {
namespace {

constexpr QRgb kFace = qRgb(0, 0, 255);
constexpr QRgb kGlyph = qRgb(255, 255, 255);
constexpr QRgb kOuterLight = qRgb(192, 192, 255);
constexpr QRgb kInnerLight = qRgb(128, 128, 255);
constexpr QRgb kInnerDark = qRgb(0, 0, 192);
constexpr QRgb kOuterDark = qRgb(0, 0, 0);

// The glyphs, 'X' for a white pixel; the right chevron is the left one mirrored.
constexpr std::array<std::string_view, 8> kCross = {
    "XX....XX", "XXX..XXX", ".XXXXXX.", "..XXXX..", "..XXXX..", ".XXXXXX.", "XXX..XXX", "XX....XX"};
constexpr std::array<std::string_view, 8> kLeftChevron = {
    "...XX", "..XX.", ".XX..", "XX...", "XX...", ".XX..", "..XX.", "...XX"};

// Ring 0 is the outer line of the bevel, ring 1 the inner one.
struct Bevel {
  std::array<QRgb, 2> topLeft;
  std::array<QRgb, 2> bottomRight;
};
constexpr Bevel kReleased{{kOuterLight, kInnerLight}, {kOuterDark, kInnerDark}};
constexpr Bevel kPressed{{kOuterDark, kInnerDark}, {kOuterLight, kInnerLight}};

void drawBevel(QImage& picture, const Bevel& bevel) {
  for (int ring = 0; ring < 2; ++ring) {
    const int right = picture.width() - 1 - ring;
    const int bottom = picture.height() - 1 - ring;
    // The dark lines are drawn last and take the two far corners.
    for (int x = ring; x <= right; ++x) picture.setPixel(x, ring, bevel.topLeft[ring]);
    for (int y = ring; y <= bottom; ++y) picture.setPixel(ring, y, bevel.topLeft[ring]);
    for (int x = ring; x <= right; ++x) picture.setPixel(x, bottom, bevel.bottomRight[ring]);
    for (int y = ring; y <= bottom; ++y) picture.setPixel(right, y, bevel.bottomRight[ring]);
  }
}

// Draws the glyph centred, or moved by `shift` pixels right and down.
void drawGlyph(QImage& picture, ManualGlyph glyph, int shift) {
  const auto& rows = glyph == ManualGlyph::Cross ? kCross : kLeftChevron;
  const bool mirrored = glyph == ManualGlyph::RightChevron;
  const int width = int(rows[0].size());
  const int left = (picture.width() - width) / 2 + shift;
  const int top = (picture.height() - int(rows.size())) / 2 + shift;
  for (int y = 0; y < int(rows.size()); ++y)
    for (int x = 0; x < width; ++x)
      if (rows[y][mirrored ? width - 1 - x : x] == 'X') picture.setPixel(left + x, top + y, kGlyph);
}

}  // namespace

QImage manualButtonPicture(ManualGlyph glyph, bool pressed) {
  QImage picture(kManualButtonSize, QImage::Format_RGB32);
  picture.fill(kFace);
  drawBevel(picture, pressed ? kPressed : kReleased);
  drawGlyph(picture, glyph, pressed ? 1 : 0);
  return picture;
}

}  // namespace zarvik
