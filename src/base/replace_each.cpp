// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/replace_each.h"

namespace meldlux {

QString replaceEach(const QString& text, const QRegularExpression& pattern,
                    const std::function<QString(const QRegularExpressionMatch&)>& with) {
  QString result;
  qsizetype from = 0;
  for (const auto& m : pattern.globalMatch(text)) {
    result += text.mid(from, m.capturedStart() - from) + with(m);
    from = m.capturedEnd();
  }
  return result + text.mid(from);
}

} // namespace meldlux
