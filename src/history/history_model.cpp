// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/history_model.h"

#include "journal/journal_export.h"

#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace meldlux {

QString historyKindCaption(JournalKind kind) {
  if (kind == kJournalLoadFault)
    return QStringLiteral("Ladefehler");
  if (kind == kJournalSupervision)
    return QStringLiteral("Störung");
  switch (kind) {
  case JournalKind::FmsVehicle: return QStringLiteral("FMS Fahrzeug");
  case JournalKind::FmsControl: return QStringLiteral("FMS Leitstelle");
  case JournalKind::Zvei: return QStringLiteral("ZVEI");
  case JournalKind::Pocsag: return QStringLiteral("POCSAG");
  case JournalKind::Text: return QStringLiteral("Text");
  }
  return QString::number(int(kind)); // a kind a newer program wrote
}

HistoryModel::HistoryModel(const Clock& clock, const QString& journalPath, QObject* parent)
    : QAbstractTableModel(parent), clock_(clock) {
  goOn_.setSingleShot(true);
  goOn_.setInterval(0);
  connect(&goOn_, &QTimer::timeout, this, [this] { readOn(true); });
  setJournalPath(journalPath);
}

void HistoryModel::setSlicing(std::int64_t sliceIds, std::int64_t idsAtOnce) {
  sliceIds_ = std::max<std::int64_t>(sliceIds, 1);
  idsAtOnce_ = std::max<std::int64_t>(idsAtOnce, 1);
}

HistoryModel::~HistoryModel() = default;

void HistoryModel::setJournalPath(const QString& path) {
  path_ = path;
  reader_.reset();
  // Opening a missing file would make an empty one; the writer makes it when it starts.
  if (QFileInfo(path).isFile())
    reader_ = std::make_unique<JournalReader>(path);
  reload();
}

void HistoryModel::setQuery(const HistoryQuery& query) {
  query_ = query;
  reload();
}

QString HistoryModel::error() const {
  if (!reader_)
    return QFileInfo(path_).isFile() ? QString() : QStringLiteral("Noch kein Journal vorhanden: ") + path_;
  return reader_->error().isEmpty() ? error_ : reader_->error();
}

bool HistoryModel::failed(Read read) {
  QString error = reader_->takeLastError();
  if (error.isEmpty() && (error_.isEmpty() || failedRead_ != read))
    return false;
  if (!error.isEmpty())
    failedRead_ = read;
  error_ = std::move(error);
  Q_EMIT errorChanged();
  return !error_.isEmpty();
}

void HistoryModel::reload() {
  const bool wasSearching = searching();
  goOn_.stop();
  beginResetModel();
  filter_ = query_.filterAt(clock_);
  rows_.clear();
  wanted_ = 0;
  exhausted_ = !reader_;
  const bool hadError = !error_.isEmpty();
  error_.clear();
  if (reader_) {
    std::tie(oldestId_, newestId_) = reader_->idRange();
    cursor_ = oldestFirst_ ? oldestId_ - 1 : newestId_ + 1;
    wanted_ = kPageRows;
    matching_ = filter_.text.isEmpty() ? reader_->count(filter_) : -1;
    readOn(false);
  }
  endResetModel();
  if (searching() != wasSearching)
    Q_EMIT searchingChanged();
  if (hadError && error_.isEmpty())
    Q_EMIT errorChanged();
}

void HistoryModel::readOn(bool announce) {
  const bool wasSearching = searching();
  std::int64_t budget = idsAtOnce_;
  while (wanted_ > 0 && idsLeft() && budget > 0) {
    // The slice's far end, ids up to it (down to it newest first) after the cursor.
    const std::int64_t end = oldestFirst_ ? std::min(cursor_ + sliceIds_, newestId_)
                                          : std::max(cursor_ - sliceIds_, oldestId_);
    std::vector<JournalEntry> got = oldestFirst_
                                        ? reader_->between(filter_, wanted_, end + 1, cursor_, true)
                                        : reader_->between(filter_, wanted_, cursor_, end - 1);
    if (failed(Read::Page)) {
      wanted_ = 0; // the slice is read again when the view asks for more
      break;
    }
    budget -= std::abs(end - cursor_);
    cursor_ = int(got.size()) == wanted_ ? got.back().id : end;
    wanted_ -= int(got.size());
    if (got.empty())
      continue;
    const int first = int(rows_.size());
    if (announce)
      beginInsertRows({}, first, first + int(got.size()) - 1);
    rows_.insert(rows_.end(), got.begin(), got.end());
    if (announce)
      endInsertRows();
  }
  exhausted_ = !idsLeft();
  if (exhausted_) {
    wanted_ = 0;
    matching_ = std::int64_t(rows_.size());
  }
  if (wanted_ > 0)
    goOn_.start();
  if (announce && searching() != wasSearching)
    Q_EMIT searchingChanged();
}

