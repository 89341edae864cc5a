#include "panel.h"

namespace zarvik {

Panel::Panel() {
  for (int i = 0; i < kImageCount; ++i) {
    const ImageRole role = kSkinImages[i].role;
    images[i].rect = kSkinImages[i].builtin;
    images[i].visible = role == ImageRole::Face || role == ImageRole::Button;
  }
}

void Panel::setVisible(ImageId id, bool on) {
  if (images[id].visible == on) return;
  images[id].visible = on;
  if (observer) observer->imageChanged(id);
}

void Panel::setPicture(ImageId id, Picture picture) {
  if (images[id].picture == picture) return;
  images[id].picture = std::move(picture);
  if (observer) observer->imageChanged(id);
}

void Panel::showRange(int first, int last, bool on) {
  for (int i = first; i <= last; ++i) setVisible(PlaySegments[i], on);
}

void Panel::Vid_Show_All(bool on) {
  for (ImageId indicator : {im_panel_game_a, im_panel_game_b, im_panel_time_1, im_panel_time_2,
                            im_panel_time_am, im_panel_time_pm, im_panel_bell, im_panel_alarm,
                            im_panel_date, im_panel_chrono, im_panel_time_colon})
    setVisible(indicator, on);
  for (int k = 0; k < 4; ++k) setVisible(DigitPositions[k], true);
  Vid_Show_Panel_Score(8888, on);
  Vid_Show_Panel_Miss(10 * on);
  Vid_Show_All_Hero(on);
  Vid_Show_All_Item(on);
  Vid_Show_All_Item_Miss(on);
  Vid_Show_All_Item_Got(on);
  Vid_Show_All_Item_Target(on);
}

void Panel::Vid_Show_All_Hero(bool on) { showRange(0, 8, on); }
void Panel::Vid_Show_All_Item(bool on) { showRange(9, 23, on); }
void Panel::Vid_Show_All_Item_Miss(bool on) { showRange(24, 26, on); }
void Panel::Vid_Show_All_Item_Got(bool on) { showRange(27, 29, on); }
void Panel::Vid_Show_All_Item_Target(bool on) { showRange(30, 32, on); }

void Panel::Vid_Show_Hero(int column, int pose) {
  if (column < 1 || column > 3 || pose < 0 || pose > 2) return;
  setVisible(heroPart(column, 1), pose != 0);
  setVisible(heroPart(column, 2), pose == 1);
  setVisible(heroPart(column, 3), pose == 2);
}

void Panel::Vid_Show_Panel_Miss(int count) {
  for (int i = 1; i <= 10; ++i) setVisible(MissMarks[i - 1], count >= i);
}

void Panel::Vid_Show_Panel_Score(int value, bool show) {
  int n = value;
  while (n >= 10000) n -= 10000;
  if (!show) {
    for (int k = 1; k <= 4; ++k) Vid_Set_Digit(k, kBlank);
    return;
  }
  Vid_Set_Digit(1, n > 999 ? n / 1000 % 10 : kBlank);
  Vid_Set_Digit(2, n > 99 ? n / 100 % 10 : kBlank);
  Vid_Set_Digit(3, n > 9 ? n / 10 % 10 : kBlank);
  Vid_Set_Digit(4, n % 10);
}

// Anything but a digit 0..9 blanks the position: a negative value passed to
// Vid_Show_Panel_Score (a stored high score may be one) gives no glyph index.
void Panel::Vid_Set_Digit(int position, int digit) {
  if (position < 1 || position > 4) return;
  const bool isDigit = digit >= 0 && digit <= 9;
  setPicture(DigitPositions[position - 1],
             isDigit ? images[DigitPositions[4 + digit]].picture : Picture());
}

}  // namespace zarvik
