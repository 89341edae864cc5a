// The synthesised samples: the committed files are exactly what the generator
// makes, and each suits the moment it is played at.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char* const kSamples[] = {"Start.wav", "Move.wav", "Got.wav", "Miss.wav", "Gameover.wav"};

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t le(const std::string& bytes, size_t at, int size) {
  uint32_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = v << 8 | uint8_t(bytes[at + i]);
  return v;
}

struct Wav {
  int channels = 0, rate = 0, bits = 0;
  std::vector<int16_t> samples;
  double ms() const { return samples.size() * 1000.0 / rate; }
  int peak() const {
    int best = 0;
    for (int16_t s : samples) best = std::max(best, std::abs(int(s)));
    return best;
  }
};

Wav parse(const std::string& bytes) {
  Wav w;
  if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") || bytes.compare(8, 8, "WAVEfmt ") ||
      bytes.compare(36, 4, "data") || le(bytes, 20, 2) != 1)
    return w;
  w.channels = int(le(bytes, 22, 2));
  w.rate = int(le(bytes, 24, 4));
  w.bits = int(le(bytes, 34, 2));
  const uint32_t dataBytes = le(bytes, 40, 4);
  if (dataBytes != bytes.size() - 44 || le(bytes, 4, 4) != bytes.size() - 8) return Wav{};
  for (size_t at = 44; at + 1 < bytes.size(); at += 2) w.samples.push_back(int16_t(le(bytes, at, 2)));
  return w;
}

Wav committed(const char* name) { return parse(readFile(fs::path(SKIN_SOUND_DIR) / name)); }

TEST(Wavgen, ReproducesTheCommittedSamplesByteForByte) {
  std::string folder = (fs::temp_directory_path() / "zarvik-wavgen-XXXXXX").string();
  ASSERT_TRUE(mkdtemp(folder.data()));
  const std::string command = std::string(WAVGEN_PATH) + " '" + folder + "/Sound'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  for (const char* name : kSamples) {
    const std::string fresh = readFile(fs::path(folder) / "Sound" / name);
    EXPECT_FALSE(fresh.empty()) << name;
    EXPECT_TRUE(fresh == readFile(fs::path(SKIN_SOUND_DIR) / name))
        << name << " differs from a fresh run: rebuild with the regenerate-sounds target";
  }
  fs::remove_all(folder);
}

TEST(Wavgen, SamplesAreMono16BitAt22050HzWithoutClicksOrClipping) {
  for (const char* name : kSamples) {
    SCOPED_TRACE(name);
    const Wav w = committed(name);
    EXPECT_EQ(w.channels, 1);
    EXPECT_EQ(w.rate, 22050);
    EXPECT_EQ(w.bits, 16);
    ASSERT_FALSE(w.samples.empty());
    // Ramps in and out: a sound that starts or stops at full swing clicks.
    EXPECT_LT(std::abs(int(w.samples.front())), 500);
    EXPECT_LT(std::abs(int(w.samples.back())), 500);
    EXPECT_GT(w.peak(), 6000) << "too quiet to hear beside the others";
    EXPECT_LT(w.peak(), 32767) << "clipped";
  }
}

TEST(Wavgen, LengthsSuitTheirMoments) {
  // A step sounds on every tick of the fastest level, 185 ms apart.
  EXPECT_GE(committed("Move.wav").ms(), 40);
  EXPECT_LE(committed("Move.wav").ms(), 60);
  EXPECT_LT(committed("Got.wav").ms(), 185);
  // The start jingle ends within the 1.8 s start delay; a miss before the
  // game resumes 1.1 s later.
  EXPECT_LT(committed("Start.wav").ms(), 1000);
  EXPECT_LT(committed("Miss.wav").ms(), 1000);
  EXPECT_GE(committed("Gameover.wav").ms(), 1500);
  EXPECT_LE(committed("Gameover.wav").ms(), 2000);
}

TEST(Wavgen, RefusesAFolderItCannotWrite) {
  const std::string command = std::string(WAVGEN_PATH) + " /proc/no-such-folder 2>/dev/null";
  EXPECT_NE(std::system(command.c_str()), 0);
}

}  // namespace
