// skingen: draws the default skin of the Zarvik simulator.
//
//   skingen <skin folder>              writes Config.ini and every picture
//   skingen <skin folder> --preview F  also writes a preview picture to F

#include <QGuiApplication>
#include <QTextStream>

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
  const skingen::SkinPictures skin;
  QString error;
  if (!skingen::writeSkin(skin, args[0], &error) ||
      (args.size() == 3 && !skingen::writePreview(skin, args[2], &error))) {
    err << "skingen: " << error << '\n';
    return 1;
  }
  return 0;
}
