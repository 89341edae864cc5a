#include "game_recorder.h"

#include "buttons.h"
#include "sim_script.h"

namespace zarvik {

namespace {

// "btn_game_a_down" is "game_a" in scripts.
std::string_view scriptName(ImageId pressed) { return kButtonInputs[buttonOf(pressed) - 1].name; }

}  // namespace

std::string statusLine(const Handheld& hh, int64_t t) {
  return "t=" + decimal(t) + " mode=" + decimal(hh.Mode) + " score=" + decimal(hh.Score) +
         " misses=" + decimal(hh.MissCount) + " hero=" + decimal(hh.HeroPos) +
         " hiscore_a=" + decimal(hh.HiScoreA) + " hiscore_b=" + decimal(hh.HiScoreB);
}

GameRecorder::GameRecorder(Handheld& handheld, PacedScheduler& time, LineSink& sink, const SessionStart& start)
    : handheld_(handheld),
      time_(time),
      sink_(sink),
      shown_{0, handheld.Score, handheld.MissCount, start.hiScoreA, start.hiScoreB} {
  handheld_.buttonListener = this;
  time_.listener = this;
  listening_ = true;
  send("# zarvik-sim --seed " + decimal(start.seed) + " --now " + formatDateTime(start.now) +
       " --hiscore-a " + decimal(start.hiScoreA) + " --hiscore-b " + decimal(start.hiScoreB) +
       "\n# A session of the Zarvik, recorded as played: zarvik-sim with the options above replays it.\n");
}

GameRecorder::~GameRecorder() { finish(); }

void GameRecorder::stopListening() {
  if (!listening_) return;
  listening_ = false;
  if (handheld_.buttonListener == this) handheld_.buttonListener = nullptr;
  if (time_.listener == this) time_.listener = nullptr;
}

void GameRecorder::send(const std::string& out) {
  if (listening_ && !out.empty() && !sink_.write(out)) stopListening();
}

// A held key's repeated press: its picture shows already and its flag is
// set, so the press does nothing at all.
bool GameRecorder::pressChangesNothing(ImageId pressed) const {
  const bool flag = pressed == btn_game_a_down   ? handheld_.GameAHeld
                    : pressed == btn_game_b_down ? handheld_.GameBHeld
                                                 : handheld_.ButtonLatch;
  return flag && handheld_.panel[pressed].visible;
}

void GameRecorder::buttonAction(ImageId pressed, bool down) {
  if (down && pressChangesNothing(pressed)) return;
  std::string out;
  const int64_t t = time_.catchUp();
  noteHighScoresSetOutside(t, out);
  showIfChanged(out);
  waitUntil(t, out);
  out += std::string(down ? "down " : "up ") + std::string(scriptName(pressed)) + "\n";
  send(out);
}

// What changed since the last call: the last press, and the menu.
void GameRecorder::beforeEvents() {
  std::string out;
  noteHighScoresSetOutside(time_.now(), out);
  showIfChanged(out);
  send(out);
}

void GameRecorder::afterEvents() {
  shown_.hiScoreA = handheld_.HiScoreA;  // a game's end stores its high score itself
  shown_.hiScoreB = handheld_.HiScoreB;
  if (handheld_.Score == shown_.score && handheld_.MissCount == shown_.misses) return;
  std::string out;
  waitUntil(time_.now(), out);
  show(out);
  send(out);
}

std::string GameRecorder::closingLines() {
  const Shown kept = shown_;
  std::string out;
  const int64_t t = time_.catchUp();
  noteHighScoresSetOutside(t, out);
  waitUntil(t, out);
  show(out);
  shown_ = kept;
  return out;
}

void GameRecorder::finish() {
  if (!listening_) return;
  send(closingLines());
  stopListening();
}

void GameRecorder::waitUntil(int64_t t, std::string& out) {
  if (t <= shown_.written) return;
  out += "wait " + decimal(t - shown_.written) + "\n";
  shown_.written = t;
}

void GameRecorder::show(std::string& out) {
  out += "show\n# " + statusLine(handheld_, shown_.written) + "\n";
  shown_.score = handheld_.Score;
  shown_.misses = handheld_.MissCount;
}

void GameRecorder::showIfChanged(std::string& out) {
  if (handheld_.Score != shown_.score || handheld_.MissCount != shown_.misses) show(out);
}

// The high scores reset from the menu, between two of the handheld's events.
void GameRecorder::noteHighScoresSetOutside(int64_t t, std::string& out) {
  if (handheld_.HiScoreA == shown_.hiScoreA && handheld_.HiScoreB == shown_.hiScoreB) return;
  waitUntil(t, out);
  shown_.hiScoreA = handheld_.HiScoreA;
  shown_.hiScoreB = handheld_.HiScoreB;
  out += "hiscores " + decimal(shown_.hiScoreA) + " " + decimal(shown_.hiScoreB) + "\n";
}

}  // namespace zarvik
