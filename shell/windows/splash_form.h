#pragma once
// The splash window: names the game and its version, carries the project's
// links, asks for the sound driver, and its play action sets up sound and
// hands over to the main window. Not built at all when a driver is stored
// and the splash is switched off (start-up then plays at once).

#include <QImage>
#include <QWidget>
#include <cstdint>

#include "key_codes.h"

namespace zarvik {
class ClickableLabel;
}
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;

namespace zarvik {
class Handheld;
class SettingsStore;
}  // namespace zarvik

class TSplashForm : public QWidget {
  Q_OBJECT

 public:
  // `handheldPicture`, the skin's face, is printed on the retail box; when it
  // is null a plain drawn handheld stands in. `splashMenuEntry` (may be null)
  // is ticked like the check box by the play action.
  TSplashForm(zarvik::Handheld& handheld, zarvik::SettingsStore& settings, QWidget& mainWindow,
              const QImage& handheldPicture, QAction* splashMenuEntry = nullptr);

  // Whether "Display this splash screen at startup" is ticked.
  bool splashScreenChecked() const;

  void btn_playClick();
  void FormKeyDown(std::uint16_t key);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

  QComboBox* cb_sound = nullptr;
  QCheckBox* chb_splashscreen = nullptr;
  zarvik::ClickableLabel* btn_play = nullptr;
  QLabel* btn_play_disabled = nullptr;
  zarvik::ClickableLabel* btn_paypal = nullptr;
  zarvik::ClickableLabel* la_website_2 = nullptr;
  zarvik::ClickableLabel* la_email_2 = nullptr;

 private:
  void FormCreate();
  void cb_soundChange();
  bool playEnabled() const;
  void la_website_2Click();
  void la_email_2Click();
  void btn_paypalClick();

  zarvik::KeyCodeTracker keyCodes_;
  zarvik::Handheld& handheld_;
  zarvik::SettingsStore& settings_;
  QWidget& mainWindow_;
  QAction* splashMenuEntry_;
  bool played_ = false;

  QLabel* im_background = nullptr;
  QLabel* im_box_picture = nullptr;
  QLabel* la_game_title = nullptr;
  QLabel* la_version = nullptr;
  QLabel* la_release_date = nullptr;
  QLabel* la_website_1 = nullptr;
  QLabel* la_email_1 = nullptr;
  QLabel* la_sound_select = nullptr;
};
