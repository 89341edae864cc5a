// The rule for every file the program reads, over each kind of thing that may
// stand in a file's place. A check that blocked would hang the test.

#include "regular_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "disk_capture.h"
#include "ini_file.h"

using namespace zarvik;

TEST(RegularFile, OnlyARegularFileWithinItsSizeIsRead) {
  soundtest::TempFolder dir;
  const auto at = [&](const char* name) { return dir.path() / name; };
  std::ofstream(at("plain.ini")) << "[Common]\nGameWidth=600\n";
  std::filesystem::create_symlink(at("plain.ini"), at("link.ini"));
  ASSERT_EQ(mkfifo(at("fifo.ini").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", at("zero.ini"));
  std::filesystem::create_directory(at("folder.ini"));
  std::ofstream{at("sparse.ini")};
  ASSERT_EQ(truncate(at("sparse.ini").c_str(), 1LL << 30), 0);  // takes no disk space

  const struct {
    const char* name;
    const char* problem;  // nothing when it is read
  } cases[] = {
      {"plain.ini", nullptr},
      {"link.ini", nullptr},
      {"fifo.ini", "not a regular file"},
      {"zero.ini", "not a regular file"},
      {"folder.ini", "not a regular file"},
      {"sparse.ini", "file too large (1073741824 bytes, at most 4194304)"},
      {"missing.ini", "No such file or directory"},
  };
  for (const auto& c : cases) {
    const FileContents read = readRegularFile(at(c.name), IniFile::kMaxFileBytes);
    const auto checked = checkRegularFile(at(c.name), IniFile::kMaxFileBytes);
    const auto loaded = IniFile::load(at(c.name));
    if (!c.problem) {
      EXPECT_EQ(read.bytes, "[Common]\nGameWidth=600\n") << c.name;
      EXPECT_FALSE(checked) << c.name;
      ASSERT_TRUE(loaded) << c.name;
      EXPECT_EQ(loaded->readString("common", "gamewidth", ""), "600");
    } else {
      ASSERT_TRUE(read.problem) << c.name;
      EXPECT_EQ(read.problem->message, c.problem) << c.name;
      EXPECT_TRUE(read.bytes.empty()) << c.name;
      ASSERT_TRUE(checked) << c.name;
      EXPECT_EQ(checked->message, c.problem) << c.name;
      EXPECT_FALSE(loaded) << c.name;
    }
  }
}
