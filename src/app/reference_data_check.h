// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/load_reference_data.h"

#include <QDir>
#include <QTextStream>

namespace meldlux {

// The data check of the meldlux-refdata tool: loads a directory exactly as start-up does and
// writes, per table, which file filled it and how many records, every skipped or cut line or
// record, message boxes that would appear, and duplicate keys that hide later records. Lists that
// start-up does not read because the other product's file came first are checked on the side.
// Returns 0, or 1 when start-up would stop at a failure.
int RunReferenceDataCheck(const QDir& dir, QTextStream& out);

} // namespace meldlux
