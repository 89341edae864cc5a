// The face's menu offscreen: every entry from the context menu (driven with
// the keyboard) and from its shortcut, the in-game menu in fullscreen mode,
// and the key dialog taking the face's input while it is open.

#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QWindow>
#include <QUrl>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "application_state.h"
#include "error_box.h"
#include "headless.h"
#include "manual_form.h"
#include "skin_fixture.h"
#include "testing_windows.h"
#include "url_recorder.h"

using namespace zarvik;
using namespace face_test;

namespace {

class FaceMenu : public testing::Test {
 protected:
  // The documents the menu opens lie in the current folder.
  FaceMenu() {
    skin.writeCompleteSkin();
    previousFolder = QDir::currentPath();
    QDir::setCurrent(documents.path());
    for (const char* name : {"Readme.txt", "Whatsnew.txt", "Config.ini"}) QFile(name).open(QIODevice::WriteOnly);
  }
  ~FaceMenu() override { QDir::setCurrent(previousFolder); }

  TestingForm1& open(bool fullscreen) {
    form = std::make_unique<TestingForm1>(handheld, TForm1::Options{skin.sources(), fullscreen, nullptr});
    keys = std::make_unique<TestingKeysForm>(form->keyBindings());
    form->attachWindows({&about, &manual, keys.get(), nullptr});
    return *form;
  }
  void click(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(widget, button, Qt::NoModifier, at);
  }
  // Opens the context menu and picks the n-th entry that is not a separator.
  void pickFromContextMenu(int entry) {
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(300, 300), QPoint(300, 300));
    QApplication::sendEvent(form.get(), &rightClick);
    ASSERT_TRUE(form->pm_0_menu->isVisible());
    for (int i = 0; i < entry; ++i) QTest::keyClick(form->pm_0_menu, Qt::Key_Down);
    QTest::keyClick(form->pm_0_menu, Qt::Key_Return);
  }
  static QString inCurrentFolder(const char* name) {
    return QUrl::fromLocalFile(QDir::current().absoluteFilePath(name)).toString();
  }
  int stored(const std::string& name) { return settings.readInteger(name, -99); }

  QTemporaryDir documents;
  QString previousFolder;
  SkinFixture skin;
  VirtualScheduler scheduler;
  VirtualClock clock{scheduler};
  SeededRandom random{1};
  RecordingSoundLayer sound;
  MemorySettings settings;
  Handheld handheld{scheduler, clock, random, sound, settings};
  QWidget about, manual;
  UrlRecorder opened{{"file"}};
  std::unique_ptr<TestingForm1> form;
  std::unique_ptr<TestingKeysForm> keys;
};

TEST_F(FaceMenu, TheContextMenuHoldsTheThirteenEntries) {
  TestingForm1& face = open(true);
  QStringList texts;
  for (int row = 1; row <= TForm1::kMenuRows; ++row)
    texts << (face.menuEntry(row)->isSeparator() ? "-" : face.menuEntry(row)->text());
  EXPECT_EQ(texts.join('|').toStdString(),
            "About...\tF1|View 'Readme.txt'\tF2|View 'Whatsnew.txt'\tF3|View manual\tF4|-|"
            "Edit configuration file|Key settings|Reset Hiscores|-|Display in fullscreen mode\tF12|"
            "Display splash screen at startup|-|Exit\tEsc");
  EXPECT_EQ(face.pm_0_menu->defaultAction(), face.menuEntry(1));
  EXPECT_TRUE(face.menuEntry(10)->isChecked());  // fullscreen, as read at start
}

