// The main of the widget tests: one QApplication on the offscreen platform for the whole run
// (unless the environment chooses another platform, e.g. to watch a test on a real display).

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
