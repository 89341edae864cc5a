#include "settings_store.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryFile>
#include <QtDebug>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "config_values.h"

namespace zarvik {
namespace {

// A stored value as an integer; a hand-edited "1, 2" reads back as a list,
// which is no number either.
std::optional<int> storedInteger(const QVariant& value) {
  if (!value.isValid() || value.typeId() == QMetaType::QStringList) return std::nullopt;
  return parseInteger(value.toString().toStdString());
}

// Holds an exclusive lock on the settings folder from a comparison with the
// file to the end of the write, so that programs sharing the file take
// turns. flock() on the folder leaves no file behind, and the kernel lets go
// of it when the program ends, however it ends. A folder that cannot be
// locked (some network file systems), or a lock still held after `patience`
// by a program that hangs, is used without it rather than never.
class FolderLock {
 public:
  explicit FolderLock(const QString& folder, std::chrono::milliseconds patience = std::chrono::seconds(2))
      : fd_(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    while (fd_ >= 0 && !(held_ = ::flock(fd_, LOCK_EX | LOCK_NB) == 0) &&
           (errno == EWOULDBLOCK || errno == EINTR) && std::chrono::steady_clock::now() < giveUp)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ~FolderLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool held() const { return held_; }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_;
  bool held_ = false;
};

}  // namespace

QtSettingsStore::QtSettingsStore() = default;
QtSettingsStore::~QtSettingsStore() = default;

void QtSettingsStore::open() {
  if (settings_) return;
  settings_ = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                          QStringLiteral("Quendrel"), QStringLiteral("Zarvik50"));
  settings_->setAtomicSyncRequired(true);
}

void QtSettingsStore::release() { settings_.reset(); }

QString QtSettingsStore::fileName() const { return settings_ ? settings_->fileName() : QString(); }

int QtSettingsStore::readInteger(const std::string& name, int defaultValue) {
  if (!settings_) return defaultValue;
  {
    // Held while the file is read and its stamp taken, so that no write
    // falls between the two; a read does not wait long for it.
    const FolderLock lock(QFileInfo(settings_->fileName()).absolutePath(), std::chrono::milliseconds(200));
    syncWithFile();
  }
  return storedInteger(settings_->value(QString::fromStdString(name))).value_or(defaultValue);
}

void QtSettingsStore::writeInteger(const std::string& name, int value) { writeIntegers({{name, value}}); }

void QtSettingsStore::writeIntegers(const std::vector<std::pair<std::string, int>>& values) {
  update(values, false);
}

int QtSettingsStore::writeIntegerIfHigher(const std::string& name, int value) {
  return update({{name, value}}, true).front();
}

std::vector<int> QtSettingsStore::update(const std::vector<std::pair<std::string, int>>& values,
                                         bool onlyHigher) {
  std::vector<int> held;
  for (const auto& entry : values) held.push_back(entry.second);
  if (!settings_) return held;
  const QString folder = QFileInfo(settings_->fileName()).absolutePath();
  std::optional<FolderLock> lock(std::in_place, folder);
  // Values already stored need no write, and no check whether the file can
  // be written.
  std::vector<size_t> changed = changes(values, onlyHigher, held);
  if (changed.empty()) return held;
  if (const QString problem = writeProblem(); !problem.isEmpty()) {
    report(problem);
    return held;
  }
  if (!lock->held()) {  // the folder has only just been made
    lock.emplace(folder);
    changed = changes(values, onlyHigher, held);
  }
  if (changed.empty()) return held;
  for (size_t i : changed)
    settings_->setValue(QString::fromStdString(values[i].first), QString::number(values[i].second));
  syncWithFile();
  // A FormatError only says that a hand-edited line that is no setting was
  // dropped; the values themselves were written.
  if (settings_->status() == QSettings::AccessError) report(failureCause());
  return held;
}

std::vector<size_t> QtSettingsStore::changes(const std::vector<std::pair<std::string, int>>& values,
                                             bool onlyHigher, std::vector<int>& held) {
  syncWithFile();
  std::vector<size_t> changed;
  for (size_t i = 0; i < values.size(); ++i) {
    const auto& [name, value] = values[i];
    const QVariant stored = settings_->value(QString::fromStdString(name));
    // Text already stored: rewriting the file for it would change nothing.
    if (stored.typeId() == QMetaType::QString && stored.toString() == QString::number(value)) continue;
    if (const std::optional<int> number = storedInteger(stored); onlyHigher && number && *number >= value) {
      held[i] = *number;
      continue;
    }
    changed.push_back(i);
  }
  return changed;
}

std::optional<QtSettingsStore::FileStamp> QtSettingsStore::stampOf(const QString& file) {
  struct stat info {};
  if (::stat(QFile::encodeName(file).constData(), &info) != 0) return std::nullopt;
  const auto ns = [](const timespec& t) { return t.tv_sec * 1'000'000'000LL + t.tv_nsec; };
  return FileStamp{info.st_ino, info.st_size, ns(info.st_mtim), ns(info.st_ctim)};
}

// QSettings sees that another program wrote the file by its size and its
// modification time to the millisecond. A file of the same size written in
// the same millisecond (or in the same tick of a coarse file system clock)
// would go unseen: it is given a modification time one millisecond later,
// which QSettings has not seen.
void QtSettingsStore::syncWithFile() {
  const QString file = settings_->fileName();
  if (const std::optional<FileStamp> now = stampOf(file);
      now && synced_ && *now != *synced_ && now->size == synced_->size &&
      now->modifiedNs / 1'000'000 == synced_->modifiedNs / 1'000'000) {
    const long long later = synced_->modifiedNs + 1'000'000;
    const timespec times[2] = {{0, UTIME_OMIT}, {later / 1'000'000'000, later % 1'000'000'000}};
    ::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0);
  }
  settings_->sync();
  synced_ = stampOf(file);
}

QString QtSettingsStore::writeProblem() const {
  const QFileInfo file(settings_->fileName());
  const QString folder = file.absolutePath();
  if (!QDir().mkpath(folder)) return QStringLiteral("its folder %1 cannot be created").arg(folder);
  if (::access(QFile::encodeName(folder).constData(), W_OK) != 0)
    return QStringLiteral("its folder %1 cannot be written to (%2)").arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
  if (file.isDir()) return QStringLiteral("a folder has that name");
  if (file.exists() && ::access(QFile::encodeName(file.absoluteFilePath()).constData(), W_OK) != 0)
    return QStringLiteral("the file is read-only");
  return {};
}

// The settings file is a few hundred bytes: a folder that takes a probe of a
// few kilobytes has room for it.
QString QtSettingsStore::failureCause() const {
  QTemporaryFile probe(QFileInfo(settings_->fileName()).absolutePath() + QStringLiteral("/.Zarvik50-XXXXXX"));
  if (!probe.open()) return probe.errorString();
  if (probe.write(QByteArray(4096, '\n')) != 4096 || !probe.flush()) return probe.errorString();
  return QStringLiteral("the file could not be replaced");
}

void QtSettingsStore::report(const QString& cause) {
  if (reportedCauses_.contains(cause)) return;
  reportedCauses_.insert(cause);
  const QString message =
      QStringLiteral("The settings cannot be saved in %1: %2.\n\nPlay goes on, but new high scores and changed "
                     "settings will be lost when the program ends. The settings saved before are kept as they were.")
          .arg(QDir::toNativeSeparators(settings_->fileName()), cause);
  qWarning("%s", qPrintable(message));
  if (reporter_) reporter_(message);
}

}  // namespace zarvik
