#include <gtest/gtest.h>

#include "rig.h"

namespace zarvik::test {

struct PanelTest : ::testing::Test {
  Rig rig;
  Panel& panel = rig.hh.panel;
  std::string score(int value, bool show = true) {
    panel.Vid_Show_Panel_Score(value, show);
    return rig.digits();
  }
};

TEST_F(PanelTest, ScoreRendersRightAlignedWithLeadingBlanks) {
  EXPECT_EQ(score(0), "___0");
  EXPECT_EQ(score(7), "___7");
  EXPECT_EQ(score(10), "__10");
  EXPECT_EQ(score(99), "__99");
  EXPECT_EQ(score(100), "_100");
  EXPECT_EQ(score(999), "_999");
  EXPECT_EQ(score(1000), "1000");
  EXPECT_EQ(score(9999), "9999");
  EXPECT_EQ(score(10000), "___0");
  EXPECT_EQ(score(12345), "2345");
  EXPECT_EQ(score(1234, false), "____");
}

TEST_F(PanelTest, DigitTakesACopyOfTheGlyphPicture) {
  panel.Vid_Set_Digit(2, 7);
  EXPECT_EQ(panel[im_panel_digit_pos_2].picture, panel[im_panel_number_7].picture);
  // A new glyph picture does not change a digit already shown.
  const Picture before = panel[im_panel_digit_pos_2].picture;
  panel.setPicture(im_panel_number_7, std::make_shared<PictureData>());
  EXPECT_EQ(panel[im_panel_digit_pos_2].picture, before);
  panel.Vid_Set_Digit(2, kBlank);
  EXPECT_FALSE(panel[im_panel_digit_pos_2].picture);
}

// A column, position or digit out of range must not reach another image
// through the tables (a stored high score may be negative, for one).
TEST_F(PanelTest, ArgumentsOutOfRangeTouchNoOtherImage) {
  panel.Vid_Show_Panel_Score(70, true);
  const auto before = panel.images;
  auto changed = [&] {
    std::string names;
    for (int i = 0; i < kImageCount; ++i)
      if (panel.images[i].visible != before[i].visible || panel.images[i].picture != before[i].picture)
        names += std::string(kSkinImages[i].name) + " ";
    return names;
  };
  for (int column : {0, 4, -1})
    for (int pose : {0, 1, 2}) panel.Vid_Show_Hero(column, pose);
  panel.Vid_Set_Digit(0, 3);
  panel.Vid_Set_Digit(5, 3);
  EXPECT_EQ(changed(), "");

  panel.Vid_Set_Digit(1, -2);  // not a digit: blank, not the picture of another position
  panel.Vid_Set_Digit(2, 10);
  EXPECT_EQ(rig.digits(), "__70");
  EXPECT_EQ(score(-7), "____");
  EXPECT_EQ(changed(), "im_panel_digit_pos_3 im_panel_digit_pos_4 ");
}

TEST_F(PanelTest, ShowAllOnLightsEverySegment) {
  for (int i = 0; i < kImageCount; ++i) {
    const ImageRole role = kSkinImages[i].role;
    if (role == ImageRole::Segment || role == ImageRole::Digit)
      EXPECT_TRUE(panel.images[i].visible) << kSkinImages[i].name;
    if (role == ImageRole::Glyph || role == ImageRole::Pressed)
      EXPECT_FALSE(panel.images[i].visible) << kSkinImages[i].name;
  }
  EXPECT_EQ(rig.digits(), "8888");
}

TEST_F(PanelTest, ShowAllOffHidesEverySegmentButKeepsBlankDigitsVisible) {
  panel.Vid_Show_All(false);
  for (int i = 0; i < kImageCount; ++i) {
    const ImageRole role = kSkinImages[i].role;
    if (role == ImageRole::Segment) EXPECT_FALSE(panel.images[i].visible) << kSkinImages[i].name;
    if (role == ImageRole::Digit) EXPECT_TRUE(panel.images[i].visible);
  }
  EXPECT_EQ(rig.digits(), "____");
}

TEST_F(PanelTest, MissMarksLightUpToTheCount) {
  auto marks = [&] {
    std::string s;
    for (ImageId m : MissMarks) s += panel[m].visible ? '1' : '0';
    return s;
  };
  panel.Vid_Show_Panel_Miss(3);
  EXPECT_EQ(marks(), "1110000000");
  panel.Vid_Show_Panel_Miss(11);
  EXPECT_EQ(marks(), "1111111111");
  panel.Vid_Show_Panel_Miss(0);
  EXPECT_EQ(marks(), "0000000000");
  panel.Vid_Show_Panel_Miss(-2);
  EXPECT_EQ(marks(), "0000000000");
}

TEST_F(PanelTest, HeroPosesTouchOnlyTheirColumn) {
  panel.Vid_Show_Hero(2, 2);
  EXPECT_TRUE(panel[im_hero_2_1].visible);
  EXPECT_FALSE(panel[im_hero_2_2].visible);
  EXPECT_TRUE(panel[im_hero_2_3].visible);
  for (ImageId other : {im_hero_1_1, im_hero_1_2, im_hero_1_3, im_hero_3_1, im_hero_3_2, im_hero_3_3})
    EXPECT_TRUE(panel[other].visible);
  panel.Vid_Show_Hero(1, 1);
  EXPECT_TRUE(panel[im_hero_1_2].visible);
  EXPECT_FALSE(panel[im_hero_1_3].visible);
  panel.Vid_Show_Hero(3, 0);
  EXPECT_FALSE(panel[im_hero_3_1].visible || panel[im_hero_3_2].visible || panel[im_hero_3_3].visible);
  panel.Vid_Show_Hero(1, 5);  // unknown pose: nothing changes
  EXPECT_TRUE(panel[im_hero_1_1].visible && panel[im_hero_1_2].visible);
}

TEST(SegmentTables, AddressTheRightImages) {
  EXPECT_EQ(PlaySegments[3 * (2 - 1) + (3 - 1)], im_hero_2_3);
  EXPECT_EQ(PlaySegments[9 + 5 * (3 - 1) + (4 - 1)], im_item_3_4);
  EXPECT_EQ(PlaySegments[24], im_item_1_miss);
  EXPECT_EQ(PlaySegments[29], im_item_3_got);
  EXPECT_EQ(PlaySegments[32], im_item_3_target);
  EXPECT_EQ(DigitPositions[4 + 9], im_panel_number_9);
  EXPECT_EQ(kSkinImages[heroPart(3, 1)].name, "im_hero_3_1");
  EXPECT_EQ(kSkinImages[itemStep(1, 2)].name, "im_item_1_2");
  EXPECT_EQ(kSkinImages[80].name, "im_item_3_target");
  EXPECT_EQ(kSkinImages[im_panel_number_9].builtin, (Rect{144, 336, 16, 27}));
}

struct CountingObserver : PanelObserver {
  std::vector<ImageId> changed;
  void imageChanged(ImageId id) override { changed.push_back(id); }
};

TEST_F(PanelTest, ObserverHearsOnlyRealChanges) {
  CountingObserver observer;
  panel.observer = &observer;
  panel.Vid_Show_All(true);  // already all lit
  EXPECT_TRUE(observer.changed.empty());
  panel.setVisible(im_panel_bell, false);
  panel.Vid_Set_Digit(1, 3);
  EXPECT_EQ(observer.changed, (std::vector<ImageId>{im_panel_bell, im_panel_digit_pos_1}));
  panel.observer = nullptr;
}

}  // namespace zarvik::test
