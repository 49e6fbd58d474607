// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds received blocks through the program's whole object graph: receive procedure, both
// dispatchers, the traffic-mode tracker, the four telegram handlers and the popup model, with a
// few vehicles, codes, receivers, places and replacements loaded. Between blocks the clock moves
// on and the timers, the tray and the popup's mouse may act.
//
// Input: 4 option bytes, then blocks separated by the byte 0x1E; every block after the first
// starts with one action byte.
//   byte 0  bit 0 MsgAktiv, 1 HideRIC, 2 UnbekFME, 3 UnbekFMS, 4 AnzSW, 5 AnzES, 6 sounds,
//           7 show-only list holding every code (else the default list)
//   byte 1  MsgLines 0..32 (so the box's clamp takes part), byte 2 MsgTime 0..79,
//   byte 3  UnterdrueckenSek -128..127
//   action  bits 0-2 how far the clock moves, 3 cleanup tick, 4 popup display timer,
//           5 tray click, 6 tray shift-click, 7 right click on the popup
//
// Nothing may crash; besides that, what must hold whatever arrives:
// - a handler gets a status of at most 18, a time that is a number, a trimmed POCSAG text and
//   function (the marker format's one function character excepted), and counts exactly its one
//   telegram;
// - a handler puts at most one line into the message list, none while popup messages are off;
// - the list fills from the top without gaps, 31 lines at most, in the status colours only;
// - LastLine stays within -1 .. MsgLines - 1, the popup's line labels within 1 .. 31;
// - a right-click hold is never broken by anything but its time running out;
// - no line ever fails the receive procedure itself ("Err:" in the status label);
// - accepted lines never outnumber received pieces, handled ones never accepted ones;
// - the traffic mode is one of its two names (or not yet known), "Sternverkehr" only after more
//   than three control-centre telegrams.
#include "app/application.h"
#include "base/clock.h"
#include "base/cp1252.h"
#include "base/event_log.h"
#include "base/failure.h"
#include "link/forwarding_handlers.h"
#include "property.h"
#include "qt_application.h"
#include "tables/builtin_tables.h"

#include <QCoreApplication>
#include <QSet>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace meldlux;

bool sameEntry(const MessageEntry& a, const MessageEntry& b) {
  return a.Time == b.Time && a.Text == b.Text && a.colour == b.colour;
}

// 0: the list is as it was; 1: one line came in at the top; -1: anything else.
int linesAdded(const MessageList& before, const MessageList& after) {
  bool same = true;
  bool shifted = true;
  for (int i = 0; i < MessageList::kSize; ++i) {
    same = same && sameEntry(before[i], after[i]);
    if (i + 1 < MessageList::kSize)
      shifted = shifted && sameEntry(before[i], after[i + 1]);
  }
  return same ? 0 : shifted ? 1 : -1;
}

// The program's own handlers, watched from outside on every call.
class ObservedHandlers final : public ForwardingHandlers {
public:
  explicit ObservedHandlers(Application& app) : ForwardingHandlers(app.handlers()), app_(app) {}

  int calls = 0;

private:
  void pass(TelegramCall& call) override {
    require(std::isfinite(call.time), "telegram time not a number");
    const HandlerSteps& steps = app_.handlerSteps();
    switch (call.kind) {
    case TelegramCall::Kind::Zvei:
      return watch(steps.ReceivedFme, call);
    case TelegramCall::Kind::Pocsag:
      require(!call.text->startsWith(u' ') && !call.text->endsWith(u' '),
              "POCSAG text not trimmed");
      // Trimmed in the tab format; in the marker format one character as it came, a blank too.
      require(call.function->size() <= 1 || !call.function->endsWith(u' '),
              "POCSAG function not trimmed");
      return watch(steps.ReceivedDme, call);
    case TelegramCall::Kind::FmsVehicle:
      require(*call.status <= 18, "vehicle status above 18");
      require(app_.linkState().TrafficMode == u"Kreisverkehr",
              "vehicle telegram without Kreisverkehr");
      return watch(steps.ReceivedFms, call);
    case TelegramCall::Kind::FmsControl:
      require(*call.status <= 18, "control-centre status above 18");
      return watch(steps.ReceivedFms, call);
    }
  }