void HistoryModel::journalWritten() {
  if (!reader_) { // the writer has just made the file
    setJournalPath(path_);
    return;
  }
  std::vector<JournalEntry> fresh = reader_->newer(filter_, kLiveRows + 1, newestId_);
  const std::int64_t newest = newestInFile();
  if (failed(Read::Live))
    return;                      // read from the same row again with the next block
  const bool atEnd = exhausted_; // oldest first: the new rows go on below the last one read
  newestId_ = newest;
  if (fresh.empty())
    return;
  if (int(fresh.size()) > kLiveRows) {
    reload(); // the rows in between would leave a gap
    return;
  }
  if (matching_ >= 0)
    matching_ += std::int64_t(fresh.size());
  if (!oldestFirst_) {
    beginInsertRows({}, 0, int(fresh.size()) - 1);
    rows_.insert(rows_.begin(), fresh.begin(), fresh.end());
    endInsertRows();
  } else if (atEnd) { // else they come when the pages reach them
    cursor_ = newestId_;
    beginInsertRows({}, int(rows_.size()), int(rows_.size() + fresh.size()) - 1);
    rows_.insert(rows_.end(), fresh.rbegin(), fresh.rend());
    endInsertRows();
  }
  Q_EMIT matchingChanged();
}

void HistoryModel::sort(int, Qt::SortOrder order) {
  const bool oldestFirst = order == Qt::AscendingOrder;
  if (oldestFirst == oldestFirst_)
    return;
  oldestFirst_ = oldestFirst;
  reload();
}

std::int64_t HistoryModel::newestInFile() {
  // The rows the filter passes over need not be read again when the next block comes.
  return reader_->idRange().second;
}

int HistoryModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(rows_.size());
}

int HistoryModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

QString HistoryModel::cell(const JournalEntry& e, int column) const {
  switch (column) {
  case Time: return germanDateTime(e.arrival);
  case Kind:
    return e.mark == JournalMark::None
               ? historyKindCaption(e.kind)
               : historyKindCaption(e.kind) + QStringLiteral(" (") + journalMarkText(e.mark) + u')';
  case Identifier: return e.identifier;
  case Name: return e.name;
  case Text: return e.line;
  default: return {};
  }
}

QVariant HistoryModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= int(rows_.size()))
    return {};
  const JournalEntry& e = rows_[std::size_t(index.row())];
  if (role == Qt::DisplayRole)
    return cell(e, index.column());
  if (role == Qt::ToolTipRole && index.column() == Text)
    return e.message.isEmpty() ? e.line : e.line + u'\n' + e.message;
  if (role == ColourRole)
    return QVariant::fromValue(quint32(e.colour));
  if (role == MarkedRole)
    return e.mark != JournalMark::None;
  return {};
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
    return QAbstractTableModel::headerData(section, orientation, role);
  static const char* const kCaptions[] = {"Zeit", "Art", "Kennung", "Name", "Text"};
  return section >= 0 && section < ColumnCount ? QString::fromUtf8(kCaptions[section]) : QString();
}

bool HistoryModel::canFetchMore(const QModelIndex& parent) const {
  return !parent.isValid() && !exhausted_ && !searching();
}

void HistoryModel::fetchMore(const QModelIndex& parent) {
  if (!canFetchMore(parent))
    return;
  wanted_ = kPageRows;
  readOn(true);
  if (searching())
    Q_EMIT searchingChanged();
}

QString HistoryModel::rowText(int row) const {
  QStringList fields;
  for (int c = 0; c < ColumnCount; ++c)
    fields << cell(entry(row), c);
  return fields.join(u'\t');
}

} // namespace meldlux
