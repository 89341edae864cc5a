#pragma once
// The program's command line. Users see --data-dir, --windowed, --fullscreen,
// --zoom, --lcd-look, --record, --check-skin, --help and --version; the options meant for tests are
// left out of --help.

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <optional>

class QCoreApplication;

namespace zarvik {

class CommandLine {
 public:
  CommandLine();

  // Whether the arguments are answered on a QCoreApplication, with no display
  // needed: they ask for --help, --version or --check-skin, give a bad zoom,
  // or cannot be read while no display can be reached. With a display, what
  // cannot be read yet may be Qt's own options (-platform, -style...), which
  // the application takes before process() reads the rest.
  bool answersWithoutDisplay(int argc, char* argv[]);

  // Reads the arguments the application left. --help, --version, an
  // unknown option and a bad value print their answer and end the program.
  void process(const QCoreApplication& app);

  QString dataDir() const { return parser_.value(dataDir_); }
  std::optional<bool> fullscreen() const;
  std::optional<int> zoom() const;  // 1 to TForm1::kMaxZoom, checked by process()
  QString settingsDir() const { return parser_.value(settingsDir_); }
  bool lcdLook() const { return parser_.isSet(lcdLook_); }
  // The file named after --record, made absolute before the data folder
  // becomes the current one; empty for no recording.
  QString recordFile() const { return recordFile_; }
  bool checksSkin() const { return parser_.isSet(checkSkin_); }
  // The folder named after --check-skin; empty for the data folder.
  QString skinToCheck() const { return parser_.positionalArguments().value(0); }

 private:
  bool zoomIsBad() const;

  QCommandLineParser parser_;
  QCommandLineOption version_;
  QCommandLineOption dataDir_;
  QCommandLineOption windowed_;
  QCommandLineOption fullscreen_;
  QCommandLineOption zoom_;
  QCommandLineOption lcdLook_;
  QCommandLineOption record_;
  QCommandLineOption settingsDir_;
  QCommandLineOption checkSkin_;
  QString recordFile_;
};

}  // namespace zarvik
