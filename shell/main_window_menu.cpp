// TForm1's menu: the context menu with its shortcut keys, the in-game menu
// that shows the same entries in fullscreen mode, and the entries' actions.

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QWindow>

#include "application_state.h"
#include "desktop_open.h"
#include "game_menu.h"
#include "key_codes.h"
#include "main_window.h"
#include "splash_form.h"
#include "window_placement.h"

using namespace zarvik;

namespace {

struct MenuRow {
  const char* caption;  // "-" for a separator
  int shortcut;         // a Qt key without modifiers; 0 for none
  void (TForm1::*action)();
  bool checkable;
};

// The entries in row order, shared by the context menu and the in-game menu.
const std::array<MenuRow, TForm1::kMenuRows> kMenuTable = {{
    {"About...", Qt::Key_F1, &TForm1::pm_1_aboutClick, false},
    {"View 'Readme.txt'", Qt::Key_F2, &TForm1::pm_2_readmeClick, false},
    {"View 'Whatsnew.txt'", Qt::Key_F3, &TForm1::pm_3_whatsnewClick, false},
    {"View manual", Qt::Key_F4, &TForm1::pm_4_manualClick, false},
    {"-", 0, nullptr, false},
    {"Edit configuration file", 0, &TForm1::pm_6_configClick, false},
    {"Key settings", 0, &TForm1::pm_7_keysClick, false},
    {"Reset Hiscores", 0, &TForm1::pm_8_hiscoreClick, false},
    {"-", 0, nullptr, false},
    {"Display in fullscreen mode", Qt::Key_F12, &TForm1::pm_10_fullscreenClick, true},
    {"Display splash screen at startup", 0, &TForm1::pm_11_splashscreenClick, true},
    {"-", 0, nullptr, false},
    {"Exit", Qt::Key_Escape, &TForm1::pm_14_exitClick, false},
}};

bool isSeparator(const MenuRow& row) { return row.action == nullptr; }

void showInFront(QWidget* window) {
  if (!window) return;
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace

// The shortcuts are the menu's own keys, dispatched by the face's key handler
// through the menu (menuShortcut); the captions only show them, after a tab.
void TForm1::createMenu() {
  pm_0_menu = new QMenu(this);
  for (int i = 0; i < kMenuRows; ++i) {
    const MenuRow& row = kMenuTable[i];
    if (isSeparator(row)) {
      MenuEntries[i] = pm_0_menu->addSeparator();
      continue;
    }
    QString text = QString::fromLatin1(row.caption);
    if (row.shortcut) text += '\t' + QKeySequence(row.shortcut).toString(QKeySequence::NativeText);
    QAction* entry = pm_0_menu->addAction(text);
    entry->setCheckable(row.checkable);
    connect(entry, &QAction::triggered, this, row.action);
    MenuEntries[i] = entry;
  }
  pm_0_menu->setDefaultAction(MenuEntries[0]);
  connect(pm_0_menu, &QMenu::aboutToShow, this, &TForm1::pm_0_menuPopup);
  menuEntry(kFullscreenRow)->setChecked(IsFullscreen);

  // The in-game menu shows the same entries as rows.
  std::vector<GameMenu::Entry> rows;
  for (int i = 0; i < kMenuRows; ++i) rows.push_back({QString::fromLatin1(kMenuTable[i].caption), MenuEntries[i]});
  gameMenu_ = new GameMenu(std::move(rows), *this);
  gameMenu_->setVisible(layout_.menuButtonVisible);
  connect(gameMenu_, &GameMenu::rowChosen, this, [this](int row) { MenuEntries[row - 1]->trigger(); });
  connect(gameMenu_, &GameMenu::resized, this, [this](const QRect& area) {
    layout_.menuButtonBackgroundSize = gameMenu_->size();
    update(area);
  });
}

bool TForm1::menuShortcut(std::uint16_t key) {
  for (int i = 0; i < kMenuRows; ++i) {
    const int shortcut = kMenuTable[i].shortcut;
    if (shortcut && virtualKeyCode(shortcut, Qt::NoModifier) == key) {
      pm_0_menuPopup();
      MenuEntries[i]->trigger();
      return true;
    }
  }
  return false;
}

void TForm1::pm_0_menuPopup() {
  const bool splashBox = windows_.splash ? windows_.splash->splashScreenChecked() : true;
  menuEntry(kSplashScreenRow)->setChecked(handheld_.settings().readBool("SplashScreen", splashBox));
  if (IsFullscreen) gameMenu_->fold();
}

void TForm1::pm_1_aboutClick() { showInFront(windows_.about.get()); }
void TForm1::pm_2_readmeClick() { openFileOnDesktop(this, "Readme.txt"); }
void TForm1::pm_3_whatsnewClick() { openFileOnDesktop(this, "Whatsnew.txt"); }
void TForm1::pm_4_manualClick() { showInFront(windows_.manual.get()); }
void TForm1::pm_6_configClick() { openFileOnDesktop(this, "Config.ini"); }

// The dialog is window-modal: while it is open, the face, which it is tied
// to, takes no input, whichever way the dialog then closes.
void TForm1::pm_7_keysClick() {
  QWidget* keys = windows_.keys.get();
  if (!keys) return;
  centreOnScreen(*keys);
  // Tied to the face, so that the window manager keeps it above the face: a
  // click on the blocked face would otherwise bury it. (As the face's child
  // widget it would be found among the face's own.)
  keys->winId();
  keys->windowHandle()->setTransientParent(windowHandle());
  releaseHeldButtons();  // a blocked window sees no releases
  keys->show();
  keys->raise();
  keys->activateWindow();
}

// No segment is redrawn: a high score on display stays until the next redraw.
void TForm1::pm_8_hiscoreClick() {
  handheld_.resetHighScores();
  QApplication::beep();
}

// The handheld runs on through the toggle: no timer stops, the mode stays.
void TForm1::pm_10_fullscreenClick() {
  IsFullscreen = !IsFullscreen;
  menuEntry(kFullscreenRow)->setChecked(IsFullscreen);
  gameMenu_->fold();
  handheld_.settings().writeBool("FullscreenMode", IsFullscreen);
  setWindowState(windowState() & ~Qt::WindowFullScreen);  // a fullscreen window cannot be moved
  // Parked, the face may be unmapped: releases made meanwhile (the shortcut
  // key's own) would never reach it, and the keys would seem held.
  releaseHeldButtons();
  park(*this);
  LoadSkin();
  placeOnScreen(*this);
}

// The check box of the splash window is left as it is.
void TForm1::pm_11_splashscreenClick() {
  // A checkable entry has already changed its own mark when triggered.
  handheld_.settings().writeBool("SplashScreen", menuEntry(kSplashScreenRow)->isChecked());
}

void TForm1::pm_14_exitClick() { terminateApplication(); }

void TForm1::btn_game_menu_topClick() { gameMenu_->btn_game_menu_topClick(); }
void TForm1::Vid_Display_Game_Menu(bool open) { gameMenu_->Vid_Display_Game_Menu(open); }

QRect TForm1::gameMenuBackgroundRect() const {
  return layout_.menuButtonVisible ? QRect(QPoint(0, 0), layout_.menuButtonBackgroundSize) : QRect();
}
