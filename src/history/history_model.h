// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/history_query.h"
#include "journal/journal_entry.h"
#include "journal/journal_reader.h"

#include <QAbstractTableModel>
#include <QTimer>
#include <memory>
#include <vector>

namespace meldlux {

class Clock;

// The journal as a table, newest first, read a page at a time as the view scrolls: a million
// rows open as fast as a hundred. New telegrams go in at the top when the writer says a block is
// in (journalWritten), read by id from the newest row held, never by reading the table again.
// A page is read in slices of ids; when a filter lets few rows through, the search goes on slice
// by slice from the event loop after a while, so that the strip never waits for it.
class HistoryModel final : public QAbstractTableModel {
  Q_OBJECT
public:
  enum Column { Time, Kind, Identifier, Name, Text, ColumnCount };
  // The line's colour, 0x00BBGGRR, for the view to show.
  static constexpr int ColourRole = Qt::UserRole + 1;
  // True for a repeat or a filtered telegram, a row the strip did not show.
  static constexpr int MarkedRole = Qt::UserRole + 2;
  static constexpr int kPageRows = 200;
  // More new rows than this at once (a flood): the top page is read afresh instead.
  static constexpr int kLiveRows = 1000;
  // Ids per slice, and ids read before the rest of a page waits for the event loop.
  static constexpr std::int64_t kSliceIds = 25000;
  static constexpr std::int64_t kIdsAtOnce = 50000;

  HistoryModel(const Clock& clock, const QString& journalPath, QObject* parent = nullptr);
  ~HistoryModel() override;

  // Another journal file (the settings changed); the query stays.
  void setJournalPath(const QString& path);
  void setQuery(const HistoryQuery& query);
  const HistoryQuery& query() const { return query_; }
  // The filter the rows were read with.
  const JournalFilter& filter() const { return filter_; }
  const QString& journalPath() const { return path_; }
  // Why the journal could not be read; empty when it could. A failed read is told until the rows
  // it missed were read after all (the next live update, the next page, a new query).
  QString error() const;
  // A page is still being read, from the event loop.
  bool searching() const { return wanted_ > 0; }
  // How many rows the filter lets through; -1 while a text search has not read them all (a
  // count of its own would read the whole file at once).
  std::int64_t matching() const { return matching_; }
  bool oldestFirst() const { return oldestFirst_; }
  // How many ids a slice spans and how many are read in one go (tests and benchmarks).
  void setSlicing(std::int64_t sliceIds, std::int64_t idsAtOnce);

  const JournalEntry& entry(int row) const { return rows_.at(std::size_t(row)); }
  // A row as one line of text (tab between the fields), for the clipboard.
  QString rowText(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  // By arrival only, the one order the journal keeps an index for; any column means the time.
  void sort(int column, Qt::SortOrder order) override;
  void fetchMore(const QModelIndex& parent) override;

public Q_SLOTS:
  void journalWritten();

Q_SIGNALS:
  // searching() changed.
  void searchingChanged();
  // error() changed.
  void errorChanged();
  // matching() grew by new rows.
  void matchingChanged();

private:
  void reload();
  // Reads slices until the page is full, the file ends or this turn's ids are used up.
  void readOn(bool announce);
  std::int64_t newestInFile();
  // Ids still to be read in the page order.
  bool idsLeft() const { return oldestFirst_ ? cursor_ < newestId_ : cursor_ > oldestId_; }
  enum class Read { Page, Live };
  // Takes the reader's failure, if any, as what `read` missed; a success ends a failure of that
  // read. True when it failed.
  bool failed(Read read);
  QString cell(const JournalEntry& e, int column) const;

  const Clock& clock_;
  QString path_;
  std::unique_ptr<JournalReader> reader_;
  QString error_;
  Read failedRead_ = Read::Page;
  HistoryQuery query_;
  JournalFilter filter_;
  std::vector<JournalEntry> rows_;
  bool exhausted_ = true;
  std::int64_t newestId_ = 0; // the newest row of the file when it was last looked at
  std::int64_t oldestId_ = 0;
  std::int64_t cursor_ = 0; // the ids beyond this one (below it newest first) are to be read
  std::int64_t matching_ = -1;
  bool oldestFirst_ = false;
  int wanted_ = 0;            // rows the page being read still lacks
  std::int64_t sliceIds_ = kSliceIds;
  std::int64_t idsAtOnce_ = kIdsAtOnce;
  QTimer goOn_;
};

// "FMS Fahrzeug", "FMS Leitstelle", "ZVEI", "POCSAG", "Text": the kinds as the window names them.
QString historyKindCaption(JournalKind kind);

} // namespace meldlux
