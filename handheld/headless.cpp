#include "headless.h"

#include <algorithm>
#include <cctype>

namespace zarvik {

int RecordingSoundLayer::FSOUND_Sample_Load(int, const char* name, unsigned, int, int) {
  std::string file = name;
  file = file.substr(file.find_last_of('/') + 1);
  file = file.substr(0, file.find('.'));
  std::transform(file.begin(), file.end(), file.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  names_.push_back(file);
  return int(names_.size());
}

int RecordingSoundLayer::FSOUND_PlaySound(int, int sample) {
  if (sample < 1 || sample > int(names_.size())) return -1;
  played.push_back(names_[sample - 1]);
  return 0;
}

int MemorySettings::readInteger(const std::string& name, int defaultValue) {
  auto it = values.find(name);
  return it == values.end() ? defaultValue : it->second;
}

void MemorySettings::writeInteger(const std::string& name, int value) {
  values[name] = value;
  writes.push_back(name + "=" + std::to_string(value));
}

namespace {
struct GlyphPicture : PictureData {};
}  // namespace

HeadlessHandheld::HeadlessHandheld(const LocalDateTime& start, uint32_t seed) : random(seed) {
  clock.set(start);
  for (int d = 0; d <= 9; ++d) handheld.panel.setPicture(digitGlyph(d), std::make_shared<GlyphPicture>());
  handheld.SoundEnabled = true;
  handheld.Snd_Load();
}

void HeadlessHandheld::press(int button, bool down) {
  struct Actions {
    void (Handheld::*down)();
    void (Handheld::*up)();
  };
  static constexpr Actions kButtons[] = {
      {&Handheld::Inp_game_a_down, &Handheld::Inp_game_a_up},
      {&Handheld::Inp_game_b_down, &Handheld::Inp_game_b_up},
      {&Handheld::Inp_time_down, &Handheld::Inp_time_up},
      {&Handheld::Inp_left_down, &Handheld::Inp_left_up},
      {&Handheld::Inp_right_down, &Handheld::Inp_right_up},
  };
  const Actions& actions = kButtons[button - 1];
  (handheld.*(down ? actions.down : actions.up))();
}

int HeadlessHandheld::digitShown(int position) const {
  const Picture& shown = handheld.panel[digitPosition(position)].picture;
  for (int d = 0; d <= 9; ++d)
    if (shown && shown == handheld.panel[digitGlyph(d)].picture) return d;
  return kBlank;
}

std::vector<std::string_view> HeadlessHandheld::litNames() const {
  std::vector<std::string_view> names;
  for (int i = 0; i < kImageCount; ++i) {
    const ImageRole role = kSkinImages[i].role;
    if ((role == ImageRole::Segment || role == ImageRole::Pressed) && handheld.panel.images[i].visible)
      names.push_back(kSkinImages[i].name);
  }
  return names;
}

}  // namespace zarvik
