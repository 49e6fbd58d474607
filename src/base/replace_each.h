// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRegularExpression>
#include <QString>
#include <functional>

namespace meldlux {

// The text with every match of the pattern replaced by what `with` makes of it.
QString replaceEach(const QString& text, const QRegularExpression& pattern,
                    const std::function<QString(const QRegularExpressionMatch&)>& with);

} // namespace meldlux
