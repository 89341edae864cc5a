// The settings store: reading rules, text encoding, write-at-once and the
// atomic replacement of the file.

#include "settings_store.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using zarvik::parseStoredInteger;
using zarvik::QtSettingsStore;

TEST(ParseStoredInteger, AcceptsBlanksSignAndBothHexPrefixes) {
  EXPECT_EQ(parseStoredInteger("39"), 39);
  EXPECT_EQ(parseStoredInteger("-1"), -1);
  EXPECT_EQ(parseStoredInteger("+7"), 7);
  EXPECT_EQ(parseStoredInteger("   12"), 12);
  EXPECT_EQ(parseStoredInteger("\t-3"), -3);
  EXPECT_EQ(parseStoredInteger("$1F"), 31);
  EXPECT_EQ(parseStoredInteger("$1f"), 31);
  EXPECT_EQ(parseStoredInteger("0x1F"), 31);
  EXPECT_EQ(parseStoredInteger("-$10"), -16);
  EXPECT_EQ(parseStoredInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(parseStoredInteger("2147483647"), 2147483647);
  EXPECT_EQ(parseStoredInteger("-2147483648"), -2147483647 - 1);
}

TEST(ParseStoredInteger, RejectsEverythingElse) {
  for (const char* junk : {"", " ", "abc", "12abc", "12 ", "1.5", "$", "0x", "-", "$G",
                           "2147483648", "-2147483649", "$100000000", "1e3", "--1", "0b1"})
    EXPECT_FALSE(parseStoredInteger(junk).has_value()) << '"' << junk << '"';
}

class SettingsStoreTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    store.open();
  }
  QString filePath() const { return dir.path() + "/Quendrel/Zarvik50.conf"; }
  QByteArray fileText() const {
    QFile f(filePath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  void writeFile(const QByteArray& text) {
    store.release();
    ASSERT_TRUE(QDir().mkpath(dir.path() + "/Quendrel"));
    QFile f(filePath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
    f.close();
    store.open();
  }

  QTemporaryDir dir;
  QtSettingsStore store;
};

TEST_F(SettingsStoreTest, EmptyStoreGivesEveryDefault) {
  EXPECT_EQ(store.fileName(), filePath());
  EXPECT_TRUE(store.readBool("FullscreenMode", true));
  EXPECT_TRUE(store.readBool("SplashScreen", true));
  EXPECT_EQ(store.readInteger("SoundMode", -1), -1);
  EXPECT_EQ(store.readInteger("HiScore1", 0), 0);
  EXPECT_FALSE(QFile::exists(filePath()));  // reading creates nothing
}

TEST_F(SettingsStoreTest, ValuesAreTextAndOnDiskWhenTheWriteReturns) {
  store.writeInteger("SoundMode", -1);
  store.writeBool("FullscreenMode", false);
  store.writeInteger("HiScore1", 39);
  EXPECT_EQ(fileText(), "[General]\nFullscreenMode=0\nHiScore1=39\nSoundMode=-1\n");
  EXPECT_EQ(store.readInteger("HiScore1", 0), 39);
  EXPECT_FALSE(store.readBool("FullscreenMode", true));
}

TEST_F(SettingsStoreTest, BooleansAndNumbersReadAsSpecifiedFromAnEditedFile) {
  writeFile("[General]\nFullscreenMode=0\nSplashScreen=5\nHiScore1=abc\nHiScore2=$1F\n"
            "SoundMode=\"  2\"\nKey1=1, 2\n");
  EXPECT_FALSE(store.readBool("FullscreenMode", true));
  EXPECT_TRUE(store.readBool("SplashScreen", false));
  EXPECT_EQ(store.readInteger("HiScore1", 0), 0);
  EXPECT_EQ(store.readInteger("HiScore2", 0), 31);
  EXPECT_EQ(store.readInteger("SoundMode", -1), 2);
  EXPECT_EQ(store.readInteger("Key1", 2), 2);

  writeFile("[General]\nFullscreenMode=junk\n");
  EXPECT_TRUE(store.readBool("FullscreenMode", true));
  writeFile("[General]\nFullscreenMode=-1\n");
  EXPECT_TRUE(store.readBool("FullscreenMode", true));
}

TEST_F(SettingsStoreTest, AWriteReplacesTheFileInsteadOfRewritingIt) {
  store.writeInteger("HiScore1", 10);
  // A second name for the old file keeps its content only if the write
  // builds a new file and renames it over the old one.
  const QString oldLink = dir.path() + "/old.conf";
  ASSERT_EQ(::link(QFile::encodeName(filePath()).constData(),
                   QFile::encodeName(oldLink).constData()), 0);
  store.writeInteger("HiScore1", 11);
  QFile old(oldLink);
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), "[General]\nHiScore1=10\n");
  EXPECT_EQ(fileText(), "[General]\nHiScore1=11\n");
  EXPECT_EQ(QDir(dir.path() + "/Quendrel").entryList(QDir::Files | QDir::Hidden),
            QStringList{"Zarvik50.conf"});  // no temporary or lock file left behind
}

