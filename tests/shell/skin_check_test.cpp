// The skin check: a copy of the default skin as built is clean, and each kind
// of damage to it is listed once, naming its file and section or key.

#include <QImage>
#include <QTemporaryDir>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

#include "skin_check.h"

namespace {

namespace fs = std::filesystem;

// Sets a key of one section of Config.ini, as a skin author's edit would.
void setValue(const fs::path& skin, const std::string& section, const std::string& key, const std::string& value) {
  std::ifstream in(skin / "Config.ini");
  std::string text, line, current;
  while (std::getline(in, line)) {
    if (line.starts_with('[')) current = line;
    else if (current == '[' + section + ']' && line.starts_with(key + '=')) line = key + '=' + value;
    text += line + '\n';
  }
  in.close();
  std::ofstream(skin / "Config.ini") << text;
}

struct Damage {
  const char* what;
  std::function<void(const fs::path& skin)> apply;
  std::vector<const char*> named;  // what the one problem names; nothing for a clean skin
};

TEST(CheckSkin, TheDefaultSkinIsCleanAndEachDamageIsListedOnceWithItsFileAndSection) {
  const Damage damages[] = {
      {"none", [](const fs::path&) {}, {}},
      {"missing picture", [](const fs::path& s) { fs::remove(s / "Graphics/Skin/im_panel_bell.ico"); },
       {"Image35 (Graphics\\Skin\\im_panel_bell.ico): file not found"}},
      {"picture of the wrong size",
       [](const fs::path& s) {
         QImage(5, 5, QImage::Format_RGB32).save(QString::fromStdString((s / "Graphics/Skin/im_panel_alarm.png").string()));
       },
       {"Image36 (Graphics\\Skin\\im_panel_alarm.png)", "5 x 5", "17 x 11"}},
      {"damaged picture", [](const fs::path& s) { fs::resize_file(s / "Graphics/Skin/im_background.bmp", 200); },
       {"Image1 (Graphics\\Skin\\im_background.bmp): damaged bitmap"}},
      {"segment outside the face", [](const fs::path& s) { setValue(s, "Image16", "Left", "600"); },
       {"Config.ini, [Image16]: im_panel_miss_01", "outside the face"}},
      {"segment outside the overlay", [](const fs::path& s) { setValue(s, "Image16", "Top", "280"); },
       {"Config.ini, [Image16]: im_panel_miss_01", "outside the LCD overlay"}},
      {"bad windowed colour", [](const fs::path& s) { setValue(s, "VideoMode", "TranspColor", "pink"); },
       {"Config.ini, [VideoMode] TranspColor: 'pink'"}},
      {"bad fullscreen colour", [](const fs::path& s) { setValue(s, "Fullscreen", "BgColor", "navy"); },
       {"Config.ini, [Fullscreen] BgColor: 'navy'"}},
      {"integer that is no number", [](const fs::path& s) { setValue(s, "Fullscreen", "LogoPosition", "top%1"); },
       {"Config.ini, [Fullscreen] LogoPosition: 'top%1' is not a number; 1 is used"}},
      {"missing backdrop", [](const fs::path& s) { fs::remove(s / "Graphics/Backdrops/backdrop.jpg"); },
       {"[Fullscreen] BackdropFile (Graphics\\Backdrops\\backdrop.jpg): file not found"}},
      {"missing manual page", [](const fs::path& s) { fs::remove(s / "Graphics/Manual/3.bmp"); },
       {"Manual page 3 (Graphics\\Manual\\3.bmp): file not found"}},
      {"missing Config.ini", [](const fs::path& s) { fs::remove(s / "Config.ini"); }, {"Config.ini: not found"}},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.what);
    QTemporaryDir dir;
    const fs::path skin = dir.path().toStdString(), built = ZARVIK_BUILT_SKIN_DIR;
    fs::copy(built / "Config.ini", skin);
    fs::copy(built / "Graphics", skin / "Graphics", fs::copy_options::recursive);
    damage.apply(skin);
    const QStringList problems = zarvik::checkSkin(skin);
    ASSERT_EQ(problems.size(), damage.named.empty() ? 0 : 1) << problems.join('\n').toStdString();
    for (const char* part : damage.named) EXPECT_TRUE(problems[0].contains(part)) << problems[0].toStdString();
  }
}

}  // namespace
