// skingen: draws the default skin of the Zarvik simulator.
//
//   skingen <skin folder>              writes Config.ini and every picture
//     [--preview F]                    also writes a preview picture to F
//     [--icons D]                      also writes the program's icons into D

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
  QString preview, icons;
  bool usable = args.size() % 2 == 1;
  for (int i = 1; usable && i + 1 < args.size(); i += 2) {
    if (args[i] == QLatin1String("--preview")) preview = args[i + 1];
    else if (args[i] == QLatin1String("--icons")) icons = args[i + 1];
    else usable = false;
  }
  if (!usable) {
    err << "usage: skingen <skin folder> [--preview <picture.png>] [--icons <folder>]\n";
    return 2;
  }
  QString error;
  try {
    const skingen::SkinPictures skin;
    if (skingen::writeSkin(skin, args[0], &error) &&
        (preview.isEmpty() || skingen::writePreview(skin, preview, &error)) &&
        (icons.isEmpty() || skingen::writeIcons(skin, icons, &error)))
      return 0;
  } catch (const std::runtime_error& e) {
    error = QString::fromUtf8(e.what());
  }
  err << "skingen: " << error << '\n';
  return 1;
}
