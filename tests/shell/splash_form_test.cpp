// The splash window offscreen: what it shows on a first start, and what its
// play action, and the play at start-up without it, call, store and hand over.

#include "play_action.h"
#include "splash_form.h"
#include "testing_windows.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QMouseEvent>
#include <QUrl>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "application_state.h"
#include "clickable_label.h"
#include "error_box.h"
#include "headless.h"
#include "sound_fakes.h"
#include "url_recorder.h"

using namespace zarvik;

namespace {

// Whether the application is told to terminate: its event loop, started now,
// ends at once instead of running until the guard timer.
bool loopEndsAtOnce() {
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  guard.start(2000);
  return QCoreApplication::exec() == 0;
}

// Centred on the screen, up to the pixel an odd size leaves over.
bool centred(const QWidget& window) {
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QRect frame = window.geometry();
  return std::abs((frame.left() - screen.left()) - (screen.right() - frame.right())) <= 1 &&
         std::abs((frame.top() - screen.top()) - (screen.bottom() - frame.bottom())) <= 1;
}

class SplashTest : public testing::Test {
 protected:
  SplashTest() {
    errorBoxes.clear();
    previousBox = setErrorBoxHandler(
        [this](QWidget*, const QString& text) { errorBoxes.push_back(text.toStdString()); });
    mainWindow.resize(200, 100);
    mainWindow.move(-1000, -1000);
  }
  ~SplashTest() override { setErrorBoxHandler(previousBox); }

  std::unique_ptr<TestingSplashForm> create() {
    return std::make_unique<TestingSplashForm>(handheld, settings, mainWindow, QImage(), &menuEntry);
  }
  bool allSegmentsLit() const {
    return handheld.panel[im_item_2_3].visible && handheld.panel[im_panel_miss_10].visible;
  }

  VirtualScheduler scheduler;
  VirtualClock clock{scheduler};
  SeededRandom random{1};
  ScriptedSound sound;
  MemorySettings settings;
  Handheld handheld{scheduler, clock, random, sound, settings};
  QWidget mainWindow;
  QAction menuEntry{"Show splash screen"};
  std::vector<std::string> errorBoxes;
  ErrorBoxHandler previousBox;
};

TEST_F(SplashTest, FirstStartShowsAnEmptyListAndTheGreyPlayButtonThatDoesNothing) {
  auto splash = create();
  EXPECT_EQ(splash->windowTitle(), "About this game...");
  EXPECT_EQ(splash->cb_sound->currentText(), "");
  EXPECT_EQ(splash->cb_sound->count(), 3);
  EXPECT_TRUE(splash->chb_splashscreen->isChecked());
  EXPECT_FALSE(splash->btn_play->isVisibleTo(splash.get()));
  EXPECT_TRUE(splash->btn_play_disabled->isVisibleTo(splash.get()));
  EXPECT_EQ(splash->btn_play_disabled->toolTip(), "please select sound driver first");
  EXPECT_EQ(splash->btn_play_disabled->cursor().shape(), Qt::WhatsThisCursor);
  EXPECT_TRUE(centred(*splash));

  QTest::keyClick(splash->cb_sound, Qt::Key_Return);
  QTest::keyClick(splash->cb_sound, Qt::Key_1);
  splash->FormKeyDown(13);
  EXPECT_TRUE(settings.writes.empty());

  splash->cb_sound->setCurrentIndex(NoSound);
  EXPECT_TRUE(splash->btn_play->isVisibleTo(splash.get()));
  EXPECT_FALSE(splash->btn_play_disabled->isVisibleTo(splash.get()));
}

// Start-up then plays without building the splash window.
TEST_F(SplashTest, AStoredDriverWithTheSplashOffPlaysAtStart) {
  settings.values = {{"SoundMode", NoSound}, {"SplashScreen", 0}};
  ASSERT_EQ(driverPlayedAtStart(settings), NoSound);
  EXPECT_TRUE(PlayAction({handheld, settings, mainWindow, &menuEntry}).runAtStart(NoSound));
  EXPECT_TRUE(sound.calls.empty());  // "(no sound)" never starts the library
  EXPECT_FALSE(handheld.SoundEnabled);
  EXPECT_EQ(handheld.Mode, ModeAllSegments);
  EXPECT_TRUE(allSegmentsLit());
  EXPECT_TRUE(centred(mainWindow));
  EXPECT_EQ(settings.writes, (std::vector<std::string>{"SoundMode=2", "SplashScreen=0"}));
  EXPECT_FALSE(menuEntry.isChecked());
}

TEST_F(SplashTest, AStoredDriverWithTheSplashOnIsPreselectedAndEnterPlaysOnce) {
  settings.values = {{"SoundMode", DesktopServerSound}};
  menuEntry.setCheckable(true);
  auto splash = create();
  EXPECT_EQ(splash->cb_sound->currentText(), "PulseAudio / PipeWire");
  EXPECT_FALSE(allSegmentsLit());

  // The list has the focus; the window previews the key, the list ignores it.
  QTest::keyClick(splash->cb_sound, Qt::Key_Return);
  EXPECT_EQ(sound.calls,
            (std::vector<std::string>{"Init 22050 64 0", "SetOutput 2", "Load Sound/Gameover.wav",
                                      "Load Sound/Got.wav", "Load Sound/Miss.wav",
                                      "Load Sound/Move.wav", "Load Sound/Start.wav"}));
  EXPECT_TRUE(handheld.SoundEnabled);
  EXPECT_EQ(settings.writes, (std::vector<std::string>{"SoundMode=0", "SplashScreen=1"}));
  EXPECT_TRUE(menuEntry.isChecked());
  EXPECT_TRUE(allSegmentsLit());
  EXPECT_TRUE(centred(mainWindow));
  EXPECT_FALSE(splash->isVisible());
}

TEST_F(SplashTest, AlsaUsesOutputTypeOneAndAClearedBoxSwitchesTheSplashOff) {
  auto splash = create();
  splash->cb_sound->setCurrentIndex(AlsaSound);
  splash->chb_splashscreen->setChecked(false);
  menuEntry.setCheckable(true);
  menuEntry.setChecked(true);
  QTest::mouseClick(splash->btn_play, Qt::LeftButton);
  EXPECT_EQ(sound.calls[1], "SetOutput 1");
  EXPECT_EQ(settings.values["SoundMode"], 1);
  EXPECT_EQ(settings.values["SplashScreen"], 0);
  EXPECT_FALSE(menuEntry.isChecked());
}

TEST_F(SplashTest, AMissingFirstSampleShowsTheMessageResetsTheChoiceAndEnds) {
  settings.values = {{"SoundMode", DesktopServerSound}, {"SplashScreen", 0}};
  sound.missing = "Sound/Gameover.wav";
  auto splash = create();
  splash->btn_playClick();
  EXPECT_EQ(errorBoxes,
            (std::vector<std::string>{"Sound folder unproperly installed. Please reinstall the game."}));
  EXPECT_EQ(settings.writes,
            (std::vector<std::string>{"SoundMode=0", "SoundMode=-1", "SplashScreen=1"}));
  EXPECT_FALSE(allSegmentsLit());
  EXPECT_EQ(mainWindow.pos(), QPoint(-1000, -1000));
  EXPECT_TRUE(terminationRequested());
  EXPECT_TRUE(loopEndsAtOnce());
}

// A start with the splash off starts the sound library once the face has
// painted. A missing game-over file is found before the face shows, a sample
// the library cannot load once it has.
TEST_F(SplashTest, AStartWithoutTheSplashStartsSoundAfterTheFacesFirstFrame) {
  const QTemporaryDir folder;
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(folder.path()) && QDir().mkdir("Sound"));
  struct Row { bool fileThere; const char* libraryMisses; bool played; } rows[] = {
      {true, "", true}, {false, "", false}, {true, "Sound/Gameover.wav", false}};
  for (const Row& row : rows) {
    QFile file(Handheld::kSampleFiles[0]);
    ASSERT_TRUE(row.fileThere ? file.open(QIODevice::WriteOnly) : !file.exists() || file.remove());
    file.close();
    errorBoxes.clear();
    ScriptedSound library;
    library.missing = row.libraryMisses;
    MemorySettings store;
    store.values = {{"SoundMode", DesktopServerSound}, {"SplashScreen", 0}};
    Handheld unit{scheduler, clock, random, library, store};
    QWidget face;
    const PlayAction play{unit, store, face};
    EXPECT_EQ(play.runAtStart(DesktopServerSound), row.fileThere) << row.libraryMisses;
    EXPECT_TRUE(library.calls.empty()) << "the library started before the face was shown";
    if (row.fileThere) {
      face.show();
      EXPECT_TRUE(QTest::qWaitFor([&] { return library.calls.size() == 7; }, 2000));
    }
    EXPECT_EQ(errorBoxes.empty(), row.played) << row.fileThere << row.libraryMisses;
    EXPECT_EQ(store.values["SoundMode"], row.played ? DesktopServerSound : -1);
  }
  QDir::setCurrent(previous);
}

