// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/journal_entry.h"

#include <array>
#include <utility>

namespace meldlux {

namespace {

constexpr std::array<std::pair<JournalKind, const char16_t*>, 7> kNames{{
    {JournalKind::FmsVehicle, u"fms_vehicle"},
    {JournalKind::FmsControl, u"fms_control"},
    {JournalKind::Zvei, u"zvei"},
    {JournalKind::Pocsag, u"pocsag"},
    {JournalKind::Text, u"text"},
    {kJournalLoadFault, u"load_fault"},
    {kJournalSupervision, u"supervision"},
}};

} // namespace

QString journalKindName(JournalKind kind) {
  for (const auto& [k, name] : kNames)
    if (k == kind)
      return QString::fromUtf16(name);
  return QStringLiteral("unknown");
}

QString journalMarkText(JournalMark mark) {
  switch (mark) {
  case JournalMark::Repeat:
    return QStringLiteral("Wiederholung");
  case JournalMark::Filtered:
    return QStringLiteral("gefiltert");
  case JournalMark::Test:
    return QStringLiteral("Test");
  case JournalMark::None:
    break;
  }
  return {};
}

bool journalKindFromName(QStringView name, JournalKind& kind) {
  for (const auto& [k, text] : kNames)
    if (name == QStringView(text)) {
      kind = k;
      return true;
    }
  return false;
}

} // namespace meldlux
