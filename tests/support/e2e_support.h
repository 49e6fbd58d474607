// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTcpSocket>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

// What the end-to-end tests share: the built programs, a settings store of their own, the event
// log, and waiting for something to happen in another process.
namespace meldlux::e2e {

inline QString binary(const char* name) {
  return QDir(qEnvironmentVariable("MELDLUX_BIN_DIR", QCoreApplication::applicationDirPath()))
      .filePath(QString::fromLatin1(name));
}

inline QString readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

inline bool waitFor(const std::function<bool()>& condition, int milliseconds) {
  QDeadlineTimer deadline(milliseconds);
  while (!condition()) {
    if (deadline.hasExpired())
      return false;
    QThread::msleep(50);
  }
  return true;
}

// A meldlux with its own settings (config/meldlux/MeldluxWBR.ini below the test's folder) and
// its event log (events.log there).
class MeldluxRun {
public:
  MeldluxRun(const QString& folder, const QString& settings)
      : folder_(folder), settingsPath_(QDir(folder).filePath("config/meldlux/MeldluxWBR.ini")),
        logPath_(QDir(folder).filePath("events.log")) {
    QDir(folder).mkpath(QStringLiteral("config/meldlux"));
    QFile ini(settingsPath_);
    if (ini.open(QIODevice::WriteOnly))
      ini.write(settings.toUtf8());
  }

  // Starts the program in workingDirectory, on the platform the environment names (offscreen
  // unless it says otherwise).
  bool start(const QStringList& arguments = {}, const QString& workingDirectory = {},
             QProcessEnvironment env = QProcessEnvironment::systemEnvironment()) {
    return startThrough({}, arguments, workingDirectory, std::move(env));
  }

  // The same, with meldlux run by another program (a shell, a change of user), which gets
  // wrapperArguments followed by meldlux's path and arguments and must exec it.
  bool startThrough(const QStringList& wrapper, const QStringList& arguments,
                    const QString& workingDirectory,
                    QProcessEnvironment env = QProcessEnvironment::systemEnvironment()) {
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
      env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), QDir(folder_).filePath("config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), QDir(folder_).filePath("data"));
    env.insert(QStringLiteral("MELDLUX_EVENT_LOG"), logPath_);
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(workingDirectory.isEmpty() ? folder_ : workingDirectory);
    if (wrapper.isEmpty())
      process.start(binary("meldlux"), arguments);
    else
      process.start(wrapper.first(), wrapper.mid(1) + QStringList{binary("meldlux")} + arguments);
    return process.waitForStarted();
  }

  QString log() const { return readAll(logPath_); }
  // Where the program keeps its journal unless its settings name another folder.
  QString journalPath() const { return QDir(folder_).filePath("data/meldlux/journal.sqlite"); }
  const QString& logPath() const { return logPath_; }
  const QString& settingsPath() const { return settingsPath_; }
  QString settings() const { return readAll(settingsPath_); }
  bool logged(const QString& line, int times = 1) const {
    return log().count(line + u'\n') >= times;
  }

  QProcess process;

private:
  QString folder_;
  QString settingsPath_;
  QString logPath_;
};

// The program ended the way closing its main window ends it: settings saved, then the tray icon
// removed, then the goodbye lines, which the server received.
inline void expectOrderlyEnd(const QString& log, QTcpSocket& server) {
  const qsizetype saved = log.indexOf(QStringLiteral("saved\n"));
  const qsizetype removed = log.indexOf(QStringLiteral("tray\tdelete\t"));
  const qsizetype goodbye = log.indexOf(QStringLiteral("sent\tXXX\\r\\n"));
  ASSERT_GE(saved, 0) << log.toStdString();
  EXPECT_GT(removed, saved) << log.toStdString();
  EXPECT_GT(goodbye, removed) << log.toStdString();
  QByteArray received = server.readAll();
  while (server.waitForReadyRead(500))
    received += server.readAll();
  EXPECT_TRUE(received.contains("XXX\r\nExit\r\n")) << received.toStdString();
}

inline QString autoConnectSettings(quint16 port) {
  return QStringLiteral("[Server]\nAdresse=127.0.0.1\nPort=%1\n[Einstellungen]\nAutoConnect=1\n")
      .arg(port);
}

} // namespace meldlux::e2e
