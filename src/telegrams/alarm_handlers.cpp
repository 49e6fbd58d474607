// SPDX-License-Identifier: GPL-3.0-or-later
#include "telegrams/alarm_handlers.h"

#include "base/numbers.h"
#include "display/popup_model.h"
#include "refdata/reference_tables.h"
#include "state/options.h"
#include "tables/status_tables.h"
#include "telegrams/alert_sounds.h"
#include "telegrams/handler_steps.h"
#include "telegrams/journal_line.h"

namespace meldlux {

namespace {


} // namespace

ZveiHandler::ZveiHandler(HandlerContext context) : c_(context) {}

void ZveiHandler::HandleZvei(QString& code, OleDate& time) {
  c_.steps.defaultTime(time);
  c_.steps.countFme();
  const bool msgAktiv = c_.options.checked(Check::chkMsgAktiv);

  const int index = c_.reference.fiveTones.FindFiveTone(code);
  if (index > 0) {
    const FiveToneRecord& record = c_.reference.fiveTones.at(index);
    const QString name = trimSpaces(record.name.view());
    QString line = c_.options.checked(Check::chkHideRIC) ? name : record.code.text() + u' ' + name;
    if (c_.popup.IsRecentDuplicate(line)) {
      journalUnshown(c_,
                     journalTelegram(JournalKind::Zvei, JournalDirection::None, code, name, -1, {}),
                     JournalMark::Repeat, time, line, c_.statusTables.colour(StatusTables::kZvei));
      return;
    }
    c_.sounds.playAlarm();
    if (msgAktiv) {
      c_.popup.ShowPopup();
      c_.popup.AddMessage(time, line, c_.statusTables.colour(StatusTables::kZvei));
      c_.popup.MarkNewestLine();
      journalLine(c_,
                  journalTelegram(JournalKind::Zvei, JournalDirection::None, code, name, -1, {}),
                  time, line, c_.statusTables.colour(StatusTables::kZvei));
    }
    c_.popup.RefreshLines();
    c_.popup.LayoutPopup();
    c_.steps.setTraySummary(record.code.text() + u' ' + name);
    return;
  }

  if (!c_.options.checked(Check::chkUnbekFME))
    return;
  if (msgAktiv) {
    // Shown before the repeat test, so a repeated unknown alarm still brings the popup up.
    c_.popup.ShowPopup();
    QString line = code + QStringLiteral(" Unbekannt");
    if (!c_.popup.IsRecentDuplicate(line)) {
      c_.sounds.playAlarm();
      c_.popup.AddMessage(time, line, c_.statusTables.colour(StatusTables::kZvei));
      c_.popup.MarkNewestLine();
      journalLine(c_, journalTelegram(JournalKind::Zvei, JournalDirection::None, code, {}, -1, {}),
                  time, line, c_.statusTables.colour(StatusTables::kZvei));
    } else {
      journalUnshown(c_,
                     journalTelegram(JournalKind::Zvei, JournalDirection::None, code, {}, -1, {}),
                     JournalMark::Repeat, time, line, c_.statusTables.colour(StatusTables::kZvei));
    }
  }
  c_.popup.RefreshLines();
  c_.popup.LayoutPopup();
  c_.steps.setTraySummary(code + QStringLiteral(" Unbekannt"));
}

PocsagHandler::PocsagHandler(HandlerContext context) : c_(context) {}

std::int16_t PocsagHandler::subAddressNumber(const QString& sub) {
  const QString upper = sub.toUpper();
  if (upper == u"A")
    return 1;
  if (upper == u"B")
    return 2;
  if (upper == u"C")
    return 3;
  if (upper == u"D")
    return 4;
  return roundToInt16(leadingNumber(sub));
}

void PocsagHandler::HandlePocsag(QString& ric, QString& text, QString& sub, OleDate& time) {
  c_.steps.defaultTime(time);
  c_.steps.countDme();

  const int index = c_.reference.pocsag.FindPocsag(ric, subAddressNumber(sub));
  const QString trimmedText = trimSpaces(text);
  const QString bracketedSub = QStringLiteral(" [") + sub + QStringLiteral("] ");
  if (index < 1) {
    if (!c_.options.checked(Check::chkUnbekFME))
      return;
    alarm(ric + bracketedSub + QStringLiteral("Unbekannt ") + trimmedText, time,
          ric + bracketedSub + QStringLiteral("Unbekannt"),
          journalTelegram(JournalKind::Pocsag, JournalDirection::None, ric + u' ' + sub, {}, -1,
                          trimmedText));
    return;
  }

  const PocsagRecord& record = c_.reference.pocsag.at(index);
  const QString name = trimSpaces(record.name.view());
  const QString ricText = QString::number(record.ric);
  // The sub-address shown is the one received, not the record's.
  const QString line = c_.options.checked(Check::chkHideRIC)
                           ? name + u' ' + trimmedText
                           : ricText + bracketedSub + name + u' ' + trimmedText;
  alarm(line, time, ricText + bracketedSub + name,
        journalTelegram(JournalKind::Pocsag, JournalDirection::None, ric + u' ' + sub, name, -1,
                        trimmedText));
}

void PocsagHandler::alarm(const QString& line, OleDate time, const QString& traySummary,
                          JournalEntry telegram) {
  if (c_.popup.IsRecentDuplicate(line)) {
    journalUnshown(c_, std::move(telegram), JournalMark::Repeat, time, line,
                   c_.statusTables.colour(StatusTables::kPocsag));
    return;
  }
  c_.sounds.playAlarm();
  if (c_.options.checked(Check::chkMsgAktiv)) {
    c_.popup.ShowPopup();
    QString stored = line;
    c_.popup.AddMessage(time, stored, c_.statusTables.colour(StatusTables::kPocsag));
    c_.popup.MarkNewestLine();
    journalLine(c_, std::move(telegram), time, stored,
                c_.statusTables.colour(StatusTables::kPocsag));
  }
  c_.popup.RefreshLines();
  c_.popup.LayoutPopup();
  c_.steps.setTraySummary(traySummary);
}

} // namespace meldlux