// A hand-edited line that is no setting is dropped when the file is next
// written; the write itself succeeds and is not reported as failed.
TEST_F(SettingsStoreTest, AStrayLineIsNoFailedWrite) {
  writeFile("[General]\nHiScore1=12\nKey1\n");
  static QStringList warnings;
  warnings.clear();
  const QtMessageHandler previous = qInstallMessageHandler(
      [](QtMsgType, const QMessageLogContext&, const QString& text) { warnings << text; });
  store.writeInteger("HiScore2", 5);
  qInstallMessageHandler(previous);
  EXPECT_EQ(fileText(), "[General]\nHiScore1=12\nHiScore2=5\n");
  EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
}

TEST_F(SettingsStoreTest, AReleasedStoreReadsDefaultsAndDropsWrites) {
  store.writeInteger("HiScore1", 5);
  store.release();
  EXPECT_EQ(store.readInteger("HiScore1", 0), 0);
  store.writeInteger("HiScore1", 6);
  store.open();
  EXPECT_EQ(store.readInteger("HiScore1", 0), 5);
}

// Only a write that changes the stored text replaces the file (a new inode);
// a value another program wrote in between is compared, not the one cached.
TEST_F(SettingsStoreTest, OnlyAChangedValueReplacesTheFile) {
  const auto inode = [this] {
    struct stat info{};
    return ::stat(QFile::encodeName(filePath()).constData(), &info) == 0 ? info.st_ino : 0;
  };
  store.writeInteger("HiScore1", 10);
  const auto first = inode();
  ASSERT_NE(first, 0u);
  store.writeInteger("HiScore1", 10);
  EXPECT_EQ(inode(), first) << "an unchanged value rewrote the file";
  store.writeInteger("HiScore1", 11);
  EXPECT_NE(inode(), first) << "a changed value did not reach the file";
  EXPECT_EQ(fileText(), "[General]\nHiScore1=11\n");

  QSettings other(filePath(), QSettings::IniFormat);
  other.setValue("HiScore1", "123");
  other.sync();
  store.writeInteger("HiScore1", 11);
  EXPECT_EQ(fileText(), "[General]\nHiScore1=11\n");

  // Values written together: one replacement for all, none when all are stored.
  const auto second = inode();
  store.writeIntegers({{"Key1", 2}, {"HiScore1", 11}, {"Key2", 3}});
  const auto third = inode();
  EXPECT_NE(third, second);
  EXPECT_EQ(fileText(), "[General]\nHiScore1=11\nKey1=2\nKey2=3\n");
  store.writeIntegers({{"Key2", 3}, {"Key1", 2}});
  EXPECT_EQ(inode(), third) << "unchanged values rewrote the file";
}
