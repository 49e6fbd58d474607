// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ole_date.h"

#include <QString>
#include <functional>

namespace meldlux {

// A vehicle status as the journal kept it.
struct JournalledStatus {
  QString identifier;
  int status = -1;
  OleDate arrival = 0;
};

// What the board needs from a journal file, in one statement: every vehicle status that arrived
// at or after windowStart, and for each vehicle the last one before it (the status it entered
// the window with, or its last status of all when it sent nothing since), in order of arrival.
// Returns an error text, empty when it was read; a file that does not exist is no error.
QString readStatusHistory(const QString& path, OleDate windowStart,
                          const std::function<void(const JournalledStatus&)>& each);

} // namespace meldlux
