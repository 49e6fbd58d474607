// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio_track.h"

#include <QString>
#include <QStringList>

namespace meldlux::signal {

// Turns scenario lines into audio, one telegram after another with a gap between them:
//   zvei CODE
//   fms IDENTIFIER STATUS DIRECTION [damaged]   (direction 0 vehicle, 1 control centre)
//   pocsag RATE RIC FUNCTION alpha|numeric [TEXT...]
//   gap MILLISECONDS
//   pocsag RATE RIC FUNCTION                        (a page without a message)
// Blank lines and lines starting with "#" are skipped.
class SignalScript {
public:
  explicit SignalScript(double gapSeconds) : gapSeconds_(gapSeconds) {}

  // Adds one line's audio; false, with the reason in *error, for a line it cannot read.
  bool add(const QString& line, QString* error);
  AudioTrack& track() { return track_; }
  int telegrams() const { return telegrams_; }

private:
  bool addZvei(const QStringList& words, QString* error);
  bool addFms(const QStringList& words, QString* error);
  bool addPocsag(const QString& line, const QStringList& words, QString* error);

  double gapSeconds_;
  AudioTrack track_;
  int telegrams_ = 0;
};

} // namespace meldlux::signal
