// Where the program finds its data: a folder named by the option or the
// environment, else the build folder or the installed data beside it.

#include "data_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using zarvik::findDataFolder;

namespace {

// A build folder (program beside Config.ini), an installation (program in
// games/, data where the install puts it) and a skin author's folder.
class DataFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const QDir root(tmp.path());
    ASSERT_TRUE(root.mkpath("build") && root.mkpath("prefix/games") && root.mkpath("skin/Graphics"));
    installedData = QDir::cleanPath(root.filePath("prefix/games/") + zarvik::kInstalledDataFromProgram);
    ASSERT_TRUE(QDir().mkpath(installedData + "/Graphics"));
    QFile config(root.filePath("build/Config.ini"));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
  }
  QString path(const char* sub) const { return QDir(tmp.path()).filePath(sub); }

  QTemporaryDir tmp;
  QString installedData;
};

TEST_F(DataFolderTest, FoundInOrderOfPrecedence) {
  struct Case {
    const char* what;
    QString option, environment, program, expected;
  } cases[] = {
      {"build folder", {}, {}, path("build"), path("build")},
      {"installation", {}, {}, path("prefix/games"), installedData},
      {"environment over the build folder", {}, path("skin"), path("build"), path("skin")},
      {"option over the environment", path("prefix"), path("skin"), path("build"), path("prefix")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto found = findDataFolder(c.option, c.environment, c.program);
    EXPECT_EQ(found.folder, c.expected);
    EXPECT_TRUE(found.error.isEmpty());
  }
}

TEST_F(DataFolderTest, AFolderThatIsNotThereIsAnErrorNamingWhereItLooked) {
  const auto named = findDataFolder(path("nowhere"), path("skin"), path("build"));
  EXPECT_TRUE(named.folder.isEmpty());
  EXPECT_TRUE(named.error.contains(path("nowhere"))) << named.error.toStdString();
  EXPECT_TRUE(named.error.contains("--data-dir"));

  const auto fromEnvironment = findDataFolder({}, path("nowhere"), path("build"));
  EXPECT_TRUE(fromEnvironment.error.contains("ZARVIK_DATA_DIR"));

  // A program copied away from its data: both places it looked are named.
  const auto none = findDataFolder({}, {}, path("skin/Graphics"));
  EXPECT_TRUE(none.folder.isEmpty());
  EXPECT_TRUE(none.error.contains(path("skin/Graphics"))) << none.error.toStdString();
  EXPECT_TRUE(none.error.contains(QDir::cleanPath(path("skin/Graphics/") + zarvik::kInstalledDataFromProgram)));
}

}  // namespace
