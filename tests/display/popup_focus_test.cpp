// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

// The offscreen platform has no notion of focus, so this runs a small program on a real X
// server (xvfb-run provides one) and asks it whether the popup took the focus.
TEST(PopupFocusOnX11, ShowingThePopupLeavesTheFocusWithTheWindowInFront) {
  if (qEnvironmentVariable("DISPLAY").isEmpty())
    GTEST_SKIP() << "no X server (DISPLAY is not set); run under xvfb-run";
  const QString probe =
      QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("popup_focus_probe"));
  ASSERT_TRUE(QFile::exists(probe)) << probe.toStdString();

  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  process.setProcessEnvironment(env);
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(probe, {});
  ASSERT_TRUE(process.waitForFinished(30000));
  const QString output = QString::fromLocal8Bit(process.readAll());
  if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 77)
    GTEST_SKIP() << output.toStdString();
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 0) << output.toStdString();
}

} // namespace
