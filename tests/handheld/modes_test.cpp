#include <gtest/gtest.h>

#include "rig.h"

namespace zarvik::test {

// Brings a fresh handheld into the given mode by its buttons.
void enterMode(Rig& rig, int mode) {
  if (mode == ModeAllSegments) return;
  if (mode <= ModeDate) {
    for (int i = 0; i < mode; ++i) rig.time();
  } else if (mode == ModeGameAReady || mode == ModeGameBReady) {
    rig.time();
    mode == ModeGameAReady ? rig.gameA() : rig.gameB();
  } else if (mode == ModeGameAPlay || mode == ModeGameBPlay) {
    rig.startGame(mode == ModeGameAPlay);
  } else {
    rig.startGame(true);
    while (rig.hh.Mode != ModeGameOver) rig.wait(100);
  }
  ASSERT_EQ(rig.hh.Mode, mode);
}

struct Transition {
  void (Handheld::*down)();
  void (Handheld::*up)();
  const char* name;
  ImageId pressed;
  std::array<int, 11> downTarget;  // the mode after the press, by mode 0..10
};

const Transition kTransitions[] = {
    {&Handheld::Inp_game_a_down, &Handheld::Inp_game_a_up, "game_a", btn_game_a_down,
     {1, 6, 6, 6, 6, 6, 6, 7, 8, 9, 6}},
    {&Handheld::Inp_game_b_down, &Handheld::Inp_game_b_up, "game_b", btn_game_b_down,
     {1, 7, 7, 7, 7, 7, 6, 7, 8, 9, 7}},
    {&Handheld::Inp_time_down, &Handheld::Inp_time_up, "time", btn_time_down,
     {1, 2, 3, 4, 5, 1, 6, 7, 8, 9, 1}},
    {&Handheld::Inp_left_down, &Handheld::Inp_left_up, "left", btn_left_down,
     {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
    {&Handheld::Inp_right_down, &Handheld::Inp_right_up, "right", btn_right_down,
     {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
};

TEST(ButtonTransitions, EveryButtonInEveryMode) {
  for (const Transition& t : kTransitions) {
    for (int mode = 0; mode <= 10; ++mode) {
      Rig rig;
      enterMode(rig, mode);
      (rig.hh.*t.down)();
      EXPECT_EQ(rig.hh.Mode, t.downTarget[mode]) << t.name << " down in mode " << mode;
      EXPECT_TRUE(rig.lit(t.pressed)) << t.name << " in mode " << mode;
      (rig.hh.*t.up)();
      EXPECT_FALSE(rig.lit(t.pressed));
    }
  }
}

TEST(Modes, TimeCyclesThroughTheWatchDisplays) {
  Rig rig(at(9, 30));
  rig.time();
  rig.wait(1);
  EXPECT_TRUE(rig.lit(im_panel_time_1));
  EXPECT_EQ(rig.digits(), "_930");
  rig.time();
  EXPECT_TRUE(rig.lit(im_panel_time_2));
  EXPECT_FALSE(rig.lit(im_panel_time_1));
  rig.time();  // alarm: 12:00 AM whatever the time
  rig.wait(1);
  EXPECT_EQ(rig.digits(), "1200");
  EXPECT_TRUE(rig.lit(im_panel_alarm) && rig.lit(im_panel_time_am));
  EXPECT_FALSE(rig.lit(im_panel_time_pm));
  rig.time();  // chronograph: 00:00, steady colon, no timer
  EXPECT_EQ(rig.digits(), "0000");
  EXPECT_TRUE(rig.lit(im_panel_chrono) && rig.lit(im_panel_time_colon));
  rig.wait(5000);
  EXPECT_TRUE(rig.lit(im_panel_time_colon));
  EXPECT_EQ(rig.digits(), "0000");
  rig.time();
  rig.wait(1);
  EXPECT_TRUE(rig.lit(im_panel_date));
  EXPECT_EQ(rig.digits(), "_3_1");
  rig.time();
  EXPECT_EQ(rig.hh.Mode, ModeTime1);
  EXPECT_FALSE(rig.lit(im_panel_bell));
}

TEST(Modes, ReadyDisplayShowsTheGamesHighScore) {
  Rig rig;
  rig.hh.HiScoreA = 42;
  rig.hh.HiScoreB = 1234;
  rig.time();
  rig.sounds();
  rig.hh.Inp_game_b_down();
  EXPECT_EQ(rig.hh.Mode, ModeGameBReady);
  EXPECT_EQ(rig.digits(), "1234");
  EXPECT_TRUE(rig.lit(im_panel_game_b) && !rig.lit(im_panel_game_a));
  EXPECT_TRUE(rig.lit(im_hero_2_1) && rig.lit(im_hero_2_2) && !rig.lit(im_hero_2_3));
  EXPECT_TRUE(rig.lit(im_item_1_target) && rig.lit(im_item_2_target) && rig.lit(im_item_3_target));
  EXPECT_EQ(rig.sounds(), "start");
  EXPECT_EQ(rig.hh.HeroPos, 2);
}

TEST(GameStart, ReleasedWithinTheDelayStartsWhenTheDelayEnds) {
  Rig rig;
  rig.time();
  rig.gameA();
  rig.wait(1799);
  EXPECT_EQ(rig.hh.Mode, ModeGameAReady);
  rig.wait(1);
  EXPECT_EQ(rig.hh.Mode, ModeGameAPlay);
  EXPECT_TRUE(rig.hh.Timer_Game.enabled());
  EXPECT_FALSE(rig.hh.Timer_Game_Start.enabled());
  // The ready display stays: indicator, hero in column 2, targets; score 0.
  EXPECT_TRUE(rig.lit(im_panel_game_a) && rig.lit(im_hero_2_2) && rig.lit(im_item_2_target));
  EXPECT_EQ(rig.digits(), "___0");
}

TEST(GameStart, HeldPastTheDelayStartsAtTheRelease) {
  Rig rig;
  rig.time();
  rig.hh.Inp_game_a_down();
  rig.wait(5000);
  EXPECT_EQ(rig.hh.Mode, ModeGameAReady);
  EXPECT_FALSE(rig.hh.Timer_Game_Start.enabled());
  rig.hh.Inp_game_a_up();
  EXPECT_EQ(rig.hh.Mode, ModeGameAPlay);
}

TEST(GameStart, SecondPressWithinTheDelayDefersTheStartToItsRelease) {
  Rig rig;
  rig.time();
  rig.gameB();
  rig.wait(500);
  rig.hh.Inp_game_b_down();  // ignored as a button action, but holds the game
  EXPECT_EQ(rig.hh.Mode, ModeGameBReady);
  rig.wait(3000);
  EXPECT_EQ(rig.hh.Mode, ModeGameBReady);
  rig.hh.Inp_game_b_up();
  EXPECT_EQ(rig.hh.Mode, ModeGameBPlay);
}

TEST(GameStart, AStartedGameCannotBeLeftByAButton) {
  Rig rig;
  rig.startGame();
  rig.gameB();
  rig.time();
  rig.gameA();
  EXPECT_EQ(rig.hh.Mode, ModeGameAPlay);
}

TEST(Buttons, AutoRepeatActsOnce) {
  Rig rig;
  rig.time();
  for (int i = 0; i < 10; ++i) rig.hh.Inp_time_down();
  EXPECT_EQ(rig.hh.Mode, ModeTime2);
  rig.hh.Inp_time_up();
  rig.hh.Inp_game_a_down();
  rig.hh.Inp_game_a_down();
  rig.hh.Inp_game_a_down();
  EXPECT_EQ(rig.hh.Mode, ModeGameAReady);
}

TEST(Buttons, TimeLeftAndRightShareOneLatch) {
  Rig rig;
  rig.startGame();
  ASSERT_EQ(rig.hh.HeroPos, 2);
  rig.hh.Inp_right_down();  // moves to 3, held
  EXPECT_EQ(rig.hh.HeroPos, 3);
  rig.hh.Inp_left_down();  // ignored: the latch is taken, but the picture shows
  EXPECT_EQ(rig.hh.HeroPos, 3);
  EXPECT_TRUE(rig.lit(btn_left_down));
  rig.hh.Inp_left_up();  // clears the shared latch while Right is still down
  rig.hh.Inp_left_down();
  EXPECT_EQ(rig.hh.HeroPos, 2);
  EXPECT_TRUE(rig.lit(btn_right_down));
}

TEST(Buttons, HeroStopsAtTheEdges) {
  Rig rig;
  rig.startGame();
  rig.left();
  rig.left();
  EXPECT_EQ(rig.hh.HeroPos, 1);
  EXPECT_TRUE(rig.lit(im_hero_1_1) && rig.lit(im_hero_1_2));
  EXPECT_FALSE(rig.lit(im_hero_2_1) || rig.lit(im_hero_2_2));
  rig.right();
  rig.right();
  rig.right();
  EXPECT_EQ(rig.hh.HeroPos, 3);
}

TEST(Buttons, LeftAndRightOutsidePlayOnlyShowThePressedPicture) {
  Rig rig;
  rig.time();
  rig.gameA();  // ready display: the hero may not move yet
  rig.hh.Inp_left_down();
  EXPECT_TRUE(rig.lit(btn_left_down));
  EXPECT_EQ(rig.hh.HeroPos, 2);
  rig.hh.Inp_left_up();
}

}  // namespace zarvik::test
