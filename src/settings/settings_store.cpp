// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_store.h"

#include "settings/verbatim_ini_format.h"
#include "settings/windows_registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <algorithm>

namespace meldlux {

namespace {

QString defaultFolder() {
  QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (config.isEmpty() || QDir::isRelativePath(config))
    config = QDir::homePath() + QStringLiteral("/.config");
  return config + QStringLiteral("/meldlux");
}

// Application, section and key become a file name and a QSettings group path; a "/" or "\" would
// move them elsewhere, so such names address nothing.
bool usableName(const QString& name) {
  return !name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\') && name != u".." &&
         name != u".";
}

#ifdef Q_OS_WIN
// The key of one section in the area of the classic program-settings functions.
std::u16string registryKey(const QString& application, const QString& section) {
  return (QStringLiteral("Software\\VB and VBA Program Settings\\") + application + u'\\' + section)
      .toStdU16String();
}
#else
QSettings::Format verbatimFormat() {
  // QSettings keeps a registered format for the whole process and allows only a handful of them,
  // so ours is registered once, on first use, and shared by every store.
  static const QSettings::Format format = QSettings::registerFormat(
      QStringLiteral("ini"), &VerbatimIniFormat::read, &VerbatimIniFormat::write);
  return format;
}
#endif

} // namespace

SettingsStore::SettingsStore() : SettingsStore(defaultFolder()) {}

SettingsStore::SettingsStore(const QString& folder) : folder_(folder) {}

SettingsStore::~SettingsStore() = default;

bool SettingsStore::isReadOnly(const QString& application) {
  return application.compare(QLatin1StringView(kZentrix), Qt::CaseInsensitive) == 0;
}

QString SettingsStore::filePath(const QString& application) const {
  return folder_ + u'/' + application + QStringLiteral(".ini");
}

#ifndef Q_OS_WIN
std::unique_ptr<QSettings> SettingsStore::open(const QString& application) const {
  return std::make_unique<QSettings>(filePath(application), verbatimFormat());
}
#endif

QString SettingsStore::read(const QString& application, const QString& section, const QString& key,
                            const QString& defaultValue) const {
  if (!usableName(application) || !usableName(section) || !usableName(key))
    return defaultValue;
#ifdef Q_OS_WIN
  const std::optional<std::u16string> value =
      WindowsRegistry::readString(registryKey(application, section), key.toStdU16String());
  return value ? QString::fromStdU16String(*value) : defaultValue;
#else
  const QVariant value = open(application)->value(section + u'/' + key);
  return value.isValid() ? value.toString() : defaultValue;
#endif
}

void SettingsStore::write(const QString& application, const QString& section, const QString& key,
                          const QString& value) {
  write(application, {Entry{section, key, value}});
}

void SettingsStore::write(const QString& application, const std::vector<Entry>& entries) {
  if (isReadOnly(application) || !usableName(application))
    return;
#ifdef Q_OS_WIN
  for (const Entry& entry : entries)
    if (usableName(entry.section) && usableName(entry.key))
      WindowsRegistry::writeString(registryKey(application, entry.section),
                                   entry.key.toStdU16String(),
                                   VerbatimIniFormat::singleLine(entry.value).toStdU16String());
#else
  QDir().mkpath(folder_);
  const std::unique_ptr<QSettings> settings = open(application);
  // New keys go to the end of their section in the order they are written.
  QStringList order = settings->value(VerbatimIniFormat::orderKey()).toStringList();
  const qsizetype known = order.size();
  for (const Entry& entry : entries) {
    if (!usableName(entry.section) || !usableName(entry.key))
      continue;
    const QString fullKey = entry.section + u'/' + entry.key;
    if (!order.contains(fullKey))
      order.append(fullKey);
    settings->setValue(fullKey, VerbatimIniFormat::singleLine(entry.value));
  }
  if (order.size() != known)
    settings->setValue(VerbatimIniFormat::orderKey(), order);
  settings->sync();
#endif
}

QString SettingsStore::keepCopyIfDamaged(const QString& application, const QDateTime& now) const {
  if (!usableName(application) || isReadOnly(application))
    return {};
  QFile file(filePath(application));
  if (!file.open(QIODevice::ReadOnly))
    return {};
  const QByteArray bytes = file.readAll();
  file.close();
  // TAB, CR and LF are the only control bytes a settings file holds; 8-bit text is no damage
  // (a file saved by hand in Windows-1252 reads as that).
  if (std::none_of(bytes.begin(), bytes.end(), [](char c) {
        return uchar(c) < 0x20 && c != '\t' && c != '\r' && c != '\n';
      }))
    return {};
  const QFileInfo info(file.fileName());
  const QString aside = info.absoluteDir().filePath(
      info.completeBaseName() + QStringLiteral(".damaged-") +
      now.toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss")) + u'.' + info.suffix());
  return QFile::copy(file.fileName(), aside) ? aside : QString();
}

void SettingsStore::removeLeftOvers(const QString& application) const {
#ifndef Q_OS_WIN
  if (!usableName(application))
    return;
  // The file is replaced through "<name>.ini.XXXXXX"; a kill before the rename leaves one behind.
  const QString file = application + QStringLiteral(".ini");
  QDir folder(folder_);
  for (const QString& name : folder.entryList({file + QStringLiteral(".??????")}, QDir::Files))
    folder.remove(name);
#else
  Q_UNUSED(application);
#endif
}

} // namespace meldlux
