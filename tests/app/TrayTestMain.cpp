// Test main for the tray: on the X server of scripts/test when there is one
// (otherwise offscreen, as every test program starts).
#include <gtest/gtest.h>

#include "app/Application.h"

int main(int argc, char** argv) {
  const QByteArray display = qgetenv("ORVE_TEST_DISPLAY");
  if (!display.isEmpty()) {
    qputenv("DISPLAY", display);
    qputenv("QT_QPA_PLATFORM", "xcb");
  } else {
    qunsetenv("ORVE_TEST_TRAY");
  }
  orve::Application app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
