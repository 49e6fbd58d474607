// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/journal_writer.h"

#include "base/clock.h"
#include "base/event_log.h"
#include "journal/journal_connection.h"
#include "journal/journal_schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace meldlux {

namespace {

constexpr int kDayMs = 24 * 60 * 60 * 1000;

// SQLite's result codes for a file that is not, or no longer, a database.
// Qt binds a null text as NULL; the columns hold an empty text instead.
QString text(const QString& value) { return value.isNull() ? QStringLiteral("") : value; }

bool isDamage(const QSqlError& error) {
  const int code = error.nativeErrorCode().toInt() & 0xff;
  return code == 11 /* SQLITE_CORRUPT */ || code == 26 /* SQLITE_NOTADB */;
}

} // namespace

JournalWriter::JournalWriter(const Clock& clock, EventLog& log, Settings settings,
                             std::function<void(const QString&)> notice, QObject* parent)
    : QObject(parent), clock_(clock), log_(log), settings_(std::move(settings)),
      notice_(std::move(notice)) {
  flushTimer_.setSingleShot(true);
  flushTimer_.setInterval(0);
  connect(&flushTimer_, &QTimer::timeout, this, [this] { flush(); });
  retryTimer_.setSingleShot(true);
  retryTimer_.setInterval(settings_.retryMs);
  connect(&retryTimer_, &QTimer::timeout, this, [this] {
    if (!waiting_.empty())
      flush();
    else if (open()) // nothing waits, but the failure should end as soon as the file is back
      recovered();
  });
  retentionTimer_.setInterval(kDayMs);
  connect(&retentionTimer_, &QTimer::timeout, this, [this] {
    if (connection_)
      applyRetention();
  });
  retentionTimer_.start();
  open();
}

JournalWriter::~JournalWriter() {
  flush();
  close();
}

void JournalWriter::record(const JournalEntry& entry) {
  if (waiting_.size() >= kMaxWaiting) {
    waiting_.erase(waiting_.begin());
    ++dropped_;
  }
  waiting_.push_back(entry);
  // The timer fires once the event loop is back from the block being handled, and not while a
  // retry is pending: a failing file is not asked again for every block.
  if (!flushTimer_.isActive() && !retryTimer_.isActive())
    flushTimer_.start();
}

bool JournalWriter::flush() {
  flushTimer_.stop();
  if (waiting_.empty())
    return true;
  if (!connection_ && !open())
    return false;
  return commit();
}

bool JournalWriter::open() {
  close();
  const QFileInfo file(settings_.path);
  if (!QDir().mkpath(file.absolutePath())) {
    failed(QStringLiteral("cannot make the folder ") + file.absolutePath(), false);
    return false;
  }
  for (int attempt = 0; attempt < 2; ++attempt) {
    connection_ = std::make_unique<JournalConnection>(settings_.path);
    QString error = connection_->error();
    if (error.isEmpty())
      error = JournalSchema::apply(connection_->db());
    if (error.isEmpty()) {
      applyRetention();
      return true;
    }
    const bool damaged = isDamage(connection_->db().lastError()) ||
                         error.contains(QStringLiteral("not a database")) ||
                         error.contains(QStringLiteral("malformed"));
    close();
    if (!damaged || attempt > 0) {
      failed(error, false);
      return false;
    }
    moveAside();
  }
  return false;
}

void JournalWriter::close() { connection_.reset(); }

bool JournalWriter::commit() {
  QSqlDatabase& db = connection_->db();
  if (!db.transaction()) {
    failed(db.lastError().text(), isDamage(db.lastError()));
    return false;
  }
  QSqlQuery insert(db);
  QStringList marks;
  for (int i = 0; i < JournalSchema::kEntryColumnCount; ++i)
    marks << QStringLiteral("?");
  insert.prepare(QStringLiteral("INSERT INTO telegrams (%1) VALUES (%2)")
                     .arg(QLatin1String(JournalSchema::kEntryColumns), marks.join(u',')));
  for (const JournalEntry& e : waiting_) {
    insert.bindValue(0, e.arrival);
    insert.bindValue(1, e.telegramTime);
    insert.bindValue(2, int(e.kind));
    insert.bindValue(3, text(e.identifier));
    insert.bindValue(4, text(e.name));
    insert.bindValue(5, e.status);
    insert.bindValue(6, int(e.direction));
    insert.bindValue(7, text(e.message));
    insert.bindValue(8, text(e.line));
    insert.bindValue(9, qint64(e.colour));
    insert.bindValue(10, int(e.mark));
    if (!insert.exec()) {
      const QSqlError error = insert.lastError();
      insert.finish();
      db.rollback();
      failed(error.text(), isDamage(error));
      return false;
    }
  }
  insert.finish();
  if (!db.commit()) {
    const QSqlError error = db.lastError();
    db.rollback();
    failed(error.text(), isDamage(error));
    return false;
  }
  waiting_.clear();
  recovered();
  Q_EMIT written();
  return true;
}

void JournalWriter::recovered() {
  if (failure_.isEmpty())
    return;
  log_.write(u"journal", {QStringLiteral("recovered"), settings_.path});
  failure_.clear();
  noticeShown_ = false;
  Q_EMIT recoveredFromFailure();
}

void JournalWriter::failed(const QString& reason, bool damaged) {
  close();
  if (damaged) {
    moveAside();
    if (open()) {
      flushTimer_.start();
      return;
    }
  }
  failure_ = reason.isEmpty() ? QStringLiteral("unknown failure") : reason;
  log_.write(u"journal", {QStringLiteral("failed"), failure_});
  if (!noticeShown_) {
    noticeShown_ = true;
    if (notice_)
      notice_(QStringLiteral("Journal kann gerade nicht schreiben, neuer Versuch folgt"));
  }
  retryTimer_.start();
}

void JournalWriter::moveAside() {
  const QString stamp = fromOleDate(clock_.now()).toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss"));
  const QFileInfo file(settings_.path);
  const QString aside =
      file.absoluteDir().filePath(file.completeBaseName() + QStringLiteral(".damaged-") + stamp +
                                  u'.' + file.suffix());
  QFile::rename(settings_.path, aside);
  // The WAL belongs to the damaged file; the shared-memory index is rebuilt from it.
  QFile::rename(settings_.path + QStringLiteral("-wal"), aside + QStringLiteral("-wal"));
  QFile::remove(settings_.path + QStringLiteral("-shm"));
  log_.write(u"journal", {QStringLiteral("moved_aside"), aside});
  Q_EMIT fileReplaced();
}

void JournalWriter::applyRetention() {
  if (settings_.retentionDays <= 0)
    return;
  QSqlQuery query(connection_->db());
  query.prepare(QStringLiteral("DELETE FROM telegrams WHERE arrival < ?"));
  query.addBindValue(clock_.now() - settings_.retentionDays);
  if (!query.exec())
    log_.write(u"journal", {QStringLiteral("retention_failed"), query.lastError().text()});
}

} // namespace meldlux
