#include "settings/settings_store.h"

#include "settings/verbatim_ini_format.h"

#include <QDir>
#include <QSettings>
#include <QStringList>

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

#ifndef Q_OS_WIN
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

std::unique_ptr<QSettings> SettingsStore::open(const QString& application) const {
#ifdef Q_OS_WIN
  return std::make_unique<QSettings>(
      QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\") + application,
      QSettings::NativeFormat);
#else
  return std::make_unique<QSettings>(filePath(application), verbatimFormat());
#endif
}

QString SettingsStore::read(const QString& application, const QString& section, const QString& key,
                            const QString& defaultValue) const {
  if (!usableName(application) || !usableName(section) || !usableName(key))
    return defaultValue;
  const QVariant value = open(application)->value(section + u'/' + key);
  return value.isValid() ? value.toString() : defaultValue;
}

void SettingsStore::write(const QString& application, const QString& section, const QString& key,
                          const QString& value) {
  if (isReadOnly(application) || !usableName(application) || !usableName(section) ||
      !usableName(key))
    return;
  const QString fullKey = section + u'/' + key;
#ifndef Q_OS_WIN
  QDir().mkpath(folder_);
#endif
  const std::unique_ptr<QSettings> settings = open(application);
#ifndef Q_OS_WIN
  // New keys go to the end of their section in the order they are written.
  QStringList order = settings->value(VerbatimIniFormat::orderKey()).toStringList();
  if (!order.contains(fullKey)) {
    order.append(fullKey);
    settings->setValue(VerbatimIniFormat::orderKey(), order);
  }
#endif
  settings->setValue(fullKey, VerbatimIniFormat::singleLine(value));
  settings->sync();
}

} // namespace meldlux
