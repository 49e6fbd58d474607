// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/verbatim_ini_format.h"

#include "base/cp1252.h"

#include <QStringDecoder>
#include <QStringList>

namespace meldlux {

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

QString trimBlanks(QStringView text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && isBlank(text[begin]))
    ++begin;
  while (end > begin && isBlank(text[end - 1]))
    --end;
  return text.mid(begin, end - begin).toString();
}

QString decodeFile(QByteArray bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF"))
    bytes.remove(0, 3);
  // One mark is the encoding's, removed above; any further U+FEFF is text (the decoder would
  // drop one more by itself).
  QStringDecoder utf8(QStringDecoder::Utf8,
                      QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
  QString text = utf8(bytes);
  // A file saved by hand with an 8-bit editor holds Windows-1252 umlauts, which are no UTF-8.
  if (utf8.hasError())
    text = cp1252::decode(bytes);
  return text;
}

// Only sections and keys that read back as they were written are taken from a file or written to
// one; a "/" would split them differently, as QSettings makes groups of it.
bool representableSection(const QString& section) {
  return !section.contains(u'/') && !section.contains(u'\n') && !section.contains(u'\r') &&
         trimBlanks(section) == section;
}

bool representableKey(const QString& key) {
  return !key.isEmpty() && !key.contains(u'/') && !key.contains(u'=') && !key.contains(u'\n') &&
         !key.contains(u'\r') && !key.startsWith(u'[') && !key.startsWith(u';') &&
         !key.startsWith(u'#') && trimBlanks(key) == key;
}

} // namespace

QString VerbatimIniFormat::singleLine(const QString& value) {
  for (qsizetype i = 0; i < value.size(); ++i) {
    if (value[i] == u'\r' || value[i] == u'\n')
      return value.left(i);
  }
  return value;
}

QSettings::SettingsMap VerbatimIniFormat::parse(const QByteArray& bytes) {
  QSettings::SettingsMap map;
  QStringList order;
  QString section;
  bool sectionUsable = true;
  const QString text = decodeFile(bytes);
  for (QStringView line : QStringView(text).split(u'\n')) {
    if (line.endsWith(u'\r'))
      line.chop(1);
    qsizetype first = 0;
    while (first < line.size() && isBlank(line[first]))
      ++first;
    if (first == line.size() || line[first] == u';' || line[first] == u'#')
      continue;
    if (line[first] == u'[') {
      const qsizetype close = line.lastIndexOf(u']');
      if (close > first) {
        section = trimBlanks(line.mid(first + 1, close - first - 1));
        sectionUsable = representableSection(section);
      }
      continue;
    }
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
      continue;
    const QString key = trimBlanks(line.left(equals));
    if (!sectionUsable || !representableKey(key))
      continue;
    const QString fullKey = section.isEmpty() ? key : section + u'/' + key;
    if (!map.contains(fullKey))
      order.append(fullKey);
    map.insert(fullKey, line.mid(equals + 1).toString()); // a repeated key: the last one counts
  }
  map.insert(orderKey(), order);
  return map;
}

QByteArray VerbatimIniFormat::serialize(const QSettings::SettingsMap& map) {
  // Keys in the order the file had them and the store wrote them, then any others.
  QStringList keys;
  for (const QString& key : map.value(orderKey()).toStringList()) {
    if (map.contains(key) && key != orderKey() && !keys.contains(key))
      keys.append(key);
  }
  for (auto it = map.cbegin(); it != map.cend(); ++it) {
    if (it.key() != orderKey() && !keys.contains(it.key()))
      keys.append(it.key());
  }

  // Grouped by section, sections in the order of their first key; keys without a section first.
  QStringList sections;
  QMap<QString, QStringList> lines;
  for (const QString& fullKey : keys) {
    const qsizetype slash = fullKey.indexOf(u'/');
    const QString section = slash < 0 ? QString() : fullKey.left(slash);
    const QString key = slash < 0 ? fullKey : fullKey.mid(slash + 1);
    if (!representableSection(section) || !representableKey(key))
      continue;
    if (!sections.contains(section))
      sections.append(section);
    lines[section].append(key + u'=' + singleLine(map.value(fullKey).toString()));
  }
  if (sections.removeOne(QString()))
    sections.prepend(QString());

  QString text;
  for (const QString& section : sections) {
    if (!section.isEmpty()) {
      if (!text.isEmpty())
        text += u'\n';
      text += u'[' + section + QStringLiteral("]\n");
    }
    for (const QString& line : lines.value(section))
      text += line + u'\n';
  }
  // A reader takes U+FEFF at the very start for the encoding's mark, so a key before any section
  // that begins with one gets a mark of its own in front.
  if (text.startsWith(QChar(0xFEFF)))
    text.prepend(QChar(0xFEFF));
  return text.toUtf8();
}

bool VerbatimIniFormat::read(QIODevice& device, QSettings::SettingsMap& map) {
  map = parse(device.readAll());
  return true; // a damaged line is skipped, never the whole file
}

bool VerbatimIniFormat::write(QIODevice& device, const QSettings::SettingsMap& map) {
  const QByteArray bytes = serialize(map);
  return device.write(bytes) == bytes.size();
}

} // namespace meldlux
