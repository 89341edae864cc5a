// The settings store: reading rules, text encoding, write-at-once and the
// atomic replacement of the file.

#include "settings_store.h"

#include "config_values.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using zarvik::parseInteger;
using zarvik::QtSettingsStore;

TEST(ParseStoredInteger, AcceptsBlanksSignAndBothHexPrefixes) {
  EXPECT_EQ(parseInteger("39"), 39);
  EXPECT_EQ(parseInteger("-1"), -1);
  EXPECT_EQ(parseInteger("+7"), 7);
  EXPECT_EQ(parseInteger("   12"), 12);
  EXPECT_EQ(parseInteger("\t-3"), -3);
  EXPECT_EQ(parseInteger("$1F"), 31);
  EXPECT_EQ(parseInteger("$1f"), 31);
  EXPECT_EQ(parseInteger("0x1F"), 31);
  EXPECT_EQ(parseInteger("-$10"), -16);
  EXPECT_EQ(parseInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(parseInteger("2147483647"), 2147483647);
  EXPECT_EQ(parseInteger("-2147483648"), -2147483647 - 1);
}

TEST(ParseStoredInteger, RejectsEverythingElse) {
  for (const char* junk : {"", " ", "abc", "12abc", "12 ", "1.5", "$", "0x", "-", "$G",
                           "2147483648", "-2147483649", "$100000000", "1e3", "--1", "0b1"})
    EXPECT_FALSE(parseInteger(junk).has_value()) << '"' << junk << '"';
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

// Another copy of the program writes the file between this store's reads and
// writes: a read sees its value, and a write of another value keeps it.
TEST_F(SettingsStoreTest, ValuesAnotherProgramWroteAreReadAndKept) {
  store.writeIntegers({{"Key1", 2}, {"HiScore1", 3}});
  QFile other(filePath());
  ASSERT_TRUE(other.open(QIODevice::WriteOnly | QIODevice::Truncate));
  other.write("[General]\nHiScore1=12\nKey1=7\n");
  other.close();
  EXPECT_EQ(store.readInteger("HiScore1", 0), 12);
  store.writeBool("FullscreenMode", false);
  EXPECT_EQ(fileText(), "[General]\nFullscreenMode=0\nHiScore1=12\nKey1=7\n");
}

TEST_F(SettingsStoreTest, WriteIfHigherKeepsABetterStoredNumber) {
  struct Row {
    QByteArray stored;  // the HiScore1 line, empty for none
    int written, held;
    QByteArray after;
  };
  for (const Row& row : {Row{"", 5, 5, "HiScore1=5"}, Row{"HiScore1=3", 5, 5, "HiScore1=5"},
                         Row{"HiScore1=5", 5, 5, "HiScore1=5"}, Row{"HiScore1=8", 5, 8, "HiScore1=8"},
                         Row{"HiScore1=$10", 5, 16, "HiScore1=$10"}, Row{"HiScore1=abc", 5, 5, "HiScore1=5"}}) {
    writeFile("[General]\n" + row.stored + (row.stored.isEmpty() ? "" : "\n"));
    EXPECT_EQ(store.writeIntegerIfHigher("HiScore1", row.written), row.held) << row.stored.constData();
    EXPECT_EQ(fileText(), "[General]\n" + row.after + "\n") << row.stored.constData();
  }
}

// Copies of the program raising one value at once, each its own numbers: the
// file ends with the highest, whichever copy wrote last.
TEST_F(SettingsStoreTest, CopiesRaisingOneValueAtOnceEndWithTheHighest) {
  store.release();
  constexpr int kCopies = 4, kRaises = 60;
  std::vector<pid_t> copies;
  for (int copy = 0; copy < kCopies; ++copy) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      QtSettingsStore own;
      own.open();
      // Copy 0 raises to the highest number early; the others keep writing
      // lower ones after it.
      for (int i = 0; i < kRaises; ++i) own.writeIntegerIfHigher("HiScore1", copy == 0 ? 1000 + i : i * kCopies + copy);
      ::_exit(0);
    }
    copies.push_back(pid);
  }
  for (pid_t pid : copies) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(fileText().toStdString(), "[General]\nHiScore1=" + std::to_string(1000 + kRaises - 1) + "\n");
}

// A settings file that cannot be written: one message per cause in a run,
// naming the file and the cause; the values stay as the program holds them
// and nothing on disk changes. (Causes that root's rights would not stop.)
TEST_F(SettingsStoreTest, AnUnwritableFileIsToldOncePerCause) {
  struct Row {
    const char* blocker;  // made where the folder or the file should be
    bool folder;
    const char* cause;
  };
  for (const Row& row : {Row{"/Quendrel", false, "its folder"}, Row{"/Quendrel/Zarvik50.conf", true, "a folder has that name"}}) {
    QTemporaryDir home;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path());
    const QString blocker = home.path() + row.blocker;
    ASSERT_TRUE(row.folder ? QDir().mkpath(blocker) : QDir().mkpath(home.path()));
    if (!row.folder) {
      QFile file(blocker);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write("kept");
    }
    QtSettingsStore unwritable;
    unwritable.open();
    QStringList messages;
    unwritable.setFailureReporter([&messages](const QString& message) { messages << message; });
    unwritable.writeInteger("HiScore1", 4);
    unwritable.writeBool("FullscreenMode", false);
    EXPECT_EQ(unwritable.writeIntegerIfHigher("HiScore2", 9), 9);
    ASSERT_EQ(messages.size(), 1) << row.blocker;
    EXPECT_TRUE(messages[0].contains(home.path() + "/Quendrel/Zarvik50.conf")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(row.cause)) << messages[0].toStdString();
    QFile kept(blocker);
    EXPECT_EQ(row.folder || (kept.open(QIODevice::ReadOnly) && kept.readAll() == "kept"), true);
    EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"Quendrel"});
  }
}
