// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "journal/journal_entry.h"
#include "journal/journal_sink.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

namespace meldlux {

class Clock;
class EventLog;
class JournalConnection;

// Writes what the handlers record, one transaction for all lines of a received block: the lines
// are kept until the event loop comes back from the block, then committed together. When the
// file cannot be written (disk full, locked, read-only, damaged) the lines wait in memory, one
// notice goes out and it tries again later; a damaged file is moved aside and a new one begun.
class JournalWriter final : public QObject, public JournalSink {
  Q_OBJECT
public:
  struct Settings {
    QString path;
    int retentionDays = 365; // 0 keeps everything
    int retryMs = 30000;
  };
  // Lines kept while the file cannot be written; beyond that the oldest are dropped.
  static constexpr std::size_t kMaxWaiting = 200000;

  JournalWriter(const Clock& clock, EventLog& log, Settings settings,
                std::function<void(const QString&)> notice, QObject* parent = nullptr);
  ~JournalWriter() override;

  void record(const JournalEntry& entry) override;
  // Commits what waits now; false when it could not (the lines keep waiting).
  bool flush();

  bool healthy() const { return failure_.isEmpty(); }
  const QString& failure() const { return failure_; }
  std::size_t waiting() const { return waiting_.size(); }
  std::int64_t dropped() const { return dropped_; }
  const QString& path() const { return settings_.path; }

Q_SIGNALS:
  // A block of lines is in the file: readers may look for what came.
  void written();
  // The file was damaged and moved aside; a new one begins under the same name, so a reader
  // must open the path again.
  void fileReplaced();
  // Writing works again after a failure that was noticed.
  void recoveredFromFailure();

private:
  bool open();
  void close();
  bool commit();
  void failed(const QString& reason, bool damaged);
  void moveAside();
  void recovered();
  void applyRetention();

  const Clock& clock_;
  EventLog& log_;
  Settings settings_;
  std::function<void(const QString&)> notice_;
  std::unique_ptr<JournalConnection> connection_;
  std::vector<JournalEntry> waiting_;
  std::int64_t dropped_ = 0;
  QString failure_;
  bool noticeShown_ = false;
  QTimer flushTimer_;
  QTimer retryTimer_;
  QTimer retentionTimer_;
};

} // namespace meldlux
