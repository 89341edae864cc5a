// The mode controller: entering a mode, the start delay of a game, and the
// ten button actions.

#include "handheld.h"

namespace zarvik {

Handheld::Handheld(TimerBackend& timers, const Clock& clock, RandomSource& random,
                   SoundLayer& sound, SettingsStore& settings)
    : Timer_Alarm(timers, [this] { Timer_AlarmTimer(); }),
      Timer_Clock(timers, [this] { Timer_ClockTimer(); }),
      Timer_Date(timers, [this] { Timer_DateTimer(); }),
      Timer_Game_Start(timers, [this] { Timer_Game_StartTimer(); }),
      Timer_Game(timers, [this] { Timer_GameTimer(); }),
      Timer_Game_Over(timers, [this] { Timer_Game_OverTimer(); }),
      Timer_Hit(timers, [this] { Timer_HitTimer(); }),
      Timer_Reprise(timers, [this] { Timer_RepriseTimer(); }),
      clock_(clock),
      random_(random),
      sound_(sound),
      settings_(settings) {}

void Handheld::Gam_Stop_All_Timers() {
  for (Timer* timer : {&Timer_Alarm, &Timer_Clock, &Timer_Date, &Timer_Game, &Timer_Game_Over,
                       &Timer_Game_Start, &Timer_Hit, &Timer_Reprise})
    timer->setEnabled(false);
}

void Handheld::clearDisplay() {
  Gam_Stop_All_Timers();
  panel.Vid_Show_All(false);
}

static void startTimer(Timer& timer, int intervalMs) {
  timer.setInterval(intervalMs);
  timer.setEnabled(true);
}

void Handheld::Gam_Set_Mode() {
  switch (Mode) {
    case ModeAllSegments:
      panel.Vid_Show_All(true);
      break;
    case ModeTime1:
      clearDisplay();
      panel.setVisible(im_panel_time_1, true);
      startTimer(Timer_Clock, 1);
      break;
    case ModeTime2:
      panel.setVisible(im_panel_time_1, false);
      panel.setVisible(im_panel_time_2, true);
      break;
    case ModeAlarm:
      clearDisplay();
      panel.setVisible(im_panel_alarm, true);
      panel.Vid_Show_Panel_Score(1200, true);
      panel.setVisible(im_panel_time_am, true);
      startTimer(Timer_Alarm, 1);
      break;
    case ModeChrono:
      clearDisplay();
      panel.setVisible(im_panel_chrono, true);
      panel.setVisible(im_panel_time_colon, true);
      for (int k = 1; k <= 4; ++k) panel.Vid_Set_Digit(k, 0);
      break;
    case ModeDate:
      clearDisplay();
      panel.setVisible(im_panel_date, true);
      startTimer(Timer_Date, 1);
      break;
    case ModeGameAReady:
    case ModeGameBReady: {
      const bool gameA = Mode == ModeGameAReady;
      clearDisplay();
      panel.setVisible(gameA ? im_panel_game_a : im_panel_game_b, true);
      panel.Vid_Show_Panel_Score(refreshHighScore(gameA), true);
      HeroPos = 2;
      panel.Vid_Show_Hero(2, 1);
      panel.Vid_Show_All_Item_Target(true);
      Snd_Play(SoundStart);
      startTimer(Timer_Game_Start, 1800);
      break;
    }
    case ModeGameAPlay:
    case ModeGameBPlay:
      Gam_Reset();
      break;
    default:  // mode 10 holds the final display of a game
      break;
  }
}

void Handheld::Timer_Game_StartTimer() {
  if ((Mode == ModeGameAReady && !GameAHeld) || (Mode == ModeGameBReady && !GameBHeld)) {
    Mode = playModeOf(Mode);
    Gam_Set_Mode();
  }
  Timer_Game_Start.setEnabled(false);
}

// Shows the pressed picture and sets the button's flag. False when the flag
// was already set: the press is then ignored (a held key's auto-repeat, or
// another of the buttons sharing the latch).
bool Handheld::pressAccepted(ImageId pressed, bool& flag) {
  if (buttonListener) buttonListener->buttonAction(pressed, true);
  panel.setVisible(pressed, true);
  if (flag) return false;
  flag = true;
  return true;
}

void Handheld::releaseButton(ImageId pressed, bool& flag) {
  if (buttonListener) buttonListener->buttonAction(pressed, false);
  panel.setVisible(pressed, false);
  flag = false;
}

// Game A and Game B: from mode 0 to the clock; from a watch mode or the game
// over display to the game's high-score display; ignored during a game.
void Handheld::pressGameButton(ImageId pressed, bool& held, int readyMode) {
  if (!pressAccepted(pressed, held)) return;
  if (Mode == ModeAllSegments) Mode = ModeTime1;
  else if ((Mode >= ModeTime1 && Mode <= ModeDate) || Mode == ModeGameOver) Mode = readyMode;
  else return;
  Gam_Set_Mode();
}

// Releasing the button after the start delay has ended starts the game.
void Handheld::releaseGameButton(ImageId pressed, bool& held, int readyMode) {
  releaseButton(pressed, held);
  if (Mode == readyMode && !Timer_Game_Start.enabled()) {
    Mode = playModeOf(readyMode);
    Gam_Set_Mode();
  }
}

void Handheld::Inp_game_a_down() { pressGameButton(btn_game_a_down, GameAHeld, ModeGameAReady); }
void Handheld::Inp_game_b_down() { pressGameButton(btn_game_b_down, GameBHeld, ModeGameBReady); }
void Handheld::Inp_game_a_up() { releaseGameButton(btn_game_a_down, GameAHeld, ModeGameAReady); }
void Handheld::Inp_game_b_up() { releaseGameButton(btn_game_b_down, GameBHeld, ModeGameBReady); }

void Handheld::Inp_time_down() {
  if (!pressAccepted(btn_time_down, ButtonLatch)) return;
  if ((Mode >= ModeAllSegments && Mode <= ModeDate) || Mode == ModeGameOver) {
    Mode = nextWatchMode(Mode);
    Gam_Set_Mode();
  }
}

void Handheld::Inp_left_down() {
  if (pressAccepted(btn_left_down, ButtonLatch)) Gam_Move_Hero(-1);
}

void Handheld::Inp_right_down() {
  if (pressAccepted(btn_right_down, ButtonLatch)) Gam_Move_Hero(+1);
}

void Handheld::Inp_time_up() { releaseButton(btn_time_down, ButtonLatch); }
void Handheld::Inp_left_up() { releaseButton(btn_left_down, ButtonLatch); }
void Handheld::Inp_right_up() { releaseButton(btn_right_down, ButtonLatch); }

}  // namespace zarvik
