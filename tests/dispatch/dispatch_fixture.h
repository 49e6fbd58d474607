#pragma once

#include "base/clock.h"
#include "base/event_log.h"
#include "display/indicators.h"
#include "link/link_state.h"
#include "link/receiver.h"
#include "link/status_label.h"
#include "recording_handlers.h"
#include "refdata/follow_up_places.h"
#include "settings/options.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace meldlux::testing {

// A receive procedure wired to real models, a manual clock and recording handlers.
class DispatchTest : public ::testing::Test {
protected:
  DispatchTest() {
    receiver.setHandlers(&handlers);
    places.set(7, QStringLiteral("Musterstadt"));
    options.setChecked(Check::chkMsgAktiv, true);
  }

  void receive(const QString& block) { receiver.Winsock2_DataArrival(block); }
  void receiveLine(const QString& line) { receive(line + QStringLiteral("\r\n")); }

  // A tab-format FMS line: f1 identifier, f6 status, f8 direction, f10 text kind, f12 place,
  // f13 text; fieldCount cuts it to f0..f(fieldCount-1).
  static QString tabFms(const QString& status, const QString& direction, const QString& kind = {},
                        const QString& place = {}, const QString& text = {}, int fieldCount = 14,
                        const QString& identifier = QStringLiteral("64123456")) {
    QStringList f(14);
    f[0] = QStringLiteral("FMSTlg");
    f[1] = identifier;
    f[6] = status;
    f[8] = direction;
    f[10] = kind;
    f[12] = place;
    f[13] = text;
    return f.mid(0, fieldCount).join(u'\t');
  }

  // A marker-format line with date and time in f0/f1; fieldCount 11 leaves the text out.
  static QString marker(const QString& identifier, const QString& type, const QString& direction,
                        const QString& text = {}, int fieldCount = 12,
                        const QString& date = QStringLiteral("04.12.26"),
                        const QString& time = QStringLiteral("20:15:00")) {
    QStringList f(12);
    f[0] = QStringLiteral("#!XX!#") + date;
    f[1] = time;
    f[2] = identifier;
    f[3] = type;
    f[4] = QStringLiteral("x");
    f[5] = direction;
    f[11] = text;
    return f.mid(0, fieldCount).join(QStringLiteral("#![]!#"));
  }

  ManualClock clock{46360.5}; // 04.12.2026 12:00:00
  EventLog log;
  LinkState state;
  StatusLabel statusLabel{log};
  Options options;
  Indicators indicators{log};
  FollowUpPlaces places;
  Receiver receiver{clock, state, statusLabel, options, indicators, places};
  RecordingHandlers handlers;
};

} // namespace meldlux::testing
