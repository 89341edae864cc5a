// The key table, the bindings derived from stored key indexes, the repair of
// indexes outside the table, and the hint texts.

#include "key_bindings.h"

#include <gtest/gtest.h>

#include <map>

#include "headless.h"

using namespace zarvik;

namespace {

KeyBindings loaded(std::map<std::string, int> stored) {
  MemorySettings store;
  store.values = std::move(stored);
  KeyBindings bindings;
  bindings.load(store);
  return bindings;
}

std::string hintOf(const KeyBindings& bindings, ImageId image) {
  for (const auto& hint : buttonHints(bindings))
    if (hint.image == image) return hint.text;
  return "(no hint)";
}

}  // namespace

TEST(KeyTable, RowsNameTheirKeysAndCarryTheirCodes) {
  EXPECT_EQ(keyRow(1)->virtualKey, 48);
  EXPECT_EQ(keyRow(2)->hintName, "'1'");
  EXPECT_EQ(keyRow(2)->virtualKey, 49);
  EXPECT_EQ(keyRow(10)->virtualKey, 57);
  EXPECT_EQ(keyRow(11)->hintName, "'A'");
  EXPECT_EQ(keyRow(26)->hintName, "'P'");
  EXPECT_EQ(keyRow(26)->virtualKey, 80);
  EXPECT_EQ(keyRow(26)->choiceText, "P");
  EXPECT_EQ(keyRow(36)->virtualKey, 90);
  // The arrows run up, down, left, right in the table; their codes 38, 40, 37, 39.
  EXPECT_EQ(keyRow(37)->virtualKey, 38);
  EXPECT_EQ(keyRow(38)->virtualKey, 40);
  EXPECT_EQ(keyRow(39)->virtualKey, 37);
  EXPECT_EQ(keyRow(39)->choiceText, "<LEFT ARROW>");
  EXPECT_EQ(keyRow(40)->hintName, "'right arrow' key");
  EXPECT_EQ(keyRow(41)->virtualKey, 18);
  EXPECT_EQ(keyRow(42)->virtualKey, 17);
  EXPECT_EQ(keyRow(43)->virtualKey, 16);
  EXPECT_EQ(keyRow(44)->hintName, "'spacebar'");
  EXPECT_EQ(keyRow(44)->virtualKey, 32);
  EXPECT_EQ(keyRow(0), nullptr);
  EXPECT_EQ(keyRow(45), nullptr);
  EXPECT_EQ(keyRow(-2147483647 - 1), nullptr);
}

TEST(KeyBindings, DefaultsGiveTheDocumentedKeysAndHints) {
  const KeyBindings bindings = loaded({});
  EXPECT_EQ(bindings[GameA].VirtualKey, 49);
  EXPECT_EQ(bindings[GameB].VirtualKey, 50);
  EXPECT_EQ(bindings[Time].VirtualKey, 51);
  EXPECT_EQ(bindings[Left].VirtualKey, 37);
  EXPECT_EQ(bindings[Right].VirtualKey, 39);
  EXPECT_EQ(hintOf(bindings, btn_game_a_top),
            "click or press '1' to start game A (hold to view highscore)");
  EXPECT_EQ(hintOf(bindings, btn_game_b_top),
            "click or press '2' to start game B (hold to view highscore)");
  EXPECT_EQ(hintOf(bindings, btn_time_top), "click or press '3' to switch mode");
  EXPECT_EQ(hintOf(bindings, btn_set_top), "button disabled");
  EXPECT_EQ(hintOf(bindings, btn_left_top), "click or press 'left arrow' key");
  EXPECT_EQ(hintOf(bindings, btn_right_top), "click or press 'right arrow' key");
}

TEST(KeyBindings, DispatchFindsTheFirstBindingInButtonOrder) {
  const KeyBindings bindings = loaded({{"Key1", 26}, {"Key2", 44}, {"Key3", 41}, {"Key5", 26}});
  EXPECT_EQ(hintOf(bindings, btn_game_a_top),
            "click or press 'P' to start game A (hold to view highscore)");
  EXPECT_EQ(bindings.bindingFor(80), GameA);  // 'P' is shared: Game A wins
  EXPECT_EQ(bindings.bindingFor(32), GameB);
  EXPECT_EQ(bindings.bindingFor(18), Time);
  EXPECT_EQ(bindings.bindingFor(37), Left);
  EXPECT_EQ(bindings.bindingFor(49), 0);
  EXPECT_EQ(bindings.bindingFor(0), 0);
}

TEST(KeyBindings, IndexesOutsideTheTableAreRepairedToAFreeKeyAndStored) {
  MemorySettings store;
  // Game A's index is junk and its default '1' is taken by Time; Left's is
  // junk and its default is free.
  store.values = {{"Key1", 99}, {"Key3", 2}, {"Key4", 0}};
  KeyBindings bindings;
  bindings.load(store);
  EXPECT_EQ(bindings[GameA].KeyIndex, 1);  // first free key: '0'
  EXPECT_EQ(bindings[GameA].VirtualKey, 48);
  EXPECT_EQ(bindings[Left].KeyIndex, 39);
  EXPECT_EQ(bindings[Left].VirtualKey, 37);
  EXPECT_EQ(store.values["Key1"], 1);
  EXPECT_EQ(store.values["Key4"], 39);
  EXPECT_EQ(bindings.bindingFor(48), GameA);
}

TEST(KeyBindings, AnInvalidIndexSetLaterKeepsTheCodeAndDropsTheKeyFromTheHint) {
  KeyBindings bindings = loaded({});
  bindings[GameA].KeyIndex = 0;  // e.g. accepted from an empty choice
  bindings.AssignWord(GameA);
  EXPECT_EQ(bindings[GameA].VirtualKey, 49);
  EXPECT_EQ(hintOf(bindings, btn_game_a_top), "click to start game A (hold to view highscore)");
  bindings[Right].KeyIndex = 45;
  EXPECT_EQ(hintOf(bindings, btn_right_top), "click");
}
