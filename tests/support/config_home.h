// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstddef>

// The bytes of a literal, embedded NULs included.
template <std::size_t N> QByteArray literalBytes(const char (&text)[N]) {
  return QByteArray(text, qsizetype(N - 1));
}

// Points XDG_CONFIG_HOME at a fresh temporary folder for one test and restores it afterwards.
class ConfigHome {
public:
  ConfigHome()
      : previous_(qgetenv("XDG_CONFIG_HOME")),
        hadPrevious_(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
    qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8());
  }
  ~ConfigHome() {
    if (hadPrevious_)
      qputenv("XDG_CONFIG_HOME", previous_);
    else
      qunsetenv("XDG_CONFIG_HOME");
  }
  ConfigHome(const ConfigHome&) = delete;
  ConfigHome& operator=(const ConfigHome&) = delete;

  QString path(const QString& application) const {
    return dir_.path() + QStringLiteral("/meldlux/") + application + QStringLiteral(".ini");
  }
  bool exists(const QString& application) const { return QFile::exists(path(application)); }
  void writeFile(const QString& application, const QByteArray& bytes) const {
    QDir().mkpath(QFileInfo(path(application)).absolutePath());
    QFile file(path(application));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
      file.write(bytes);
  }
  QByteArray readFile(const QString& application) const {
    QFile file(path(application));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  QStringList lines(const QString& application) const {
    return QString::fromUtf8(readFile(application)).split(u'\n', Qt::SkipEmptyParts);
  }

private:
  QTemporaryDir dir_;
  QByteArray previous_;
  bool hadPrevious_;
};
