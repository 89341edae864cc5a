#include "config_values.h"

#include <gtest/gtest.h>

#include "skin_fixture.h"

using namespace zarvik;

TEST(ConfigValues, IntegersAcceptSignsAndBothHexadecimalForms) {
  EXPECT_EQ(parseInteger("374"), 374);
  EXPECT_EQ(parseInteger("-20"), -20);
  EXPECT_EQ(parseInteger("+7"), 7);
  EXPECT_EQ(parseInteger("  42"), 42);
  EXPECT_EQ(parseInteger("$00ff00ff"), 0x00ff00ff);
  EXPECT_EQ(parseInteger("0x1F"), 31);
  EXPECT_EQ(parseInteger("0X1f"), 31);
  EXPECT_EQ(parseInteger("-$10"), -16);
  EXPECT_EQ(parseInteger("$FFFFFFFF"), -1);
}

TEST(ConfigValues, JunkIsNoInteger) {
  for (const char* junk : {"", "Center", "12px", "1 2", "$", "0x", "$1G", "--1", "99999999999", "$123456789"})
    EXPECT_FALSE(parseInteger(junk)) << junk;
}

TEST(ConfigValues, ReadIntegerFallsBackToTheDefault) {
  const IniFile ini = IniFile::fromText("[Common]\nGameWidth=abc\nGameHeight=$100\n");
  EXPECT_EQ(readInteger(ini, "Common", "GameWidth", 561), 561);
  EXPECT_EQ(readInteger(ini, "Common", "GameHeight", 374), 256);
  EXPECT_EQ(readInteger(ini, "Common", "Missing", 9), 9);
}

TEST(ConfigValues, FoldersEndInASeparator) {
  EXPECT_EQ(folderValue("Graphics\\Skin"), "Graphics\\Skin\\");
  EXPECT_EQ(folderValue("Graphics\\Skin\\"), "Graphics\\Skin\\");
  EXPECT_EQ(folderValue("Graphics/Skin/"), "Graphics/Skin/");
  EXPECT_EQ(folderValue(""), "\\");
}

TEST(ConfigValues, OnlyLowerCaseNilMeansNoFile) {
  EXPECT_FALSE(fileNameValue("nil"));
  EXPECT_FALSE(fileNameValue(""));
  EXPECT_EQ(fileNameValue("NIL"), "NIL");
  EXPECT_EQ(fileNameValue("Nil"), "Nil");
  EXPECT_EQ(fileNameValue("face.bmp"), "face.bmp");
}

TEST(ConfigValues, ExtensionIsTheTextAfterTheFileNamesLastDot) {
  EXPECT_EQ(fileExtension("Graphics\\Skin\\face.PNG"), "PNG");
  EXPECT_EQ(fileExtension("a.b/face.tar.jpeg"), "jpeg");
  EXPECT_EQ(fileExtension("Graphics.v2\\Skin\\face"), "");
  EXPECT_EQ(fileExtension("face."), "");
}

TEST(ConfigValues, FindFileTakesBothSeparatorsAndFallsBackOnLetterCase) {
  face_test::SkinFixture skin;
  skin.write("Graphics/Skin/Face.BMP", "x");
  skin.write("Graphics/skin/other.bmp", "y");  // a second folder differing only in case
  const auto root = skin.root();

  EXPECT_EQ(findFile("Graphics\\Skin\\Face.BMP", root), root / "Graphics/Skin/Face.BMP");
  EXPECT_EQ(findFile("Graphics/Skin\\Face.BMP", root), root / "Graphics/Skin/Face.BMP");
  EXPECT_EQ(findFile("graphics\\SKIN\\\\face.bmp", root), root / "Graphics/Skin/Face.BMP");
  EXPECT_EQ(findFile("GRAPHICS\\SKIN\\OTHER.BMP", root), root / "Graphics/skin/other.bmp");
  EXPECT_EQ(findFile("Graphics\\Skin\\..\\SKIN\\face.bmp", root).value_or("").lexically_normal(),
            root / "Graphics/Skin/Face.BMP");
  EXPECT_FALSE(findFile("Graphics\\Skin\\missing.bmp", root));
  EXPECT_FALSE(findFile("Graphics\\Skin", root));  // a folder is no file
  EXPECT_FALSE(findFile("", root));
  EXPECT_EQ(findFile((root / "Graphics/Skin/face.bmp").string(), "/elsewhere"), root / "Graphics/Skin/Face.BMP");
}

// Folders holding links to themselves under every letter case ("Sub", "sub",
// "SUB") once made the lookup try 3^levels paths; each folder is now listed
// once per level, so a deep path over them ends at once, found or not.
TEST(ConfigValues, FindFileThroughCaseVariantLinkLoopsGrowsWithThePathOnly) {
  face_test::SkinFixture skin;
  skin.write("Skin/face.bmp", "x");
  for (const char* name : {"Sub", "sub", "SUB"}) std::filesystem::create_directory_symlink(".", skin.root() / "Skin" / name);
  std::string path = "skin";
  for (int level = 0; level < 24; ++level) path += "\\sUb";
  EXPECT_FALSE(findFile(path + "\\missing.bmp", skin.root()));
  EXPECT_TRUE(findFile(path + "\\FACE.BMP", skin.root()));
}
