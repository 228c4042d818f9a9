// Test main for the application tests: the program's own application object.
#include <gtest/gtest.h>

#include "app/Application.h"

int main(int argc, char** argv) {
  orve::Application app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
