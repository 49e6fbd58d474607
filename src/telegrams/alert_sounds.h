#pragma once

#include <QString>

namespace meldlux {

class Clock;
class EventLog;
class Options;
class SoundPlayer;
struct LinkState;

// The four alert sounds and their own conditions (on/off box, quiet start, watched identifier).
// The handlers decide when an event qualifies; every request made here is logged, whether the
// file exists or not.
class AlertSounds {
public:
  AlertSounds(const Options& options, const Clock& clock, const LinkState& link, EventLog& log,
              SoundPlayer& player);

  // More than 50 seconds since the connection was made: the backlog the server delivers right
  // after connecting stays silent.
  bool quietStartOver() const;

  void playAlarm();
  void playVehicleStatus();
  void playControlText();
  // Only when the trimmed "SAKennung" occurs in the identifier (an empty one occurs in all).
  void playSprechaufforderung(const QString& identifier);

private:
  void request(const QString& fileSettingText);

  const Options& options_;
  const Clock& clock_;
  const LinkState& link_;
  EventLog& log_;
  SoundPlayer& player_;
};

} // namespace meldlux
