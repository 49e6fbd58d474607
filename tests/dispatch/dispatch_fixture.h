// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/clock.h"
#include "base/event_log.h"
#include "base/failure.h"
#include "link/receiver.h"
#include "link/telegram_handlers.h"
#include "refdata/follow_up_places.h"
#include "state/indicators.h"
#include "state/link_state.h"
#include "state/options.h"
#include "state/status_label.h"

#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

namespace meldlux::testing {

// Records every handler call, as text ("Z:code", "P:ric:function:text",
// "V:identifier:status:text" for vehicles, "C:..." for the control centre) and its time; can be
// told to fail like a real handler that meets a bad telegram.
class RecordingHandlers : public TelegramHandlers {
public:
  QStringList calls;
  std::vector<OleDate> times;
  bool failNext = false;
  std::function<void()> onCall; // e.g. time passing while a call is handled
  bool scribble = false;        // writes on the strings it is given, as a handler may

  void HandleZvei(QString& code, OleDate& time) override {
    record("Z:" + code, time);
    scribbleOn(code);
  }
  void HandlePocsag(QString& ric, QString& text, QString& function, OleDate& time) override {
    record(QStringList{"P", ric, function, text}.join(u':'), time);
    scribbleOn(ric, text, function);
  }
  void HandleFmsVehicle(QString& identifier, std::int16_t& status, QString& text,
                        OleDate& time) override {
    record(QStringList{"V", identifier, QString::number(status), text}.join(u':'), time);
    scribbleOn(identifier, text);
  }
  void HandleFmsControl(QString& identifier, std::int16_t& status, QString& text,
                        OleDate& time) override {
    record(QStringList{"C", identifier, QString::number(status), text}.join(u':'), time);
    scribbleOn(identifier, text);
  }

  void clear() {
    calls.clear();
    times.clear();
  }

private:
  template <typename... Texts> void scribbleOn(Texts&... texts) {
    if (scribble)
      ((texts = QStringLiteral("ÄÖÜ;(1)") + texts + u'ß'), ...);
  }
  void record(const QString& call, OleDate time) {
    calls << call;
    times.push_back(time);
    if (onCall)
      onCall();
    if (failNext) {
      failNext = false;
      throw Failure(QStringLiteral("Index außerhalb des gültigen Bereichs"));
    }
  }
};

// A receive procedure wired to real models, a manual clock and recording handlers.
class DispatchTest : public ::testing::Test {
protected:
  DispatchTest() {
    receiver.setHandlers(&handlers);
    places.set(7, QStringLiteral("Musterstadt"));
    options.setChecked(Check::chkMsgAktiv, true);
  }

  void receive(const QString& block) { receiver.Winsock2_DataArrival(block); }
  // The lines as one block, each but the last ended by CR LF.
  void receive(const QStringList& lines) { receive(lines.join(QStringLiteral("\r\n"))); }
  void receiveLine(const QString& line) { receive(line + QStringLiteral("\r\n")); }

  // Each line on its own must give exactly the handler call next to it.
  void expectCalls(const std::vector<std::pair<QString, QString>>& rows) {
    for (const auto& [line, call] : rows) {
      SCOPED_TRACE(line.toStdString());
      handlers.clear();
      receiveLine(line);
      EXPECT_EQ(handlers.calls, QStringList{call});
    }
  }

  // A tab-format FMS line: f1 identifier, f6 status, f8 direction, f10 text kind, f12 place,
  // f13 text; fieldCount cuts it to f0..f(fieldCount-1).
  static QString tabFms(const QString& status, const QString& direction, const QString& kind = {},
                        const QString& place = {}, const QString& text = {}, int fieldCount = 14) {
    const QStringList f{"FMSTlg", "64123456", {}, {},   {}, {},    status,
                        {},       direction,  {}, kind, {}, place, text};
    return f.mid(0, fieldCount).join(u'\t');
  }

  // A marker-format line with date and time in f0/f1; fieldCount 11 leaves the text out.
  static QString marker(const QString& identifier, const QString& type, const QString& direction,
                        const QString& text = {}, int fieldCount = 12,
                        const QString& date = QStringLiteral("04.12.26"),
                        const QString& time = QStringLiteral("20:15:00")) {
    const QStringList f{
        "#!XX!#" + date, time, identifier, type, "x", direction, {}, {}, {}, {}, {}, text};
    return f.mid(0, fieldCount).join(QStringLiteral("#![]!#"));
  }
  // Marker-format FMS telegrams of vehicle 64123456 and the control centre.
  static QString vehicle(const QString& status, const QString& text = {}, int fieldCount = 12) {
    return marker(QStringLiteral("64123456"), status, QStringLiteral("false"), text, fieldCount);
  }
  static QString control(const QString& status, const QString& text = {}, int fieldCount = 12) {
    return marker(QStringLiteral("64123456"), status, QStringLiteral("true"), text, fieldCount);
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
