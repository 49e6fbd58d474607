#include <QApplication>
#include <gtest/gtest.h>

// Every test program gets an application object, so sockets, timers and widgets work. Without an
// explicit platform the tests run offscreen: nothing may depend on a real screen (test discovery
// runs the programs without CTest's environment).
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
