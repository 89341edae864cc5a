// Synthesises the handheld's five sound samples in the spirit of a piezo
// buzzer: square-wave beeps and jingles, mono 16-bit at 22050 Hz.
//
//   wavgen <folder>   writes Start.wav, Move.wav, Got.wav, Miss.wav and
//                     Gameover.wav into <folder>
//
// The output is reproducible byte for byte: the synthesis uses only IEEE
// additions, multiplications and divisions (no library maths), so the
// committed samples can be checked against a fresh run.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kAmplitude = 0.32;  // of full scale: loud enough, never harsh
constexpr double kAttackMs = 3.0;
constexpr double kReleaseMs = 6.0;

// One tone of a jingle: a square wave gliding from `startHz` to `endHz`
// (equal for a steady note), or a rest when startHz is 0. `level` scales
// the loudness.
struct Tone {
  double startHz;
  double endHz;
  double ms;
  double level = 1.0;
};

Tone note(double hz, double ms, double level = 1.0) { return {hz, hz, ms, level}; }
Tone glide(double fromHz, double toHz, double ms) { return {fromHz, toHz, ms, 1.0}; }
Tone rest(double ms) { return {0, 0, ms, 0}; }

// Polynomial band-limited step: softens the square's edges so that high
// notes do not alias into a rough hiss at this low sample rate.
double polyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

// Appends one tone with short linear attack and release ramps, so that
// notes start and stop without a click.
void appendTone(std::vector<int16_t>& out, const Tone& tone) {
  const int frames = int(tone.ms * kRate / 1000.0 + 0.5);
  const double attack = kAttackMs * kRate / 1000.0;
  const double release = kReleaseMs * kRate / 1000.0;
  double phase = 0.0;
  for (int i = 0; i < frames; ++i) {
    if (tone.startHz == 0) {
      out.push_back(0);
      continue;
    }
    const double hz = tone.startHz + (tone.endHz - tone.startHz) * i / frames;
    const double dt = hz / kRate;
    double value = phase < 0.5 ? 1.0 : -1.0;
    value += polyBlep(phase, dt);
    double half = phase + 0.5;
    if (half >= 1.0) half -= 1.0;
    value -= polyBlep(half, dt);

    double envelope = 1.0;
    if (i < attack) envelope = i / attack;
    const int left = frames - 1 - i;
    if (left < release) envelope = left / release;

    const double sample = value * envelope * tone.level * kAmplitude * 32767.0;
    out.push_back(int16_t(sample < 0 ? sample - 0.5 : sample + 0.5));
    phase += dt;
    if (phase >= 1.0) phase -= 1.0;
  }
}

std::vector<int16_t> render(const std::vector<Tone>& tones) {
  std::vector<int16_t> out;
  for (const Tone& t : tones) appendTone(out, t);
  return out;
}

// Note frequencies (equal temperament, A4 = 440 Hz).
constexpr double C5 = 523.25, E5 = 659.26, G5 = 783.99, A5 = 880.00;
constexpr double C6 = 1046.50, D6 = 1174.66, E6 = 1318.51, F6 = 1396.91, G6 = 1567.98;
constexpr double C7 = 2093.00;

// A quick rising arpeggio that ends on a held high note.
std::vector<Tone> startJingle() {
  return {note(C6, 70), rest(15), note(E6, 70), rest(15), note(G6, 70), rest(15),
          note(C7, 220)};
}

// A short, dry tick of the buzzer's resonant pitch: one per game step.
std::vector<Tone> moveBeep() { return {note(2200, 45, 0.8)}; }

// A bright upward chirp with a sparkle on top.
std::vector<Tone> gotChirp() { return {glide(1800, 3400, 55), note(3400, 35, 0.7)}; }

// A low, rough double buzz: something went wrong.
std::vector<Tone> missBuzz() {
  return {glide(190, 150, 160), rest(40), glide(160, 110, 220)};
}

// A falling tune that settles on a long low note.
std::vector<Tone> gameoverJingle() {
  return {note(G6, 140), rest(30), note(E6, 140), rest(30), note(C6, 140), rest(30),
          note(A5, 140), rest(30), note(F6, 110), rest(20), note(D6, 110), rest(20),
          note(G5, 160), rest(40), note(E5, 160), rest(40), note(C5, 400)};
}

void putLe(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(char((value >> (8 * i)) & 0xff));
}

// A canonical 44-byte RIFF/WAVE header followed by the samples.
std::string wavFile(const std::vector<int16_t>& samples) {
  const uint32_t dataBytes = uint32_t(samples.size() * 2);
  std::string out = "RIFF";
  putLe(out, 36 + dataBytes, 4);
  out += "WAVEfmt ";
  putLe(out, 16, 4);            // fmt chunk size
  putLe(out, 1, 2);             // PCM
  putLe(out, 1, 2);             // mono
  putLe(out, kRate, 4);         // frames per second
  putLe(out, kRate * 2, 4);     // bytes per second
  putLe(out, 2, 2);             // bytes per frame
  putLe(out, 16, 2);            // bits per sample
  out += "data";
  putLe(out, dataBytes, 4);
  for (int16_t s : samples) putLe(out, uint16_t(s), 2);
  return out;
}

bool writeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), std::streamsize(bytes.size()));
  file.close();
  if (!file) {
    std::fprintf(stderr, "wavgen: cannot write %s\n", path.string().c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: wavgen <folder>\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "wavgen: cannot create %s: %s\n", folder.string().c_str(),
                 error.message().c_str());
    return 1;
  }
  const struct {
    const char* name;
    std::vector<Tone> tones;
  } sounds[] = {
      {"Start.wav", startJingle()}, {"Move.wav", moveBeep()},
      {"Got.wav", gotChirp()},      {"Miss.wav", missBuzz()},
      {"Gameover.wav", gameoverJingle()},
  };
  for (const auto& sound : sounds) {
    if (!writeFile(folder / sound.name, wavFile(render(sound.tones)))) return 1;
  }
  return 0;
}
