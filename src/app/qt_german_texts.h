// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTranslator>
#include <memory>

namespace meldlux {

// Qt's own texts (the file and colour choosers, the buttons of message boxes) in German, as the
// program's own texts always are; installed on the application while the result lives. Null when
// Qt's translations are not installed: those texts then stay English. They are looked for in
// "translations" beside the program first (the Windows installer puts them there), then where Qt
// keeps them.
std::unique_ptr<QTranslator> installQtGermanTexts(const QString& programFolder = {});

} // namespace meldlux
