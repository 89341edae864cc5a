// The watch displays: clock, alarm and date, each updated every 500 ms with
// the colon blinking.

#include "handheld.h"

namespace zarvik {

void Handheld::Timer_ClockTimer() {
  const LocalDateTime now = clock_.now();
  int h = now.hour;
  const int m = now.minute;
  const bool pm = h > 11;
  if (pm) h -= 12;
  panel.setVisible(im_panel_time_am, !pm);
  panel.setVisible(im_panel_time_pm, pm);
  if (h == 0) h = 12;
  panel.Vid_Set_Digit(1, h > 9 ? h / 10 : kBlank);
  panel.Vid_Set_Digit(2, h % 10);
  panel.Vid_Set_Digit(3, m / 10);
  panel.Vid_Set_Digit(4, m % 10);
  panel.setVisible(im_panel_time_colon, !panel[im_panel_time_colon].visible);
  Timer_Clock.setInterval(500);
}

void Handheld::Timer_AlarmTimer() {
  panel.setVisible(im_panel_time_colon, !panel[im_panel_time_colon].visible);
  Timer_Alarm.setInterval(500);
}

void Handheld::Timer_DateTimer() {
  const LocalDateTime now = clock_.now();
  panel.Vid_Set_Digit(1, now.month > 9 ? now.month / 10 : kBlank);
  panel.Vid_Set_Digit(2, now.month % 10);
  panel.Vid_Set_Digit(3, now.day > 9 ? now.day / 10 : kBlank);
  panel.Vid_Set_Digit(4, now.day % 10);
  panel.setVisible(im_panel_time_colon, !panel[im_panel_time_colon].visible);
  Timer_Date.setInterval(500);
}

}  // namespace zarvik