// Each entry picked from the context menu and, where it has one, by its
// shortcut: the effect, then a way to undo it for the second run.
TEST_F(FaceMenu, EveryEntryActsFromTheMenuAndFromItsShortcut) {
  TestingForm1& face = open(false);
  face.show();
  struct Case {
    int entry;  // position among the entries that are not separators
    int shortcut;
    std::function<bool()> done;
    std::function<void()> undo;
  };
  const std::vector<Case> cases = {
      {1, Qt::Key_F1, [&] { return about.isVisible(); }, [&] { about.hide(); }},
      {2, Qt::Key_F2, [&] { return opened.opened == QStringList{inCurrentFolder("Readme.txt")}; },
       [&] { opened.opened.clear(); }},
      {3, Qt::Key_F3, [&] { return opened.opened == QStringList{inCurrentFolder("Whatsnew.txt")}; },
       [&] { opened.opened.clear(); }},
      {4, Qt::Key_F4, [&] { return manual.isVisible(); }, [&] { manual.hide(); }},
      {5, 0, [&] { return opened.opened == QStringList{inCurrentFolder("Config.ini")}; }, [&] { opened.opened.clear(); }},
      {6, 0, [&] { return keys->isVisible() && QGuiApplication::modalWindow() == keys->windowHandle(); },
       [&] { keys->close(); }},
      {7, 0,
       [&] { return handheld.HiScoreA == 0 && handheld.HiScoreB == 0 && stored("HiScore1") == 0 && stored("HiScore2") == 0; },
       [&] { handheld.HiScoreA = 5, handheld.HiScoreB = 6; }},
      {9, 0, [&] { return stored("SplashScreen") == 0 && !face.menuEntry(11)->isChecked(); },
       [&] { settings.values.erase("SplashScreen"); }},
  };
  for (const Case& c : cases) {
    c.undo();
    pickFromContextMenu(c.entry);
    EXPECT_TRUE(c.done()) << "entry " << c.entry << " from the menu";
    EXPECT_TRUE(face.isEnabled() || c.entry == 6);
    c.undo();
    if (!c.shortcut) continue;
    QTest::keyClick(&face, Qt::Key(c.shortcut));
    EXPECT_TRUE(c.done()) << "entry " << c.entry << " by its shortcut";
    EXPECT_FALSE(face.pm_0_menu->isVisible());
    c.undo();
  }
  // A shortcut with a modifier is no shortcut.
  QTest::keyClick(&face, Qt::Key_F1, Qt::ControlModifier);
  EXPECT_FALSE(about.isVisible());

  EXPECT_FALSE(terminationRequested());
  QTest::keyClick(&face, Qt::Key_Escape);
  EXPECT_TRUE(terminationRequested());
}

// A document the desktop cannot be given, or cannot open, is reported over
// the face by its full name, with the reason, and nothing is opened.
TEST_F(FaceMenu, ADocumentThatCannotBeOpenedIsReportedByName) {
  TestingForm1& face = open(false);
  face.show();
  QStringList boxes;
  const ErrorBoxHandler previousBox = setErrorBoxHandler([&](QWidget* parent, const QString& text) {
    EXPECT_EQ(parent, &face);
    boxes << text;
  });
  ASSERT_TRUE(QFile::remove("Readme.txt"));
  ASSERT_TRUE(QFile::remove("Whatsnew.txt") && mkfifo("Whatsnew.txt", 0600) == 0);
  // No file handler, and no opener on the PATH: the desktop opens nothing
  // (offscreen, Qt has no opener to try at all).
  QDesktopServices::unsetUrlHandler("file");
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", documents.filePath("no-programs-here").toLocal8Bit());
  const struct {
    int shortcut;
    const char* name;
    const char* reason;
  } cases[] = {
      {Qt::Key_F2, "Readme.txt", "No such file or directory."},
      {Qt::Key_F3, "Whatsnew.txt", "not a regular file."},
      {0, "Config.ini",
       "no program to open it was found: xdg-open, which opens files and links on Linux desktops, is not "
       "installed (Debian package xdg-utils)."},
  };
  for (const auto& c : cases) {
    boxes.clear();
    if (c.shortcut)
      QTest::keyClick(&face, Qt::Key(c.shortcut));
    else
      face.pm_6_configClick();
    EXPECT_EQ(boxes, QStringList{"Cannot open " + QDir::current().absoluteFilePath(c.name) + ": " + c.reason});
  }
  qputenv("PATH", path);
  setErrorBoxHandler(previousBox);
  EXPECT_TRUE(opened.opened.isEmpty());
}

TEST_F(FaceMenu, TheKeyDialogTakesTheFacesInputUntilItClosesEitherWay) {
  TestingForm1& face = open(false);
  face.show();
  for (const int closeKey : {Qt::Key_Escape, Qt::Key_Return}) {
    face.pm_7_keysClick();
    EXPECT_EQ(keys->windowHandle()->transientParent(), face.windowHandle());  // kept above the face
    // Keys as the window system delivers them, and a pad.
    QTest::keyClick(face.windowHandle(), Qt::Key_F1);
    QTest::keyClick(face.windowHandle(), Qt::Key_3);
    face.gamepadButtonDown(Time);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(handheld.Mode, ModeAllSegments);
    QTest::keyClick(keys->KeyCombos[0], Qt::Key(closeKey));
    EXPECT_FALSE(keys->isVisible());
    QTest::keyClick(face.windowHandle(), Qt::Key_F1);  // the face takes its input again
    EXPECT_TRUE(about.isVisible());
    about.hide();
  }
}

