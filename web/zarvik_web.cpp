// The handheld in a browser page: the same core as the desktop program, its
// interfaces answered by the page's script. Its timers run in virtual time
// paced by one of the page's timers (paced_time.h), so that the session,
// recorded as it is played, can be saved as a zarvik-sim script that replays
// it exactly; such a script is also played back here, on the same handheld
// code. The settings live in localStorage, samples play through Web Audio,
// and every change of an image tells the page which rectangle to redraw.

#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <array>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "buttons.h"
#include "config_values.h"
#include "game_recorder.h"
#include "handheld.h"
#include "ini_file.h"
#include "key_bindings.h"
#include "paced_time.h"
#include "seeded_random.h"
#include "sim_script.h"
#include "system_clock.h"

using namespace zarvik;

// The page's side of the interfaces (web/page.js, object `zarvik.host`).
EM_JS(void, js_arm, (int timer, int intervalMs), { Module.host.arm(timer, intervalMs); });
EM_JS(void, js_disarm, (int timer), { Module.host.disarm(timer); });
EM_JS(void, js_image_changed, (int id), { Module.host.imageChanged(id); });
EM_JS(int, js_load_sample, (const char* name), { return Module.host.loadSample(UTF8ToString(name)); });
EM_JS(void, js_play_sample, (int sample), { Module.host.playSample(sample); });
EM_JS(void, js_stop_samples, (), { Module.host.stopSamples(); });
EM_JS(int, js_setting_length, (const char* name), {
  const value = Module.host.readSetting(UTF8ToString(name));
  return value === null ? -1 : lengthBytesUTF8(value);
});
EM_JS(void, js_read_setting, (const char* name, char* out, int size), {
  stringToUTF8(Module.host.readSetting(UTF8ToString(name)), out, size);
});
EM_JS(void, js_write_setting, (const char* name, int value), {
  Module.host.writeSetting(UTF8ToString(name), String(value));
});
EM_JS(void, js_replay_ended, (), { Module.host.replayEnded(); });

namespace {

// Timers are known to the page by their place in this list.
class PageTimers : public TimerBackend {
 public:
  void arm(Timer& timer, int intervalMs) override { js_arm(idOf(timer), intervalMs); }
  void disarm(Timer& timer) override { js_disarm(idOf(timer)); }
  void fire(int id) {
    if (id >= 0 && id < int(timers_.size())) timers_[id]->fire();
  }

