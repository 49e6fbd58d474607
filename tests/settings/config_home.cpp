#include "config_home.h"

#include <QDir>
#include <QFileInfo>

void ConfigHome::writeFile(const QString& application, const QByteArray& bytes) const {
  QDir().mkpath(QFileInfo(path(application)).absolutePath());
  QFile file(path(application));
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    file.write(bytes);
}

QByteArray ConfigHome::readFile(const QString& application) const {
  QFile file(path(application));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
