// Every saved fuzz input (fuzz/regressions/<target>/), and the hostile files
// too large to keep in the tree, through the real readers: none may crash,
// hang or balloon, and an input named "refused-..." must be refused.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "hostile_files.h"
#include "picture_loader.h"
#include "targets.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Far above the budgets' worst case: a hang or an unbounded allocation shows.
constexpr auto kMaxTimePerInput = 10s;
constexpr long kMaxResidentMegabytes = 400;

std::string readAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The sanitizers' shadow memory makes resident sizes meaningless.
void expectResidentWithinCeiling() {
  if (std::getenv("ZARVIK_SANITIZE")) return;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  EXPECT_LT(usage.ru_maxrss / 1024, kMaxResidentMegabytes) << "peak resident megabytes";
}

TEST(FuzzRegressions, SavedInputsFinishWithinLimits) {
  int replayed = 0;
  for (const zarvik::fuzz::Target& target : zarvik::fuzz::targets()) {
    const fs::path folder = fs::path(FUZZ_REGRESSIONS_DIR) / target.name;
    if (!fs::is_directory(folder)) continue;  // a target with no saved input yet
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
      const std::string bytes = readAll(entry.path());
      const auto start = std::chrono::steady_clock::now();
      const bool accepted = target.run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      EXPECT_LT(std::chrono::steady_clock::now() - start, kMaxTimePerInput) << entry.path();
      if (entry.path().filename().string().starts_with("refused-")) EXPECT_FALSE(accepted) << entry.path();
      ++replayed;
    }
  }
  EXPECT_GT(replayed, 10);
  expectResidentWithinCeiling();
}

TEST(FuzzRegressions, LargeHostilePicturesAreRefusedForTheirCost) {
  const struct {
    const char* name;
    std::string bytes;
    zarvik::DecodedPicture (*decode)(const QByteArray&, qint64);
    const char* reason;
  } cases[] = {
      {"JPEG with 4000 scans", hostile::jpegWithRepeatedScans(1024, 4000), zarvik::decodeJpeg, "more than 100 scans"},
      {"8192 x 8192 PNG", hostile::flatPng(8192, 8192, 200), zarvik::decodePng, "too large (8192 x 8192"},
  };
  for (const auto& c : cases) {
    const auto start = std::chrono::steady_clock::now();
    const zarvik::DecodedPicture picture = c.decode(QByteArray::fromStdString(c.bytes), zarvik::kMaxPicturePixels);
    EXPECT_LT(std::chrono::steady_clock::now() - start, kMaxTimePerInput) << c.name;
    EXPECT_TRUE(picture.error.contains(c.reason)) << c.name << ": " << picture.error.toStdString();
  }
  expectResidentWithinCeiling();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