 private:
  int idOf(Timer& timer) {
    for (int i = 0; i < int(timers_.size()); ++i)
      if (timers_[i] == &timer) return i;
    timers_.push_back(&timer);
    return int(timers_.size()) - 1;
  }
  std::vector<Timer*> timers_;
};

// Samples are fetched and decoded by the page; muting is the page's business.
class PageSound : public SoundLayer {
 public:
  bool FSOUND_Init(int, int, unsigned) override { return true; }
  bool FSOUND_SetOutput(int) override { return true; }
  int FSOUND_Sample_Load(int, const char* name, unsigned, int, int) override { return js_load_sample(name); }
  int FSOUND_PlaySound(int, int sample) override {
    if (sample) js_play_sample(sample);
    return sample ? 1 : -1;
  }
  bool FSOUND_StopSound(int) override {
    js_stop_samples();
    return true;
  }
  void FSOUND_Sample_Free(int) override {}
  void FSOUND_Close() override {}
};

// Settings are kept as text, read by the desktop store's rule; anything else
// reads as the default.
class PageSettings : public SettingsStore {
 public:
  int readInteger(const std::string& name, int defaultValue) override {
    const int length = js_setting_length(name.c_str());
    if (length < 0) return defaultValue;
    std::string text(length + 1, '\0');
    js_read_setting(name.c_str(), text.data(), length + 1);
    text.resize(length);
    return parseInteger(text).value_or(defaultValue);
  }
  void writeInteger(const std::string& name, int value) override { js_write_setting(name.c_str(), value); }
};

// A picture names the skin image whose file it was loaded from, so that a
// digit position tells the page which glyph it shows.
struct SkinFile : PictureData {
  explicit SkinFile(int image) : image(image) {}
  int image;
};

class PageObserver : public PanelObserver {
 public:
  void imageChanged(ImageId id) override { js_image_changed(id); }
};

// The page's clock in whole milliseconds.
int64_t pageMilliseconds() { return int64_t(emscripten_get_now()); }

// One run of the handheld: the player's, on the page's clock, or a replay's,
// on a clock of its own that runs in virtual time from the script's --now.
struct Session {
  Session(TimerBackend& real, const Clock* clock, SoundLayer& sound, SettingsStore& settings, uint32_t seed,
          int64_t virtualStart)
      : time(real, pageMilliseconds, virtualStart),
        ownClock(time.virtualTime()),
        random(seed),
        handheld(time, clock ? *clock : ownClock, random, sound, settings) {}
  PacedScheduler time;
  VirtualClock ownClock;
  SeededRandom random;
  Handheld handheld;
};

// The script of the player's session, kept for "Save replay".
struct TextSink : LineSink {
  std::string text;
  bool write(std::string_view lines) override {
    text += lines;
    return true;
  }
};

// A replay's settings: the high scores it reaches are not the player's.
struct NoSettings : SettingsStore {
  int readInteger(const std::string&, int defaultValue) override { return defaultValue; }
  void writeInteger(const std::string&, int) override {}
};

// A script being played back: its steps, run at their virtual moments, on a
// handheld whose clock starts at the script's --now and which stores nothing.
struct Replay {
  std::vector<ScriptStep> steps;
  std::size_t next = 0;
  int64_t at = 0;  // the script's virtual time
  NoSettings settings;
};

struct Page {
  PageTimers timers;
  SystemClock clock;
  PageSound sound;
  PageSettings settings;
  PageObserver observer;
  // The page's start: the local time at the whole second, and virtual time
  // at the milliseconds past it, so that a replay's watch ticks as this one.
  int64_t startMillisecond = 0;
  LocalDateTime startTime = clock.now(startMillisecond);
  uint32_t seed = 0;
  std::unique_ptr<Session> session = std::make_unique<Session>(timers, &clock, sound, settings, 0, startMillisecond);
  TextSink script;
  std::unique_ptr<GameRecorder> recorder;
  std::unique_ptr<Replay> replay;
  KeyBindings keys;
  std::array<std::string, kImageCount> files;
  int keyColour = 0xff00ff;
  int width = kFaceWidth;
  int height = kFaceHeight;
  Handheld& handheld() { return session->handheld; }
};

Page& page() {
  static Page instance;
  return instance;
}

// Button n (1..5) pressed or released by the player; a replay presses its own.
void pressPlayerButton(int n, bool down) {
  if (!page().replay) pressButton(page().handheld(), n, down);
}

}  // namespace

