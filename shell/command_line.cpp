#include "command_line.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "integer_text.h"
#include "main_window.h"
#include "product_info.h"

namespace zarvik {

namespace {

QCommandLineOption hidden(QCommandLineOption option) {
  option.setFlags(QCommandLineOption::HiddenFromHelp);
  return option;
}

// The zoom's text as a number from 1 to the face's largest zoom; 0 for
// anything else.
int zoomValue(const QString& text) {
  const std::optional<int> value = parseInteger(text.toStdString());
  return value && *value >= 1 && *value <= TForm1::kMaxZoom ? *value : 0;
}

// Whether the platform Qt is to use can start here: a display server is
// named (DISPLAY, WAYLAND_DISPLAY, -display), or the chosen platform needs
// none (offscreen, vnc...: anything but xcb and wayland, the default being
// xcb). -platform wins over QT_QPA_PLATFORM, each a list tried in order.
bool displayMayBeReached(int argc, char* argv[]) {
  if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return true;
  QString platforms = qEnvironmentVariable("QT_QPA_PLATFORM");
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "-display" || argument == "--display") return true;
    if ((argument == "-platform" || argument == "--platform") && i + 1 < argc)
      platforms = QString::fromLocal8Bit(argv[++i]);
  }
  for (const QString& platform : platforms.split(u';', Qt::SkipEmptyParts))
    if (!platform.startsWith(u"xcb") && !platform.startsWith(u"wayland")) return true;
  return false;
}

// In the form GNU programs print it.
[[noreturn]] void printVersion() {
  std::printf("zarvik %s\n%s\n%s\n", qPrintable(QCoreApplication::applicationVersion()), product::kCopyright,
              product::kLicence);
  std::exit(EXIT_SUCCESS);
}

}  // namespace

CommandLine::CommandLine()
    : version_({QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Displays version information.")),
      dataDir_(QStringLiteral("data-dir"),
               QStringLiteral("Read the skin, sounds and texts from <dir> instead of the installed ones "
                              "(also: environment variable ZARVIK_DATA_DIR)."),
               QStringLiteral("dir")),
      windowed_(QStringLiteral("windowed"), QStringLiteral("Start in windowed mode this time.")),
      fullscreen_(QStringLiteral("fullscreen"), QStringLiteral("Start in fullscreen mode this time.")),
      zoom_(QStringLiteral("zoom"),
            QStringLiteral("Draw the face <n> times as large this time: 1, 2, 3 or 4 (Ctrl and + or - on "
                           "the face change the zoom and keep it)."),
            QStringLiteral("n")),
      lcdLook_(QStringLiteral("lcd-look"),
               QStringLiteral("Show the face as a liquid-crystal panel this time: segments darken and clear "
                              "gradually and cast a faint shadow (Ctrl and L on the face switch the look and "
                              "keep it, unless L is one of the game's keys).")),
      record_(QStringLiteral("record"),
              QStringLiteral("Write the session to <file> as it is played, as a zarvik-sim script whose first "
                             "line gives the options that replay it exactly."),
              QStringLiteral("file")),
      settingsDir_(hidden({QStringLiteral("settings-dir"),
                           QStringLiteral("Keep the settings under <dir> instead of the user's."),
                           QStringLiteral("dir")})),
      checkSkin_(QStringLiteral("check-skin"),
                 QStringLiteral("Check the skin in the folder named after this option (by default the data "
                                "folder) without opening a window: print each problem on a line, exit with 1 "
                                "if there is any.")) {
  parser_.setApplicationDescription(QString::fromUtf8(product::kTitle) + '\n' +
                                    QString::fromUtf8(product::kBugReports));
  // Qt answers --help and --help-all itself; the version is printed here.
  parser_.addHelpOption();
  parser_.addOptions({version_, dataDir_, windowed_, fullscreen_, zoom_, lcdLook_, record_, settingsDir_, checkSkin_});
}

bool CommandLine::answersWithoutDisplay(int argc, char* argv[]) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  if (!parser_.parse(arguments)) return !displayMayBeReached(argc, argv);
  for (const char* info : {"help", "help-all", "version", "check-skin"})
    if (parser_.isSet(QString::fromLatin1(info))) return true;
  return zoomIsBad();
}

// A bad value is told as the parser tells an unknown option.
void CommandLine::process(const QCoreApplication& app) {
  parser_.process(app);
  if (parser_.isSet(version_)) printVersion();
  if (zoomIsBad()) {
    std::fprintf(stderr, "%s: Invalid value '%s' for option 'zoom': give 1, 2, 3 or 4.\n",
                 qPrintable(QCoreApplication::applicationName()), qPrintable(parser_.value(zoom_)));
    std::exit(EXIT_FAILURE);
  }
  if (parser_.isSet(record_)) recordFile_ = QFileInfo(parser_.value(record_)).absoluteFilePath();
}

bool CommandLine::zoomIsBad() const { return parser_.isSet(zoom_) && !zoomValue(parser_.value(zoom_)); }

std::optional<int> CommandLine::zoom() const {
  if (!parser_.isSet(zoom_)) return std::nullopt;
  return zoomValue(parser_.value(zoom_));
}

std::optional<bool> CommandLine::fullscreen() const {
  if (parser_.isSet(fullscreen_)) return true;
  if (parser_.isSet(windowed_)) return false;
  return std::nullopt;
}

}  // namespace zarvik