  void watch(const std::int32_t& counter, TelegramCall& call) {
    ++calls;
    const std::int32_t countBefore = counter;
    const MessageList before = app_.popupModel().messages();
    bool failed = false;
    try {
      forward(call);
    } catch (const Failure&) {
      failed = true; // the dispatcher drops the line; what was done so far must still hold
    }
    require(counter == countBefore + 1, "a handler did not count its telegram exactly once");
    const MessageList& after = app_.popupModel().messages();
    const int added = linesAdded(before, after);
    require(added >= 0, "a handler changed the list other than by one new line");
    require(added == 0 || app_.options().checked(Check::chkMsgAktiv),
            "a line was added while popup messages are off");
    if (failed)
      throw Failure(QStringLiteral("rethrown"));
  }

  Application& app_;
};

void loadReferenceData(Application& app) {
  const ZentrixReader defaults = [](const QString&, const QString&, const QString& fallback) {
    return fallback;
  };
  StatusTables& tables = app.statusTables();
  fillStatusColours(tables, defaults, QStringLiteral("255"), QStringLiteral("65280"));
  fillStatusTexts(tables);
  fillOrgCodes(tables, defaults);

  ReferenceTables& reference = app.referenceTables();
  reference.vehicles.resize(4);
  const std::pair<const char*, const char*> vehicles[] = {
      {"64123456", "Florian Musterstadt 1/44-1"},
      {"63123456", "Florian Musterstadt 1/10"},
      {"X1234567", "Kennung ohne BOS-Ziffer"}};
  int index = 1;
  for (const auto& [identifier, name] : vehicles) {
    VehicleRecord record;
    record.identifier.store(QString::fromLatin1(identifier));
    record.name.store(QString::fromLatin1(name));
    reference.vehicles.set(index++, record);
  }
  FiveToneRecord tone;
  tone.code.store(u"12345");
  tone.name.store(u"Feuerwehr Musterstadt");
  reference.fiveTones.set(1, tone);
  PocsagRecord pager;
  pager.ric = 1234567;
  pager.subAddress = 1;
  pager.name.store(u"Wehrführer");
  reference.pocsag.set(1, pager);
  pager.subAddress = 4;
  pager.name.store(u"Löschzug");
  reference.pocsag.set(2, pager);
  reference.followUpPlaces.set(7, QStringLiteral("Musterstadt"));

  PlaceTable& places = app.places();
  places.setRow(0, QStringLiteral("&TRN11223344E55667788"), QStringLiteral("Musterstadt Mitte"));
  places.setRow(1, QStringLiteral("&TRNAABBCCDDE00112233"), QStringLiteral("Bahnhof"));
  places.PlaceCount = 2;

  ReplacementTable& replacements = app.replacements();
  replacements.rows[0] = {QStringLiteral("Einsatz"), QStringLiteral("EINSATZ")};
  replacements.rows[1] = {QStringLiteral("&&"), QStringLiteral("&")};
  replacements.ReplacementCount = 2;
}

void setOptions(Options& options, const std::uint8_t* header) {
  const Check boxes[] = {Check::chkMsgAktiv, Check::chkHideRIC, Check::chkUnbekFME,
                         Check::chkUnbekFMS, Check::chkSW,      Check::chkES};
  for (int bit = 0; bit < 6; ++bit)
    options.setChecked(boxes[bit], (header[0] >> bit) & 1);
  const bool sounds = (header[0] >> 6) & 1;
  for (Check box : {Check::chkSndAlarm, Check::chkSndFzg, Check::chkSndText, Check::chkSndSA})
    options.setChecked(box, sounds);
  options.setText(Text::txtSndSAKennung, QStringLiteral("6312"));
  if ((header[0] >> 7) & 1) {
    QStringList codes;
    for (int direction = 0; direction < 2; ++direction)
      for (int status = 0; status <= 18; ++status)
        codes << QString::number(direction) + QString::number(status).rightJustified(2, u'0');
    options.setText(Text::txtMsgOnly, codes.join(u';'));
  }
  options.setText(Text::txtMsgLines, QString::number(header[1] % 33));
  options.setText(Text::txtMsgTime, QString::number(header[2] % 80));
  options.SuppressSeconds = std::int8_t(header[3]);
}

constexpr double kClockSteps[] = {0, 0.2, 1, 2.5, 6, 61, 181, 3600};