extern "C" {

// Reads the skin's Config.ini by the desktop program's rules: places, picture
// files and the key colour.
EMSCRIPTEN_KEEPALIVE void zw_load_config(const char* text) {
  Page& p = page();
  const IniFile ini = IniFile::fromText(text);
  p.width = readExtent(ini, "Common", "GameWidth", kFaceWidth).value;
  p.height = readExtent(ini, "Common", "GameHeight", kFaceHeight).value;
  const int bgr = readInteger(ini, "VideoMode", "TranspColor", 0x00ff00ff);
  p.keyColour = (bgr & 0xff) << 16 | (bgr & 0xff00) | (bgr >> 16 & 0xff);
  Panel& panel = p.handheld().panel;
  for (int n = 1; n <= kImageCount; ++n) {
    const ImageId id = ImageId(n - 1);
    const ImageEntry entry = readImageEntry(ini, n);
    if (entry.path) {
      p.files[id] = *entry.path;
      std::replace(p.files[id].begin(), p.files[id].end(), '\\', '/');
      panel.setPicture(id, std::make_shared<SkinFile>(id));
    }
    panel.images[id].rect = entry.rect;
  }
}

EMSCRIPTEN_KEEPALIVE int zw_face_width() { return page().width; }
EMSCRIPTEN_KEEPALIVE int zw_face_height() { return page().height; }
EMSCRIPTEN_KEEPALIVE int zw_key_colour() { return page().keyColour; }
EMSCRIPTEN_KEEPALIVE const char* zw_image_file(int id) { return page().files.at(id).c_str(); }
EMSCRIPTEN_KEEPALIVE int zw_image_role(int id) { return int(kSkinImages.at(id).role); }
EMSCRIPTEN_KEEPALIVE const char* zw_image_name(int id) { return kSkinImages.at(id).name.data(); }
// Field 0 left, 1 top, 2 width, 3 height.
EMSCRIPTEN_KEEPALIVE int zw_image_rect(int id, int field) {
  const Rect& r = page().handheld().panel.images.at(id).rect;
  const int fields[] = {r.left, r.top, r.width, r.height};
  return fields[field & 3];
}
EMSCRIPTEN_KEEPALIVE int zw_image_visible(int id) { return page().handheld().panel.images.at(id).visible; }
// The image whose picture this image shows, or -1 for none.
EMSCRIPTEN_KEEPALIVE int zw_image_picture(int id) {
  // The page sets no other kind of picture.
  const auto* file = static_cast<const SkinFile*>(page().handheld().panel.images.at(id).picture.get());
  return file ? file->image : -1;
}

// Starts the handheld in mode 0 with the stored high scores and keys, and
// records the session. A seed of 0 draws one; any other plays a repeatable
// game, as zarvik-sim --seed does.
EMSCRIPTEN_KEEPALIVE void zw_start(unsigned seed) {
  Page& p = page();
  p.seed = seed ? seed : std::random_device{}();
  Handheld& hh = p.handheld();
  p.session->random = SeededRandom(p.seed);
  hh.panel.observer = &p.observer;
  p.keys.load(p.settings);
  hh.loadHighScores();
  hh.SoundEnabled = true;
  hh.Snd_Load();
  p.recorder = std::make_unique<GameRecorder>(hh, p.session->time, p.script,
                                              SessionStart{p.seed, p.startTime, hh.HiScoreA, hh.HiScoreB});
  hh.Mode = ModeAllSegments;
  hh.Gam_Set_Mode();
}

// The player's session as a zarvik-sim script, up to now.
EMSCRIPTEN_KEEPALIVE const char* zw_session_script() {
  static std::string text;
  Page& p = page();
  text = p.script.text + (p.recorder ? p.recorder->closingLines() : "");
  return text.c_str();
}

namespace {

// Runs the replay's steps up to its next wait, which it then waits for.
void runReplay() {
  Page& p = page();
  Replay& r = *p.replay;
  Handheld& hh = p.handheld();
  while (r.next < r.steps.size()) {
    const ScriptStep& step = r.steps[r.next++];
    switch (step.kind) {
      case ScriptStep::Wait:
        r.at += step.ms;
        if (r.at > p.session->time.now()) return p.session->time.stopAt(r.at, runReplay);
        break;
      case ScriptStep::Down:
      case ScriptStep::Up: pressButton(hh, step.button, step.kind == ScriptStep::Down); break;
      case ScriptStep::Now: p.session->ownClock.set(step.time); break;
      case ScriptStep::HiScores: hh.setHighScores(step.hiScoreA, step.hiScoreB); break;
      case ScriptStep::Show:
      case ScriptStep::Nothing: break;
    }
  }
  js_replay_ended();
}

}  // namespace

// Plays a zarvik-sim script (a saved session) back in place of the player's
// session, `speed` times as fast as it was played. Empty when it started,
// else what is wrong with the script; a bad script changes nothing.
EMSCRIPTEN_KEEPALIVE const char* zw_replay(const char* text, int speed) {
  static std::string error;
  error.clear();
  auto replay = std::make_unique<Replay>();
  ScriptOptions options;
  std::string_view rest = text;
  for (int number = 1; !rest.empty() && error.empty(); ++number) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    if (number == 1 && line.starts_with("# zarvik-sim"))
      error = readScriptOptions(splitWords(line.substr(12)), options);
    ScriptStep step;
    if (error.empty()) error = readScriptLine(line, step);
    if (!error.empty()) error = "line " + decimal(number) + ": " + error;
    else if (step.kind != ScriptStep::Nothing) replay->steps.push_back(step);
  }
  if (!error.empty()) return error.c_str();

  Page& p = page();
  p.recorder.reset();
  std::unique_ptr<Session> old = std::move(p.session);
  p.session = std::make_unique<Session>(p.timers, nullptr, p.sound, replay->settings, options.seed.value_or(0), 0);
  p.session->ownClock.set(options.now.value_or(p.startTime));
  Handheld& hh = p.handheld();
  const Handheld& was = old->handheld;
  for (int id = 0; id < kImageCount; ++id) {
    hh.panel.images[id].rect = was.panel.images[id].rect;
    hh.panel.images[id].picture = was.panel.images[id].picture;
  }
  hh.SoundEnabled = true;
  hh.SoundGameover = was.SoundGameover;
  hh.SoundGot = was.SoundGot;
  hh.SoundMiss = was.SoundMiss;
  hh.SoundMove = was.SoundMove;
  hh.SoundStart = was.SoundStart;
  old.reset();
  hh.panel.observer = &p.observer;
  hh.HiScoreA = options.hiScoreA;
  hh.HiScoreB = options.hiScoreB;
  p.session->time.setSpeed(speed);
  p.replay = std::move(replay);
  hh.Mode = ModeAllSegments;
  hh.Gam_Set_Mode();
  for (int id = 0; id < kImageCount; ++id) p.observer.imageChanged(ImageId(id));
  runReplay();
  return "";
}

