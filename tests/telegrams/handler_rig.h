// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/clock.h"
#include "base/event_log.h"
#include "display/foreground.h"
#include "display/popup_model.h"
#include "display/screen.h"
#include "display/text_metrics.h"
#include "journal/journal_sink.h"
#include "link/receiver.h"
#include "refdata/place_table.h"
#include "refdata/reference_tables.h"
#include "refdata/replacements.h"
#include "state/indicators.h"
#include "state/link_state.h"
#include "state/options.h"
#include "state/status_label.h"
#include "tables/builtin_tables.h"
#include "tables/status_tables.h"
#include "telegrams/alert_sounds.h"
#include "telegrams/handler_steps.h"
#include "telegrams/telegram_handler_set.h"
#include "telegrams/tray_tip.h"
#include "test_support.h"

#include <gtest/gtest.h>

// The whole road of a telegram without widgets: received block -> dispatch -> handlers -> popup
// model, with a manual clock, a recording sound player and an event log in a scratch folder.
class HandlerRig : public ::testing::Test {
protected:
  HandlerRig() {
    using namespace meldlux;
    // The built-in texts and organisation codes, as without server product settings; a colour of
    // its own for every status, so a line that takes the wrong entry shows it.
    const ZentrixReader defaults = [](const QString& section, const QString& key,
                                      const QString& fallback) {
      return section == u"Statusfarben"_qs ? QString::number(rigColour(key.toInt())) : fallback;
    };
    fillStatusColours(tables, defaults, QString::number(rigColour(kZvei)),
                      QString::number(rigColour(kPocsag)));
    fillStatusTexts(tables);
    fillOrgCodes(tables, defaults);

    // Connected a minute ago: the quiet start is over unless a test says otherwise.
    link.ConnectedSince = clock.now() - 60 / kSecondsPerDay;
    options.setText(Text::txtMsgLines, u"30"_qs);
    for (Check box : {Check::chkSndAlarm, Check::chkSndFzg, Check::chkSndText, Check::chkSndSA})
      options.setChecked(box, true);
    options.setText(Text::txtSndAlarm, u"alarm.wav"_qs);
    options.setText(Text::txtSndFzg, u"status.wav"_qs);
    options.setText(Text::txtSndText, u"text.wav"_qs);
    options.setText(Text::txtSndSA, u"sa.wav"_qs);
    options.setText(Text::txtSndSAKennung, u"6312"_qs);
    options.InTray = true;

    addVehicle(1, u"64123456"_qs, u"Florian Musterstadt 1/44-1"_qs);
    addVehicle(2, u"63123456"_qs, u"Florian Musterstadt 1/10"_qs);
    addVehicle(3, u"X1234567"_qs, u"Kennung ohne BOS-Ziffer"_qs);
    receiver.setHandlers(&handlers);
  }

  void addVehicle(int index, const QString& identifier, const QString& name) {
    if (reference.vehicles.upperBound() < index + 10)
      reference.vehicles.resize(index + 10);
    meldlux::VehicleRecord record;
    record.identifier.store(identifier);
    record.name.store(name);
    reference.vehicles.set(index, record);
  }

  // One block as the socket would deliver it: the lines, each ending with CR LF.
  void receive(const QStringList& lines) {
    link.ReceiveBurstStart = -100; // a fresh burst window for every block
    receiver.Winsock2_DataArrival(lines.join(u"\r\n"_qs) + u"\r\n"_qs);
  }
  void receive(const QString& line) { receive(QStringList{line}); }

  // Names as the line shows them: the record's 30-character field.
  static QString pad30(const QString& name) { return name.leftJustified(30, u' ', true); }
  const QString kName1 = pad30(u"Florian Musterstadt 1/44-1"_qs);
  const QString kName2 = pad30(u"Florian Musterstadt 1/10"_qs);

  static QString fms(const QString& identifier, int status, bool fromVehicle,
                     const QString& f10 = {}, const QString& f12 = {}, const QString& f13 = {}) {
    return u"FMSTlg\t"_qs + identifier + u"\t\t\t\t\t"_qs + QString::number(status) + u"\t\t"_qs +
           (fromVehicle ? u"0"_qs : u"1"_qs) + u"\t\t"_qs + f10 + u"\t\t"_qs + f12 + u"\t"_qs + f13;
  }
  static QString zvei(const QString& code) { return u"ZVEI\t"_qs + code; }
  static QString poc(const QString& ric, const QString& function, const QString& text) {
    return u"POC\t"_qs + ric + u"\t"_qs + function + u"\t"_qs + text;
  }

  // The message list, newest first.
  QStringList lines() const {
    QStringList result;
    for (int k = 0; k < meldlux::MessageList::kSize; ++k)
      if (popup.messages()[k].Time != 0)
        result << popup.messages()[k].Text;
    return result;
  }
  // How many lines the list holds and how many sounds were asked for, in one comparison.
  QString counts() const {
    return u"lines=%1 sounds=%2"_qs.arg(lines().size()).arg(player.played.size());
  }
  meldlux::Colour newestColour() const { return popup.messages()[0].colour; }
  // What the popup's label shows: only a refresh after the handler brings a new line there.
  QString shownLine(int k = 0) const { return popup.lblText(k).caption; }

  // The rig's colour table: statuses 0-15, then ZVEI and POCSAG; information lines stay white.
  static constexpr int kZvei = 16;
  static constexpr int kPocsag = 17;
  static constexpr meldlux::Colour kWhite = 16777215;
  static constexpr meldlux::Colour rigColour(int entry) { return 0x010000 + entry * 0x0101; }

  EventLogFile logFile;
  meldlux::EventLog log{logFile.path()};
  meldlux::ManualClock clock;
  meldlux::Options options;
  meldlux::LinkState link;
  meldlux::StatusLabel status{log};
  meldlux::Indicators indicators{log};
  meldlux::StatusTables tables;
  meldlux::ReferenceTables reference;
  meldlux::PlaceTable places;
  meldlux::ReplacementTable replacements;
  meldlux::FixedScreen screen;
  meldlux::FixedTextMetrics metrics;
  meldlux::NoForeground foreground;
  meldlux::PopupModel popup{options,
                            clock,
                            link,
                            replacements,
                            indicators,
                            log,
                            meldlux::PopupPorts{screen, metrics, foreground}};
  RecordingSoundPlayer player;
  meldlux::AlertSounds sounds{options, clock, link, log, player};
  meldlux::TrayTip tray{log};
  meldlux::HandlerSteps steps{clock, link, options, status, tray};
  // Where the handlers' journal lines go; nowhere until a test gives it a target.
  meldlux::JournalRelay journal;
  meldlux::TelegramHandlerSet handlers{meldlux::HandlerContext{
      options, clock, tables, reference, places, popup, indicators, steps, sounds, &journal}};
  meldlux::Receiver receiver{clock, link, status, options, indicators, reference.followUpPlaces};
};