// A window built on first use: the manual reads its pages, and reports those
// it cannot load, when first opened, and only then.
TEST_F(FaceMenu, TheManualIsBuiltWhenFirstOpenedAndReportsBadPagesThen) {
  skin.write("Graphics/Manual/1.bmp", "not a picture");
  QStringList boxes;
  const ErrorBoxHandler previous = setErrorBoxHandler([&](QWidget*, const QString& text) { boxes << text; });
  TManualForm* built = nullptr;
  int builds = 0;
  form = std::make_unique<TestingForm1>(handheld, TForm1::Options{skin.sources(), false, nullptr});
  form->attachWindows({nullptr, DeferredWindow([&] {
                         ++builds;
                         auto manual = std::make_unique<TManualForm>(skin.sources());
                         built = manual.get();
                         return manual;
                       }),
                       nullptr, nullptr});
  form->show();
  EXPECT_EQ(builds, 0);
  EXPECT_TRUE(boxes.isEmpty());
  for (int opening = 1; opening <= 2; ++opening) {
    QTest::keyClick(form.get(), Qt::Key_F4);
    EXPECT_EQ(builds, 1);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains("Manual page 1")) << boxes[0].toStdString();
    ASSERT_TRUE(built);
    EXPECT_TRUE(built->isVisible());
    built->hide();
  }
  setErrorBoxHandler(previous);
}

TEST_F(FaceMenu, TheFullscreenToggleReLaysOutTheFaceWhileAGameGoesOn) {
  TestingForm1& face = open(false);
  face.show();
  handheld.Mode = ModeTime1;
  handheld.Gam_Set_Mode();
  handheld.Inp_game_a_down();
  handheld.Inp_game_a_up();
  scheduler.advance(2000);
  ASSERT_EQ(handheld.Mode, ModeGameAPlay);
  const QRect screen = face.screen()->geometry();

  QTest::keyClick(&face, Qt::Key_F12);
  EXPECT_TRUE(face.menuEntry(10)->isChecked());
  EXPECT_EQ(stored("FullscreenMode"), 1);
  EXPECT_EQ(face.geometry(), screen);
  EXPECT_TRUE(face.layout().menuButtonVisible);
  scheduler.advance(1000);
  QTest::keyClick(&face, Qt::Key_F12);
  EXPECT_EQ(stored("FullscreenMode"), 0);
  EXPECT_EQ(face.size(), QSize(561, 374));
  EXPECT_EQ(face.pos(), QPoint((screen.width() - 561) / 2, (screen.height() - 374) / 2));
  EXPECT_FALSE(face.layout().menuButtonVisible);
  EXPECT_EQ(handheld.Mode, ModeGameAPlay);
  EXPECT_TRUE(handheld.Timer_Game.enabled());
}

TEST_F(FaceMenu, TheInGameMenuUnfoldsIntoRowsAndFoldsAfterEachUse) {
  TestingForm1& face = open(true);
  face.show();
  GameMenu& menu = face.gameMenu();
  auto rowText = [&](int row) { return menu.row(row) ? menu.row(row)->text() : "(none)"; };
  // The menu button clicked as the window system delivers the click.
  auto clickMenuButton = [&] { QTest::mouseClick(face.windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10)); };

  clickMenuButton();
  ASSERT_TRUE(menu.isOpen());
  EXPECT_EQ(face.composedPicture().pixel(100, 10), qRgb(0, 0, 0));  // the title strip
  EXPECT_EQ(rowText(1), "   About...");
  EXPECT_EQ(rowText(5), "");
  EXPECT_EQ(rowText(10), "   Display in fullscreen mode [V]");
  EXPECT_EQ(rowText(11), "   Display splash screen at startup");
  EXPECT_EQ(menu.row(1)->geometry(), QRect(0, 32, 256, 32));
  EXPECT_EQ(menu.row(13)->geometry(), QRect(0, 416, 256, 32));

  // A click on a row runs its action, then folds; the next unfold shows the new mark.
  click(menu.row(11), QPoint(20, 16));
  EXPECT_EQ(stored("SplashScreen"), 1);
  EXPECT_FALSE(menu.isOpen());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(face.findChildren<QLabel*>().size(), 0);
  clickMenuButton();
  EXPECT_EQ(rowText(11), "   Display splash screen at startup [V]");

  // A shortcut folds the menu, then acts.
  QTest::keyClick(&face, Qt::Key_F1);
  EXPECT_FALSE(menu.isOpen());
  EXPECT_TRUE(about.isVisible());

  // A right click on the unfolded menu folds it and opens the context menu.
  clickMenuButton();
  QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(20, 16), QPoint(20, 16));
  QApplication::sendEvent(menu.row(3), &rightClick);
  EXPECT_FALSE(menu.isOpen());
  EXPECT_TRUE(face.pm_0_menu->isVisible());
  face.pm_0_menu->hide();

  // The fullscreen row returns to windowed mode; the menu button goes.
  clickMenuButton();
  click(menu.row(10), QPoint(20, 16));
  EXPECT_FALSE(menu.isOpen());
  EXPECT_FALSE(face.layout().menuButtonVisible);
  EXPECT_EQ(face.size(), QSize(561, 374));
  clickMenuButton();
  EXPECT_FALSE(menu.isOpen());
}

}  // namespace

