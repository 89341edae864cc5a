#pragma once
// Gamepads through SDL's game controller interface. Every connected pad
// works the handheld's buttons: the D-pad and the left stick Left and Right,
// the south face button (A) Game A, the east one (B) Game B, Start and the
// north one (Y) Time. Pads may come and go while the program runs.
//
// No pad, no cost: SDL is read only while a pad is open. With none open,
// /dev/input is watched and SDL is read only when a device node there
// appears, goes or changes its permissions.

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <array>
#include <bitset>
#include <map>

#include "buttons.h"

struct _SDL_GameController;
union SDL_Event;

namespace zarvik {

struct SdlLibrary;

class SdlGamepads : public QObject {
  Q_OBJECT

 public:
  // `deviceFolder` is where the system's input device nodes come and go.
  explicit SdlGamepads(QString deviceFolder = QStringLiteral("/dev/input"), QObject* parent = nullptr);
  ~SdlGamepads() override;

  // Watches the device folder and, once it holds an input device this user
  // may read, starts SDL's game controller subsystem and opens the pads
  // connected. False, with a warning, when SDL cannot start.
  bool start();

  // Reads SDL's pending events once: opens the pads added, closes the pads
  // removed (releasing what they held) and reports presses and releases.
  // Polling while a pad is open, the watcher and tests call it.
  void rescan();

  bool sdlStarted() const { return started_; }
  int openPads() const { return int(pads_.size()); }
  bool polling() const { return poll_.isActive(); }

  // The pad controls that work buttons: D-pad left and right, A, B, Start
  // and Y, then the left stick's two directions.
  static constexpr int kControlCount = 8;

 signals:
  // A button was pressed by the first pad control to hold it, or released by
  // the last (several controls and pads may hold the same button).
  void buttonDown(zarvik::Button button);
  void buttonUp(zarvik::Button button);

 private:
  struct Pad {
    _SDL_GameController* controller = nullptr;
    std::bitset<kControlCount> held;
    int stick = 0;  // the left stick's direction along its x axis
  };

  bool startSdl();
  void handle(const SDL_Event& event);
  void open(int deviceIndex);
  void close(int instanceId);
  void setHeld(Pad& pad, int control, bool held);
  void setStick(Pad& pad, int direction);
  void deviceFolderChanged();
  void settleStep();
  void updatePolling();

  const SdlLibrary* sdl_ = nullptr;  // loaded by start()
  QString deviceFolder_;
  bool watching_ = false;
  bool started_ = false;  // SDL's game controller subsystem
  std::map<int, Pad> pads_;  // by SDL joystick instance id
  std::array<int, kButtonCount> holders_{};  // controls holding each button
  QTimer poll_;
  QTimer settle_;
  int settleStep_ = 0;
  QFileSystemWatcher deviceWatcher_;
};

}  // namespace zarvik
