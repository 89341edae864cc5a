// Gamepads on the face, driven by SDL's virtual joysticks: pads plugged in
// while the layer runs work the handheld's buttons with the keys' latch
// rules, and once the last is unplugged nothing polls.

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <SDL.h>
#include <gtest/gtest.h>

#include "headless.h"
#include "main_window.h"
#include "sdl_gamepad.h"
#include "skin_fixture.h"

using namespace zarvik;
using namespace face_test;

namespace {

// A virtual pad laid out as a game controller (button N is SDL's controller
// button N, axis 0 the left stick's x). Each change is read at once by
// `reader` when one is given; else the layer's polling reads it.
class VirtualPad {
 public:
  explicit VirtualPad(SdlGamepads* reader = nullptr) : reader_(reader) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    joystick_ = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc));
  }
  ~VirtualPad() {
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
      if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    SDL_JoystickClose(joystick_);
  }
  bool attached() const { return joystick_ != nullptr; }
  void button(SDL_GameControllerButton b, bool down) {
    SDL_JoystickSetVirtualButton(joystick_, b, down);
    if (reader_) reader_->rescan();
  }
  void stick(int x) {
    SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTX, Sint16(x));
    if (reader_) reader_->rescan();
  }

 private:
  SdlGamepads* reader_;
  SDL_Joystick* joystick_ = nullptr;
};

class Gamepads : public testing::Test {
 protected:
  void SetUp() override {
    skin.writeCompleteSkin();
    face = std::make_unique<TForm1>(handheld, TForm1::Options{skin.sources(), false});
    QObject::connect(&layer, &SdlGamepads::buttonDown, face.get(), &TForm1::gamepadButtonDown);
    QObject::connect(&layer, &SdlGamepads::buttonUp, face.get(), &TForm1::gamepadButtonUp);
    QFile(devices.filePath("event0")).open(QIODevice::WriteOnly);  // a device this user may read
    ASSERT_TRUE(layer.start());
    if (layer.openPads() != 0) GTEST_SKIP() << "a physical gamepad is connected";
    handheld.Mode = ModeTime1;
    handheld.Gam_Set_Mode();
  }
  bool shown(ImageId id) const { return handheld.panel[id].visible; }
  bool becomes(bool shown, ImageId id) {
    return QTest::qWaitFor([&] { return this->shown(id) == shown; });
  }

  SkinFixture skin;
  HeadlessHandheld unit{{}, 1};
  Handheld& handheld = unit.handheld;
  std::unique_ptr<TForm1> face;
  QTemporaryDir devices;  // stands for /dev/input
  SdlGamepads layer{devices.path()};
};

TEST_F(Gamepads, EachControlPressesAndReleasesItsButton) {
  auto pad = std::make_unique<VirtualPad>();
  ASSERT_TRUE(pad->attached());
  EXPECT_FALSE(layer.polling());
  // A virtual pad makes no device node: one is made for the watcher to see.
  QFile(devices.filePath("event1")).open(QIODevice::WriteOnly);
  EXPECT_TRUE(QTest::qWaitFor([&] { return layer.openPads() == 1; }));
  EXPECT_TRUE(layer.polling());

  const struct { SDL_GameControllerButton control; ImageId pressed; } kControls[] = {
      {SDL_CONTROLLER_BUTTON_DPAD_LEFT, btn_left_down}, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, btn_right_down},
      {SDL_CONTROLLER_BUTTON_A, btn_game_a_down},       {SDL_CONTROLLER_BUTTON_B, btn_game_b_down},
      {SDL_CONTROLLER_BUTTON_START, btn_time_down},     {SDL_CONTROLLER_BUTTON_Y, btn_time_down},
  };
  for (const auto& [control, pressed] : kControls) {
    pad->button(control, true);
    EXPECT_TRUE(becomes(true, pressed)) << SDL_GameControllerGetStringForButton(control);
    pad->button(control, false);
    EXPECT_TRUE(becomes(false, pressed)) << SDL_GameControllerGetStringForButton(control);
  }
  EXPECT_EQ(handheld.Mode, ModeGameAReady);  // A readied game A; the others do nothing then

  // While the key dialog has the face disabled, pads press nothing.
  face->setEnabled(false);
  pad->button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
  layer.rescan();
  EXPECT_FALSE(shown(btn_left_down));
  face->setEnabled(true);
  pad->button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);

  // A button held when its pad is unplugged is released; nothing polls then.
  pad->button(SDL_CONTROLLER_BUTTON_B, true);
  EXPECT_TRUE(becomes(true, btn_game_b_down));
  pad.reset();
  EXPECT_TRUE(QTest::qWaitFor([&] { return layer.openPads() == 0; }));
  EXPECT_FALSE(handheld.GameBHeld);
  EXPECT_FALSE(layer.polling());
}

