#pragma once
// The 44 bindable keys, the five key bindings of the handheld's buttons and
// the hint texts that name them.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "buttons.h"
#include "skin_images.h"

namespace zarvik {

class SettingsStore;

struct KeyRow {
  std::string_view hintName;    // as the button hints name it: "'1'", "'left arrow' key"
  std::string_view choiceText;  // as the key settings dialog lists it: "1", "<LEFT ARROW>"
  std::uint16_t virtualKey;
};

inline constexpr int kKeyCount = 44;

// KeyTable[i - 1] is the row of key index i (1 to 44).
extern const std::array<KeyRow, kKeyCount> KeyTable;

constexpr bool isKeyIndex(int index) { return index >= 1 && index <= kKeyCount; }
// The row of a key index, or nullptr outside 1..44.
const KeyRow* keyRow(int index);

// Bindings 1 to 5 in button order.
inline constexpr std::array<int, kButtonCount> kDefaultKeyIndexes = {2, 3, 4, 39, 40};

struct KeyBinding {
  int KeyIndex = 0;
  std::uint16_t VirtualKey = 0;  // 0 until AssignWord derives it
};

class KeyBindings {
 public:
  KeyBinding& operator[](int n) { return bindings_[n - 1]; }  // n = 1..5
  const KeyBinding& operator[](int n) const { return bindings_[n - 1]; }

  // Sets binding n's VirtualKey from its KeyIndex; an index outside 1..44
  // leaves it unchanged.
  void AssignWord(int n);

  // Reads Key1..Key5 (defaults 2, 3, 4, 39, 40), repairs any index outside
  // 1..44 (see repairedIndex), writes every index back and derives the codes.
  void load(SettingsStore& store);
  // Writes Key1..Key5 together.
  void save(SettingsStore& store) const;

  // The first binding, in button order, whose code is `virtualKey`; 0 for none
  // (and always for code 0, which no key has).
  int bindingFor(std::uint16_t virtualKey) const;

  // A stored index outside 1..44 can only come from editing the store. Such a
  // button gets its default key when no other binding holds it, else the first
  // key of the table that no binding holds, so it keeps a working key.
  int repairedIndex(int n) const;

 private:
  bool heldByOther(int n, int index) const;
  std::array<KeyBinding, kButtonCount> bindings_{};
};

// The six images that carry hints, and each one's text for these bindings:
// "click or press 'P' to start game A (hold to view highscore)"... A binding
// without a valid key index is described without a key: "click to start game A...".
struct ButtonHint {
  ImageId image;
  std::string text;
};
std::array<ButtonHint, 6> buttonHints(const KeyBindings& bindings);

}  // namespace zarvik
