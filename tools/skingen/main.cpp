// skingen: draws the default skin of the Zarvik simulator.
//
//   skingen <skin folder>              writes Config.ini and every picture
//   skingen <skin folder> --preview F  also writes a preview picture to F

#include <QGuiApplication>
#include <QTextStream>
#include <stdexcept>

#include "skin_pictures.h"
#include "skin_writer.h"

int main(int argc, char* argv[]) {
  // Drawing needs fonts but no screen.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QTextStream err(stderr);
  const QStringList args = app.arguments().mid(1);
  if (args.size() != 1 && !(args.size() == 3 && args[1] == QLatin1String("--preview"))) {
    err << "usage: skingen <skin folder> [--preview <picture.png>]\n";
    return 2;
  }
  QString error;
  try {
    const skingen::SkinPictures skin;
    if (skingen::writeSkin(skin, args[0], &error) &&
        (args.size() == 1 || skingen::writePreview(skin, args[2], &error)))
      return 0;
  } catch (const std::runtime_error& e) {
    error = QString::fromUtf8(e.what());
  }
  err << "skingen: " << error << '\n';
  return 1;
}
