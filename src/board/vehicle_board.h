// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/colour.h"
#include "base/ole_date.h"
#include "board/status_timeline.h"
#include "journal/journal_sink.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QTimer>
#include <vector>

namespace meldlux {

class Clock;
class EventLog;
class VehicleTable;
struct StatusTables;

// A stretch of the last day's bar: from and to as fractions of the day (0 its start, 1 now).
struct TimelineSpan {
  double from = 0;
  double to = 0;
  int status = -1;
  Colour colour = 0;
};
using Timeline = QList<TimelineSpan>;

// One vehicle on the board: from the vehicle table, or an unknown one that sent a status.
struct BoardRow {
  QString identifier;
  QString name;
  bool known = false;
  int organisation = -1; // the identifier's BOS digit; -1 when it has none
  StatusTimeline timeline;
};

// "Fahrzeugstatus": every vehicle with its current FMS status, since when, and its last day as a
// bar. It takes each vehicle status the handlers journal as it comes, and the journal's history
// at start, so it reads the same before and after a restart. Every minute-coarse text and the bars
// are repainted by a slow timer of its own.
class VehicleBoard final : public QAbstractTableModel, public JournalSink {
  Q_OBJECT
public:
  enum Column { Name, Status, Since, Day, ColumnCount };
  // ColourRole: the status colour (the status cell's background); TextColourRole: black or
  // white, whichever reads on it; DayStartRole: the bar's left end as an OLE date.
  enum Role { ColourRole = Qt::UserRole + 1, TimelineRole, TextColourRole, DayStartRole };
  // Unknown vehicles beyond this many are not added: a flood of made-up identifiers must not
  // grow the board without end.
  static constexpr int kMaxUnknown = 2000;
  static constexpr int kRepaintMs = 30000;

  VehicleBoard(const Clock& clock, const StatusTables& tables, const VehicleTable& vehicles,
               EventLog& log, QObject* parent = nullptr);

  // One row per vehicle of the table, in its order, without statuses; once the table is loaded.
  void loadVehicles();
  // The last day from the journal file; an error text, empty when it was read (or is missing).
  QString restore(const QString& journalPath);
  // A line the handlers show: vehicle statuses change the board, everything else passes by.
  void record(const JournalEntry& entry) override;
  // The timer's work: bars and "since" texts move on, segments older than a day go.
  void tick();

  int rowOf(const QString& identifier) const { return index_.value(identifier, -1); }
  const BoardRow& rowAt(int row) const { return rows_.at(std::size_t(row)); }
  QString statusText(const BoardRow& row) const;
  QString statusText(int status, int organisation) const;
  Timeline timeline(const BoardRow& row) const;
  // The piece of a row's bar at `fraction` (0 a day ago, 1 now): "3 Einsatz Übernommen, 14:20 –
  // 15:05"; empty where the bar has none.
  QString timelineTip(int row, double fraction) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  // A first click on "Seit" sorts the latest change first.
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
  // Applies a status; the row it changed or added, or -1 when nothing changed. With notify the
  // views hear of it row by row.
  int take(const QString& identifier, int status, OleDate at, bool notify);
  BoardRow unknownRow(const QString& identifier) const;
  Colour colourOf(int status) const;
  void logRow(const BoardRow& row);

  const Clock& clock_;
  const StatusTables& tables_;
  const VehicleTable& vehicles_;
  EventLog& log_;
  std::vector<BoardRow> rows_;
  QHash<QString, int> index_;
  int unknown_ = 0;
  QTimer repaint_;
};

} // namespace meldlux

Q_DECLARE_METATYPE(meldlux::Timeline)
