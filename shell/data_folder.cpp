#include "data_folder.h"

#include <QDir>
#include <QFileInfo>

namespace zarvik {

namespace {

bool holdsData(const QDir& folder) {
  return QFileInfo(folder.filePath(QStringLiteral("Config.ini"))).isFile() ||
         QFileInfo(folder.filePath(QStringLiteral("Graphics"))).isDir();
}

DataFolderSearch named(const QString& folder, const QString& source) {
  const QFileInfo info(folder);
  if (info.isDir()) return {info.absoluteFilePath(), {}};
  return {{}, QStringLiteral("The data folder %1 given by %2 does not exist.").arg(QDir::toNativeSeparators(folder), source)};
}

}  // namespace

DataFolderSearch findDataFolder(const QString& option, const QString& environment, const QString& programFolder) {
  if (!option.isEmpty()) return named(option, QStringLiteral("--data-dir"));
  if (!environment.isEmpty()) return named(environment, QStringLiteral("ZARVIK_DATA_DIR"));

  const QDir candidates[] = {QDir(programFolder),
                             QDir(QDir(programFolder).filePath(QString::fromUtf8(kInstalledDataFromProgram)))};
  QStringList looked;
  for (const QDir& folder : candidates) {
    if (holdsData(folder)) return {QDir::cleanPath(folder.absolutePath()), {}};
    looked << QDir::toNativeSeparators(QDir::cleanPath(folder.absolutePath()));
  }
  return {{},
          QStringLiteral("The program's data (Config.ini, Graphics, Sound) was not found. Looked in:\n%1\n\n"
                         "Name the data folder with --data-dir or ZARVIK_DATA_DIR.")
              .arg(looked.join('\n'))};
}

}  // namespace zarvik