TEST_F(Gamepads, GameAStartsAGameWhoseCatcherTheDPadAndStickMoveOncePerPress) {
  VirtualPad pad(&layer);
  layer.rescan();
  pad.button(SDL_CONTROLLER_BUTTON_A, true);
  pad.button(SDL_CONTROLLER_BUTTON_A, false);
  unit.wait(2000);
  ASSERT_EQ(handheld.Mode, ModeGameAPlay);
  ASSERT_EQ(handheld.HeroPos, 2);

  // Each step sets the stick's x and the D-pad's left, in that order; then
  // the catcher's place and whether Left is held.
  const struct { int stickX; bool dpadLeft; int heroPos; bool leftHeld; } kSteps[] = {
      {-20000, false, 1, true}, {20000, false, 2, false},  // swung across: one move each way
      {9000, false, 2, false},  {17000, false, 2, false},  // resting above a quarter: still held
      {7000, false, 2, false},  {17000, false, 3, false},  // back to rest, then a new press
      {0, false, 3, false},     {0, true, 2, true},        // the D-pad held moves once ...
      {-20000, true, 2, true},                             // ... the stick as well: no second move
      {-20000, false, 2, true},                            // Left stays down while the stick holds it
      {0, false, 2, false},     {0, true, 1, true},
  };
  for (const auto& [stickX, dpadLeft, heroPos, leftHeld] : kSteps) {
    pad.stick(stickX);
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, dpadLeft);
    EXPECT_EQ(handheld.HeroPos, heroPos) << "stick " << stickX << ", D-pad left " << dpadLeft;
    EXPECT_EQ(shown(btn_left_down), leftHeld) << "stick " << stickX << ", D-pad left " << dpadLeft;
  }
}

TEST_F(Gamepads, AButtonHeldByTwoPadsOrAPadAndAKeyIsReleasedByTheLast) {
  VirtualPad first(&layer), second(&layer);
  layer.rescan();
  EXPECT_EQ(layer.openPads(), 2);
  enum Source { First, Second, Key };
  const struct { Source source; bool down; bool timeHeld; } kSteps[] = {
      {First, true, true},  {Second, true, true}, {First, false, true}, {Key, true, true},
      {Second, false, true}, {Second, true, true}, {Key, false, true},  {Second, false, false},
  };
  for (int step = 0; step < int(std::size(kSteps)); ++step) {
    const auto& [source, down, timeHeld] = kSteps[step];
    if (source == Key) {
      QKeyEvent event(down ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_3, Qt::NoModifier, 12, 0, 0);
      QApplication::sendEvent(face.get(), &event);  // Time's key
    } else {
      (source == First ? first : second).button(SDL_CONTROLLER_BUTTON_START, down);
    }
    EXPECT_EQ(handheld.ButtonLatch, timeHeld) << "step " << step;
  }
  EXPECT_EQ(handheld.Mode, ModeTime2);  // the first press acted, no other
}

// SDL is loaded only once the device folder holds a device this user may read.
TEST(GamepadLayer, StartsSdlOnlyWhenAnInputDeviceIsReadable) {
  QTemporaryDir devices;
  SdlGamepads layer{devices.path()};
  QFile(devices.filePath("mouse0")).open(QIODevice::WriteOnly);
  ASSERT_TRUE(layer.start());
  EXPECT_FALSE(layer.sdlStarted());
  QFile(devices.filePath("js0")).open(QIODevice::WriteOnly);
  EXPECT_TRUE(QTest::qWaitFor([&] { return layer.sdlStarted(); }));
}

}  // namespace
