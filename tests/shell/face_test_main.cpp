// Runs the face tests inside a QApplication on the offscreen platform.

#include <QApplication>
#include <gtest/gtest.h>

#include "error_box.h"

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // An error box nobody expected fails the test instead of waiting for a
  // click that never comes; tests that expect boxes install their own handler.
  zarvik::setErrorBoxHandler([](QWidget*, const QString& text) {
    ADD_FAILURE() << "unexpected error box: " << text.toStdString();
  });
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
