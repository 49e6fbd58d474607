// SPDX-License-Identifier: GPL-3.0-or-later
#include "telegrams/fms_vehicle_handler.h"

#include "base/clock.h"
#include "base/formats.h"
#include "base/numbers.h"
#include "display/popup_model.h"
#include "state/indicators.h"
#include "state/options.h"
#include "tables/status_tables.h"
#include "telegrams/alert_sounds.h"
#include "telegrams/fms_identifier.h"
#include "telegrams/handler_steps.h"
#include "telegrams/journal_line.h"
#include "telegrams/vehicle_naming.h"

namespace meldlux {

namespace {

constexpr int kFromVehicle = 0;

bool givesNormalLine(std::int16_t status, bool anzSW) {
  return status < 5 || (status >= 6 && status <= 9) || (status >= 11 && status <= 14) ||
         (status == 5 && !anzSW);
}

} // namespace

FmsVehicleHandler::FmsVehicleHandler(HandlerContext context) : c_(context) {}

void FmsVehicleHandler::HandleFmsVehicle(QString& identifier, std::int16_t& status, QString& text,
                                         OleDate& time) {
  c_.steps.defaultTime(time);
  c_.steps.countFms();

  const VehicleNaming vehicle = nameVehicle(identifier, c_.reference, c_.statusTables);
  if (vehicle.index == 0 && !c_.options.checked(Check::chkUnbekFMS))
    return;

  const bool msgAktiv = c_.options.checked(Check::chkMsgAktiv);
  const int org = OrgIndex(identifier);
  const auto sender = [&](JournalKind kind) {
    return journalTelegram(kind, JournalDirection::FromVehicle, identifier,
                           vehicle.index > 0 ? trimSpaces(vehicle.name) : QString(), status,
                           trimSpaces(text));
  };
  if (c_.options.text(Text::txtMsgOnly).contains(filterCode(kFromVehicle, status))) {
    if (givesNormalLine(status, c_.options.checked(Check::chkSW)))
      normalLine(vehicle.name, status, org, text, time, sender(JournalKind::FmsVehicle));
    // A status shown only in an indicator is journaled too, so the board has every status.
    if (c_.options.checked(Check::chkSW) && status == 5 && msgAktiv) {
      sprechwunsch(vehicle.name);
      journalLine(c_, sender(JournalKind::FmsVehicle), time,
                  c_.indicators.lblSprechwunsch().caption, c_.statusTables.colour(5));
    }
    if (status == 10 && msgAktiv)
      vehicleText(vehicle.name, text, time, sender(JournalKind::Text));
    if (c_.options.checked(Check::chkES) && status == 15 && msgAktiv) {
      spricht(vehicle.name);
      journalLine(c_, sender(JournalKind::FmsVehicle), time, c_.indicators.lblSpricht().caption,
                  c_.statusTables.colour(15));
    }
  } else if (status >= 0 && status < StatusTables::kStatuses) {
    journalUnshown(
        c_, sender(status == 10 ? JournalKind::Text : JournalKind::FmsVehicle),
        JournalMark::Filtered, time,
        fmsLine(vehicle.name, status, c_.statusTables.text(status, org, kFromVehicle), text),
        c_.statusTables.colour(status));
  }

  if (c_.options.checked(Check::chkMsgAktiv)) {
    c_.popup.RefreshLines();
    c_.popup.LayoutPopup();
  }
}

void FmsVehicleHandler::normalLine(const QString& name, std::int16_t status, int org, QString& text,
                                   OleDate time, JournalEntry sender) {
  const QString statusText = c_.statusTables.text(status, org, kFromVehicle);
  const QString head = name + u' ' + formatRightAligned2(status) + u' ' + statusText;
  // The repeat test sees the text as received; the stored line carries it in brackets, so
  // telegrams with a text are never taken for repeats.
  if (c_.popup.IsRecentDuplicate(head + text)) {
    journalUnshown(c_, std::move(sender), JournalMark::Repeat, time,
                   fmsLine(name, status, statusText, text), c_.statusTables.colour(status));
    return;
  }
  c_.sounds.playVehicleStatus();
  if (c_.options.checked(Check::chkMsgAktiv)) {
    c_.popup.ShowPopup();
    const QString trimmed = trimSpaces(text);
    if (!trimmed.isEmpty())
      text = QStringLiteral(" [") + trimmed + u']';
    QString line = head + text;
    c_.popup.AddMessage(time, line, c_.statusTables.colour(status));
    c_.popup.MarkNewestLine();
    journalLine(c_, std::move(sender), time, line, c_.statusTables.colour(status));
  }
  c_.steps.setTraySummary(trimSpaces(name) + QStringLiteral(" (") + QString::number(status) +
                          QStringLiteral(") ") + statusText);
}

void FmsVehicleHandler::sprechwunsch(const QString& name) {
  c_.popup.ShowPopup();
  c_.popup.IndicatorTime = c_.clock.now();
  c_.indicators.setCaption(Indicator::Sprechwunsch,
                           formatTime(c_.clock.now()) + QStringLiteral(" SW: ") + trimSpaces(name));
  c_.indicators.setBold(Indicator::Sprechwunsch, true);
  c_.indicators.setForeColor(Indicator::Sprechwunsch, c_.statusTables.colour(5));
  c_.popup.SetNewestLineBold(false);
  c_.indicators.setBold(Indicator::Spricht, false);
}

void FmsVehicleHandler::vehicleText(const QString& name, const QString& text, OleDate time,
                                    JournalEntry sender) {
  c_.popup.ShowPopup();
  QString line = name + QStringLiteral(" 10 ") + text;
  c_.popup.AddMessage(time, line, c_.statusTables.colour(10));
  c_.popup.MarkNewestLine();
  journalLine(c_, std::move(sender), time, line, c_.statusTables.colour(10));
}

void FmsVehicleHandler::spricht(const QString& name) {
  c_.popup.ShowPopup();
  c_.popup.IndicatorTime = c_.clock.now();
  c_.indicators.setCaption(Indicator::Spricht, formatTime(c_.clock.now()) +
                                                   QStringLiteral(" Spricht: ") + trimSpaces(name));
  c_.indicators.setForeColor(Indicator::Spricht, c_.statusTables.colour(15));
  c_.indicators.setBold(Indicator::Sprechwunsch, false);
  c_.indicators.setBold(Indicator::Spricht, true);
  c_.popup.SetNewestLineBold(false);
}

} // namespace meldlux

