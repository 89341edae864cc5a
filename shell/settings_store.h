#pragma once
// The per-user settings store: QSettings in the platform's native format under
// organisation "Quendrel", application "Zarvik50" (on Linux the file
// $XDG_CONFIG_HOME/Quendrel/Zarvik50.conf, group [General]). Every value is
// text: integers as decimal digits, booleans as "1" or "0", read back by
// parseInteger (config_values.h).
//
// Each write that changes a value reaches the file before it returns; a write
// of the text already stored leaves the file alone. Several values written
// together reach it in one replacement of the file. QSettings writes the whole
// file to a temporary file, flushes it to disk and renames it over the old one
// (QSaveFile), so a crash at any moment leaves the old or the new file, never
// a half-written one; setAtomicSyncRequired(true) forbids the non-atomic
// fallback it would otherwise use in a read-only folder.
//
// Several programs may share the file (two copies of this one): every read
// looks at the file as it is now, and every write compares with the file as
// it is now and writes only the values that differ, holding a lock on the
// settings folder from the comparison to the end of the write.

#include <QSet>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "services.h"

class QSettings;

namespace zarvik {

class QtSettingsStore : public SettingsStore {
 public:
  QtSettingsStore();
  ~QtSettingsStore() override;

  // Opens the store, creating its file and folders on the first write.
  void open();
  // Releases the store; reads then give their defaults and writes are dropped.
  void release();
  bool isOpen() const { return settings_ != nullptr; }
  QString fileName() const;

  int readInteger(const std::string& name, int defaultValue) override;
  void writeInteger(const std::string& name, int value) override;
  void writeIntegers(const std::vector<std::pair<std::string, int>>& values) override;
  int writeIntegerIfHigher(const std::string& name, int value) override;

  // A write that cannot reach the file is told once per cause in a run, with
  // a message that names the file and the cause: on stderr, and to the
  // reporter if one is set. The values stay as the program holds them.
  using FailureReporter = std::function<void(const QString& message)>;
  void setFailureReporter(FailureReporter reporter) { reporter_ = std::move(reporter); }

 private:
  // Writes each value whose text differs from the file's; with `onlyHigher`
  // only over a stored number that is lower. Returns the values now held:
  // the stored one where it was kept as higher, else the one given.
  std::vector<int> update(const std::vector<std::pair<std::string, int>>& values, bool onlyHigher);
  // The positions of the values that `update` must write, after reading the
  // file afresh; notes in `held` the stored numbers kept as higher.
  std::vector<size_t> changes(const std::vector<std::pair<std::string, int>>& values, bool onlyHigher,
                              std::vector<int>& held);
  // QSettings::sync(), first making sure that it sees a file another program
  // wrote since the last one.
  void syncWithFile();
  // Why a write cannot reach the file, found before trying; empty if it may.
  QString writeProblem() const;
  // Why the write that has just failed did.
  QString failureCause() const;
  void report(const QString& cause);

  // The file as the last sync left it.
  struct FileStamp {
    unsigned long long inode = 0;
    long long size = 0, modifiedNs = 0, changedNs = 0;
    bool operator==(const FileStamp&) const = default;
  };
  static std::optional<FileStamp> stampOf(const QString& file);

  std::unique_ptr<QSettings> settings_;
  std::optional<FileStamp> synced_;
  FailureReporter reporter_;
  QSet<QString> reportedCauses_;
};

}  // namespace zarvik
