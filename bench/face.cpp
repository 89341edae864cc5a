// The face's costs on the default skin, on the offscreen platform: one run of
// LoadSkin (Config.ini, 81 pictures decoded and prepared) in each mode (in
// fullscreen on a 1920 x 1080 and a 1024 x 768 screen), a
// window-mode switch of TForm1, the window's shape recomputed from the
// composed picture, and one segment repainted at zoom 1 and 4.

#include <QApplication>
#include <QPaintEvent>
#include <QRegion>
#include <ctime>
#include <benchmark/benchmark.h>

#include "main_window.h"
#include "skin_loader.h"
#include "headless.h"
#include "window_placement.h"

namespace {

using namespace zarvik;

const SkinSources kDefaultSkin{std::filesystem::path(ZARVIK_SKIN_DIR) / "Config.ini", ZARVIK_SKIN_DIR};
const QSize kScreen(1920, 1080);

// Fullscreen on a screen of the given width and height; the backdrop's kept
// pixels are counted in megabytes.
void LoadSkinRun(benchmark::State& state, bool fullscreen, QSize screen = kScreen) {
  Panel panel;
  FaceLayout layout;
  for (auto _ : state) {
    SkinLoadReport report = loadSkin(kDefaultSkin, fullscreen, screen, panel, layout);
    if (report.configMissing || !report.problems.isEmpty()) state.SkipWithError("the default skin did not load");
    benchmark::DoNotOptimize(panel.images[0].picture);
  }
  if (fullscreen) state.counters["backdrop_MB"] = double(layout.backdrop.picture.sizeInBytes()) / 1e6;
}
void BM_LoadSkinWindowed(benchmark::State& state) { LoadSkinRun(state, false); }
void BM_LoadSkinFullscreen(benchmark::State& state) {
  LoadSkinRun(state, true, QSize(int(state.range(0)), int(state.range(1))));
}
BENCHMARK(BM_LoadSkinWindowed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSkinFullscreen)->Args({1920, 1080})->Args({1024, 768})->Unit(benchmark::kMillisecond);

struct Face {
  HeadlessHandheld headless{LocalDateTime{2026, 1, 1, 12, 0, 0}, 1};
  Handheld& handheld = headless.handheld;
  TForm1 form;
  explicit Face(int zoom = 1) : form(handheld, TForm1::Options{kDefaultSkin, false, nullptr, zoom}) {
    handheld.Mode = ModeAllSegments;
    handheld.Gam_Set_Mode();
  }
};

// The menu's fullscreen toggle: LoadSkin, the window's size, colour and
// shape, centring.
void BM_SwitchWindowMode(benchmark::State& state) {
  Face face;
  for (auto _ : state) face.form.pm_10_fullscreenClick();
}
BENCHMARK(BM_SwitchWindowMode)->Unit(benchmark::kMillisecond);

// The shape's parts: composing the window's picture, the mask bitmap from
// it, and the region X11 is given (the whole, at zoom 1 and 4, as at a
// change of zoom).
void BM_ComposeFace(benchmark::State& state) {
  Face face;
  for (auto _ : state) benchmark::DoNotOptimize(face.form.composedPicture());
}
void BM_WindowMask(benchmark::State& state) {
  Face face;
  for (auto _ : state) benchmark::DoNotOptimize(face.form.windowMask());
}
void BM_WindowMaskRegion(benchmark::State& state) {
  Face face(int(state.range(0)));
  for (auto _ : state) {
    QRegion region(face.form.windowMask());
    benchmark::DoNotOptimize(region.rectCount());
  }
}
BENCHMARK(BM_ComposeFace)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowMask)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowMaskRegion)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

// A segment shown or hidden in windowed mode: its rectangle repainted and its
// part of the window's shape checked.
void BM_SegmentToggleWindowed(benchmark::State& state) {
  Face face;
  bool on = false;
  for (auto _ : state) {
    on = !on;
    face.handheld.panel.setVisible(im_item_1_5, on);
  }
}
BENCHMARK(BM_SegmentToggleWindowed)->Unit(benchmark::kMicrosecond);

