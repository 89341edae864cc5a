#include "ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using zarvik::IniFile;

TEST(IniFile, SectionsAndKeysMatchWithoutRegardToCase) {
  const IniFile ini = IniFile::fromText("[Common]\nSkinDir=Graphics\\Skin\\\n[IMAGE1]\nfileNAME=face.bmp\n");
  EXPECT_EQ(ini.readString("common", "SKINDIR", "x"), "Graphics\\Skin\\");
  EXPECT_EQ(ini.readString("Image1", "Filename", "x"), "face.bmp");
  EXPECT_TRUE(ini.hasSection("image1"));
}

TEST(IniFile, MissingFileSectionOrKeyGivesTheDefault) {
  const IniFile ini = IniFile::fromText("[Common]\nGameWidth=600\n");
  EXPECT_EQ(ini.readString("Common", "GameHeight", "374"), "374");
  EXPECT_EQ(ini.readString("Other", "GameWidth", "561"), "561");
  EXPECT_FALSE(ini.value("Other", "GameWidth"));
  EXPECT_FALSE(IniFile::load("/nonexistent/folder/Config.ini"));
  EXPECT_EQ(IniFile().readString("Common", "GameWidth", "561"), "561");
}

TEST(IniFile, BlanksAroundNamesAndValuesAreDropped) {
  const IniFile ini = IniFile::fromText("  [ Common ]  \r\n  GameWidth  =   600  \r\n\tLeft\t=\t-20\t\r\n");
  EXPECT_EQ(ini.readString("Common", "GameWidth", ""), "600");
  EXPECT_EQ(ini.readString("Common", "Left", ""), "-20");
}

TEST(IniFile, OnePairOfMatchingQuotesIsRemoved) {
  const IniFile ini = IniFile::fromText(
      "[S]\nA=\"quoted value\"\nB='single'\nC=\"mismatched'\nD=\"\"twice\"\"\nE=\"\nF= \" padded \" \n");
  EXPECT_EQ(ini.readString("S", "A", ""), "quoted value");
  EXPECT_EQ(ini.readString("S", "B", ""), "single");
  EXPECT_EQ(ini.readString("S", "C", ""), "\"mismatched'");
  EXPECT_EQ(ini.readString("S", "D", ""), "\"twice\"");
  EXPECT_EQ(ini.readString("S", "E", ""), "\"");  // a lone quote is no pair
  EXPECT_EQ(ini.readString("S", "F", ""), " padded ");
}

TEST(IniFile, ValuesAreCutAt2047Characters) {
  const std::string longValue(3000, 'x');
  const IniFile ini = IniFile::fromText("[S]\nLong=" + longValue + "\nAfter=ok\n");
  EXPECT_EQ(ini.readString("S", "Long", "").size(), 2047u);
  EXPECT_EQ(ini.readString("S", "After", ""), "ok");
}

TEST(IniFile, FirstOccurrenceWinsAndStrayLinesAreIgnored) {
  const IniFile ini = IniFile::fromText(
      "Orphan=1\n; comment\n[S]\nKey=first\nno equals sign\n=no key\nKey=second\n[s]\nKey=third\nOther=4\n");
  EXPECT_EQ(ini.readString("S", "Key", ""), "first");
  EXPECT_EQ(ini.readString("S", "Other", ""), "4");  // a repeated section adds to the first
  EXPECT_FALSE(ini.value("", "Orphan"));
}

TEST(IniFile, LoadsAFileWithAUtf8MarkAndNoFinalNewline) {
  // A name of this process's own: other builds may run this test at the same time.
  const auto path = std::filesystem::temp_directory_path() /
                    ("zarvik_ini_file_test_" + std::to_string(::getpid()) + ".ini");
  {
    std::ofstream out(path, std::ios::binary);
    out << "\xEF\xBB\xBF[Common]\r\nGameWidth=640";
  }
  auto ini = IniFile::load(path);
  std::filesystem::remove(path);
  ASSERT_TRUE(ini);
  EXPECT_EQ(ini->readString("Common", "GameWidth", ""), "640");
}

TEST(IniFile, ReadsUtf16AsWindowsEditorsMaySaveIt) {
  std::string text = "\xFF\xFE";
  for (char16_t c : std::u16string(u"[Common]\r\nSkinDir=Gr\u00E4fik\\\r\nGameHeight=300\r\n")) {
    text += char(c & 0xFF);
    text += char(c >> 8);
  }
  const IniFile ini = IniFile::fromText(text);
  EXPECT_EQ(ini.readString("Common", "GameHeight", ""), "300");
  EXPECT_EQ(ini.readString("Common", "SkinDir", ""), "Gr\xC3\xA4" "fik\\");
}
