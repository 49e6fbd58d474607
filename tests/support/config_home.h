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

#if defined(Q_OS_WIN)
#include "settings/verbatim_ini_format.h"
#include "settings/windows_registry.h"

#include <string>
#include <windows.h>
#endif

// The bytes of a literal, embedded NULs included.
template <std::size_t N> QByteArray literalBytes(const char (&text)[N]) {
  return QByteArray(text, qsizetype(N - 1));
}

#if defined(Q_OS_WIN)
// The store is the registry there. For one test, HKEY_CURRENT_USER of this process is a fresh
// scratch key (so no test sees another's keys or touches the user's own), removed afterwards.
// The files of the other platforms are written into it and read back from it as INI text:
// sections in the registry's order, which is not the order the keys were written in.
class ConfigHome {
public:
  static constexpr bool kIsFile = false;

  ConfigHome() {
    static int count = 0;
    scratch_ = QStringLiteral("Software\\Meldlux tests\\%1-%2")
                   .arg(GetCurrentProcessId())
                   .arg(++count)
                   .toStdWString();
    RegDeleteTreeW(HKEY_CURRENT_USER, scratch_.c_str()); // a left-over of a killed run
    if (RegCreateKeyExW(HKEY_CURRENT_USER, scratch_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &root_, nullptr) != ERROR_SUCCESS ||
        RegOverridePredefKey(HKEY_CURRENT_USER, root_) != ERROR_SUCCESS)
      qFatal("no scratch registry key for the test");
  }
  ~ConfigHome() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(root_);
    RegDeleteTreeW(HKEY_CURRENT_USER, scratch_.c_str());
  }
  ConfigHome(const ConfigHome&) = delete;
  ConfigHome& operator=(const ConfigHome&) = delete;

  QString path(const QString& application) const {
    return QStringLiteral("HKCU\\") + keyOf(application);
  }
  bool exists(const QString& application) const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root_, keyOf(application).toStdWString().c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
      return false;
    RegCloseKey(key);
    return true;
  }
  // The keys of an INI text, as an earlier run or another program would have put them there.
  void writeFile(const QString& application, const QByteArray& bytes) const {
    const QSettings::SettingsMap map = meldlux::VerbatimIniFormat::parse(bytes);
    for (auto it = map.cbegin(); it != map.cend(); ++it)
      if (it.key() != meldlux::VerbatimIniFormat::orderKey() && it.key().contains(u'/'))
        meldlux::WindowsRegistry::writeString(
            (keyOf(application) + u'\\' + it.key().section(u'/', 0, 0)).toStdU16String(),
            it.key().section(u'/', 1).toStdU16String(), it.value().toString().toStdU16String());
  }
  QByteArray readFile(const QString& application) const {
    QByteArray text;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root_, keyOf(application).toStdWString().c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
      return text;
    wchar_t section[256];
    for (DWORD i = 0, size = 256;
         RegEnumKeyExW(key, i, section, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, size = 256) {
      text += '[' + QString::fromWCharArray(section).toUtf8() + "]\n";
      HKEY values = nullptr;
      if (RegOpenKeyExW(key, section, 0, KEY_READ, &values) != ERROR_SUCCESS)
        continue;
      wchar_t name[256];
      for (DWORD j = 0, nameSize = 256; RegEnumValueW(values, j, name, &nameSize, nullptr, nullptr,
                                                      nullptr, nullptr) == ERROR_SUCCESS;
           ++j, nameSize = 256) {
        const QString keyPath = keyOf(application) + u'\\' + QString::fromWCharArray(section);
        const auto value = meldlux::WindowsRegistry::readString(
            keyPath.toStdU16String(), QString::fromWCharArray(name).toStdU16String());
        text += QString::fromWCharArray(name).toUtf8() + '=' +
                QString::fromStdU16String(value.value_or(u"")).toUtf8() + '\n';
      }
      RegCloseKey(values);
    }
    RegCloseKey(key);
    return text;
  }
  QStringList lines(const QString& application) const {
    return QString::fromUtf8(readFile(application)).split(u'\n', Qt::SkipEmptyParts);
  }

private:
  static QString keyOf(const QString& application) {
    return QStringLiteral("Software\\VB and VBA Program Settings\\") + application;
  }

  std::wstring scratch_;
  HKEY root_ = nullptr;
};
#else
// Points XDG_CONFIG_HOME at a fresh temporary folder for one test and restores it afterwards.
class ConfigHome {
public:
  static constexpr bool kIsFile = true;

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
#endif