TEST_F(SplashTest, OtherMissingSamplesGoUnreported) {
  sound.missing = "Sound/Got.wav";
  auto splash = create();
  splash->cb_sound->setCurrentIndex(DesktopServerSound);
  splash->FormKeyDown('1');
  EXPECT_TRUE(errorBoxes.empty());
  EXPECT_EQ(handheld.SoundGot, 0);
  EXPECT_TRUE(allSegmentsLit());
}

TEST_F(SplashTest, EscapeEndsTheProgramWithoutWritingAnything) {
  settings.values = {{"SoundMode", AlsaSound}};
  auto splash = create();
  QTest::keyClick(splash->cb_sound, Qt::Key_Escape);
  EXPECT_TRUE(settings.writes.empty());
  EXPECT_TRUE(sound.calls.empty());
  EXPECT_TRUE(loopEndsAtOnce());
}

TEST_F(SplashTest, ClosingTheSplashWithoutPlayingEndsTheProgram) {
  auto splash = create();
  splash->show();
  splash->close();
  EXPECT_TRUE(settings.writes.empty());
  EXPECT_TRUE(loopEndsAtOnce());
}

// A double click is two presses and releases, the second press reported as a
// double click: the link opens once, as one click.
TEST_F(SplashTest, ADoubleClickOnALinkOpensItOnce) {
  UrlRecorder links;
  auto splash = create();
  for (ClickableLabel* link : {splash->la_website_2, splash->la_email_2, splash->btn_paypal}) {
    const QPointF at(5, 5);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
      const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
      QMouseEvent event(type, at, link->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
      QApplication::sendEvent(link, &event);
    }
  }
  EXPECT_EQ(links.opened.size(), 3) << links.opened.join(' ').toStdString();
  EXPECT_TRUE(links.opened.value(1).startsWith("mailto:"));
}

TEST_F(SplashTest, AStoredValueNamingNoDriverLeavesTheListEmpty) {
  for (int stored : {-1, 3, 99}) {
    settings.values = {{"SoundMode", stored}, {"SplashScreen", 0}};
    auto splash = create();
    EXPECT_EQ(splash->cb_sound->currentIndex(), -1) << stored;
    EXPECT_FALSE(splash->chb_splashscreen->isChecked()) << stored;
  }
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
