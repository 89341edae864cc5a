#include "sdl_gamepad.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <unistd.h>
#include <string>

#include "sdl_library.h"

namespace zarvik {

namespace {

struct ButtonControl {
  SDL_GameControllerButton sdlButton;
  Button button;
};

// The pad buttons that work handheld buttons; the stick's two directions
// follow them as controls kStickLeft and kStickRight.
constexpr std::array<ButtonControl, 6> kButtonControls = {{
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, Left},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, Right},
    {SDL_CONTROLLER_BUTTON_A, GameA},
    {SDL_CONTROLLER_BUTTON_B, GameB},
    {SDL_CONTROLLER_BUTTON_START, Time},
    {SDL_CONTROLLER_BUTTON_Y, Time},
}};
constexpr int kStickLeft = int(kButtonControls.size());
constexpr int kStickRight = kStickLeft + 1;
static_assert(kStickRight + 1 == SdlGamepads::kControlCount);

Button buttonOfControl(int control) {
  if (control == kStickLeft) return Left;
  if (control == kStickRight) return Right;
  return kButtonControls[control].button;
}

int controlOfButton(Uint8 sdlButton) {
  for (int c = 0; c < kStickLeft; ++c)
    if (kButtonControls[c].sdlButton == sdlButton) return c;
  return -1;
}

// SDL is read this often while a pad is open: a press waits at most this
// long. About 1.5 % of a core on our 2-core test machine, two thirds of it
// the wake-ups themselves.
constexpr int kPollMs = 10;
// After a change in /dev/input, SDL is read again after these delays: the
// device node appears before udev has set it up and announced it.
constexpr std::array<int, 3> kSettleDelaysMs = {100, 1000, 3500};

// A stick's direction along one axis: -1, 0 or +1. It turns at half travel
// and returns to rest only below a quarter, so a stick resting near the
// turning point does not chatter.
int stickDirection(int current, int axisValue) {
  constexpr int kTurn = 16384, kRest = 8192;
  if (axisValue <= -kTurn) return -1;
  if (axisValue >= kTurn) return +1;
  if (current < 0 && axisValue < -kRest) return -1;
  if (current > 0 && axisValue > kRest) return +1;
  return 0;
}

// Whether the folder holds an input device node this user may read. On a
// desktop the keyboards and mice are the input group's alone, while the
// seat's user is given each gamepad: SDL, with the libraries it brings, is
// loaded only once one is there.
bool readableInputDevice(const QString& folder) {
  const QStringList nodes = QDir(folder).entryList({"event*", "js*"}, QDir::System | QDir::Files);
  return std::any_of(nodes.begin(), nodes.end(), [&](const QString& node) {
    return ::access(QFile::encodeName(folder + '/' + node).constData(), R_OK) == 0;
  });
}

}  // namespace

SdlGamepads::SdlGamepads(QString deviceFolder, QObject* parent)
    : QObject(parent), deviceFolder_(std::move(deviceFolder)) {
  poll_.setInterval(kPollMs);
  connect(&poll_, &QTimer::timeout, this, &SdlGamepads::rescan);
  settle_.setSingleShot(true);
  connect(&settle_, &QTimer::timeout, this, &SdlGamepads::settleStep);
  connect(&deviceWatcher_, &QFileSystemWatcher::directoryChanged, this, &SdlGamepads::deviceFolderChanged);
}

SdlGamepads::~SdlGamepads() {
  if (!started_) return;
  for (const auto& [id, pad] : pads_) sdl_->SDL_GameControllerClose(pad.controller);
  sdl_->SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool SdlGamepads::start() {
  if (!watching_) {
    watching_ = true;
    if (QDir(deviceFolder_).exists()) deviceWatcher_.addPath(deviceFolder_);
  }
  if (started_ || !readableInputDevice(deviceFolder_)) return true;
  return startSdl();
}

bool SdlGamepads::startSdl() {
  // SDL would otherwise turn SIGINT and SIGTERM into quit events that this
  // program never reads. SDL counts the starts of each subsystem: the sound
  // layer's audio and these pads do not shut each other down.
  std::string error;
  sdl_ = loadSdl(error);
  if (sdl_) {
    sdl_->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl_->SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) error = sdl_->SDL_GetError();
  }
  if (!error.empty()) {
    qWarning("Gamepads cannot be used: %s", error.c_str());
    deviceWatcher_.removePath(deviceFolder_);  // nothing to wake for
    return false;
  }
  started_ = true;
  rescan();
  return true;
}

void SdlGamepads::rescan() {
  if (!started_) return;
  SDL_Event event;
  while (sdl_->SDL_PollEvent(&event)) handle(event);
  updatePolling();
}

void SdlGamepads::handle(const SDL_Event& event) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
      open(event.cdevice.which);
      break;
    case SDL_CONTROLLERDEVICEREMOVED:
      close(event.cdevice.which);
      break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      const auto pad = pads_.find(event.cbutton.which);
      const int control = controlOfButton(event.cbutton.button);
      if (pad != pads_.end() && control >= 0)
        setHeld(pad->second, control, event.cbutton.state == SDL_PRESSED);
      break;
    }
    case SDL_CONTROLLERAXISMOTION: {
      const auto pad = pads_.find(event.caxis.which);
      if (pad != pads_.end() && event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX)
        setStick(pad->second, stickDirection(pad->second.stick, event.caxis.value));
      break;
    }
    default:
      break;  // other devices' events, and the sound layer's, serve nobody here
  }
}

// A pad announced twice (SDL may announce the pads attached at start-up more
// than once) keeps one reference.
void SdlGamepads::open(int deviceIndex) {
  SDL_GameController* controller = sdl_->SDL_GameControllerOpen(deviceIndex);
  if (!controller) {
    qWarning("Gamepad %d cannot be opened: %s", deviceIndex, sdl_->SDL_GetError());
    return;
  }
  const int id = sdl_->SDL_JoystickInstanceID(sdl_->SDL_GameControllerGetJoystick(controller));
  if (!pads_.try_emplace(id, Pad{controller, {}, 0}).second) sdl_->SDL_GameControllerClose(controller);
}

void SdlGamepads::close(int instanceId) {
  const auto pad = pads_.find(instanceId);
  if (pad == pads_.end()) return;
  for (int c = 0; c < kControlCount; ++c) setHeld(pad->second, c, false);
  sdl_->SDL_GameControllerClose(pad->second.controller);
  pads_.erase(pad);
}

void SdlGamepads::setHeld(Pad& pad, int control, bool held) {
  if (pad.held[control] == held) return;
  pad.held[control] = held;
  const Button button = buttonOfControl(control);
  int& holders = holders_[int(button) - 1];
  holders += held ? 1 : -1;
  if (held && holders == 1) emit buttonDown(button);
  if (!held && holders == 0) emit buttonUp(button);
}

void SdlGamepads::setStick(Pad& pad, int direction) {
  pad.stick = direction;
  setHeld(pad, kStickLeft, direction < 0);
  setHeld(pad, kStickRight, direction > 0);
}

void SdlGamepads::deviceFolderChanged() {
  if (!start() || !started_) return;
  rescan();
  settleStep_ = 0;
  if (!polling()) settle_.start(kSettleDelaysMs[0]);
}

void SdlGamepads::settleStep() {
  rescan();
  if (!polling() && ++settleStep_ < int(kSettleDelaysMs.size())) settle_.start(kSettleDelaysMs[settleStep_]);
}

void SdlGamepads::updatePolling() {
  if (pads_.empty()) {
    poll_.stop();
  } else if (!poll_.isActive()) {
    settle_.stop();
    poll_.start();
  }
}

}  // namespace zarvik
