#pragma once
// The windows with the controls that tests drive made reachable.

#include "game_menu.h"
#include "keys_form.h"
#include "main_window.h"
#include "splash_form.h"

class TestingForm1 : public TForm1 {
 public:
  using TForm1::TForm1;
  using TForm1::pm_0_menu;
  zarvik::GameMenu& gameMenu() { return *gameMenu_; }
};

class TestingKeysForm : public TKeysForm {
 public:
  using TKeysForm::TKeysForm;
  using TKeysForm::btn_accept;
  using TKeysForm::KeyCombos;
  using TKeysForm::KeyLabels;
};

class TestingSplashForm : public TSplashForm {
 public:
  using TSplashForm::TSplashForm;
  using TSplashForm::btn_paypal;
  using TSplashForm::btn_play;
  using TSplashForm::btn_play_disabled;
  using TSplashForm::cb_sound;
  using TSplashForm::chb_splashscreen;
  using TSplashForm::la_email_2;
  using TSplashForm::la_website_2;
};