void act(Application& app, ManualClock& clock, std::uint8_t action) {
  clock.advance(kClockSteps[action & 7]);
  PopupModel& popup = app.popupModel();
  if (action & 0x08)
    app.cleanupTick().TimerCleanup_Timer();
  if (action & 0x10)
    popup.Timer1_Timer();
  if (action & 0x20)
    popup.TrayClick(u"LBUTTONDOWN");
  if (action & 0x40)
    popup.TrayClick(u"LBUTTONDOWNSHIFT");
  if (action & 0x80) {
    popup.lblText_MouseDown(0, Qt::RightButton, Qt::NoModifier);
    popup.lblText_MouseUp(0);
  }
}

void checkState(Application& app, const ObservedHandlers& handlers, qsizetype pieces, int msgLines,
                const QSet<Colour>& colours) {
  const LinkState& link = app.linkState();
  require(link.ReceivedTotal <= pieces, "more accepted lines than received pieces");
  const HandlerSteps& steps = app.handlerSteps();
  require(steps.ReceivedFms + steps.ReceivedFme + steps.ReceivedDme == handlers.calls,
          "handler counters do not match the calls");
  require(handlers.calls <= link.ReceivedTotal, "more handled lines than accepted ones");
  require(!app.statusLabel().caption().startsWith(u"Err:"), "the receive procedure failed");
  require(link.TrafficMode.isEmpty() || link.TrafficMode == u"Kreisverkehr" ||
              link.TrafficMode == u"Sternverkehr",
          "unknown traffic mode");
  require(link.TrafficMode != u"Sternverkehr" || link.StarCount > 3,
          "Sternverkehr without enough control-centre telegrams");

  const PopupModel& popup = app.popupModel();
  bool empty = false;
  for (int i = 0; i < MessageList::kSize; ++i) {
    const MessageEntry& entry = popup.messages()[i];
    if (entry.Time == 0) {
      empty = true;
      continue;
    }
    require(!empty, "a gap in the message list");
    require(std::isfinite(entry.Time), "a message time that is not a number");
    require(colours.contains(entry.colour), "a line in a colour that is no status colour");
  }
  require(popup.LastLine() >= -1 && popup.LastLine() < msgLines, "LastLine out of range");
  require(popup.lineCount() >= 1 && popup.lineCount() <= MessageList::kSize,
          "line labels out of range");
  require(popup.height() >= 0, "negative popup height");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  needQtApplication("fuzz_wire_path");

  std::uint8_t header[4] = {0xFF, 30, 30, 60};
  const std::size_t headerSize = size < 4 ? size : 4;
  for (std::size_t i = 0; i < headerSize; ++i)
    header[i] = data[i];
  const QByteArray rest(reinterpret_cast<const char*>(data + headerSize),
                        qsizetype(size - headerSize));

  auto clockOwned = std::make_unique<ManualClock>();
  ManualClock& clock = *clockOwned;
  Application app(std::move(clockOwned), std::make_unique<EventLog>());
  loadReferenceData(app);
  setOptions(app.options(), header);
  app.linkState().ConnectedSince = clock.now() - 60 / kSecondsPerDay;
  app.linkState().LastVehicleTelegram = clock.now();
  app.popupOptionRules().armPopup();
  ObservedHandlers handlers(app);
  app.receiver().setHandlers(&handlers);

  QSet<Colour> colours;
  for (int i = 0; i < 19; ++i)
    colours.insert(app.statusTables().colour(i));
  const int msgLines = int(app.options().number(Text::txtMsgLines));

  qsizetype pieces = 0;
  bool first = true;
  for (QByteArray block : rest.split('\x1E')) {
    const bool visibleBefore = app.popupModel().visible();
    if (!first && !block.isEmpty()) {
      act(app, clock, std::uint8_t(block[0]));
      block.remove(0, 1);
    }
    first = false;
    const QString text = cp1252::decode(block);
    pieces += text.count(QStringLiteral("\r\n")) + 1;
    app.receiver().Winsock2_DataArrival(text);
    if (!visibleBefore && app.popupModel().visible())
      require(clock.now() > app.popupModel().HiddenUntil, "shown during a right-click hold");
    checkState(app, handlers, pieces, msgLines, colours);
  }
  return 0;
}
