#include "key_bindings.h"

#include "services.h"

namespace zarvik {

const std::array<KeyRow, kKeyCount> KeyTable = [] {
  static constexpr std::string_view digitNames[] = {"'0'", "'1'", "'2'", "'3'", "'4'",
                                                    "'5'", "'6'", "'7'", "'8'", "'9'"};
  static constexpr std::string_view letterNames =
      "'A''B''C''D''E''F''G''H''I''J''K''L''M''N''O''P''Q''R''S''T''U''V''W''X''Y''Z'";
  static constexpr std::string_view choiceChars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

  std::array<KeyRow, kKeyCount> table{};
  for (int d = 0; d < 10; ++d)
    table[d] = {digitNames[d], choiceChars.substr(d, 1), std::uint16_t('0' + d)};
  for (int l = 0; l < 26; ++l)
    table[10 + l] = {letterNames.substr(3 * l, 3), choiceChars.substr(10 + l, 1),
                     std::uint16_t('A' + l)};
  table[36] = {"'up arrow' key", "<UP ARROW>", 38};
  table[37] = {"'down arrow' key", "<DOWN ARROW>", 40};
  table[38] = {"'left arrow' key", "<LEFT ARROW>", 37};
  table[39] = {"'right arrow' key", "<RIGHT ARROW>", 39};
  table[40] = {"'alt' key", "<ALT>", 18};
  table[41] = {"'ctrl' key", "<CTRL>", 17};
  table[42] = {"'shift' key", "<SHIFT>", 16};
  table[43] = {"'spacebar'", "<SPACEBAR>", 32};
  return table;
}();

const KeyRow* keyRow(int index) { return isKeyIndex(index) ? &KeyTable[index - 1] : nullptr; }

void KeyBindings::AssignWord(int n) {
  if (const KeyRow* row = keyRow((*this)[n].KeyIndex)) (*this)[n].VirtualKey = row->virtualKey;
}

bool KeyBindings::heldByOther(int n, int index) const {
  for (int other = 1; other <= kButtonCount; ++other)
    if (other != n && (*this)[other].KeyIndex == index) return true;
  return false;
}

int KeyBindings::repairedIndex(int n) const {
  const int index = (*this)[n].KeyIndex;
  if (isKeyIndex(index)) return index;
  const int preferred = kDefaultKeyIndexes[n - 1];
  if (!heldByOther(n, preferred)) return preferred;
  for (int candidate = 1; candidate <= kKeyCount; ++candidate)
    if (!heldByOther(n, candidate)) return candidate;
  return preferred;  // unreachable: five bindings cannot hold 44 keys
}

void KeyBindings::load(SettingsStore& store) {
  for (int n = 1; n <= kButtonCount; ++n)
    (*this)[n].KeyIndex = store.readInteger("Key" + std::to_string(n), kDefaultKeyIndexes[n - 1]);
  for (int n = 1; n <= kButtonCount; ++n) {
    (*this)[n].KeyIndex = repairedIndex(n);
    AssignWord(n);
  }
  save(store);
}

void KeyBindings::save(SettingsStore& store) const {
  std::vector<std::pair<std::string, int>> values;
  for (int n = 1; n <= kButtonCount; ++n) values.emplace_back("Key" + std::to_string(n), (*this)[n].KeyIndex);
  store.writeIntegers(values);
}

int KeyBindings::bindingFor(std::uint16_t virtualKey) const {
  if (virtualKey == 0) return 0;
  for (int n = 1; n <= kButtonCount; ++n)
    if ((*this)[n].VirtualKey == virtualKey) return n;
  return 0;
}

std::array<ButtonHint, 6> buttonHints(const KeyBindings& bindings) {
  auto clickOrPress = [&](int n) {
    const KeyRow* row = keyRow(bindings[n].KeyIndex);
    return row ? "click or press " + std::string(row->hintName) : std::string("click");
  };
  return {{
      {btn_game_a_top, clickOrPress(GameA) + " to start game A (hold to view highscore)"},
      {btn_game_b_top, clickOrPress(GameB) + " to start game B (hold to view highscore)"},
      {btn_time_top, clickOrPress(Time) + " to switch mode"},
      {btn_set_top, "button disabled"},
      {btn_left_top, clickOrPress(Left)},
      {btn_right_top, clickOrPress(Right)},
  }};
}

}  // namespace zarvik
