// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/numbers.h"

#include "base/failure.h"

#include <string>
#include <charconv>
#include <cmath>
#include <limits>

namespace meldlux {

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

template <typename Int> Int roundChecked(double value, const char* typeName) {
  const double rounded = std::nearbyint(value); // default rounding mode: ties to even
  if (!(rounded >= double(std::numeric_limits<Int>::min()) &&
        rounded <= double(std::numeric_limits<Int>::max()))) {
    throw Failure(QStringLiteral("Überlauf: %1 passt nicht in %2")
                      .arg(value)
                      .arg(QLatin1StringView(typeName)));
  }
  return static_cast<Int>(rounded);
}

bool isBlank(QChar c) { return c == u' '; }
bool isBlankTabOrLineFeed(QChar c) { return c == u' ' || c == u'\t' || c == u'\n'; }

template <bool (*Skipped)(QChar)> double numberAfter(QStringView text) {
  const qsizetype n = text.size();
  qsizetype i = 0;
  while (i < n && Skipped(text[i]))
    ++i;

  // Copy the longest prefix that forms a number as ASCII; from_chars reads it without regard to
  // the locale. Short numbers stay within std::string's inline buffer.
  std::string number;
  bool negative = false;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  bool anyDigit = false;
  for (; i < n && isDigit(text[i]); ++i, anyDigit = true)
    number.push_back(char(text[i].unicode()));
  if (i < n && text[i] == u'.') {
    number.push_back('.');
    for (++i; i < n && isDigit(text[i]); ++i, anyDigit = true)
      number.push_back(char(text[i].unicode()));
  }
  if (!anyDigit)
    return 0.0;
  if (i < n && (text[i] == u'e' || text[i] == u'E')) {
    qsizetype j = i + 1;
    std::string exponent = "e";
    if (j < n && (text[j] == u'+' || text[j] == u'-'))
      exponent.push_back(char(text[j++].unicode()));
    if (j < n && isDigit(text[j])) {
      for (; j < n && isDigit(text[j]); ++j)
        exponent.push_back(char(text[j].unicode()));
      number += exponent;
    }
  }

  double value = 0.0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) // from_chars leaves value alone: ask strtod
    value = std::strtod(number.c_str(), nullptr);
  return negative ? -value : value;
}

} // namespace

double leadingNumber(QStringView text) { return numberAfter<isBlankTabOrLineFeed>(text); }

double leadingNumberAfterSpaces(QStringView text) { return numberAfter<isBlank>(text); }

QStringView trimmedSpaces(QStringView text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && text[begin] == u' ')
    ++begin;
  while (end > begin && text[end - 1] == u' ')
    --end;
  return text.mid(begin, end - begin);
}

QString trimSpaces(QStringView text) { return trimmedSpaces(text).toString(); }

QString trimSpaces(const QString& text) {
  const QStringView trimmed = trimmedSpaces(text);
  return trimmed.size() == text.size() ? text : trimmed.toString();
}

std::int16_t roundToInt16(double value) { return roundChecked<std::int16_t>(value, "Integer"); }

std::int32_t roundToInt32(double value) { return roundChecked<std::int32_t>(value, "Long"); }

bool fitsSingle(double value) {
  return std::abs(value) <= double(std::numeric_limits<float>::max());
}

float toSingle(double value) {
  if (!fitsSingle(value))
    throw Failure(QStringLiteral("Überlauf: %1 passt nicht in Single").arg(value));
  return float(value);
}

} // namespace meldlux
