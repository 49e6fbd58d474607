// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSet>
#include <QString>
#include <functional>

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
  // The sounds shipped with the program, one per kind, stand in for a named file that cannot be
  // played; notice tells the user so, once per name.
  struct Shipped {
    QString folder; // empty: none
    std::function<void(const QString&)> notice;
  };
  // The shipped files' names in that folder.
  static constexpr const char* kShippedAlarm = "alarm.wav";
  static constexpr const char* kShippedStatus = "status.wav";
  static constexpr const char* kShippedText = "text.wav";
  static constexpr const char* kShippedSprechaufforderung = "sprechaufforderung.wav";
  static constexpr const char* kShippedWarning = "stoerung.wav";

  AlertSounds(const Options& options, const Clock& clock, const LinkState& link, EventLog& log,
              SoundPlayer& player, Shipped shipped = {});

  // More than 50 seconds since the connection was made: the backlog the server delivers right
  // after connecting stays silent.
  bool quietStartOver() const;

  void playAlarm();
  void playVehicleStatus();
  void playControlText();
  // Only when the trimmed "SAKennung" occurs in the identifier (an empty one occurs in all).
  void playSprechaufforderung(const QString& identifier);
  // The alarm chain's warning, whatever the boxes say: an empty file setting plays the shipped
  // warning sound.
  void playWarning(const QString& fileSettingText);

private:
  void request(const QString& fileSettingText, const char* shippedFile);

  const Options& options_;
  const Clock& clock_;
  const LinkState& link_;
  EventLog& log_;
  SoundPlayer& player_;
  Shipped shipped_;
  QSet<QString> noticed_; // the names told of already
};

} // namespace meldlux
