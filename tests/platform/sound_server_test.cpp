// Sound through a real PulseAudio server of the test's own, which is killed
// and started again under a game in play: the handheld runs in real time on
// the real sound layer, and the server's null sink is recorded through its
// monitor with parec. The layer's own timings are the program's.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "disk_capture.h"
#include "follower.h"
#include "handheld.h"
#include "headless.h"
#include "sdl_sound_layer.h"
#include "virtual_time.h"

extern char** environ;

using namespace soundtest;
using namespace zarvik;
using namespace std::chrono_literals;
namespace fs = std::filesystem;
using Steady = std::chrono::steady_clock;

namespace {

double secondsSince(Steady::time_point t) { return std::chrono::duration<double>(Steady::now() - t).count(); }

// A program started with some environment variables changed and its output
// in files; killed outright when stopped or destroyed, and by the kernel when
// the test dies first, so that no server outlives a failed run.
class Child {
 public:
  Child(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
        const fs::path& out, const fs::path& err) {
    std::map<std::string, std::string> merged;
    for (char** e = environ; *e; ++e) {
      const std::string entry = *e;
      const auto eq = entry.find('=');
      if (eq != std::string::npos) merged[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    for (const auto& [name, value] : env) merged[name] = value;
    std::vector<std::string> envStrings;
    for (const auto& [name, value] : merged) envStrings.push_back(name + "=" + value);
    std::vector<char*> envp, args;
    for (auto& e : envStrings) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> argCopy = argv;
    for (auto& a : argCopy) args.push_back(a.data());
    args.push_back(nullptr);

    // Everything is prepared before the fork: the child only opens, duplicates and executes.
    const int in = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int output = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const int errors = open(err.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      if (getppid() != parent) _exit(127);
      dup2(in, 0), dup2(output, 1), dup2(errors, 2);
      execvpe(args[0], args.data(), envp.data());
      _exit(127);
    }
    close(in), close(output), close(errors);
  }
  ~Child() { stop(); }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool running() {
    if (pid_ <= 0) return false;
    if (waitpid(pid_, nullptr, WNOHANG) == 0) return true;
    pid_ = -1;
    return false;
  }
  void stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
};

bool accepts(const fs::path& socketPath) {
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
  const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return ok;
}

// A PulseAudio server with nothing but a null sink at the mixer's rate,
// recorded through the sink's monitor by parec into a file; it never exits
// by itself. A fresh null sink holds back every stream for its first 2 s of
// rendering, which a desktop's sink does not, so each server starts on a
// socket of its own and returns, its sink already running, when the test
// moves that socket to the address the program uses.
class RecordedServer {
 public:
  explicit RecordedServer(const fs::path& dir) : dir_(dir) {}

  // The program's address, where the server is reached once it has returned.
  std::string address() const { return "unix:" + (dir_ / "native").string(); }
  const fs::path& log() const { return log_; }
  static constexpr auto kSinkStart = 2200ms;

  // Starts the server on its own socket and its recorder; the test then lets
  // kSinkStart pass before returnToTheProgram.
  bool launch() {
    const fs::path socket = dir_ / "native.new";
    server_ = std::make_unique<Child>(
        std::vector<std::string>{"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                                 "--use-pid-file=no", "--log-target=stderr", "--log-level=error",
                                 "-L", "module-null-sink sink_name=zarvik rate=22050 channels=2",
                                 "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket.string()},
        std::map<std::string, std::string>{{"HOME", dir_.string()},
                                           {"XDG_RUNTIME_DIR", dir_.string()},
                                           {"PULSE_RUNTIME_PATH", dir_.string()},
                                           {"PULSE_STATE_PATH", dir_.string()}},
        "/dev/null", log_);
    const auto giveUp = Steady::now() + 10s;
    while (server_->running() && !accepts(socket) && Steady::now() < giveUp) std::this_thread::sleep_for(2ms);
    if (!accepts(socket)) return false;
    recording_ = dir_ / ("record" + std::to_string(++recordings_) + ".raw");
    read_ = 0;
    heard_ = false;
    parec_ = std::make_unique<Child>(
        std::vector<std::string>{"parec", "-d", "zarvik.monitor", "--raw", "--format=s16le", "--rate=22050",
                                 "--channels=1", "--latency-msec=20"},
        std::map<std::string, std::string>{{"PULSE_SERVER", "unix:" + socket.string()}}, recording_, log_);
    return parec_->running();
  }
  // The moment the program can reach the server again.
  bool returnToTheProgram() {
    std::error_code error;
    fs::rename(dir_ / "native.new", dir_ / "native", error);  // over a crashed server's socket
    return !error && parec_->running();
  }
  // As a crash would: the socket file stays behind.
  void kill() {
    server_.reset();
    parec_.reset();
  }

  // Whether anything but silence has been recorded since the last launch.
  bool heard() {
    std::ifstream in(recording_, std::ios::binary);
    in.seekg(std::streamoff(read_));
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t whole = bytes.size() / 2 * 2;
    read_ += whole;
    for (size_t i = 0; i < whole && !heard_; i += 2) {
      int16_t sample;
      std::memcpy(&sample, bytes.data() + i, 2);
      heard_ = std::abs(int(sample)) >= 16;
    }
    return heard_;
  }

 private:
  fs::path dir_;
  fs::path log_ = dir_ / "server.log";
  std::unique_ptr<Child> server_;
  std::unique_ptr<Child> parec_;
  fs::path recording_;
  int recordings_ = 0;
  size_t read_ = 0;
  bool heard_ = false;
};

class SoundServerTest : public ::testing::Test {
 protected:
  SoundServerTest() {
    // Only the test's server may answer: no desktop server, no sound card.
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("PIPEWIRE_REMOTE");
    unsetenv("PIPEWIRE_RUNTIME_DIR");
    std::ofstream(dir.path() / "asound.conf");
    clock.set({2026, 3, 1, 13, 7, 0});
    fs::current_path(SKIN_DIR);  // where the samples' names resolve
  }
  ~SoundServerTest() override { hh.Snd_Release(); }

  // The program on "PulseAudio / PipeWire" with the samples loaded, showing the time.
  void SetUp() override {
    ASSERT_TRUE(server.launch()) << "pulseaudio and parec (packages pulseaudio, pulseaudio-utils) did not start; see "
                                 << server.log();
    std::this_thread::sleep_for(RecordedServer::kSinkStart);
    ASSERT_TRUE(server.returnToTheProgram());
    ASSERT_TRUE(sound.FSOUND_Init(22050, 64, 0)) << sound.lastError();
    ASSERT_TRUE(sound.FSOUND_SetOutput(kOutputDesktopServer)) << sound.lastError();
    ASSERT_EQ(sound.driverName(), "pulseaudio");
    hh.SoundEnabled = true;
    ASSERT_TRUE(hh.Snd_Load()) << sound.lastError();
    hh.Mode = ModeAllSegments;
    hh.Gam_Set_Mode();
    hh.Inp_time_down(), hh.Inp_time_up();
  }

  // Presses Game A and plays until its first sound is heard and the game runs.
  void startGameAndHearIt() {
    hh.Inp_game_a_down(), hh.Inp_game_a_up();
    ASSERT_EQ(hh.Mode, ModeGameAReady);
    ASSERT_TRUE(play(3s, follow, [&] { return server.heard(); })) << "the game was never heard";
    ASSERT_TRUE(play(3s, follow, [&] { return hh.Mode == ModeGameAPlay; }));
  }

  // Runs the handheld in step with real time for up to `limit`, with a
  // player at the buttons if one is given; true as soon as `done` holds.
  using Player = void (*)(Handheld&);
  bool play(Steady::duration limit, Player player, const std::function<bool()>& done = {}) {
    const auto start = Steady::now();
    while (Steady::now() - start < limit) {
      if (player) player(hh);
      const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - started_);
      if (elapsed.count() > scheduler.now()) scheduler.advance(elapsed.count() - scheduler.now());
      if (done && done()) return true;
      std::this_thread::sleep_for(5ms);
    }
    return false;
  }

  // Brings the server back `outage` after `since`, while the game plays on,
  // and returns the seconds from its return until the game is heard again
  // (negative when not within 5 s), checking that it is the same game.
  double serverBackAfter(Steady::time_point since, Steady::duration outage) {
    const auto gameLeft = [&] { return hh.Mode != ModeGameAPlay; };
    EXPECT_FALSE(play(outage - RecordedServer::kSinkStart - (Steady::now() - since), follow, gameLeft));
    EXPECT_TRUE(server.launch()) << "see " << server.log();
    EXPECT_FALSE(play(outage - (Steady::now() - since), follow, gameLeft));
    EXPECT_TRUE(server.returnToTheProgram());
    const auto back = Steady::now();
    bool left = false;
    const bool heard = play(5s, follow, [&] {
      left = left || gameLeft();
      return server.heard();
    });
    EXPECT_FALSE(left) << "the game ended before it was heard again";
    const double seconds = heard ? secondsSince(back) : -1;
    std::printf("heard again %.2f s after the server's return\n", seconds);
    return seconds;
  }

  TempFolder dir;
  RecordedServer server{dir.path()};
  ScopedEnv pulse{"PULSE_SERVER", server.address()};
  ScopedEnv runtime{"XDG_RUNTIME_DIR", dir.path().string()};
  ScopedEnv alsa{"ALSA_CONFIG_PATH", (dir.path() / "asound.conf").string()};

  VirtualScheduler scheduler;
  VirtualClock clock{scheduler};
  SeededRandom random{7};
  SdlSoundLayer sound;
  MemorySettings settings;
  Handheld hh{scheduler, clock, random, sound, settings};
  const Steady::time_point started_ = Steady::now();
};

// The server crashes during a game and is back 7 s later: the game carries
// on, silent, and is heard again soon after the server's return.
TEST_F(SoundServerTest, AGameIsHeardAgainSoonAfterTheServerReturns) {
  ASSERT_NO_FATAL_FAILURE(startGameAndHearIt());
  testing::internal::CaptureStderr();
  const auto crash = Steady::now();
  server.kill();
  const double heardAfter = serverBackAfter(crash, 7s);
  EXPECT_GE(heardAfter, 0) << "not heard within 5 s of the server's return";
  EXPECT_LE(heardAfter, 2.0);
  EXPECT_EQ(sound.driverName(), "pulseaudio");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "the sound stack spoke on standard error";
}

// The server stays away for 40 s: the game ends, the device rests, and the
// next game opens it again while the server is still gone. That game is heard
// soon after the server's return.
TEST_F(SoundServerTest, AGameIsHeardAfterALongOutageAcrossAReopening) {
  ASSERT_NO_FATAL_FAILURE(startGameAndHearIt());
  testing::internal::CaptureStderr();
  const auto crash = Steady::now();
  server.kill();
  ASSERT_TRUE(play(35s, dodge, [&] { return hh.Mode == ModeGameOver; })) << "the game did not end";
  // Silent for longer than the layer waits for another sound, so that the
  // next game opens the device anew.
  play(std::max<Steady::duration>(30s - (Steady::now() - crash), 4s), nullptr);
  ASSERT_FALSE(sound.deviceOpen()) << "the device did not rest";

  hh.Inp_game_a_down(), hh.Inp_game_a_up();  // the device opens again for the jingle
  ASSERT_EQ(hh.Mode, ModeGameAReady);
  ASSERT_TRUE(play(3s, follow, [&] { return hh.Mode == ModeGameAPlay; }));
  const double heardAfter = serverBackAfter(crash, 40s);
  EXPECT_GE(heardAfter, 0) << "not heard within 5 s of the server's return";
  EXPECT_LE(heardAfter, 2.0);
  EXPECT_EQ(sound.driverName(), "pulseaudio");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "the sound stack spoke on standard error";
}

}  // namespace
