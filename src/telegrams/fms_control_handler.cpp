// SPDX-License-Identifier: GPL-3.0-or-later
#include "telegrams/fms_control_handler.h"

#include "base/formats.h"
#include "base/numbers.h"
#include "display/popup_model.h"
#include "refdata/place_table.h"
#include "state/options.h"
#include "tables/status_tables.h"
#include "telegrams/alert_sounds.h"
#include "telegrams/fms_identifier.h"
#include "telegrams/handler_steps.h"
#include "telegrams/journal_line.h"
#include "telegrams/vehicle_naming.h"

namespace meldlux {

namespace {

constexpr int kFromControl = 1;

} // namespace

FmsControlHandler::FmsControlHandler(HandlerContext context) : c_(context) {}

QString FmsControlHandler::codedPlaceKey(const QString& text) {
  if (text.size() != 27 || !text.startsWith(u"&&9") || !IsHexDigits(QStringView(text).mid(2)))
    return {};
  return QStringLiteral("&TRN") + text.mid(11, 8) + u'E' + text.mid(3, 8);
}

void FmsControlHandler::HandleFmsControl(QString& identifier, std::int16_t& status, QString& text,
                                         OleDate& time) {
  c_.steps.defaultTime(time);
  c_.steps.countFms();

  const VehicleNaming vehicle = nameVehicle(identifier, c_.reference, c_.statusTables);
  if (vehicle.index == 0 && !c_.options.checked(Check::chkUnbekFMS))
    return;

  const int org = OrgIndex(identifier);
  const auto sender = [&](JournalKind kind) {
    return journalTelegram(kind, JournalDirection::FromControl, identifier,
                           vehicle.index > 0 ? trimSpaces(vehicle.name) : QString(), status,
                           trimSpaces(text));
  };
  if (c_.options.text(Text::txtMsgOnly).contains(filterCode(kFromControl, status))) {
    if (status != 10 && c_.options.checked(Check::chkMsgAktiv))
      commandLine(vehicle.name, status, org, text, time, sender(JournalKind::FmsControl));
    // The watched vehicle's Sprechaufforderung sounds every time, repeats included.
    if (status == 6)
      c_.sounds.playSprechaufforderung(identifier);
    if (status == 10)
      textTelegram(vehicle.name, org, text, time, sender(JournalKind::Text));
  } else if (status >= 0 && status < StatusTables::kStatuses) {
    journalUnshown(
        c_, sender(status == 10 ? JournalKind::Text : JournalKind::FmsControl),
        JournalMark::Filtered, time,
        fmsLine(vehicle.name, status, c_.statusTables.text(status, org, kFromControl), text),
        c_.statusTables.colour(status == 10 ? 10 : StatusTables::kInformation));
  }

  if (c_.options.checked(Check::chkMsgAktiv)) {
    c_.popup.RefreshLines();
    c_.popup.LayoutPopup();
  }
}

void FmsControlHandler::commandLine(const QString& name, std::int16_t status, int org,
                                    QString& text, OleDate time, JournalEntry sender) {
  const QString trimmed = trimSpaces(text);
  if (!trimmed.isEmpty())
    text = QStringLiteral(" [") + trimmed + u']';
  QString line = name + u' ' + formatRightAligned2(status) + u' ' +
                 c_.statusTables.text(status, org, kFromControl) + u' ' + text;
  if (c_.popup.IsRecentDuplicate(line)) {
    journalUnshown(c_, std::move(sender), JournalMark::Repeat, time, line,
                   c_.statusTables.colour(StatusTables::kInformation));
    return;
  }
  c_.popup.ShowPopup();
  c_.popup.AddMessage(time, line, c_.statusTables.colour(StatusTables::kInformation));
  c_.popup.MarkNewestLine();
  journalLine(c_, std::move(sender), time, line,
              c_.statusTables.colour(StatusTables::kInformation));
}

void FmsControlHandler::textTelegram(const QString& name, int org, QString& text, OleDate time,
                                     JournalEntry sender) {
  if (c_.places.PlaceCount >= 2) {
    const QString key = codedPlaceKey(text);
    if (!key.isEmpty()) {
      const QString place = c_.places.LookupPlace(key);
      if (!place.isEmpty())
        text = QStringLiteral("==> ") + place + QStringLiteral(" <==");
    }
  }
  if (StripNul(text).isEmpty())
    text = c_.statusTables.text(10, org, kFromControl);
  if (c_.popup.IsRecentDuplicate(name + QStringLiteral(" 10 ") + text)) {
    journalUnshown(c_, std::move(sender), JournalMark::Repeat, time,
                   name + QStringLiteral(" 10 ") + text, c_.statusTables.colour(10));
    return;
  }
  c_.sounds.playControlText();
  if (c_.options.checked(Check::chkMsgAktiv)) {
    // The popup's labels show "&&" as one "&".
    text.replace(u'&', QStringLiteral("&&"));
    c_.popup.ShowPopup();
    QString line = name + QStringLiteral(" 10 ") + text;
    c_.popup.AddMessage(time, line, c_.statusTables.colour(10));
    c_.popup.MarkNewestLine();
    journalLine(c_, std::move(sender), time, line, c_.statusTables.colour(10));
  }
}

} // namespace meldlux

