#include <gtest/gtest.h>

#include <QApplication>

#include "window/application.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  prepareApplication(application);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
