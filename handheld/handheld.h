#pragma once
// The simulated handheld: its mode, buttons, watch, game and sounds, drawn
// through the segment panel. It knows nothing of the desktop shell: time,
// randomness, settings and sound arrive through the interfaces of services.h,
// and its eight timers run on whatever TimerBackend it is given.

#include <array>

#include "panel.h"
#include "services.h"
#include "timer.h"

namespace zarvik {

enum ModeNumber : int {
  ModeAllSegments = 0,
  ModeTime1 = 1,
  ModeTime2 = 2,
  ModeAlarm = 3,
  ModeChrono = 4,
  ModeDate = 5,
  ModeGameAReady = 6,
  ModeGameBReady = 7,
  ModeGameAPlay = 8,
  ModeGameBPlay = 9,
  ModeGameOver = 10,
};

// The mode a ready display (6 or 7) starts its game in (8 or 9).
constexpr int playModeOf(int readyMode) { return readyMode == ModeGameAReady ? ModeGameAPlay : ModeGameBPlay; }

// The watch display that the Time button shows next: TIME 1, TIME 2, ALM,
// CHR, DATE and round again; from any other mode, TIME 1.
constexpr int nextWatchMode(int mode) {
  switch (mode) {
    case ModeTime1: return ModeTime2;
    case ModeTime2: return ModeAlarm;
    case ModeAlarm: return ModeChrono;
    case ModeChrono: return ModeDate;
    default: return ModeTime1;
  }
}

// Told of each button action as it begins, before it acts (the recorder of
// games). `pressed` names the button by its pressed picture.
class ButtonListener {
 public:
  virtual ~ButtonListener() = default;
  virtual void buttonAction(ImageId pressed, bool down) = 0;
};

// What one step of a lane holds.
enum LaneCell : int { EmptyCell = 0, ItemCell = 1, CaughtCell = 2 };

class Handheld {
 public:
  Handheld(TimerBackend& timers, const Clock& clock, RandomSource& random, SoundLayer& sound,
           SettingsStore& settings);
  Handheld(const Handheld&) = delete;
  Handheld& operator=(const Handheld&) = delete;

  Panel panel;

  // Mode controller and buttons.
  int Mode = ModeAllSegments;
  bool GameAHeld = false;
  bool GameBHeld = false;
  bool ButtonLatch = false;  // one latch shared by Time, Left and Right
  ButtonListener* buttonListener = nullptr;

  // Game state. ItemLanes[lane-1][step-1].
  std::array<std::array<LaneCell, 5>, 3> ItemLanes{};
  std::array<int, 3> GotFlags{};
  int Score = 0;
  int HiScoreA = 0;
  int HiScoreB = 0;
  int MissCount = 0;
  int HeroPos = 2;
  int MaxItems = 1;
  int ActiveLane = 1;  // the lane the next tick advances; the game-over phase after the fifth miss
  bool HeroMovable = false;

  // Sound effects.
  bool SoundEnabled = false;
  int SoundGameover = 0;
  int SoundGot = 0;
  int SoundMiss = 0;
  int SoundMove = 0;
  int SoundStart = 0;

  Timer Timer_Alarm;
  Timer Timer_Clock;
  Timer Timer_Date;
  Timer Timer_Game_Start;
  Timer Timer_Game;
  Timer Timer_Game_Over;
  Timer Timer_Hit;
  Timer Timer_Reprise;

  // Modes (modes.cpp).
  void Gam_Set_Mode();
  void Gam_Stop_All_Timers();
  void Timer_Game_StartTimer();

  // Button actions (modes.cpp).
  void Inp_game_a_down();
  void Inp_game_a_up();
  void Inp_game_b_down();
  void Inp_game_b_up();
  void Inp_time_down();
  void Inp_time_up();
  void Inp_left_down();
  void Inp_left_up();
  void Inp_right_down();
  void Inp_right_up();

  // Watch displays (watch.cpp).
  void Timer_ClockTimer();
  void Timer_AlarmTimer();
  void Timer_DateTimer();

  // Game engine (game.cpp).
  void Gam_Set_Level();
  void Gam_Reset();
  void Timer_GameTimer();
  void Timer_HitTimer();
  void Timer_RepriseTimer();
  void Timer_Game_OverTimer();
  void Gam_Move_Hero(int step);  // -1 left, +1 right
  // HiScoreA and HiScoreB from the stored HiScore1 and HiScore2, each with
  // its value in memory as the default.
  void loadHighScores();
  // Both high scores 0, in memory and in the store.
  void resetHighScores();
  // Both high scores as given, in memory and in the store: a replay's start
  // and its high scores changed outside a game.
  void setHighScores(int hiScoreA, int hiScoreB);

  // Sound effects (sound_effects.cpp).
  // The five samples' files, in the order Snd_Load loads them.
  static constexpr const char* kSampleFiles[] = {"Sound/Gameover.wav", "Sound/Got.wav", "Sound/Miss.wav",
                                                 "Sound/Move.wav", "Sound/Start.wav"};
  // Loads the five samples in order; false when SoundGameover failed to load.
  bool Snd_Load();
  void Snd_Play(int sample);
  void Snd_Silence();
  void Snd_Release();  // frees the five samples and closes the library

  SoundLayer& sound() { return sound_; }
  SettingsStore& settings() { return settings_; }

 private:
  void clearDisplay();  // stop every timer and darken every segment
  bool pressAccepted(ImageId pressed, bool& flag);
  void releaseButton(ImageId pressed, bool& flag);
  void pressGameButton(ImageId pressed, bool& held, int readyMode);
  void releaseGameButton(ImageId pressed, bool& held, int readyMode);

  // The steps of a game tick, in their order (game.cpp).
  LaneCell& cell(int lane, int step) { return ItemLanes[lane - 1][step - 1]; }
  void retireCaughtItems();
  int judgeMiss();  // the lane missed, 0 for none
  bool judgeCatch();
  int advanceActiveLane();  // the items in the lane advanced
  void startMissPause(int missedLane);
  void redrawField();
  void playTickSound(int missedLane, bool caught, int itemsInAdvancedLane);
  int& refreshHighScore(bool gameA);  // HiScoreA or HiScoreB, with the store's
  void recordHighScore();             // at the end of a game

  const Clock& clock_;
  RandomSource& random_;
  SoundLayer& sound_;
  SettingsStore& settings_;
};

}  // namespace zarvik
