#include "command_line.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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
  bool ok = false;
  const int value = text.toInt(&ok);
  return ok && value >= 1 && value <= TForm1::kMaxZoom ? value : 0;
}

}  // namespace

CommandLine::CommandLine()
    : dataDir_(QStringLiteral("data-dir"),
               QStringLiteral("Read the skin, sounds and texts from <dir> instead of the installed ones "
                              "(also: environment variable ZARVIK_DATA_DIR)."),
               QStringLiteral("dir")),
      windowed_(QStringLiteral("windowed"), QStringLiteral("Start in windowed mode this time.")),
      fullscreen_(QStringLiteral("fullscreen"), QStringLiteral("Start in fullscreen mode this time.")),
      zoom_(QStringLiteral("zoom"),
            QStringLiteral("Draw the face <n> times as large this time: 1, 2, 3 or 4 (Ctrl and + or - on "
                           "the face change the zoom and keep it)."),
            QStringLiteral("n")),
      settingsDir_(hidden({QStringLiteral("settings-dir"),
                           QStringLiteral("Keep the settings under <dir> instead of the user's."),
                           QStringLiteral("dir")})),
      checkSkin_(QStringLiteral("check-skin"),
                 QStringLiteral("Check the skin in the folder named after this option (by default the data "
                                "folder) without opening a window: print each problem on a line, exit with 1 "
                                "if there is any.")) {
  parser_.setApplicationDescription(QString::fromUtf8(product::kTitle));
  parser_.addHelpOption();
  parser_.addVersionOption();
  parser_.addOptions({dataDir_, windowed_, fullscreen_, zoom_, settingsDir_, checkSkin_});
}

bool CommandLine::asksForInfo(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    for (const char* info : {"-h", "-?", "--help", "--help-all", "-v", "--version", "--check-skin"})
      if (std::strcmp(argv[i], info) == 0) return true;
    // "--check-skin=FOLDER" is a mistake the parser explains, also without a display.
    if (std::strncmp(argv[i], "--check-skin=", 13) == 0) return true;
  }
  return false;
}

// A bad value is told as the parser tells an unknown option.
void CommandLine::process(const QCoreApplication& app) {
  parser_.process(app);
  if (parser_.isSet(zoom_) && !zoomValue(parser_.value(zoom_))) {
    std::fprintf(stderr, "%s: Invalid value '%s' for option 'zoom': give 1, 2, 3 or 4.\n",
                 qPrintable(QCoreApplication::applicationName()), qPrintable(parser_.value(zoom_)));
    std::exit(EXIT_FAILURE);
  }
}

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
