#pragma once
// SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C, `kill`) end the program as
// its Exit entry does: the event loop ends after whatever it is doing, such
// as writing the settings file, so no write is cut short and no lock file is
// left beside the file. Nothing is written at exit.

namespace zarvik {

// Call once, after the application object exists.
void quitOnTerminationSignals();

}  // namespace zarvik
