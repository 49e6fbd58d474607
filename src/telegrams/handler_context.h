// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace meldlux {

class AlertSounds;
class Clock;
class HandlerSteps;
class Indicators;
class JournalSink;
class Options;
class PlaceTable;
class PopupModel;
struct ReferenceTables;
struct StatusTables;

// What the telegram handlers work with; everything is owned by the application.
struct HandlerContext {
  const Options& options;
  const Clock& clock;
  StatusTables& statusTables;
  // Record 0 of the vehicle table is the scratch name of an unknown vehicle.
  ReferenceTables& reference;
  const PlaceTable& places;
  PopupModel& popup;
  Indicators& indicators;
  HandlerSteps& steps;
  AlertSounds& sounds;
  // Gets every line the strip gets, after the strip; none when no journal is kept.
  JournalSink* journal = nullptr;
};

} // namespace meldlux
