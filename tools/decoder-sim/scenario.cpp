// SPDX-License-Identifier: GPL-3.0-or-later
#include "scenario.h"

#include "base/cp1252.h"

#include <QStringDecoder>
#include <QStringList>

namespace meldlux::sim {

namespace {

QString decodeFile(const QByteArray& content) {
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8.decode(content);
  if (utf8.hasError()) // not UTF-8: take the bytes as they will travel
    text = cp1252::decode(content);
  if (text.startsWith(QChar(0xFEFF)))
    text.remove(0, 1);
  return text;
}

int hexValue(QChar c) {
  if (c >= u'0' && c <= u'9')
    return c.unicode() - u'0';
  if (c >= u'a' && c <= u'f')
    return c.unicode() - u'a' + 10;
  if (c >= u'A' && c <= u'F')
    return c.unicode() - u'A' + 10;
  return -1;
}

} // namespace

QByteArray unescape(const QString& text) {
  QByteArray out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != u'\\' || i + 1 >= text.size()) {
      out += cp1252::encode(QStringView(text).mid(i, 1));
      continue;
    }
    const QChar next = text[i + 1];
    if (next == u'r') {
      out += '\r';
    } else if (next == u'n') {
      out += '\n';
    } else if (next == u't') {
      out += '\t';
    } else if (next == u'\\') {
      out += '\\';
    } else if (next == u'x' && i + 3 < text.size() && hexValue(text[i + 2]) >= 0 &&
               hexValue(text[i + 3]) >= 0) {
      out += char(hexValue(text[i + 2]) * 16 + hexValue(text[i + 3]));
      i += 2;
    } else {
      out += '\\';
      continue;
    }
    ++i;
  }
  return out;
}

QString escapeBytes(const QByteArray& bytes) {
  QString out;
  for (const char ch : bytes) {
    const auto byte = static_cast<unsigned char>(ch);
    switch (byte) {
    case '\r':
      out += QLatin1StringView("\\r");
      break;
    case '\n':
      out += QLatin1StringView("\\n");
      break;
    case '\t':
      out += QLatin1StringView("\\t");
      break;
    case '\\':
      out += QLatin1StringView("\\\\");
      break;
    default:
      if (byte >= 0x20 && byte < 0x7F)
        out += QChar(byte);
      else
        out += QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
    }
  }
  return out;
}

Scenario parseScenario(const QByteArray& content) {
  Scenario scenario;
  const QStringList lines = decodeFile(content).split(u'\n');
  for (qsizetype n = 0; n < lines.size(); ++n) {
    QString line = lines[n];
    if (line.endsWith(u'\r'))
      line.chop(1);
    if (line.isEmpty() || (line.startsWith(u'#') && !line.startsWith(QStringLiteral("#!"))))
      continue;
    if (line.startsWith(QStringLiteral("@sleep"))) {
      bool ok = false;
      const double seconds = line.mid(6).trimmed().toDouble(&ok);
      if (!ok || seconds < 0 || seconds > 86400) {
        scenario.steps.clear();
        scenario.error = QStringLiteral("line %1: @sleep needs seconds (0 to 86400)").arg(n + 1);
        return scenario;
      }
      scenario.steps.push_back({QByteArray(), int(seconds * 1000)});
    } else if (line.startsWith(QStringLiteral("@raw "))) {
      scenario.steps.push_back({unescape(line.mid(5)), 0});
    } else if (line.startsWith(u'@')) {
      scenario.steps.clear();
      scenario.error = QStringLiteral("line %1: unknown directive %2").arg(n + 1).arg(line);
      return scenario;
    } else {
      scenario.steps.push_back({cp1252::encode(line) + "\r\n", 0});
    }
  }
  return scenario;
}

} // namespace meldlux::sim
