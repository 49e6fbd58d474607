// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/e2e_support.h"

// The real program on a real X server: an Xvfb display of its own, later a tray host (trayer)
// at the top right, and the mouse and keyboard driven by xdotool, as a user would.
namespace meldlux::e2e {

constexpr int kScreenWidth = 1024;
constexpr int kTrayHeight = 32;

// An Xvfb display nobody else uses, and later a tray host on it; both end with the object.
class XDesktop {
public:
  bool start() {
    for (int n = 91; n < 140; ++n) {
      if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
        continue;
      xvfb_.start(QStringLiteral("Xvfb"),
                  {QStringLiteral(":%1").arg(n), QStringLiteral("-screen"), QStringLiteral("0"),
                   QStringLiteral("%1x768x24").arg(kScreenWidth), QStringLiteral("-nolisten"),
                   QStringLiteral("tcp")});
      xvfb_.waitForStarted();
      const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(n);
      if (waitFor([&] { return QFile::exists(socket) || xvfb_.state() == QProcess::NotRunning; },
                  5000) &&
          xvfb_.state() == QProcess::Running) {
        display_ = QStringLiteral(":%1").arg(n);
        break;
      }
      stop(xvfb_);
    }
    return !display_.isEmpty();
  }

  bool startTrayHost() {
    tray_.setProcessEnvironment(environment());
    tray_.start(QStringLiteral("trayer"),
                {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                 QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("request"),
                 QStringLiteral("--height"), QString::number(kTrayHeight)});
    return tray_.waitForStarted();
  }

  ~XDesktop() {
    stop(tray_);
    stop(xvfb_);
  }

  QProcessEnvironment environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return env;
  }

  // xdotool with its arguments; its standard output.
  QString xdotool(const QStringList& arguments) const {
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(QStringLiteral("xdotool"), arguments);
    p.waitForFinished(5000);
    return QString::fromUtf8(p.readAllStandardOutput());
  }

  // The icon is the only one in the tray host, at the right end of the top edge.
  void clickIcon(int button, int repeat = 1) const {
    xdotool({QStringLiteral("mousemove"), QString::number(kScreenWidth - kTrayHeight / 2),
             QString::number(kTrayHeight / 2), QStringLiteral("click"), QStringLiteral("--repeat"),
             QString::number(repeat), QStringLiteral("--delay"), QStringLiteral("80"),
             QString::number(button)});
  }

  bool mainWindowVisible() const { return visible(QStringLiteral("^FMS Meldlux")); }
  // The mapped main window's id once there is one (empty if none came within ms).
  QString mainWindow(int ms) const {
    QString id;
    waitFor(
        [&] {
          id = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                        QStringLiteral("--name"), QStringLiteral("^FMS Meldlux")})
                   .section(u'\n', 0, 0)
                   .trimmed();
          return !id.isEmpty();
        },
        ms);
    return id;
  }
  // Gives window the keyboard and waits until the X server says it has it, so that keys typed
  // next go to it.
  bool focus(const QString& window) const {
    return waitFor(
        [&] {
          xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
          return xdotool({QStringLiteral("getwindowfocus")}).trimmed() == window;
        },
        10000);
  }
  bool visible(const QString& name) const {
    return !xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                     QStringLiteral("--name"), name})
                .trimmed()
                .isEmpty();
  }

private:
  // Terminated, not killed, so that the X server removes its lock and socket.
  static void stop(QProcess& process) {
    process.terminate();
    if (!process.waitForFinished(3000)) {
      process.kill();
      process.waitForFinished();
    }
  }

  QProcess xvfb_;
  QProcess tray_;
  QString display_;
};

} // namespace meldlux::e2e
