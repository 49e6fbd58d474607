#pragma once

#include "base/failure.h"
#include "link/telegram_handlers.h"

#include <QString>
#include <vector>

namespace meldlux::testing {

// Records every handler call with its arguments; can be told to fail like a real handler that
// meets a bad telegram.
class RecordingHandlers : public TelegramHandlers {
public:
  enum class Kind { Zvei, Pocsag, FmsVehicle, FmsControl };
  struct Call {
    Kind kind;
    QString first; // code, RIC or identifier
    QString text;  // alarm or telegram text
    QString function;
    std::int16_t status = 0;
    OleDate time = 0;
  };

  std::vector<Call> calls;
  bool failNext = false;

  void HandleZvei(QString& code, OleDate& time) override {
    record({Kind::Zvei, code, {}, {}, 0, time});
  }
  void HandlePocsag(QString& ric, QString& text, QString& function, OleDate& time) override {
    record({Kind::Pocsag, ric, text, function, 0, time});
  }
  void HandleFmsVehicle(QString& identifier, std::int16_t& status, QString& text,
                        OleDate& time) override {
    record({Kind::FmsVehicle, identifier, text, {}, status, time});
  }
  void HandleFmsControl(QString& identifier, std::int16_t& status, QString& text,
                        OleDate& time) override {
    record({Kind::FmsControl, identifier, text, {}, status, time});
  }

  const Call& last() const { return calls.back(); }

private:
  void record(Call call) {
    calls.push_back(std::move(call));
    if (failNext) {
      failNext = false;
      throw Failure(QStringLiteral("Index außerhalb des gültigen Bereichs"));
    }
  }
};

} // namespace meldlux::testing
