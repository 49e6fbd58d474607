// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes, as the socket would deliver them, to the receive procedure. Every
// telegram line must reach a handler or be dropped; nothing may crash, hang or fail the block.
#include "base/clock.h"
#include "base/cp1252.h"
#include "base/event_log.h"
#include "link/receiver.h"
#include "link/telegram_handlers.h"
#include "refdata/follow_up_places.h"
#include "state/indicators.h"
#include "state/link_state.h"
#include "state/options.h"
#include "state/status_label.h"

#include <cstdint>
#include <cstdlib>

namespace {

using namespace meldlux;

class CheckingHandlers : public TelegramHandlers {
public:
  void HandleZvei(QString&, OleDate& time) override { check(time); }
  void HandlePocsag(QString&, QString& text, QString& function, OleDate& time) override {
    // The text is trimmed; the function is trimmed in the tab format and, in the marker format,
    // the identifier's last character as it is, which may be a blank.
    if (text.startsWith(u' ') || text.endsWith(u' ') ||
        (function.size() > 1 && function.endsWith(u' ')))
      std::abort();
    check(time);
  }
  void HandleFmsVehicle(QString&, std::int16_t& status, QString&, OleDate& time) override {
    checkStatus(status);
    check(time);
  }
  void HandleFmsControl(QString&, std::int16_t& status, QString&, OleDate& time) override {
    checkStatus(status);
    check(time);
  }

private:
  static void checkStatus(std::int16_t status) {
    if (status > 18)
      std::abort();
  }
  static void check(OleDate time) {
    if (time != time) // never NaN
      std::abort();
  }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ManualClock clock;
  EventLog log;
  LinkState state;
  StatusLabel statusLabel(log);
  Options options;
  Indicators indicators(log);
  FollowUpPlaces places;
  CheckingHandlers handlers;
  Receiver receiver(clock, state, statusLabel, options, indicators, places);
  receiver.setHandlers(&handlers);

  // The first byte chooses where to cut the input into two blocks, as the network might.
  const std::size_t cut = size > 0 ? std::size_t(data[0]) * size / 256 : 0;
  const QString first =
      cp1252::decode(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(cut)));
  const QString second = cp1252::decode(
      QByteArrayView(reinterpret_cast<const char*>(data + cut), qsizetype(size - cut)));
  receiver.Winsock2_DataArrival(first);
  clock.advance(200);
  receiver.Winsock2_DataArrival(second);

  const auto pieces =
      first.count(QStringLiteral("\r\n")) + second.count(QStringLiteral("\r\n")) + 2;
  if (state.ReceivedTotal > pieces || statusLabel.caption() != QStringLiteral("Unbekannt"))
    std::abort();
  return 0;
}
