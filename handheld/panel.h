#pragma once
// The LCD segment panel: the 81 images of the face with their pictures, places
// and visible flags, the fixed tables through which the handheld addresses
// them, and the display operations. The panel keeps no game or watch state.

#include <array>
#include <memory>

#include "skin_images.h"

namespace zarvik {

// A picture is shell-owned, immutable image data behind a shared handle.
// Copying a picture copies the handle; an empty handle is an empty picture.
class PictureData {
 public:
  virtual ~PictureData() = default;
};
using Picture = std::shared_ptr<const PictureData>;

struct Image {
  Rect rect;
  bool visible = false;
  Picture picture;
};

// Told of every change of an image's visible flag or picture, so that the
// window repaints just that image's rectangle.
class PanelObserver {
 public:
  virtual ~PanelObserver() = default;
  virtual void imageChanged(ImageId id) = 0;
};

// Entries 0-3 the digit positions, 4 + d the glyph of digit d.
inline constexpr std::array<ImageId, 14> DigitPositions = {
    im_panel_digit_pos_1, im_panel_digit_pos_2, im_panel_digit_pos_3, im_panel_digit_pos_4,
    im_panel_number_0,    im_panel_number_1,    im_panel_number_2,    im_panel_number_3,
    im_panel_number_4,    im_panel_number_5,    im_panel_number_6,    im_panel_number_7,
    im_panel_number_8,    im_panel_number_9};

inline constexpr std::array<ImageId, 10> MissMarks = {
    im_panel_miss_01, im_panel_miss_02, im_panel_miss_03, im_panel_miss_04, im_panel_miss_05,
    im_panel_miss_06, im_panel_miss_07, im_panel_miss_08, im_panel_miss_09, im_panel_miss_10};

// 0-8 hero parts column-major (part p of column c at 3(c-1)+(p-1)), 9-23 item
// steps lane by lane (step s of lane l at 9+5(l-1)+(s-1)), 24-26 missed,
// 27-29 caught, 30-32 target images of lanes 1-3.
inline constexpr std::array<ImageId, 33> PlaySegments = [] {
  std::array<ImageId, 33> table{};
  for (int c = 1; c <= 3; ++c)
    for (int p = 1; p <= 3; ++p) table[3 * (c - 1) + (p - 1)] = heroPart(c, p);
  for (int l = 1; l <= 3; ++l)
    for (int s = 1; s <= 5; ++s) table[9 + 5 * (l - 1) + (s - 1)] = itemStep(l, s);
  for (int l = 1; l <= 3; ++l) {
    table[23 + l] = itemMiss(l);
    table[26 + l] = itemGot(l);
    table[29 + l] = itemTarget(l);
  }
  return table;
}();

inline constexpr int kBlank = -1;  // a digit position showing nothing

class Panel {
 public:
  // Built-in layout; the face, the overlay and the button pictures shown,
  // every segment and every pressed picture hidden.
  Panel();

  std::array<Image, kImageCount> images;
  PanelObserver* observer = nullptr;

  const Image& operator[](ImageId id) const { return images[id]; }
  void setVisible(ImageId id, bool on);
  void setPicture(ImageId id, Picture picture);

  void Vid_Show_All(bool on);
  void Vid_Show_All_Hero(bool on);
  void Vid_Show_All_Item(bool on);
  void Vid_Show_All_Item_Miss(bool on);
  void Vid_Show_All_Item_Got(bool on);
  void Vid_Show_All_Item_Target(bool on);
  // Column 1-3; pose 0 clear, 1 rest, 2 catch. Any other column or pose is ignored.
  void Vid_Show_Hero(int column, int pose);
  void Vid_Show_Panel_Miss(int count);
  void Vid_Show_Panel_Score(int value, bool show);
  void Vid_Set_Digit(int position, int digit);  // position 1-4; digit 0-9, anything else blank

 private:
  void showRange(int first, int last, bool on);  // PlaySegments entries first..last
};

}  // namespace zarvik
