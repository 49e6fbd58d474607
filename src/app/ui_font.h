// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace meldlux {

// The family the windows' texts should use instead of the system's dialog font `dialogFamily`
// when that font is not installed (Wine without its own fonts): the first installed of the usual
// sans fonts. Empty when the dialog font is there (every real Windows) or none of them is.
// Without this, the font machinery picks the first family it knows, which can be a math font
// whose line height puts a text box's text outside the box.
QString readableUiFamily(const QString& dialogFamily, const QStringList& installed);

} // namespace meldlux
