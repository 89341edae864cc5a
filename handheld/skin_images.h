#pragma once
// The 81 skinnable images of the handheld's face, in skin order: entry N of
// this table is configured by section Image<N+1> of Config.ini. Each row gives
// the image's name, its role and its built-in place on the 561 x 374 face.

#include <array>
#include <string_view>

namespace zarvik {

// What an image is on the face.
//   Face:   the face and the LCD overlay (always shown, drag areas)
//   Button: a clickable button picture (always shown, drawn opaque)
//   Pressed: a button's pressed picture (shown while the button is down)
//   Segment: an LCD element, shown or hidden by the display operations
//   Digit:  one of the four digit positions (its picture changes, not its flag)
//   Glyph:  a digit picture store, never shown
enum class ImageRole { Face, Button, Pressed, Segment, Digit, Glyph };

// The face's built-in size: the picture im_background covers.
inline constexpr int kFaceWidth = 561;
inline constexpr int kFaceHeight = 374;

#define ZARVIK_SKIN_IMAGES(X)                                  \
  X(im_background, Face, 0, 0, kFaceWidth, kFaceHeight)       \
  X(im_background_screen_top, Face, 145, 50, 264, 204)         \
  X(btn_game_a_down, Pressed, 279, 304, 38, 21)                \
  X(btn_game_a_top, Button, 279, 304, 38, 21)                  \
  X(btn_game_b_down, Pressed, 338, 304, 38, 21)                \
  X(btn_game_b_top, Button, 338, 304, 38, 21)                  \
  X(btn_time_down, Pressed, 398, 304, 38, 21)                  \
  X(btn_time_top, Button, 398, 304, 38, 21)                    \
  X(btn_set_top, Button, 226, 302, 26, 26)                     \
  X(btn_left_down, Pressed, 46, 217, 42, 42)                   \
  X(btn_left_top, Button, 46, 217, 42, 42)                     \
  X(btn_right_down, Pressed, 473, 217, 42, 43)                 \
  X(btn_right_top, Button, 473, 217, 42, 43)                   \
  X(im_panel_game_a, Segment, 153, 61, 27, 11)                 \
  X(im_panel_game_b, Segment, 153, 76, 27, 12)                 \
  X(im_panel_miss_01, Segment, 330, 62, 19, 21)                \
  X(im_panel_miss_02, Segment, 343, 62, 19, 20)                \
  X(im_panel_miss_03, Segment, 356, 62, 20, 21)                \
  X(im_panel_miss_04, Segment, 371, 62, 19, 21)                \
  X(im_panel_miss_05, Segment, 385, 62, 19, 21)                \
  X(im_panel_miss_06, Segment, 329, 80, 20, 21)                \
  X(im_panel_miss_07, Segment, 344, 80, 18, 21)                \
  X(im_panel_miss_08, Segment, 356, 80, 20, 21)                \
  X(im_panel_miss_09, Segment, 371, 80, 18, 21)                \
  X(im_panel_miss_10, Segment, 383, 80, 21, 21)                \
  X(im_panel_digit_pos_1, Digit, 250, 61, 16, 27)              \
  X(im_panel_digit_pos_2, Digit, 265, 61, 16, 27)              \
  X(im_panel_digit_pos_3, Digit, 284, 61, 16, 27)              \
  X(im_panel_digit_pos_4, Digit, 299, 61, 16, 27)              \
  X(im_panel_time_colon, Segment, 280, 67, 7, 16)              \
  X(im_panel_time_am, Segment, 315, 61, 13, 12)                \
  X(im_panel_time_pm, Segment, 314, 76, 14, 12)                \
  X(im_panel_time_1, Segment, 223, 61, 22, 11)                 \
  X(im_panel_time_2, Segment, 200, 61, 23, 11)                 \
  X(im_panel_bell, Segment, 179, 63, 19, 20)                   \
  X(im_panel_alarm, Segment, 200, 77, 17, 11)                  \
  X(im_panel_chrono, Segment, 217, 77, 15, 11)                 \
  X(im_panel_date, Segment, 232, 77, 17, 11)                   \
  X(im_panel_number_0, Glyph, 0, 336, 16, 27)                  \
  X(im_panel_number_1, Glyph, 16, 336, 16, 27)                 \
  X(im_panel_number_2, Glyph, 32, 336, 16, 27)                 \
  X(im_panel_number_3, Glyph, 48, 336, 16, 27)                 \
  X(im_panel_number_4, Glyph, 64, 336, 16, 27)                 \
  X(im_panel_number_5, Glyph, 80, 336, 16, 27)                 \
  X(im_panel_number_6, Glyph, 96, 336, 16, 27)                 \
  X(im_panel_number_7, Glyph, 112, 336, 16, 27)                \
  X(im_panel_number_8, Glyph, 128, 336, 16, 27)                \
  X(im_panel_number_9, Glyph, 144, 336, 16, 27)                \
  X(im_hero_1_1, Segment, 240, 97, 26, 30)                     \
  X(im_hero_2_1, Segment, 273, 110, 23, 20)                    \
  X(im_hero_3_1, Segment, 297, 104, 29, 29)                    \
  X(im_hero_1_2, Segment, 228, 92, 22, 31)                     \
  X(im_hero_2_2, Segment, 269, 102, 29, 23)                    \
  X(im_hero_3_2, Segment, 318, 100, 19, 27)                    \
  X(im_hero_1_3, Segment, 213, 116, 32, 32)                    \
  X(im_hero_2_3, Segment, 260, 127, 18, 32)                    \
  X(im_hero_3_3, Segment, 319, 121, 35, 28)                    \
  X(im_item_1_1, Segment, 210, 221, 24, 21)                    \
  X(im_item_2_1, Segment, 239, 221, 24, 21)                    \
  X(im_item_3_1, Segment, 328, 222, 25, 21)                    \
  X(im_item_1_2, Segment, 171, 216, 37, 25)                    \
  X(im_item_2_2, Segment, 269, 221, 34, 21)                    \
  X(im_item_3_2, Segment, 352, 221, 38, 22)                    \
  X(im_item_1_3, Segment, 171, 194, 36, 28)                    \
  X(im_item_2_3, Segment, 273, 194, 31, 30)                    \
  X(im_item_3_3, Segment, 354, 194, 37, 31)                    \
  X(im_item_1_4, Segment, 172, 169, 38, 31)                    \
  X(im_item_2_4, Segment, 269, 170, 34, 30)                    \
  X(im_item_3_4, Segment, 352, 171, 37, 28)                    \
  X(im_item_1_5, Segment, 174, 134, 46, 44)                    \
  X(im_item_2_5, Segment, 270, 142, 33, 36)                    \
  X(im_item_3_5, Segment, 342, 138, 36, 47)                    \
  X(im_item_1_got, Segment, 207, 184, 32, 41)                  \
  X(im_item_2_got, Segment, 241, 187, 32, 36)                  \
  X(im_item_3_got, Segment, 310, 183, 38, 39)                  \
  X(im_item_1_miss, Segment, 210, 150, 28, 46)                 \
  X(im_item_2_miss, Segment, 238, 158, 32, 31)                 \
  X(im_item_3_miss, Segment, 316, 145, 32, 38)                 \
  X(im_item_1_target, Segment, 189, 126, 25, 17)               \
  X(im_item_2_target, Segment, 277, 134, 25, 15)               \
  X(im_item_3_target, Segment, 351, 130, 26, 15)

// Image identifiers; the value is the image's index in skin order (0 to 80).
enum ImageId : int {
#define ZARVIK_IMAGE_ID(name, role, left, top, width, height) name,
  ZARVIK_SKIN_IMAGES(ZARVIK_IMAGE_ID)
#undef ZARVIK_IMAGE_ID
  kImageCount
};

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Rect&) const = default;
};

