// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QSettings>
#include <QString>

namespace meldlux {

// The file format of the settings store on platforms without the registry: "[section]" lines and
// one "key=value" per line, UTF-8. A value is everything after the first "=" up to the line end,
// taken verbatim: no quoting, no escapes, no comments inside a line, no trimming. That way a
// value such as "000;001" or " C:\Sounds\neu.wav " reads back exactly, and a file written by
// hand in the plain key=value form reads as written.
//
// A line break cannot be part of a value in a line format: a value is cut at its first CR or LF
// when it is written (the option text boxes are single-line, so nothing of ours carries one).
// Whole lines starting with ";" or "#", lines without "=" and keys or sections holding a "/"
// (which QSettings would take for groups) are skipped when reading and are not written back; every
// other key is.
class VerbatimIniFormat {
public:
  // The reader leaves the keys' order in the file under this key (a QStringList of
  // "section/key"); the writer keeps that order and puts keys it does not list at the end of
  // their section. It contains a line break, so no key read from a file can be equal to it.
  static QString orderKey() { return QStringLiteral("\n order"); }

  static QSettings::SettingsMap parse(const QByteArray& bytes);
  static QByteArray serialize(const QSettings::SettingsMap& map);

  // The two functions QSettings::registerFormat takes.
  static bool read(QIODevice& device, QSettings::SettingsMap& map);
  static bool write(QIODevice& device, const QSettings::SettingsMap& map);

  // The value as a line can hold it: cut at the first CR or LF.
  static QString singleLine(const QString& value);
};

} // namespace meldlux