EMSCRIPTEN_KEEPALIVE void zw_fire(int timer) { page().timers.fire(timer); }
EMSCRIPTEN_KEEPALIVE void zw_button(int n, int down) { pressPlayerButton(n, down != 0); }
// A key by its Windows-style code; the button it is bound to, or 0.
EMSCRIPTEN_KEEPALIVE int zw_key(int virtualKey, int down) {
  const int n = page().keys.bindingFor(std::uint16_t(virtualKey));
  pressPlayerButton(n, down != 0);
  return n;
}
// The button (1..5) whose clickable picture this image is, or 0.
EMSCRIPTEN_KEEPALIVE int zw_button_of(int id) {
  const int n = id >= 0 && id < kImageCount ? buttonOf(ImageId(id)) : 0;
  return n && kButtonInputs[n - 1].clickable == id ? n : 0;
}
// The state the page and its tests look at: 0 mode, 1 score, 2 misses,
// 3 high score A, 4 high score B, 5 the catcher's column (1..3).
EMSCRIPTEN_KEEPALIVE int zw_state(int field) {
  const Handheld& hh = page().handheld();
  const int fields[] = {hh.Mode, hh.Score, hh.MissCount, hh.HiScoreA, hh.HiScoreB, hh.HeroPos};
  return field >= 0 && field < int(std::size(fields)) ? fields[field] : 0;
}

// The key settings panel: the 44 keys by their list texts ("1", "<LEFT
// ARROW>"; "" outside 1..44), each button's key index, and new bindings,
// stored and put in force together as the desktop dialog's accept does.
EMSCRIPTEN_KEEPALIVE const char* zw_key_choice(int index) {
  static std::string text;  // the table's texts are views, not terminated
  const KeyRow* row = keyRow(index);
  text = row ? row->choiceText : "";
  return text.c_str();
}
EMSCRIPTEN_KEEPALIVE int zw_key_index(int n) { return n >= 1 && n <= kButtonCount ? page().keys[n].KeyIndex : 0; }
// False, changing nothing, when an index lies outside 1..44 or two buttons share a key.
EMSCRIPTEN_KEEPALIVE int zw_set_keys(int gameA, int gameB, int time, int left, int right) {
  const std::array<int, kButtonCount> indexes = {gameA, gameB, time, left, right};
  for (int n = 0; n < kButtonCount; ++n)
    for (int other = 0; other < kButtonCount; ++other)
      if (!isKeyIndex(indexes[n]) || (other != n && indexes[other] == indexes[n])) return 0;
  Page& p = page();
  for (int n = 1; n <= kButtonCount; ++n) {
    p.keys[n].KeyIndex = indexes[n - 1];
    p.keys.AssignWord(n);
  }
  p.keys.save(p.settings);
  return 1;
}

}  // extern "C"