struct ImageSpec {
  std::string_view name;
  ImageRole role;
  Rect builtin;
};

inline constexpr std::array<ImageSpec, kImageCount> kSkinImages = {{
#define ZARVIK_IMAGE_SPEC(name, role, left, top, width, height) \
  {#name, ImageRole::role, {left, top, width, height}},
    ZARVIK_SKIN_IMAGES(ZARVIK_IMAGE_SPEC)
#undef ZARVIK_IMAGE_SPEC
}};

// Offsets within the skin order, for images addressed by number.
constexpr ImageId heroPart(int column, int part) {  // column 1..3, part 1..3
  return ImageId(im_hero_1_1 + 3 * (part - 1) + (column - 1));
}
constexpr ImageId itemStep(int lane, int step) {  // lane 1..3, step 1..5
  return ImageId(im_item_1_1 + 3 * (step - 1) + (lane - 1));
}
constexpr ImageId itemGot(int lane) { return ImageId(im_item_1_got + lane - 1); }
constexpr ImageId itemMiss(int lane) { return ImageId(im_item_1_miss + lane - 1); }
constexpr ImageId itemTarget(int lane) { return ImageId(im_item_1_target + lane - 1); }
constexpr ImageId missMark(int n) { return ImageId(im_panel_miss_01 + n - 1); }  // 1..10
constexpr ImageId digitPosition(int k) { return ImageId(im_panel_digit_pos_1 + k - 1); }  // 1..4
constexpr ImageId digitGlyph(int d) { return ImageId(im_panel_number_0 + d); }  // 0..9

}  // namespace zarvik
