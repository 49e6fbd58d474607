// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/vehicle_board.h"

#include "base/clock.h"
#include "base/event_log.h"
#include "base/failure.h"
#include "base/formats.h"
#include "base/numbers.h"
#include "board/since_text.h"
#include "board/status_history_query.h"
#include "journal/journal_entry.h"
#include "refdata/vehicle_table.h"
#include "state/options.h"
#include "tables/status_tables.h"
#include "telegrams/fms_identifier.h"

#include <algorithm>

namespace meldlux {

namespace {

int organisationOf(QStringView identifier) {
  if (identifier.isEmpty())
    return -1;
  bool ok = false;
  const int digit = identifier.left(1).toInt(&ok, 16);
  return ok ? digit : -1;
}

bool inTable(int status) { return status >= 0 && status < StatusTables::kStatuses; }

} // namespace

VehicleBoard::VehicleBoard(const Clock& clock, const StatusTables& tables,
                           const VehicleTable& vehicles, EventLog& log, QObject* parent)
    : QAbstractTableModel(parent), clock_(clock), tables_(tables), vehicles_(vehicles), log_(log) {
  repaint_.setInterval(kRepaintMs);
  connect(&repaint_, &QTimer::timeout, this, &VehicleBoard::tick);
  repaint_.start();
}

void VehicleBoard::loadVehicles() {
  beginResetModel();
  rows_.clear();
  index_.clear();
  unknown_ = 0;
  for (int i = 1; i <= vehicles_.upperBound(); ++i) {
    const VehicleRecord& record = vehicles_.at(i);
    const QString identifier = record.identifier.text();
    if (trimSpaces(StripNul(identifier)).isEmpty() || index_.contains(identifier))
      continue; // an empty record, or one FindVehicle never gives
    BoardRow row;
    row.identifier = identifier;
    row.name = trimSpaces(record.name.text());
    row.known = true;
    row.organisation = organisationOf(identifier);
    index_.insert(identifier, int(rows_.size()));
    rows_.push_back(std::move(row));
  }
  endResetModel();
}

QString VehicleBoard::restore(const QString& journalPath) {
  const OleDate now = clock_.now();
  std::vector<int> changed;
  beginResetModel(); // many rows change at once: one reset rather than thousands of signals
  const QString error = readStatusHistory(journalPath, now - 1.0, [&](const JournalledStatus& s) {
    const int row = take(s.identifier, s.status, s.arrival, false);
    if (row >= 0)
      changed.push_back(row);
  });
  for (BoardRow& row : rows_)
    row.timeline.trim(now - 1.0);
  endResetModel();
  std::sort(changed.begin(), changed.end());
  changed.erase(std::unique(changed.begin(), changed.end()), changed.end());
  if (log_.enabled())
    for (int row : changed)
      logRow(rows_[std::size_t(row)]);
  log_.write(u"board", {QStringLiteral("restored"), QString::number(changed.size())});
  return error;
}

void VehicleBoard::record(const JournalEntry& entry) {
  if (entry.kind != JournalKind::FmsVehicle)
    return;
  // Not logged: the event log has the line itself already, and a burst should not write twice.
  take(entry.identifier, entry.status, entry.arrival, true);
}

int VehicleBoard::take(const QString& identifier, int status, OleDate at, bool notify) {
  int row = rowOf(identifier);
  if (row >= 0) {
    if (!rows_[std::size_t(row)].timeline.change(at, status))
      return -1;
    if (notify)
      Q_EMIT dataChanged(index(row, Status), index(row, Day));
    return row;
  }
  if (unknown_ >= kMaxUnknown || identifier.isEmpty())
    return -1;
  row = int(rows_.size());
  if (notify)
    beginInsertRows({}, row, row);
  rows_.push_back(unknownRow(identifier));
  rows_.back().timeline.change(at, status);
  index_.insert(identifier, row);
  ++unknown_;
  if (notify)
    endInsertRows();
  return row;
}

BoardRow VehicleBoard::unknownRow(const QString& identifier) const {
  BoardRow row;
  row.identifier = identifier;
  QString stripped = identifier;
  try {
    const QString decoded = DecodeKennung(stripped, tables_);
    row.name = decoded + QStringLiteral(" (") + stripped + u')';
  } catch (const Failure&) {
    row.name = stripped; // no BOS digit to read: the journal holds it, so show it as it is
  }
  row.organisation = organisationOf(stripped);
  return row;
}

void VehicleBoard::tick() {
  const OleDate windowStart = clock_.now() - 1.0;
  for (BoardRow& row : rows_)
    row.timeline.trim(windowStart);
  if (!rows_.empty())
    Q_EMIT dataChanged(index(0, Since), index(int(rows_.size()) - 1, Day));
}

QString VehicleBoard::statusText(const BoardRow& row) const {
  return statusText(row.timeline.status(), row.organisation);
}

QString VehicleBoard::statusText(int status, int organisation) const {
  if (status < 0)
    return {};
  QString text = QString::number(status);
  if (inTable(status) && organisation >= 0)
    text += u' ' + trimSpaces(tables_.texts[std::size_t(status)][std::size_t(organisation)][0]);
  return text;
}

QString VehicleBoard::timelineTip(int row, double fraction) const {
  const BoardRow& r = rowAt(row);
  const OleDate start = clock_.now() - 1.0;
  for (const TimelineSpan& span : timeline(r)) {
    if (fraction < span.from || fraction >= span.to)
      continue;
    const auto at = [&](double f) {
      return fromOleDate(start + f).toString(QStringLiteral("HH:mm"));
    };
    return QStringLiteral("%1, %2 – %3")
        .arg(statusText(span.status, r.organisation), at(span.from), at(span.to));
  }
  return {};
}

Colour VehicleBoard::colourOf(int status) const {
  return inTable(status) ? tables_.colours[std::size_t(status)]
                         : tables_.colours[StatusTables::kInformation];
}

Timeline VehicleBoard::timeline(const BoardRow& row) const {
  const OleDate now = clock_.now();
  const OleDate start = now - 1.0;
  Timeline out;
  const auto& segments = row.timeline.segments();
  for (std::size_t i = 0; i < segments.size(); ++i) {
    const OleDate from = std::max(segments[i].from, start);
    const OleDate to = std::min(i + 1 < segments.size() ? segments[i + 1].from : now, now);
    if (to <= from)
      continue;
    out.append({from - start, to - start, segments[i].status, colourOf(segments[i].status)});
  }
  return out;
}

int VehicleBoard::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(rows_.size());
}

