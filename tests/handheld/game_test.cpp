#include <gtest/gtest.h>

#include <random>

#include "rig.h"

namespace zarvik::test {

int itemsInPlay(const Handheld& hh) {
  int n = 0;
  for (const auto& lane : hh.ItemLanes)
    for (int c : lane) n += c == 1;
  return n;
}

TEST(Game, NeverMovingPlayerMissesTheFirstItemAndCatchesTheNext) {
  Rig rig;
  rig.startGame();
  rig.sounds();
  rig.wait(250);  // tick 1: an item enters lane 1 whatever the draw
  EXPECT_EQ(rig.hh.ItemLanes[0][0], 1);
  EXPECT_TRUE(rig.lit(im_item_1_1));
  EXPECT_EQ(rig.sounds(), "move");
  rig.wait(11 * 250);  // ticks 2..12: MaxItems 1, so no other item
  EXPECT_EQ(itemsInPlay(rig.hh), 1);
  EXPECT_EQ(rig.hh.ItemLanes[0][3], 1);
  rig.wait(250);  // tick 13: step 5
  EXPECT_TRUE(rig.lit(im_item_1_5));
  rig.sounds();
  rig.wait(249);
  EXPECT_EQ(rig.hh.MissCount, 0);
  rig.wait(1);  // tick 14, 3.5 s after the reset: missed
  EXPECT_EQ(rig.hh.MissCount, 1);
  EXPECT_EQ(rig.sounds(), "miss");
  EXPECT_FALSE(rig.lit(im_item_1_5));
  EXPECT_TRUE(rig.lit(im_item_1_miss));
  EXPECT_FALSE(rig.lit(im_item_1_target));
  EXPECT_TRUE(rig.lit(im_panel_miss_01) && !rig.lit(im_panel_miss_02));
  EXPECT_FALSE(rig.hh.HeroMovable);
  EXPECT_FALSE(rig.hh.Timer_Game.enabled());

  rig.wait(1100);  // restart: targets back, misses dark
  EXPECT_TRUE(rig.lit(im_item_1_target));
  EXPECT_FALSE(rig.lit(im_item_1_miss));
  EXPECT_TRUE(rig.hh.HeroMovable);
  rig.wait(250);  // the first tick advances lane 2 and, on an empty field, spawns there
  EXPECT_EQ(rig.hh.ItemLanes[1][0], 1);
  rig.wait(12 * 250);
  EXPECT_EQ(rig.hh.ItemLanes[1][4], 1);
  rig.wait(250);  // 13 ticks after the spawn: caught in column 2
  EXPECT_EQ(rig.hh.Score, 1);
  EXPECT_EQ(rig.hh.MissCount, 1);
}

TEST(Game, CaughtItemTimeline) {
  Rig rig;
  rig.startGame();
  rig.left();  // column 1 faces lane 1
  rig.wait(13 * 250);  // tick t = 13: the item reaches step 5
  ASSERT_EQ(rig.hh.ItemLanes[0][4], 1);
  rig.sounds();
  rig.wait(250);  // t+1: caught
  EXPECT_EQ(rig.hh.ItemLanes[0][4], 2);
  EXPECT_TRUE(rig.lit(im_item_1_5));
  EXPECT_TRUE(rig.lit(im_hero_1_3) && !rig.lit(im_hero_1_2));
  EXPECT_EQ(rig.digits(), "___1");
  EXPECT_EQ(rig.sounds(), "got");
  EXPECT_EQ(rig.hh.ItemLanes[1][0], 1);  // k = 0 after the catch: lane 2 always spawns
  rig.wait(100);  // the catch pose lasts 100 ms
  EXPECT_TRUE(rig.lit(im_hero_1_2) && !rig.lit(im_hero_1_3));
  rig.wait(150);  // t+2: step 5 dark, the caught picture lit
  EXPECT_FALSE(rig.lit(im_item_1_5));
  EXPECT_TRUE(rig.lit(im_item_1_got));
  rig.wait(250);  // t+3: the caught picture goes dark, lane 1 advances again
  EXPECT_FALSE(rig.lit(im_item_1_got));
  EXPECT_EQ(rig.hh.ActiveLane, 2);
}

TEST(Game, MoveDuringTheCatchPoseEndsIt) {
  Rig rig;
  rig.startGame();
  rig.left();
  rig.wait(14 * 250);
  ASSERT_TRUE(rig.lit(im_hero_1_3));
  rig.right();
  EXPECT_FALSE(rig.lit(im_hero_1_1) || rig.lit(im_hero_1_3));
  EXPECT_TRUE(rig.lit(im_hero_2_1) && rig.lit(im_hero_2_2));
  rig.wait(100);  // the end of the pose redraws the current column
  EXPECT_TRUE(rig.lit(im_hero_2_2) && !rig.lit(im_hero_2_3));
}

TEST(Levels, TableForBothGames) {
  struct Row {
    int score, aMax, aInterval, bMax, bInterval;
  };
  const Row rows[] = {{0, 1, 250, 1, 215},   {3, 1, 250, 1, 215},    {4, 3, 250, 4, 215},
                      {49, 3, 250, 4, 215},  {50, 4, 250, 5, 215},   {100, 5, 215, 6, 185},
                      {199, 5, 215, 6, 185}, {200, 1, 250, 1, 215},  {350, 5, 215, 6, 185}};
  for (const Row& r : rows) {
    Rig rig;
    rig.hh.Score = r.score;
    rig.hh.Mode = ModeGameAPlay;
    rig.hh.Gam_Set_Level();
    EXPECT_EQ(rig.hh.MaxItems, r.aMax) << r.score;
    EXPECT_EQ(rig.hh.Timer_Game.interval(), r.aInterval) << r.score;
    rig.hh.Mode = ModeGameBPlay;
    rig.hh.Gam_Set_Level();
    EXPECT_EQ(rig.hh.MaxItems, r.bMax) << r.score;
    EXPECT_EQ(rig.hh.Timer_Game.interval(), r.bInterval) << r.score;
  }
  Rig rig;
  rig.hh.Mode = ModeTime1;
  rig.hh.Score = 150;
  rig.hh.Gam_Set_Level();  // outside a game nothing changes
  EXPECT_EQ(rig.hh.MaxItems, 1);
}

// Places one item at the last step of the hero's lane, so that the next tick
// catches it.
void itemBeforeTheHero(Rig& rig) {
  for (auto& lane : rig.hh.ItemLanes) lane.fill(EmptyCell);
  rig.hh.ItemLanes[rig.hh.HeroPos - 1][4] = ItemCell;
}

TEST(Levels, NewIntervalTakesEffectFromTheCatch) {
  Rig rig;
  rig.startGame();
  rig.hh.Score = 99;
  itemBeforeTheHero(rig);
  rig.wait(250);
  ASSERT_EQ(rig.hh.Score, 100);
  EXPECT_EQ(rig.hh.MaxItems, 3 + 2);
  const int lane = rig.hh.ActiveLane;
  rig.wait(214);
  EXPECT_EQ(rig.hh.ActiveLane, lane);
  rig.wait(1);
  EXPECT_NE(rig.hh.ActiveLane, lane);
}

TEST(Levels, ScoreWrapsFrom9999ToZeroAndTheFirstLevel) {
  Rig rig;
  rig.startGame(false);
  rig.hh.Score = 9999;
  rig.hh.Gam_Set_Level();
  itemBeforeTheHero(rig);
  rig.wait(215);
  EXPECT_EQ(rig.hh.Score, 0);
  EXPECT_EQ(rig.digits(), "___0");
  EXPECT_EQ(rig.hh.MaxItems, 1);
  EXPECT_EQ(rig.hh.Timer_Game.interval(), 215);
}

// Sets up a fifth miss on the next tick: four misses so far and an item at
// the last step of a lane the hero does not face.
void fifthMissNextTick(Rig& rig, int score) {
  rig.hh.MissCount = 4;
  rig.hh.Score = score;
  rig.hh.panel.Vid_Show_Panel_Score(score, true);
  for (auto& lane : rig.hh.ItemLanes) lane.fill(EmptyCell);
  rig.hh.ItemLanes[rig.hh.HeroPos == 1 ? 2 : 0][4] = ItemCell;
}

TEST(GameOver, SequenceAfterTheFifthMiss) {
  Rig rig;
  rig.hh.HiScoreA = 7;
  rig.startGame();
  fifthMissNextTick(rig, 8);
  rig.sounds();
  rig.wait(250);
  EXPECT_EQ(rig.hh.MissCount, 5);
  EXPECT_EQ(rig.sounds(), "miss");
  EXPECT_FALSE(rig.hh.Timer_Reprise.enabled());
  rig.wait(199);
  EXPECT_EQ(rig.sounds(), "");
  rig.wait(1);
  EXPECT_EQ(rig.sounds(), "gameover");
  rig.right();  // the hero may not move any more
  EXPECT_EQ(rig.hh.HeroPos, 2);
  rig.wait(3399);
  EXPECT_EQ(rig.hh.Mode, ModeGameAPlay);
  EXPECT_TRUE(rig.settings.writes.empty());
  rig.wait(1);  // 3.6 s: high score and the final display
  EXPECT_EQ(rig.hh.Mode, ModeGameOver);
  EXPECT_EQ(rig.hh.HiScoreA, 8);
  EXPECT_EQ(rig.settings.writes, std::vector<std::string>{"HiScore1=8"});
  EXPECT_EQ(rig.digits(), "___8");
  EXPECT_TRUE(rig.lit(im_panel_miss_05));
  rig.wait(29999);
  EXPECT_EQ(rig.hh.Mode, ModeGameOver);
  rig.wait(1);  // 33.6 s: the clock
  EXPECT_EQ(rig.hh.Mode, ModeTime1);
  EXPECT_FALSE(rig.hh.Timer_Game_Over.enabled());
  EXPECT_TRUE(rig.hh.Timer_Clock.enabled());
}

TEST(GameOver, EqualOrLowerScoreWritesNothing) {
  for (int score : {7, 3}) {
    Rig rig;
    rig.hh.HiScoreB = 7;
    rig.startGame(false);
    fifthMissNextTick(rig, score);
    rig.wait(215 + 3600);
    EXPECT_EQ(rig.hh.Mode, ModeGameOver);
    EXPECT_EQ(rig.hh.HiScoreB, 7);
    EXPECT_TRUE(rig.settings.writes.empty());
  }
}

TEST(GameOver, GameBWritesHiScore2AndAButtonEndsTheFinalDisplay) {
  Rig rig;
  rig.startGame(false);
  fifthMissNextTick(rig, 12);
  rig.wait(215 + 3600);
  EXPECT_EQ(rig.settings.writes, std::vector<std::string>{"HiScore2=12"});
  rig.time();
  EXPECT_EQ(rig.hh.Mode, ModeTime1);
  EXPECT_FALSE(rig.hh.Timer_Game_Over.enabled());
  rig.wait(40000);
  EXPECT_EQ(rig.hh.Mode, ModeTime1);
}

// Two copies of the program on one store, each started before the other
// stored anything: what one stores lands in the other's store as in a shared
// file. A copy shows and compares with the better of its own high score and
// the stored one, so a lower score never replaces a better one.
TEST(GameOver, TwoCopiesOnOneStoreKeepTheBestScores) {
  Rig x, y;
  const auto land = [](const Rig& from, Rig& to) {
    for (const auto& [name, value] : from.settings.values) to.settings.values[name] = value;
  };
  const auto play = [](Rig& copy, bool gameA, int score) {
    copy.time();
    copy.startGame(gameA);
    fifthMissNextTick(copy, score);
    copy.wait(250 + 3600);
    EXPECT_EQ(copy.hh.Mode, ModeGameOver);
  };
  play(x, true, 8);
  land(x, y);
  play(y, false, 4);
  land(y, x);
  y.time();
  y.hh.Inp_game_a_down();
  EXPECT_EQ(y.digits(), "___8") << "the ready display shows the other copy's high score";
  y.hh.Inp_game_a_up();
  y.wait(1800);
  fifthMissNextTick(y, 2);
  y.wait(250 + 3600);
  play(x, false, 2);
  EXPECT_EQ(x.settings.writes, std::vector<std::string>{"HiScore1=8"});
  EXPECT_EQ(y.settings.writes, std::vector<std::string>{"HiScore2=4"});
  EXPECT_EQ(y.hh.HiScoreA, 8);
  EXPECT_EQ(x.hh.HiScoreB, 4);

  // A score between the copy's own high score and a better one stored
  // meanwhile is not stored either; one above both is.
  x.settings.values["HiScore1"] = 20;
  play(x, true, 15);
  play(x, true, 21);
  EXPECT_EQ(x.settings.writes, (std::vector<std::string>{"HiScore1=8", "HiScore1=21"}));
}

TEST(Items, LoweredLimitKeepsItemsInPlay) {
  Rig rig;
  rig.startGame();
  rig.hh.Score = 199;
  rig.hh.Gam_Set_Level();
  EXPECT_EQ(rig.hh.MaxItems, 5);
  // Four items in play, one of them about to be caught: the score reaches
  // 200 and the limit falls back to 1 with three items still in play.
  for (auto& lane : rig.hh.ItemLanes) lane.fill(EmptyCell);
  rig.hh.ItemLanes[0][1] = rig.hh.ItemLanes[1][1] = rig.hh.ItemLanes[2][2] = ItemCell;
  rig.hh.ItemLanes[1][4] = ItemCell;
  rig.hh.ActiveLane = 1;
  rig.wait(215);
  EXPECT_EQ(rig.hh.Score, 200);
  EXPECT_EQ(rig.hh.MaxItems, 1);
  EXPECT_EQ(itemsInPlay(rig.hh), 3);
}

// Thousands of games with a random player: the rules that must hold at every
// tick, whatever the draws and the presses.
TEST(Properties, RandomGamesKeepTheRules) {
  int games = 0, totalCatches = 0;
  for (uint32_t seed = 1; seed <= 1500; ++seed) {
    Rig rig(at(10, 0), seed);
    std::mt19937 player(seed * 7919u);
    rig.startGame(seed % 2 == 0);
    Handheld& hh = rig.hh;
    int prevItems = 0, prevScore = 0, prevMisses = 0, prevLane = hh.ActiveLane;
    bool prevTickSpawned = false;
    while (hh.Mode != ModeGameOver) {
      const int action = int(player() % 40);
      if (action == 0) rig.left();
      if (action == 1) rig.right();
      rig.wait(5);  // ticks are at least 185 ms apart: at most one per step
      ASSERT_GE(hh.HeroPos, 1);
      ASSERT_LE(hh.HeroPos, 3);
      for (const auto& lane : hh.ItemLanes)
        for (int s = 0; s < 4; ++s) ASSERT_FALSE(lane[s] != 0 && lane[s + 1] != 0) << "seed " << seed;
      const int items = itemsInPlay(hh);
      if (items > hh.MaxItems) ASSERT_LE(items, prevItems) << "seed " << seed;
      const int catches = hh.Score - prevScore, misses = hh.MissCount - prevMisses;
      ASSERT_LE(catches + misses, 1) << "seed " << seed;
      ASSERT_GE(catches, 0);
      totalCatches += catches;
      if (hh.Mode != ModeGameOver && hh.MissCount < 5 && hh.ActiveLane != prevLane) {
        const bool spawned = hh.ItemLanes[prevLane - 1][0] == 1;  // the lane just advanced
        ASSERT_FALSE(spawned && prevTickSpawned) << "seed " << seed;
        prevTickSpawned = spawned;
      }
      prevItems = items, prevScore = hh.Score, prevMisses = hh.MissCount, prevLane = hh.ActiveLane;
      ASSERT_LT(rig.scheduler.now(), 3'600'000) << "game never ended, seed " << seed;
    }
    EXPECT_EQ(hh.MissCount, 5);
    ++games;
  }
  EXPECT_EQ(games, 1500);
  EXPECT_GT(totalCatches, 1500);  // the random player does catch items
}

}  // namespace zarvik::test
