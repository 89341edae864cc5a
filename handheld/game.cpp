// The catching game: level table, reset, the game tick, the catch pose, the
// restart after a miss, the game-over sequence, the hero's moves and the
// high scores' loading and reset.

#include <algorithm>

#include "handheld.h"

namespace zarvik {

namespace {

struct Level {
  int maxItems;
  int intervalMs;
};

// Rows by score within the 200-point cycle: 0..3, 4..49, 50..99, 100..199.
constexpr Level kGameALevels[] = {{1, 250}, {3, 250}, {4, 250}, {5, 215}};
constexpr Level kGameBLevels[] = {{1, 215}, {4, 215}, {5, 215}, {6, 185}};

int levelRow(int score) {
  int n = score;
  while (n > 199) n -= 200;
  if (n < 4) return 0;
  if (n < 50) return 1;
  if (n < 100) return 2;
  return 3;
}

constexpr int kPreviousLane[] = {0, 3, 1, 2};  // by lane 1..3

}  // namespace

void Handheld::Gam_Set_Level() {
  if (Mode != ModeGameAPlay && Mode != ModeGameBPlay) return;
  const Level& level =
      (Mode == ModeGameAPlay ? kGameALevels : kGameBLevels)[levelRow(Score)];
  MaxItems = level.maxItems;
  Timer_Game.setInterval(level.intervalMs);
}

// Entering mode 8 or 9. The ready display of mode 6 or 7 (indicator, hero in
// column 2, targets) stays as it is.
void Handheld::Gam_Reset() {
  Score = 0;
  panel.Vid_Show_Panel_Score(Score, true);
  MissCount = 0;
  panel.Vid_Show_Panel_Miss(MissCount);
  Gam_Set_Level();
  for (auto& lane : ItemLanes) lane.fill(EmptyCell);
  GotFlags.fill(0);
  HeroMovable = true;
  ActiveLane = 1;
  Timer_Game.setEnabled(true);
}

void Handheld::Timer_GameTimer() {
  retireCaughtItems();
  const int missedLane = judgeMiss();
  const bool caught = !missedLane && judgeCatch();
  const int itemsInAdvancedLane = missedLane ? 0 : advanceActiveLane();
  if (missedLane) startMissPause(missedLane);
  else ActiveLane = ActiveLane % 3 + 1;
  redrawField();
  playTickSound(missedLane, caught, itemsInAdvancedLane);
}

// A caught item shows one tick at step 5, then one tick as the lane's caught
// picture.
void Handheld::retireCaughtItems() {
  for (int lane = 1; lane <= 3; ++lane) {
    GotFlags[lane - 1] = 0;
    if (cell(lane, 5) == CaughtCell) {
      cell(lane, 5) = EmptyCell;
      GotFlags[lane - 1] = 1;
    }
  }
}

// An item at the last step outside the hero's column is lost.
int Handheld::judgeMiss() {
  int missedLane = 0;
  for (int lane = 1; lane <= 3; ++lane) {
    if (cell(lane, 5) == ItemCell && lane != HeroPos) {
      cell(lane, 5) = EmptyCell;
      missedLane = lane;
    }
  }
  return missedLane;
}

bool Handheld::judgeCatch() {
  if (cell(HeroPos, 5) != ItemCell) return false;
  panel.Vid_Show_Hero(HeroPos, 2);
  Timer_Hit.setInterval(100);
  Timer_Hit.setEnabled(true);
  cell(HeroPos, 5) = CaughtCell;
  Score += 1;
  if (Score > 9999) Score -= 10000;
  panel.Vid_Show_Panel_Score(Score, true);
  Gam_Set_Level();
  return true;
}

// Moves the active lane one step on and maybe places a new item at its start.
int Handheld::advanceActiveLane() {
  const int lane = ActiveLane;
  for (int step = 5; step > 1; --step) cell(lane, step) = cell(lane, step - 1);
  cell(lane, 1) = EmptyCell;

  int itemsInPlay = 0;
  for (const auto& row : ItemLanes)
    for (LaneCell c : row) itemsInPlay += c == ItemCell;
  const bool drawn = random_.draw() == 0;
  const bool proposed = drawn || itemsInPlay == 0;
  const bool blocked = cell(lane, 2) == ItemCell || cell(kPreviousLane[lane], 1) == ItemCell ||
                       itemsInPlay >= MaxItems;
  if (proposed && !blocked) cell(lane, 1) = ItemCell;

  int itemsInLane = 0;
  for (LaneCell c : ItemLanes[lane - 1]) itemsInLane += c == ItemCell;
  return itemsInLane;
}

// The miss shows, play rests; the fifth miss starts the game-over sequence.
void Handheld::startMissPause(int missedLane) {
  HeroMovable = false;
  Gam_Stop_All_Timers();
  panel.setVisible(itemMiss(missedLane), true);
  panel.setVisible(itemTarget(missedLane), false);
  MissCount += 1;
  panel.Vid_Show_Panel_Miss(MissCount);
  Timer& next = MissCount >= 5 ? Timer_Game_Over : Timer_Reprise;
  if (MissCount >= 5) ActiveLane = 0;
  next.setInterval(MissCount >= 5 ? 100 : 1100);
  next.setEnabled(true);
}

void Handheld::redrawField() {
  for (int lane = 1; lane <= 3; ++lane) {
    for (int step = 1; step <= 5; ++step) panel.setVisible(itemStep(lane, step), cell(lane, step) != EmptyCell);
    panel.setVisible(itemGot(lane), GotFlags[lane - 1] == 1);
  }
}

// At most one sound: miss, then catch, then a step.
void Handheld::playTickSound(int missedLane, bool caught, int itemsInAdvancedLane) {
  if (missedLane) Snd_Play(SoundMiss);
  else if (caught) Snd_Play(SoundGot);
  else if (itemsInAdvancedLane > 0) Snd_Play(SoundMove);
}

void Handheld::Timer_HitTimer() {
  panel.Vid_Show_Hero(HeroPos, 1);
  Timer_Hit.setEnabled(false);
}

void Handheld::Timer_RepriseTimer() {
  panel.Vid_Show_All_Item_Miss(false);
  panel.Vid_Show_All_Item_Target(true);
  HeroMovable = true;
  Timer_Game.setEnabled(true);
  Timer_Reprise.setEnabled(false);
}

// Phases after the fifth miss: 100 ms nothing; 200 ms the game-over sound;
// 3.6 s the high score and the final display (mode 10); 33.6 s the clock.
void Handheld::Timer_Game_OverTimer() {
  switch (ActiveLane) {
    case 0:
      break;
    case 1:
      Snd_Play(SoundGameover);
      Timer_Game_Over.setInterval(3400);
      break;
    case 2:
      recordHighScore();
      Mode = ModeGameOver;
      Gam_Set_Mode();
      Timer_Game_Over.setInterval(30000);
      break;
    case 3:
      Mode = ModeTime1;
      Gam_Set_Mode();
      Timer_Game_Over.setEnabled(false);
      break;
    default:
      break;
  }
  ActiveLane += 1;
}

// Another copy of the program may have stored a better high score since
// this one read it: the better of the two is the high score.
int& Handheld::refreshHighScore(bool gameA) {
  int& best = gameA ? HiScoreA : HiScoreB;
  best = std::max(best, settings_.readInteger(gameA ? "HiScore1" : "HiScore2", best));
  return best;
}

// A better score is stored through the store's comparison, which keeps a
// better one that another copy writes meanwhile.
void Handheld::recordHighScore() {
  if (Mode != ModeGameAPlay && Mode != ModeGameBPlay) return;
  const bool gameA = Mode == ModeGameAPlay;
  int& best = refreshHighScore(gameA);
  if (Score > best) best = settings_.writeIntegerIfHigher(gameA ? "HiScore1" : "HiScore2", Score);
}

void Handheld::loadHighScores() {
  HiScoreA = settings_.readInteger("HiScore1", HiScoreA);
  HiScoreB = settings_.readInteger("HiScore2", HiScoreB);
}

void Handheld::resetHighScores() { setHighScores(0, 0); }

void Handheld::setHighScores(int hiScoreA, int hiScoreB) {
  HiScoreA = hiScoreA;
  settings_.writeInteger("HiScore1", hiScoreA);
  HiScoreB = hiScoreB;
  settings_.writeInteger("HiScore2", hiScoreB);
}

void Handheld::Gam_Move_Hero(int step) {
  const int target = HeroPos + step;
  if (!HeroMovable || target < 1 || target > 3) return;
  panel.Vid_Show_Hero(HeroPos, 0);
  HeroPos = target;
  panel.Vid_Show_Hero(HeroPos, 1);
}

}  // namespace zarvik
