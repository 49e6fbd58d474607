// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/telegram_handlers.h"

namespace meldlux {

// One telegram on its way through a ForwardingHandlers: which of the four calls it is and that
// call's arguments, still the dispatcher's own variables. What a call does not have is null.
struct TelegramCall {
  enum class Kind { Zvei, Pocsag, FmsVehicle, FmsControl };

  Kind kind;
  QString& sender; // the ZVEI code, the RIC or the FMS identifier
  OleDate& time;
  QString* text = nullptr;        // POCSAG and FMS
  QString* function = nullptr;    // POCSAG
  std::int16_t* status = nullptr; // FMS
};

// Stands in front of other handlers and hands every telegram on to them. A class that adds
// something on the way overrides `pass` alone, so the four calls are forwarded in one place.
class ForwardingHandlers : public TelegramHandlers {
public:
  explicit ForwardingHandlers(TelegramHandlers& inner) : inner_(inner) {}

  void HandleZvei(QString& code, OleDate& time) final;
  void HandlePocsag(QString& ric, QString& text, QString& function, OleDate& time) final;
  void HandleFmsVehicle(QString& identifier, std::int16_t& status, QString& text,
                        OleDate& time) final;
  void HandleFmsControl(QString& identifier, std::int16_t& status, QString& text,
                        OleDate& time) final;

protected:
  // Every telegram comes through here; as it stands, it goes on unchanged.
  virtual void pass(TelegramCall& call) { forward(call); }
  // The inner handlers' call for the telegram.
  void forward(TelegramCall& call);

private:
  TelegramHandlers& inner_;
};

} // namespace meldlux