int VehicleBoard::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

QVariant VehicleBoard::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= int(rows_.size()))
    return {};
  const BoardRow& row = rows_[std::size_t(index.row())];
  switch (role) {
  case Qt::DisplayRole:
    switch (index.column()) {
    case Name:
      return row.name;
    case Status:
      return statusText(row);
    case Since:
      return sinceText(row.timeline.since(), clock_.now());
    default:
      return {};
    }
  case Qt::ToolTipRole:
    return row.identifier;
  case ColourRole:
    if (row.timeline.empty())
      return {};
    return QVariant::fromValue(colourOf(row.timeline.status()));
  case TextColourRole:
    if (row.timeline.empty())
      return {};
    return QVariant::fromValue(Options::contrastTextColour(colourOf(row.timeline.status())));
  case DayStartRole:
    return clock_.now() - 1.0;
  case TimelineRole:
    return QVariant::fromValue(timeline(row));
  default:
    return {};
  }
}

QVariant VehicleBoard::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && section == Since && role == Qt::InitialSortOrderRole)
    return int(Qt::DescendingOrder);
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
    return {};
  switch (section) {
  case Name:
    return QStringLiteral("Fahrzeug");
  case Status:
    return QStringLiteral("Status");
  case Since:
    return QStringLiteral("Seit");
  case Day:
    return QStringLiteral("Letzte 24 Stunden");
  default:
    return {};
  }
}

void VehicleBoard::logRow(const BoardRow& row) {
  if (log_.enabled())
    log_.write(u"board", {row.identifier, QString::number(row.timeline.status()),
                          formatDateTime(row.timeline.since())});
}

} // namespace meldlux
