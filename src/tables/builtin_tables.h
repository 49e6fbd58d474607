// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/colour.h"

#include <QString>
#include <QStringView>
#include <functional>

namespace meldlux {

struct StatusTables;

// Reads one key of the first server product's settings: (section, key, default) -> text.
using ZentrixReader =
    std::function<QString(const QString& section, const QString& key, const QString& fallback)>;

// The built-in tables, filled once at start-up in this order: colours, status texts,
// organisation codes. A colour text that does not fit 32 bits throws Failure (the start-up trap
// takes it).

// A stored colour text as a colour: its leading number, rounded.
Colour colourFromText(QStringView text);

// Colours 0-15 from the first server product's "Statusfarben" keys (defaults where absent),
// 16 and 17 from the program's own FarbeFME and FarbeDME texts, 18 always white.
void fillStatusColours(StatusTables& tables, const ZentrixReader& zentrix, const QString& farbeFme,
                       const QString& farbeDme);

// The built-in wording, the same for every organisation; every other entry empty.
void fillStatusTexts(StatusTables& tables);

// Organisation codes from the first server product's "BOS-Kennung" keys, taken as stored;
// defaults where absent.
void fillOrgCodes(StatusTables& tables, const ZentrixReader& zentrix);

} // namespace meldlux
