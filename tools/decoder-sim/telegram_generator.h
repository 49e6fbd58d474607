// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QRandomGenerator>
#include <QString>

namespace meldlux::sim {

// Makes up plausible decoder traffic: FMS telegrams from vehicles and from the control centre,
// ZVEI five-tone alarms and POCSAG pager alarms, in the tab or the marker format. Every field of
// both formats is filled, also those a client does not read.
class TelegramGenerator {
public:
  enum class Format { Tab, Marker, Mixed };

  TelegramGenerator(Format format, quint32 seed);

  // One telegram line without its CR LF; marker lines carry the given date and time.
  QString next(const QDateTime& now);

private:
  enum class Kind { FmsVehicle, FmsControl, Zvei, Pocsag };
  struct Fms {
    QString identifier;
    int status = 0;
    bool fromVehicle = true;
    int textKind = 0; // 1 follow-up place, 2 free text
    int placeCode = 0;
    QString text;
  };

  Kind pickKind();
  Fms makeFms(bool fromVehicle, bool markerFormat);
  QString tabLine(Kind kind);
  QString markerLine(Kind kind, const QDateTime& now);
  template <typename T, std::size_t N> const T& pick(const T (&items)[N]) {
    return items[random_.bounded(int(N))];
  }

  Format format_;
  QRandomGenerator random_;
};

} // namespace meldlux::sim
