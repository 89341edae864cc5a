#pragma once
// The program's data folder: Config.ini, Graphics/, Sound/ and the text
// files. Every file name the skin gives is relative to it, so the program
// makes it the current folder before it reads anything.

#include <QString>

namespace zarvik {

// Where an installation keeps the data, relative to the program's folder
// (from the install layout, e.g. "../share/games/zarvik").
inline constexpr char kInstalledDataFromProgram[] = ZARVIK_INSTALLED_DATA_FROM_PROGRAM;

struct DataFolderSearch {
  QString folder;  // the data folder, absolute; empty when none was found
  QString error;   // otherwise why, naming where it looked
};

// A folder named by `option` (--data-dir) or else by `environment`
// (ZARVIK_DATA_DIR) is used as it is, and must exist. Otherwise the data is
// the first of the program's own folder (a build folder) and the installed
// data folder that holds Config.ini or Graphics.
DataFolderSearch findDataFolder(const QString& option, const QString& environment, const QString& programFolder);

}  // namespace zarvik