// The same on the shown window, zoomed 1 or 4 times, through the event loop
// to the painted window: only the segment's rectangle times the zoom is
// repainted (else the run fails).
struct PaintedRegion : QObject {
  QRegion region;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) region += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
};
void BM_SegmentRepaintZoomed(benchmark::State& state) {
  Face face(int(state.range(0)));
  placeOnScreen(face.form);  // a parked face paints nothing
  face.form.show();
  QCoreApplication::processEvents();
  PaintedRegion painted;
  face.form.installEventFilter(&painted);
  bool on = true;  // lit in mode 0: the first iteration hides it
  for (auto _ : state) {
    on = !on;
    face.handheld.panel.setVisible(im_item_1_5, on);
    QCoreApplication::processEvents();
  }
  const QRect segment = face.form.toWindow(face.handheld.panel[im_item_1_5].rect);
  if (painted.region != QRegion(segment)) state.SkipWithError("not just the segment's rectangle was repainted");
  state.counters["pixels"] = segment.width() * segment.height();
}
BENCHMARK(BM_SegmentRepaintZoomed)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);

// Thirty seconds of game A in virtual time on the shown window, with the LCD
// look off (0) or on (1): the handheld's ticks, the changed rectangles'
// repaints and their part of the window's shape, and with the look its
// fades, whose frames follow virtual time here. A player moves every 300 ms.
// Per iteration: the paints, the window pixels they covered, and the repaint
// work (paint events and the look's frames, in thread CPU time).
double threadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}
struct TimedFace : TForm1 {
  using TForm1::TForm1;
  int paints = 0;
  long long pixels = 0;
  double paintMs = 0;
  void paintEvent(QPaintEvent* event) override {
    const double start = threadCpuMs();
    TForm1::paintEvent(event);
    paintMs += threadCpuMs() - start;
    ++paints;
    for (const QRect& r : event->region()) pixels += r.width() * r.height();
  }
};
void BM_PlayedGameLook(benchmark::State& state) {
  HeadlessHandheld headless{LocalDateTime{2026, 1, 1, 12, 0, 0}, 7};
  Handheld& handheld = headless.handheld;
  TForm1::Options options{kDefaultSkin, false};
  options.lcdLook = state.range(0) != 0;
  options.lcdLookClock = [&headless] { return headless.scheduler.now(); };
  TimedFace form(handheld, options);
  placeOnScreen(form);  // a parked face paints nothing
  form.show();
  QCoreApplication::processEvents();
  form.paints = 0;
  form.pixels = 0;
  form.paintMs = 0;
  for (auto _ : state) {
    handheld.Mode = ModeTime1;
    handheld.Gam_Set_Mode();
    handheld.Inp_game_a_down();
    handheld.Inp_game_a_up();
    for (int t = 0; t < 30000; t += LcdLook::kFrameMs) {
      headless.wait(LcdLook::kFrameMs);
      if (t % 300 < LcdLook::kFrameMs) {
        const bool left = t % 600 < 300;
        (handheld.*(left ? &Handheld::Inp_left_down : &Handheld::Inp_right_down))();
        (handheld.*(left ? &Handheld::Inp_left_up : &Handheld::Inp_right_up))();
      }
      if (form.lcdLook().changing()) {
        const double start = threadCpuMs();
        form.lcdLook().frame();
        form.paintMs += threadCpuMs() - start;
      }
      QCoreApplication::processEvents();
    }
  }
  using benchmark::Counter;
  state.counters["paints"] = Counter(form.paints, Counter::kAvgIterations);
  state.counters["pixels"] = Counter(double(form.pixels), Counter::kAvgIterations);
  state.counters["repaint_ms"] = Counter(form.paintMs, Counter::kAvgIterations);
}
BENCHMARK(BM_PlayedGameLook)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
