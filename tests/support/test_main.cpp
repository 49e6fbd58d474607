// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Every test program gets an application object, so sockets, timers and widgets work. Without an
// explicit platform the tests run offscreen: nothing may depend on a real screen (test discovery
// runs the programs without CTest's environment). Each program gets scratch runtime and config
// and data folders, so no test reads or writes the user's settings or journal.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir scratch;
  if (scratch.isValid()) {
    QDir(scratch.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(scratch.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", scratch.filePath(QStringLiteral("runtime")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", scratch.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", scratch.filePath(QStringLiteral("data")).toLocal8Bit());
  }
  QApplication app(argc, argv);
  if (!qEnvironmentVariableIsSet("MELDLUX_BIN_DIR"))
    qputenv("MELDLUX_BIN_DIR", QCoreApplication::applicationDirPath().toLocal8Bit());
  return RUN_ALL_TESTS();
}
