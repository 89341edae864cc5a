#include "settings_store.h"

#include <QSettings>
#include <QtDebug>
#include <cstdint>

namespace zarvik {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<int> parseStoredInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (text.substr(i, 2) == "0x" || text.substr(i, 2) == "0X") {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;

  const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int digit = hexDigit(text[i]);
    if (digit < 0 || digit >= base) return std::nullopt;
    magnitude = magnitude * base + digit;
    if (magnitude > limit) return std::nullopt;
  }
  // Hexadecimal is a bit pattern: wrap it into the signed range.
  const auto pattern = static_cast<std::uint32_t>(negative ? 0 - magnitude : magnitude);
  return static_cast<std::int32_t>(pattern);
}

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
  const QVariant value = settings_->value(QString::fromStdString(name));
  // A hand-edited "1, 2" reads back as a list: not a number either.
  if (!value.isValid() || value.typeId() == QMetaType::QStringList) return defaultValue;
  return parseStoredInteger(value.toString().toStdString()).value_or(defaultValue);
}

void QtSettingsStore::writeInteger(const std::string& name, int value) { writeIntegers({{name, value}}); }

void QtSettingsStore::writeIntegers(const std::vector<std::pair<std::string, int>>& values) {
  if (!settings_) return;
  // Rereads the file if another program changed it since, so that the
  // comparison below is with what is on disk now.
  settings_->sync();
  // Text already stored: rewriting and syncing the file for it would change
  // nothing on disk.
  std::string changed;
  for (const auto& [name, value] : values) {
    const QString key = QString::fromStdString(name);
    const QString text = QString::number(value);
    if (const QVariant stored = settings_->value(key);
        stored.typeId() == QMetaType::QString && stored.toString() == text)
      continue;
    settings_->setValue(key, text);
    changed += (changed.empty() ? "" : ", ") + name;
  }
  if (changed.empty()) return;
  settings_->sync();
  // A FormatError only says that a hand-edited line that is no setting was
  // dropped; the values themselves were written.
  if (settings_->status() == QSettings::AccessError)
    qWarning("Could not save the setting %s to %s: the file is not writable.", changed.c_str(),
             qPrintable(settings_->fileName()));
}

}  // namespace zarvik
