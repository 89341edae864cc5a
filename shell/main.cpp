// The Zarvik simulator: answers at once what needs no display, else brings
// the program up as startup.h tells and runs until told to terminate or
// until the face is closed.

#include <QApplication>

#include "command_line.h"
#include "start_environment.h"
#include "startup.h"

int main(int argc, char* argv[]) {
  zarvik::CommandLine commandLine;
  if (const std::optional<int> status = zarvik::beforeApplication(commandLine, argc, argv)) return *status;
  zarvik::StartEnvironment environment;
  QApplication app(argc, argv);
  environment.restore();
  zarvik::Startup startup(app, commandLine);
  if (const std::optional<int> status = startup.run()) return *status;
  return app.exec();
}
